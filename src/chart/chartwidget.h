#ifndef CHARTWIDGET_H
#define CHARTWIDGET_H

#include "tavrin_global.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QWidget>

class Axes;
class ChartSeries;
class ChartWidgetPrivate;
class Legend;
class VLine;

/*!
    \class ChartWidget
    \brief The chart a host puts in its window: series and marker lines over
    a self-scaling pair of axes, with a title, a legend, zoom, pan and tooltips.

    A host creates series (LineSeries, PointSeries and the other ChartSeries
    kinds), fills them and hands them to addSeries(); vertical marker lines go
    to addVLine(). From then on the chart owns them. The chart draws the
    visible series in ascending id order over its bottom and left Axis, which
    follow the data while autoScale() is on.

    The series and marker lines are rendered into a cached image, which
    repaint() renders again; title and axes are drawn at every paint event.
    With the default refresh timeout (-1) a point that widens its series'
    bounds renders at once and a point inside them renders nothing until
    repaint(). setDrawingLock() and setRefreshTimeout() batch renderings.

    The user zooms by dragging a rectangle with the left button, returns to
    automatic scaling by dragging towards the upper left, pans with the middle
    button and reads a point's tooltip by resting the mouse on it. The context
    menu offers exportXml(), exportCsv() and exportSvg() with a file dialog;
    it shows an "Error" message box when the file cannot be written.

    Defaults a host meets: automatic scaling on, the legend hidden (placement
    Legend::plRight), antialiasing off, tooltips off, no title, a refresh
    timeout of -1 and no drawing lock. Fonts are "Arial" at 8 points.

    The constructor installs the translation \c tavrin_<language>.qm from
    the application's directory, when there is one, once per application.

    \note The chart, its series, axes and legend belong to the GUI thread;
    call them there. The exceptions are ChartSeries::addXY(), which a worker
    may invoke queued, and Legend::addSeries().
*/
class TAVRIN_EXPORT ChartWidget : public QWidget
{
    Q_OBJECT
    /*!
        \property ChartWidget::autoScale
        \brief Whether the axes follow the data (default: true).
        \sa setAutoScale()
    */
    Q_PROPERTY(bool autoScale READ autoScale WRITE setAutoScale)
    /*!
        \property ChartWidget::title
        \brief The title above the plot (default: empty).
        \sa setTitle()
    */
    Q_PROPERTY(QString title READ title WRITE setTitle)
public:
    /*!
        The formats of save() and load(). The one format, \c dfBinary (0), is
        a Qt data stream that starts with chartVersion.
    */
    enum dataFormat : int { dfBinary = 0 };

    /*!
        Constructs a chart with the given \a parent widget.

        The chart starts empty, with automatic scaling on and the legend
        hidden; see the class description for the other defaults.
    */
    explicit ChartWidget(QWidget *parent = nullptr);
    /*!
        Destroys the chart. Registered series and marker lines are deleted
        later, through the event loop (QObject::deleteLater()).
    */
    ~ChartWidget() override;

