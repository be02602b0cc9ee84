#ifndef CHARTWIDGET_H
#define CHARTWIDGET_H

#include "tavrin_global.h"
#include "charthit.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QWidget>

class Axes;
class Axis;
class ChartGroup;
class ChartItem;
class ChartSeries;
class ChartWidgetPrivate;
class Legend;
class QPrinter;
class VLine;

/*!
    \class ChartWidget
    \brief The chart a host puts in its window: series and marker lines over
    a self-scaling pair of axes, with a title, a legend, zoom, pan and tooltips.

    A host creates series (LineSeries, PointSeries and the other ChartSeries
    kinds), fills them and hands them to addSeries(); vertical marker lines go
    to addVLine(), and lines, shaded ranges and notes placed on the plot
    (ChartItem) to addItem(). From then on the chart owns them. The chart draws the
    visible series in ascending id order over its bottom and left Axis, which
    follow the data while autoScale() is on.

    The series and marker lines are rendered into a cached image, which
    repaint() renders again; title and axes are drawn at every paint event.
    With the default refresh timeout (-1) a point that widens its series'
    bounds renders at once and a point inside them renders nothing until
    repaint(). With automatic scaling off, a line or marker point added so
    far outside the view that the picture cannot change renders nothing.
    setDrawingLock() and setRefreshTimeout() batch renderings.

    The user zooms by dragging a rectangle with the left button, returns to
    automatic scaling by dragging towards the upper left, pans with the middle
    button and reads a point's tooltip by resting the mouse on it. The context
    menu offers exportXml(), exportCsv() and exportSvg() with a file dialog,
    and the image, PDF, print and clipboard exports when imageExportActions
    is on; it shows an "Error" message box when the file cannot be written.
    Wheel zoom, the double-click reset and the crosshair are the host's to
    switch on.

    A second quantity gets a y axis of its own on the right: put its series
    there with ChartSeries::setAxis(axes()->bottom(), axes()->right()). The
    right axis then scales to those series alone, appears beside the plot
    (between it and a legend on the right), and follows zoom, pan and the
    zoom history with the left axis. A second x quantity likewise gets the
    top axis: ChartSeries::setAxis(axes()->top(), axes()->left()); it is
    drawn above the plot, below the title, only while a registered series
    uses it, and follows zoom, pan, the wheel, the keys and the zoom history
    with the bottom axis.

    Defaults a host meets: automatic scaling on, the legend hidden (placement
    Legend::plRight), antialiasing off, tooltips off, no title, a refresh
    timeout of -1, no drawing lock and the thDefault theme. Fonts are
    "Arial" at 8 points, except the legend's, which is the widget's font.

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
    /*!
        \property ChartWidget::imageExportActions
        \brief Whether the context menu offers the image, PDF, print and
        clipboard entries (default: false).
    */
    Q_PROPERTY(bool imageExportActions READ imageExportActions WRITE setImageExportActions
                   NOTIFY imageExportActionsChanged)
    /*!
        \property ChartWidget::wheelZoom
        \brief Whether the mouse wheel zooms the plot (default: false).
        \sa wheelZoom(), setWheelZoom()
    */
    Q_PROPERTY(bool wheelZoom READ wheelZoom WRITE setWheelZoom NOTIFY wheelZoomChanged)
    /*!
        \property ChartWidget::doubleClickReset
        \brief Whether a double click in the plot returns to automatic
        scaling (default: false).
        \sa doubleClickReset()
    */
    Q_PROPERTY(bool doubleClickReset READ doubleClickReset WRITE setDoubleClickReset
                   NOTIFY doubleClickResetChanged)
    /*!
        \property ChartWidget::holdView
        \brief Whether a zoomed or panned view keeps its ranges while data
        arrives (default: false).
        \sa holdView()
    */
    Q_PROPERTY(bool holdView READ holdView WRITE setHoldView NOTIFY holdViewChanged)
    /*!
        \property ChartWidget::crosshair
        \brief Whether a crosshair with the values under the pointer follows
        the mouse over the plot (default: false).
        \sa crosshair()
    */
    Q_PROPERTY(bool crosshair READ crosshair WRITE setCrosshair NOTIFY crosshairChanged)
    /*!
        \property ChartWidget::aspectRatio
        \brief How many times the pixels of one unit of y one unit of x takes;
        0 (the default) for no fixed ratio.
        \sa aspectRatio()
    */
    Q_PROPERTY(double aspectRatio READ aspectRatio WRITE setAspectRatio NOTIFY aspectRatioChanged)
    /*!
        \property ChartWidget::titleFont
        \brief The font of the title ("Arial" at 8 points by default).
        \sa setTitleFont()
    */
    Q_PROPERTY(QFont titleFont READ titleFont WRITE setTitleFont NOTIFY titleFontChanged)
    /*!
        \property ChartWidget::theme
        \brief The look of the chart as a whole (default: thDefault).
        \sa theme(), setTheme()
    */
    Q_PROPERTY(Theme theme READ theme WRITE setTheme NOTIFY themeChanged)
    /*!
        \property ChartWidget::selectionMode
        \brief What clicks and drags select (default: smNone).
        \sa setSelectionMode(), selectedPoints()
    */
    Q_PROPERTY(SelectionMode selectionMode READ selectionMode WRITE setSelectionMode NOTIFY
                   selectionModeChanged)
    /*!
        \property ChartWidget::keyboardNavigation
        \brief Whether the chart takes the focus and answers keys (default:
        false).
        \sa setKeyboardNavigation()
    */
    Q_PROPERTY(bool keyboardNavigation READ keyboardNavigation WRITE setKeyboardNavigation NOTIFY
                   keyboardNavigationChanged)
