#ifndef CHARTWIDGET_H
#define CHARTWIDGET_H

#include "tavrin_global.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QWidget>

class Axes;
class ChartSeries;
class ChartWidgetPrivate;
class Legend;
class VLine;

// The chart a host puts in its window: series and marker lines over a
// self-scaling pair of axes, with title, legend, zoom, pan and tooltips.
class TAVRIN_EXPORT ChartWidget : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool autoScale READ autoScale WRITE setAutoScale)
    Q_PROPERTY(QString title READ title WRITE setTitle)
    Q_PROPERTY(bool wheelZoom READ wheelZoom WRITE setWheelZoom NOTIFY wheelZoomChanged)
    Q_PROPERTY(bool doubleClickReset READ doubleClickReset WRITE setDoubleClickReset
                   NOTIFY doubleClickResetChanged)
    Q_PROPERTY(bool holdView READ holdView WRITE setHoldView NOTIFY holdViewChanged)
    Q_PROPERTY(bool crosshair READ crosshair WRITE setCrosshair NOTIFY crosshairChanged)
    Q_PROPERTY(QFont titleFont READ titleFont WRITE setTitleFont NOTIFY titleFontChanged)
    Q_PROPERTY(Theme theme READ theme WRITE setTheme NOTIFY themeChanged)
public:
    enum dataFormat : int { dfBinary = 0 };

    //! Looks the chart can take as a whole; see setTheme().
    enum Theme : int { thDefault = 0, thDark = 1 };
    Q_ENUM(Theme)

    explicit ChartWidget(QWidget *parent = nullptr);
    ~ChartWidget() override;

    Q_INVOKABLE QObject *createObject(const char *object_name);
    Q_INVOKABLE int addSeries(ChartSeries *series);
    void addSeries(ChartSeries *series, int id);
    Q_INVOKABLE int addVLine(VLine *vline);
    Q_INVOKABLE void removeSeries(int seriesId);
    Q_INVOKABLE ChartSeries *series(int seriesId) const;
    Q_INVOKABLE void clear();
    Q_INVOKABLE Legend *legend() const;
    Q_INVOKABLE void setAutoScale(bool autoScale = true);

    QList<ChartSeries *> seriesList() const;
    Axes *axes() const;

    QString title() const;
    void setTitle(const QString &title);
    QFont titleFont() const;
    /*!
        Sets the font of the chart's title and lays the plot out again. The
        title font is one of the settings that save() writes; "Arial" at 8
        points by default.
    */
    void setTitleFont(const QFont &font);

    /*!
        Sets the font of the tick labels of both axes and lays the plot out
        again. Returns the bottom axis' label font; "Arial" at 8 points by
        default. Axis::setLabelFont() sets one axis alone.
    */
    QFont axisLabelFont() const;
    void setAxisLabelFont(const QFont &font);

    /*!
        Sets the font of both axis titles and lays the plot out again.
        Returns the bottom axis' title font; "Arial" at 8 points by default.
    */
    QFont axisTitleFont() const;
    void setAxisTitleFont(const QFont &font);

    /*!
        Sets the font of the legend's entries and fits the legend to it.
        Returns the legend's font, which is the widget's font until set.
    */
    QFont legendFont() const;
    void setLegendFont(const QFont &font);

    /*!
        Sets the colours that series registered from now on get when they
        have no colour of their own, in this order and then again from the
        start. An empty list, the default, gives the built-in cycle from
        red through the Qt::GlobalColor values. Series already registered
        keep their colours; clear() starts the list again.
    */
    QList<QColor> seriesColors() const;
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
        colour cycle. Fonts are left as they are. Setting the theme the
        chart already has does nothing.
    */
    Theme theme() const;
    void setTheme(Theme theme);

    bool autoScale() const;
    bool drawingLock() const;
    void setDrawingLock(bool lock);
    void setAntialiasing(bool on);
    void enableTooltip(bool on);
    bool tooltipEnabled() const;
    int refreshTimeout() const;
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
    void setWheelZoom(bool on);

    /*!
        Returns whether a double click with the left button in the plot
        returns the chart to automatic scaling, as the drag up and to the
        left does. Off by default: double clicks then go on to the widget.
    */
    bool doubleClickReset() const;
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
    void setHoldView(bool on);

    /*!
        Returns whether a crosshair follows the pointer over the plot. Off
        by default. When on, the widget tracks the mouse and draws, while the
        pointer is inside the plot, a dashed vertical and horizontal line
        through it with the x and y values beside it, as the axes label them
        (date-times in the axis' date-time format, custom labels where the
        axis has them). The crosshair is drawn onto the widget at paint
        time: moving the pointer renders no series. Switching it off does not
        switch the widget's mouse tracking off again if the host had set it.
    */
    bool crosshair() const;
    void setCrosshair(bool on);

    /*!
        Returns how many views zoomBack() can return to. Each drag zoom,
        pan drag and wheel step records the view it leaves; the oldest
        records are dropped beyond 50. Switching automatic scaling on
        (setAutoScale(true), the reset gestures) empties the history.
    */
    int zoomHistorySize() const;

    bool save(dataFormat format, const QString &fileName);
    bool load(dataFormat format, const QString &fileName);

    // Non-interactive exports; false (and no message) when the file cannot
    // be written.
    bool exportCsv(const QString &fileName);
    bool exportXml(const QString &fileName);
    bool exportSvg(const QString &fileName);

    static QString chartVersion;

    ChartWidgetPrivate *d;

public slots:
    // Renders the series layer again; hides QWidget::repaint().
    void repaint();

    /*!
        Returns to the view before the last zoom, pan or wheel step and
        returns true; returns false, changing nothing, when the history is
        empty. Going back past the first step of a history that began under
        automatic scaling switches automatic scaling on again.
    */
    bool zoomBack();

signals:
    /*!
        These are emitted when the property of the same name really
        changes, with its new value; setting the value it already has emits
        nothing.
    */
    void wheelZoomChanged(bool on);
    void doubleClickResetChanged(bool on);
    void holdViewChanged(bool on);
    void crosshairChanged(bool on);
    void titleFontChanged(const QFont &font);
    void themeChanged(ChartWidget::Theme theme);

    /*!
        Emitted with the new zoomHistorySize() when a zoom, pan or wheel
        step adds to the history, when zoomBack() takes from it and when
        switching automatic scaling on empties it. A step recorded into a
        full history drops the oldest one and emits nothing.
    */
    void zoomHistoryChanged(int size);
};

#endif // CHARTWIDGET_H