    /*!
        Creates a new, default-constructed object of the meta-type named
        \a object_name and returns it; the caller owns it.

        The host registers the type (Q_DECLARE_METATYPE and qRegisterMetaType());
        the library registers none. Returns null when the name is null or not
        a registered type, or when the type is not a QObject class of its own
        (built-in types and pointer types are refused).
    */
    Q_INVOKABLE QObject *createObject(const char *object_name);
    /*!
        Registers \a series under the smallest free id from 1 upwards and
        returns the id. The chart owns the series from then on: do not delete
        it yourself.

        The chart gives the series its x axis (the bottom axis) and its y axis
        (the left axis), a colour from its palette unless the series was given
        one (ChartSeries::setColor() or ChartSeries::setFillColor()), the name
        "Series <id>" if it has none, and a check box in the legend. With
        automatic scaling on, the axes widen to the series' bounds. Unless the
        drawing lock is set, the chart renders.

        Returns 0 for a null series. A series that is already registered keeps
        its id, which is returned; nothing else happens. Ids freed by
        removeSeries() are used again. Ascending id order is the order of
        drawing, tooltips and exports.
    */
    Q_INVOKABLE int addSeries(ChartSeries *series);
    /*!
        \overload
        Registers \a series under \a id, which may also be zero or negative.

        When \a id is taken or \a series is null, nothing happens and the
        caller keeps the series. The id is not checked against the series'
        other registrations: register a series under one id only.
    */
    void addSeries(ChartSeries *series, int id);
    /*!
        Registers the marker line \a vline and returns its id (the smallest
        free one from 1; marker lines count ids of their own). Returns 0 for a
        null line.

        The chart owns the line from then on; only clear() and the chart's
        destruction remove it. With automatic scaling on, the bottom axis
        widens to the line's x value. Unless the drawing lock is set, the chart
        renders.
    */
    Q_INVOKABLE int addVLine(VLine *vline);
    /*!
        Removes the series registered under \a seriesId and deletes it at
        once, with its legend check box. An unknown id removes nothing.

        With automatic scaling on and series left, the axes are recomputed
        from them; otherwise the chart renders unless the drawing lock is set.
    */
    Q_INVOKABLE void removeSeries(int seriesId);
    /*!
        Returns the series registered under \a seriesId, or null. The chart
        keeps ownership.
    */
    Q_INVOKABLE ChartSeries *series(int seriesId) const;
    /*!
        Removes every series and marker line, empties the legend and resets the
        axes. The removed objects are deleted later, through the event loop.

        The palette starts again at its first colour. Automatic scaling, the
        title, the refresh timeout and the tooltip switch stay as they are.
    */
    Q_INVOKABLE void clear();
    /*!
        Returns the chart's legend, which the chart owns. It is hidden until
        the host shows it (Legend::setVisible()).
    */
    Q_INVOKABLE Legend *legend() const;
    /*!
        Switches automatic scaling on or off, as \a autoScale says.

        Switching it on resets both axes, fits them to the bounds of the
        visible series and the x values of the marker lines, and renders
        unless the drawing lock is set. Switching it off keeps the current
        ranges and renders nothing. Setting the current value does nothing.

        Zooming and panning with the mouse switch automatic scaling off; the
        zoom-reset drag switches it on. After a resize the chart rescales from
        the event loop, and autoScale() reads false until then.
    */
    Q_INVOKABLE void setAutoScale(bool autoScale = true);

    /*!
        Returns the registered series in ascending id order. The chart keeps
        ownership.
    */
    QList<ChartSeries *> seriesList() const;
    /*!
        Returns the chart's pair of axes. The chart owns it; it lives as long
        as the chart.
    */
    Axes *axes() const;

    /*!
        Returns the title. Empty by default.
    */
    QString title() const;
    /*!
        Sets the title drawn centred above the plot to \a title.

        The plot area makes room for a title line when the title turns
        non-empty (and gives it back when it turns empty); while the drawing
        lock is set it waits. The new text itself appears with the widget's
        next paint event; call QWidget::update() to ask for one at once.
    */
    void setTitle(const QString &title);
    /*!
        Returns the title's font, "Arial" at 8 points by default. There is no
        setter: only load() replaces it.
    */
    QFont titleFont() const;