public:
    /*!
        What the user can select; see setSelectionMode(). \c smNone (0):
        nothing, the default. \c smSinglePoint (1): a click selects the item
        under the pointer alone. \c smMultiplePoints (2): as smSinglePoint,
        and Ctrl+click adds or removes an item. \c smRectangle (3): as
        smMultiplePoints, and a Shift+drag selects the points inside the band
        instead of zooming.
    */
    enum SelectionMode : int { smNone = 0, smSinglePoint = 1, smMultiplePoints = 2, smRectangle = 3 };
    Q_ENUM(SelectionMode)

    /*!
        The formats of save() and load(). The one format, \c dfBinary (0), is
        a Qt data stream that starts with chartVersion.
    */
    enum dataFormat : int { dfBinary = 0 };

    //! Looks the chart can take as a whole; see setTheme().
    enum Theme : int { thDefault = 0, thDark = 1, thLight = 2 };
    Q_ENUM(Theme)

    /*!
        Constructs a chart with the given \a parent widget.

        The chart starts empty, with automatic scaling on and the legend
        hidden; see the class description for the other defaults.
    */
    explicit ChartWidget(QWidget *parent = nullptr);
    /*!
        Destroys the chart. Registered series, marker lines and items are
        deleted later, through the event loop (QObject::deleteLater()).
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

        The chart gives the series its x axis (the bottom axis, or the top one
        when the series was put on axes()->top() before) and its y axis
        (the left axis, or the right one when the series was put on
        axes()->right() before), a colour from its palette unless the series was given
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

        The chart owns the line from then on; removeVLine(), clear() and the
        chart's destruction delete it. With automatic scaling on, the bottom axis
        widens to the line's x value. Unless the drawing lock is set, the chart
        renders.
    */
    Q_INVOKABLE int addVLine(VLine *vline);
    /*!
        Removes the marker line with the id \a vlineId and deletes it at
        once; returns false, changing nothing, when there is no such line.
        Under automatic scaling the axes are fitted again without it, so a
        strip chart can let its old marks go with its old points.
    */
    Q_INVOKABLE bool removeVLine(int vlineId);
    /*!
        Registers \a item (a LineItem, RangeItem or TextItem) and returns
        true; the chart owns it from then on and draws it over the series
        and marker lines, after the items added before it.

        An item without axes gets the bottom axis and the left axis; one
        without only its vertical axis gets the left axis. Returns false,
        and the caller keeps the item, when \a item is null, registered with
        another chart, or placed on axes that are not this chart's bottom
        axis and its left or right axis (see ChartItem::setAxis()). An item
        already registered here stays as it is and gives true. Items do not
        change the axes' ranges, and adding one renders no series.
    */
    Q_INVOKABLE bool addItem(ChartItem *item);
    /*!
        Removes \a item and deletes it at once, or, called from within one
        of its own signals' receivers, once that call has returned
        (QObject::deleteLater()). A drag of the item ends without a signal.
        Returns false, changing nothing, when \a item is not registered
        here, for instance when it was removed before; only the pointer is
        compared, so a removed item's pointer is safe to pass.
    */
    Q_INVOKABLE bool removeItem(ChartItem *item);
    /*!
        Returns the registered items in the order of drawing; the chart
        keeps ownership.
    */
    QList<ChartItem *> items() const;
    /*!
        Removes the series registered under \a seriesId and deletes it at
        once, with its legend check box. Called from within one of the
        series' own calls (a receiver of its signals), it removes the series
        at once and deletes it when that call has returned
        (QObject::deleteLater()). An unknown id removes nothing.

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
        Removes every series, marker line and item, empties the legend and
        resets the axes. The removed objects are deleted later, through the
        event loop. A drag of an item ends without a signal.

        The palette starts again at its first colour. The zoom history is
        emptied, and automatic scaling comes back on if the user's gestures
        (wheel, rubber band, pan, zoomBack()) switched it off; a host's own
        setAutoScale(false), the title, the refresh timeout and the tooltip
        switch stay as they are.
    */
    Q_INVOKABLE void clear();
    /*!
        Returns the chart's legend, which the chart owns. It is hidden until
        the host shows it (Legend::setVisible()).
    */
    Q_INVOKABLE Legend *legend() const;
    /*!
        Returns the ChartGroup whose members share the chart's x range, or
        null while the chart is in none (the default). The group adds and
        removes its members (ChartGroup::addChart()).
    */
    ChartGroup *group() const;
    /*!
        Switches automatic scaling on or off, as \a autoScale says.

        Switching it on resets the axes, fits each to the bounds of the
        visible series on it and the x values of the marker lines, and renders
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
        Returns the chart's axes: left, bottom and right. The chart owns
        them; they live as long as the chart.
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
        Returns the title's font, "Arial" at 8 points by default.
    */
    QFont titleFont() const;
    /*!
        Sets the font of the chart's title and lays the plot out again (while
        the drawing lock is set, the layout waits). Emits titleFontChanged()
        when the font changes. The title font is one of the settings that
        save() writes; "Arial" at 8 points by default.
    */
    void setTitleFont(const QFont &font);

    /*!
        Returns the font of the bottom axis' tick labels; "Arial" at 8
        points by default. See setAxisLabelFont().
    */
    QFont axisLabelFont() const;
    /*!
        Sets the font of the tick labels of all axes to \a font and lays
        the plot out again (while the drawing lock is set, the layout waits).
        Axis::setLabelFont() sets one axis alone. Emits nothing.
    */
    void setAxisLabelFont(const QFont &font);

    /*!
        Returns the font of the bottom axis' title; "Arial" at 8 points by
        default. See setAxisTitleFont().
    */
    QFont axisTitleFont() const;
    /*!
        Sets the font of all axis titles to \a font and lays the plot out
        again (while the drawing lock is set, the layout waits).
        Axis::setTitleFont() sets one axis alone. Emits nothing.
    */
    void setAxisTitleFont(const QFont &font);

    /*!
        Returns the font of the legend's entries, which is the widget's font
        until set; see setLegendFont().
    */
    QFont legendFont() const;
    /*!
        Sets the font of the legend's entries to \a font and fits the
        legend's check boxes to it. The plot is not laid out again.
    */
    void setLegendFont(const QFont &font);

    /*!
        Returns the colours that series get when they have no colour of
        their own; see setSeriesColors(). Empty by default; under thDark,
        the dark theme's list.
    */
    QList<QColor> seriesColors() const;
    /*!
        Sets the colours that series registered from now on get when they
        have no colour of their own to \a colors, in this order and then
        again from the start; the next series gets the first colour. An
        empty list, the default, gives the built-in cycle from red through
        the Qt::GlobalColor values. Series already registered keep their
        colours; clear() starts the list again. setTheme() replaces the list
        with its own.
    */
    void setSeriesColors(const QList<QColor> &colors);

    /*!
        Returns the chart's theme; thDefault until set.

        setTheme(thDark) gives the widget a dark palette (its background is
        then filled, and title, labels, crosshair and legend text are
        light), a dim grid, light axis frames and a series colour list that
        reads well on dark ground. Series the chart coloured itself and
        whose colour the host has not changed since are coloured again from
        the theme's list. setTheme(thDefault) brings back the palette the
        widget had before, the white grid, black frames and the built-in
        colour cycle. setTheme(thLight) is a clean card: white background,
        light solid grid, thin light frame, dark grey text, the title in the
        widget's own font (the previous title font comes back when the theme
        changes again) and a colour list for white ground. Themes set the
        grid style and colours of the axes. Other fonts are left as they
        are. Setting the theme the chart already has does nothing.
    */
    Theme theme() const;
    /*!
        Gives the chart the look \a theme, as theme() describes, replaces
        the series colour list (see setSeriesColors()), renders whatever the
        drawing lock says and emits themeChanged(). Does nothing when the
        chart already has \a theme or when \a theme is not a Theme value.
    */
    void setTheme(Theme theme);

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
        layout. A change of the plot's size still renders (unless a block
        of points, ChartSeries::addPoints(), widening the axes caused it: the
        new image stays empty until the release), and so does repaint().
        Releasing a set lock adjusts the axes' ticks (with automatic
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
        scaling on: recomputes, from the event loop, unless the host or a
        gesture switches automatic scaling off first) the axes to all data
        and renders once. A point
        that widens its series' bounds while the timer is idle still renders at
        once.

        A negative value switches the timer off and renders the points that
        are still pending.
    */
    void setRefreshTimeout(int ms);

    /*!
        Returns whether the mouse wheel zooms the plot. Off by default: wheel
        events then go on to the widget as for any other widget.

        When on, a wheel step over the plot zooms about the point under the
        pointer: away from the user (a positive angle) zooms in, towards the
        user zooms out, by a factor of 0.8 per 15 degrees. With Ctrl held
        only the x axis zooms, with Shift only the y axis. A step that
        would make a range narrower than the axis can resolve, wider than
        1e300 or not finite leaves that axis as it is. Like the drag zoom,
        wheel zoom switches automatic scaling off, and every step can be
        undone with zoomBack(). Wheel events outside the plot are passed on.
    */
    bool wheelZoom() const;
    /*!
        Switches wheel zoom on or off, as \a on says; see wheelZoom(). Emits
        wheelZoomChanged() when the value changes; the view is not touched.
    */
    void setWheelZoom(bool on);

    /*!
        Returns whether a double click with the left button in the plot
        returns the chart to automatic scaling, as the drag up and to the
        left does. Off by default: double clicks then go on to the widget.
    */
    bool doubleClickReset() const;
    /*!
        Switches the double-click reset on or off, as \a on says; see
        doubleClickReset(). Emits doubleClickResetChanged() when the value
        changes.
    */
    void setDoubleClickReset(bool on);

    /*!
        Returns whether a zoomed or panned view holds while data arrives.
        Off by default: with automatic scaling off, each expiry of the
        refresh timer widens the axes so that all data fits. When on, the
        axes keep the user's ranges and the timer only renders the new
        points that fall inside them. With automatic scaling on the axes
        follow the data either way.
    */
    bool holdView() const;
    /*!
        Makes a zoomed or panned view hold while data arrives, or not, as
        \a on says; see holdView(). It takes effect at the next expiry of
        the refresh timer; the call itself changes no range. Emits
        holdViewChanged() when the value changes.
    */
    void setHoldView(bool on);

    /*!
        Returns whether a crosshair follows the pointer over the plot. Off
        by default. When on, the widget tracks the mouse and draws, while the
        pointer is inside the plot, a dashed vertical and horizontal line
        through it with the x and y values beside it, and the right axis'
        value while that axis is shown, as the axes label them (date-times in the axis' date-time format, custom labels where the
        axis has them). The crosshair is drawn onto the widget at paint
        time: moving the pointer renders no series. Switching it off does not
        switch the widget's mouse tracking off again if the host had set it.
    */
    bool crosshair() const;
    /*!
        Switches the crosshair on or off, as \a on says; see crosshair().
        Switching it on turns the widget's mouse tracking on; switching it
        off removes a crosshair that is shown. Emits crosshairChanged() when
        the value changes.
    */
    void setCrosshair(bool on);

    /*!
        Returns the fixed ratio between the axes' scales: one unit on the
        bottom axis takes aspectRatio() times the pixels of one unit on the
        left axis (1: equal scales, a circle stays round). 0, the default,
        fixes nothing.

        While it is set, every rendering first widens the bottom or the left
        axis' visible range about its centre, whichever the ratio would
        otherwise squeeze, so that zoom, pan, the wheel, a resize and
        automatic scaling all keep it and all the data that was in view stays
        in view. Logarithmic axes and a chart without a range on both axes
        are left as they are. The right axis keeps its own scale.
    */
    double aspectRatio() const;
    /*!
        Sets the aspect ratio to \a ratio; see aspectRatio(). 0 switches it
        off. A negative, infinite or NaN ratio is ignored. The chart renders
        at once under the new ratio. Emits aspectRatioChanged() when the
        value changes.
    */
    void setAspectRatio(double ratio);

    /*!
        Returns how many views zoomBack() can return to. Each drag zoom,
        pan drag and wheel step records the view it leaves; the oldest
        records are dropped beyond 50. Switching automatic scaling on
        (setAutoScale(true), the reset gestures) empties the history.
    */
    int zoomHistorySize() const;

    /*!
        Returns the series and the data item drawn at \a pos, in widget
        pixels: the marker or line vertex nearest to \a pos within a few
        pixels, or the bar, box, Gantt bar, band, pie slice or colour map
        cell under it (ChartSeries::indexAt(); a cell's index is row *
        columns + column). Only visible series count, on either
        vertical axis; where several have an item there, the one drawn last
        (the highest id) wins. Outside the plot, or over nothing, the hit is
        invalid.
        \sa pointClicked(), pointHovered()
    */
    ChartHit pointAt(const QPoint &pos) const;

    /*!
        Returns the selection mode; see setSelectionMode().
    */
    SelectionMode selectionMode() const;
    /*!
        Sets what the user can select to \a mode. With any mode but smNone
        the chart takes the focus on a click, a click on an item selects it
        (Ctrl+click toggles it in the modes for several), a click on no item
        clears the selection and Escape clears it. Selected items are drawn
        with a ring over the series, which costs no rendering of the
        series. Switching to smNone keeps the selection the host can read.
    */
    void setSelectionMode(SelectionMode mode);
    /*!
        Returns the selected rows of the series \a seriesId, ascending; an
        empty list for a series with none or no such series. Rows that the
        series dropped (a point limit, removeBefore(), clear()) are gone and
        the others renumbered with them.
    */
    QList<int> selectedPoints(int seriesId) const;
    /*!
        Selects the rows \a indices of the series \a seriesId in place of
        its selection; rows outside the series are ignored. Emits
        selectionChanged() when the selection changes.
    */
    void setSelectedPoints(int seriesId, const QList<int> &indices);
    /*!
        Clears the selection of every series; emits selectionChanged() when
        there was one.
    */
    void clearSelection();

    /*!
        Returns whether keyboard navigation is on; see
        setKeyboardNavigation().
    */
    bool keyboardNavigation() const;
    /*!
        Switches keyboard navigation \a on or off. When on, the chart takes
        the focus by Tab and by clicks (Qt::StrongFocus), shows it with a
        dotted frame round the plot, walks series and points (see
        currentSeries()) and answers keys: the arrows pan by a
        tenth of the plot, + (or =) and - zoom about the plot's centre one
        wheel step, Ctrl limiting the zoom to x and Shift to y as on the
        wheel (Shift is ignored with "+", which needs it on many layouts),
        Backspace goes back in the zoom history (zoomBack()), Home switches
        automatic scaling on. Off, the focus policy returns to what it was
        for the selection mode.
    */
    void setKeyboardNavigation(bool on);
    /*!
        Returns the id of the series the keyboard walk is on, or -1 before
        the first Tab and after the last. With keyboard navigation on, Tab
        and Shift+Tab walk the visible series in id order (past the last
        one the focus moves on), Alt+Right and Alt+Left walk the points of
        the current one; the point is marked on the plot, reported by
        currentPointChanged() and announced to assistive technology (in the
        axes' label formats, at most five times a second).
    */
    int currentSeries() const;
    /*!
        Returns the row of the point the keyboard walk is on in
        currentSeries(), or -1.
    */
    int currentPoint() const;

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
        Renders the chart into an image of \a size logical pixels (the
        widget's size when \a size is invalid) times \a scale device pixels,
        with a device pixel ratio of \a scale, over the widget's window
        colour. At another size than the widget's the chart is laid out for
        that size as a resize would lay it out (more room for the plot,
        texts at their size); a \a scale of 2 gives a sharp picture for a
        high-resolution screen or a document. Series are drawn as in
        exportSvg(). Returns a null image when the size is empty, \a scale
        is not positive or the image would not fit in memory. Does not
        change what the widget shows, nor its axes.
    */
    QImage toImage(const QSize &size = QSize(), qreal scale = 1.0);

    /*!
        Writes toImage(\a size, \a scale) to \a fileName in a raster
        format Qt writes (see QImageWriter::supportedImageFormats()).
        \a format names it ("png", "jpg", "bmp", ...); when null it follows
        the file name's suffix, and is "png" when the name has none.
        \a quality is passed to QImageWriter (-1: the format's default).
        Returns false, and shows nothing, when the image cannot be made, the
        format is not writable or the file cannot be written; an existing
        file is then unchanged.
    */
    bool exportImage(const QString &fileName, const QSize &size = QSize(), qreal scale = 1.0,
                     const char *format = nullptr, int quality = -1);

    /*!
        Writes the chart to \a fileName as a one-page PDF of vector
        graphics whose page is the widget's size at 96 pixels per inch, so
        the chart prints at its on-screen size. Returns false, and shows
        nothing, when the file cannot be written or the widget has no size.
    */
    bool exportPdf(const QString &fileName);

    /*!
        Prints the chart on one page of \a printer, scaled to fit the
        printable area with its proportions kept, as vector graphics where
        the printer takes them. The printer is set up by the caller (for
        example with QPrintDialog) and stays the caller's. Returns false
        when \a printer is null or cannot be painted on, when it prints to
        a PDF file that cannot be written, and always when the library was
        built without Qt's print support.
    */
    bool print(QPrinter *printer);

    /*!
        Puts toImage() on the application's clipboard. Returns false when
        there is no image to copy or no clipboard.
    */
    bool copyToClipboard();

    /*!
        Returns whether the context menu also offers saving as an image,
        saving as PDF, printing (where the library has Qt's print support)
        and copying to the clipboard, after the three data and SVG entries.
        Off by default, so the menu holds only those three.
    */
    bool imageExportActions() const;
    /*!
        Adds the image, PDF, print and clipboard entries to the context menu
        or takes them out, as \a on says; see imageExportActions(). Emits
        imageExportActionsChanged() when the value changes.
    */
    void setImageExportActions(bool on);

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

    /*!
        Returns the plot area, where the series are drawn, in widget
        coordinates; an empty rectangle before the first layout.
    */
    QRect plotArea() const;
    /*!
        Returns the values at widget position \a position: x on the bottom
        axis, y on \a yAxis (the left axis when null; the right axis when
        that is given). Positions outside the plot give values beyond the
        axes' ends; NaN while an axis has no range.
    */
    QPointF mapToValue(const QPointF &position, const Axis *yAxis = nullptr) const;
    /*!
        Returns the widget position of \a value (x on the bottom axis, y on
        \a yAxis, the left axis when null); the inverse of mapToValue(). NaN
        for values an axis cannot place (zero or less on a logarithmic axis)
        or while an axis has no range.
    */
    QPointF mapToPosition(const QPointF &value, const Axis *yAxis = nullptr) const;
    /*!
        Fits \a axis (the bottom, left or right axis of this chart) once to
        the data of the visible series on it and renders, leaving the other
        axes as they are; automatic scaling is not switched on. Returns
        false, changing nothing, for another chart's axis or when no visible
        series on it has data.
    */
    bool rescaleAxis(Axis *axis);

    /*!
        Returns to the view before the last zoom, pan or wheel step and
        returns true; returns false, changing nothing, when the history is
        empty. Going back past the first step of a history that began under
        automatic scaling switches automatic scaling on again.
    */
    bool zoomBack();

protected:
    /*! Turns on mouse tracking when pointHovered() gets its receiver. */
    void connectNotify(const QMetaMethod &signal) override;

private:
    // Asks whether the opt-in signals have receivers.
    friend class ChartWidgetPrivate;

signals:
    /*!
        Emitted when imageExportActions changes to \a on.
    */
    void imageExportActionsChanged(bool on);
    /*!
        Emitted by setWheelZoom() when wheelZoom changes to \a on; setting
        the value it already has emits nothing.
    */
    void wheelZoomChanged(bool on);
    /*!
        Emitted by setDoubleClickReset() when doubleClickReset changes to
        \a on; setting the value it already has emits nothing.
    */
    void doubleClickResetChanged(bool on);
    /*!
        Emitted by setHoldView() when holdView changes to \a on; setting the
        value it already has emits nothing.
    */
    void holdViewChanged(bool on);
    /*!
        Emitted by setCrosshair() when crosshair changes to \a on; setting
        the value it already has emits nothing.
    */
    void crosshairChanged(bool on);
    /*!
        Emitted by setAspectRatio() when aspectRatio changes to \a ratio.
    */
    void aspectRatioChanged(double ratio);
    /*!
        Emitted by setTitleFont(), and by load(), when the title font
        changes to \a font.
    */
    void titleFontChanged(const QFont &font);
    /*!
        Emitted by setTheme() when the chart takes the new \a theme, after
        it has been recoloured and rendered.
    */
    void themeChanged(ChartWidget::Theme theme);

    /*!
        Emitted with the new zoomHistorySize() when a zoom, pan or wheel
        step adds to the history, when zoomBack() takes from it and when
        switching automatic scaling on empties it. A step recorded into a
        full history drops the oldest one and emits nothing.
    */
    void zoomHistoryChanged(int size);

    /*!
        Emitted when the user clicks the data item \a index of the series
        \a seriesId (pointAt()) with \a buttons, holding \a modifiers. A
        press that moves into a zoom band or a pan is not a click. The chart
        hit-tests a click only while this signal, seriesClicked() or a
        selection mode is in use.
    */
    void pointClicked(int seriesId, int index, Qt::MouseButtons buttons,
                      Qt::KeyboardModifiers modifiers);
    /*!
        Emitted when the user double-clicks the data item \a index of the
        series \a seriesId with \a buttons, holding \a modifiers; the first
        click was reported by pointClicked(). The double click resets the
        zoom as before when doubleClickReset is on.
    */
    void pointDoubleClicked(int seriesId, int index, Qt::MouseButtons buttons,
                            Qt::KeyboardModifiers modifiers);
    /*!
        Emitted when the pointer comes over the data item \a index of the
        series \a seriesId, and with \a index -1 when it leaves the
        series' items for a place with none or for another series' item
        (moving between two items of one series reports the new one only). Connecting to it turns on mouse tracking; a chart with
        no receiver does not hit-test moves. Moves during a zoom band, a pan
        or a line drag are not reported.
    */
    void pointHovered(int seriesId, int index);
    /*!
        Emitted when the user clicks a data item of the series \a seriesId
        (after pointClicked()) or the text of its legend entry.
    */
    void seriesClicked(int seriesId);
    /*!
        Emitted by setSelectionMode() when the mode changes to \a mode.
    */
    void selectionModeChanged(ChartWidget::SelectionMode mode);
    /*!
        Emitted when the selection changes, by the user or by
        setSelectedPoints() and clearSelection(); not when rows leave it
        because the series dropped them.
    */
    void selectionChanged();
    /*!
        Emitted by setKeyboardNavigation() when keyboardNavigation changes
        to \a on.
    */
    void keyboardNavigationChanged(bool on);
    /*!
        Emitted when the keyboard walk moves to the series \a seriesId
        (-1: none) and its row \a index (-1: none yet).
    */
    void currentPointChanged(int seriesId, int index);
};

#endif // CHARTWIDGET_H