    /*!
        Returns whether automatic scaling is on (default: true).
    */
    bool autoScale() const;
    /*!
        Returns whether the drawing lock is set (default: false).
    */
    bool drawingLock() const;
    /*!
        Sets or releases the drawing lock, as \a lock says.

        While the lock is set, changes of data, axes and visibility do not
        render the series; they still update the data, the axes and the
        layout. A change of the plot's size still renders, and so does
        repaint(). Releasing a set lock adjusts the axes' ticks (with automatic
        scaling on) and renders once, so a batch of changes between
        setDrawingLock(true) and setDrawingLock(false) needs no repaint() of
        its own.
    */
    void setDrawingLock(bool lock);
    /*!
        Switches antialiasing of the chart's drawing on or off, as \a on
        says (default: off).

        It applies to the series image, to title and axes and to the SVG
        export, from the next rendering on: the call itself renders nothing.
        There is no getter.
    */
    void setAntialiasing(bool on);
    /*!
        Switches tooltips on or off, as \a on says (default: off).

        Every series registered now gets the same switch
        (ChartSeries::enableTooltip()), replacing its own. A series registered
        later shows tooltips while the chart's switch is on only if its own
        switch was never set.
    */
    void enableTooltip(bool on);
    /*!
        Returns whether the chart's tooltip switch is on (default: false).
    */
    bool tooltipEnabled() const;
    /*!
        Returns the refresh timeout in milliseconds; -1 (the default) means
        that no refresh timer is used.
    */
    int refreshTimeout() const;
    /*!
        Sets the refresh timeout to \a ms milliseconds.

        With a timeout of zero or more, the first point added to a registered
        series starts a timer; points arriving before it expires are not
        rendered one by one. At the expiry the chart widens (with automatic
        scaling on: recomputes) the axes to all data and renders once. A point
        that widens its series' bounds while the timer is idle still renders at
        once.

        A negative value switches the timer off and renders the points that
        are still pending.
    */
    void setRefreshTimeout(int ms);

    /*!
        Writes the chart's display settings to the file \a fileName in the
        given \a format: automatic scaling, the drawing lock, the title and
        its font. Series, axes, legend and marker lines are not saved.

        Returns false, and shows nothing, when \a format is not dfBinary
        (the file is then not touched) or when the file cannot be opened or
        written. An existing file is replaced only by a completely written one.
    */
    bool save(dataFormat format, const QString &fileName);
    /*!
        Reads the display settings written by save() from the file
        \a fileName in the given \a format.

        Returns false, and leaves the chart as it was, when \a format is not
        dfBinary, the file cannot be opened, its version string is not
        chartVersion, or its content is cut short or corrupt (a title font
        without a usable size included). The settings read are stored as they
        are: no rescaling and no rendering follow; they take effect with the
        next operation that uses them.
    */
    bool load(dataFormat format, const QString &fileName);

    /*!
        Writes the visible series to the file \a fileName as semicolon-
        separated text: the series side by side in ascending id order, a header
        line naming each column "<series name>(<column>)", then one line per
        row. Values on a date-time axis are written as ISO date-times.

        Returns false, and shows nothing, when the file cannot be opened or
        written; an existing file is replaced only by a completely written one.
        The context menu's command asks for the file name and shows an
        "Error" message box instead.
    */
    bool exportCsv(const QString &fileName);
    /*!
        Writes the visible series to the file \a fileName as an XML
        spreadsheet (SpreadsheetML 2003, UTF-8) that spreadsheet programs
        open.

        Returns false, and shows nothing, when the file cannot be opened or
        written; an existing file is replaced only by a completely written one.
    */
    bool exportXml(const QString &fileName);
    /*!
        Writes the chart, at the widget's size, to the file \a fileName as an
        SVG image: title, axes, the legend if it is shown, then the visible
        series and the marker lines as vectors.

        Returns false, and shows nothing, when the file cannot be opened or
        written; an existing file is replaced only by a completely written one.
    */
    bool exportSvg(const QString &fileName);

    /*!
        The version string that save() writes first and load() requires,
        "tn 1.0". Treat it as read-only: a changed value makes files of other
        versions unreadable.
    */
    static QString chartVersion;

    /*!
        The chart's private implementation; not part of the API a host uses.
    */
    ChartWidgetPrivate *d;

public slots:
    /*!
        Renders the series and marker lines into the chart's cached image and
        schedules a paint of the widget.

        It renders whatever the drawing lock says, and does nothing before the
        widget's first resize, while there is no plot area yet. Every
        registered series' ChartSeries::refresh() signal is connected to it.

        It hides QWidget::repaint(), which is not virtual: call it through a
        ChartWidget pointer (or by name through the meta-object system), since
        through a QWidget pointer it only repaints the widget from the cached
        image.
    */
    void repaint();
};

#endif // CHARTWIDGET_H
