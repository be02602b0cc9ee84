#ifndef AXIS_H
#define AXIS_H

#include "tavrin_global.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QString>

class QPainter;
class QRect;
class AxisPrivate;

/*!
    \class Axis
    \brief One coordinate axis of a chart: the range shown along one
    direction, the transform between values and pixels, ticks, labels, grid
    and title.

    A chart's axes are reached through ChartWidget::axes(): the bottom axis
    (atBottom) is the x axis of every registered series, the left axis
    (atLeft) their y axis unless a series is put on the right axis (atRight).
    The chart owns them.

    The visible range is the data range (fed by update(), setMin(), setMax()
    or setRange()) widened at each end by a margin that keeps padding() (by
    default 20) pixels free
    between the outermost values and the plot's edges; min(), max() and
    span() include the margin. Pixel positions are relative to the plot
    area's top-left corner; on the vertical axes they grow downwards, so
    larger values lie higher.

    Tick labels are numbers (six significant digits), date-times
    (setDatetime()), or texts of the host's own (setCustomLabel()), which then
    replace all other labels. A date-time value is seconds since
    1970-01-01T00:00:00 UTC, shown in local time.

    Title, date-time mode, format and custom labels change the room the axis
    needs beside the plot without telling the chart; the chart takes the new
    size at its next layout pass (for instance when a series is added, the
    widget is resized or the axes are rescaled). Set them before filling the
    chart.

    A logarithmic axis (setLogarithmic()) places log10 of the values evenly,
    so each decade takes the same room; zero and negative values have no
    place on it and are not drawn.

    Not thread-safe: use an axis on the GUI thread only. There are no errors:
    NaN values are ignored and conversions return 0 while the axis has no
    scale.
*/
class TAVRIN_EXPORT Axis : public QObject
{
    Q_OBJECT
    /*!
        Whether values map to pixels through their logarithm; see
        setLogarithmic().
    */
    Q_PROPERTY(bool logarithmic READ isLogarithmic WRITE setLogarithmic NOTIFY logarithmicChanged)
    /*!
        \property Axis::padding
        \brief Pixels kept free between the outermost values and the plot's
        edges at each end (default: 20). With 0 data touches the frame and
        setRange() shows exactly the range it is given.
    */
    Q_PROPERTY(int padding READ padding WRITE setPadding NOTIFY paddingChanged)
    /*!
        \property Axis::visible
        \brief Whether the axis draws its band, ticks, labels, title and grid
        (default: true). A hidden axis still places the series on it.
    */
    Q_PROPERTY(bool visible READ isVisible WRITE setVisible NOTIFY visibleChanged)
    /*!
        \property Axis::preferredTickCount
        \brief About how many major ticks the axis shows (default: 0, about
        seven). The step is still a 1, 2 or 5 times a power of ten.
    */
    Q_PROPERTY(int preferredTickCount READ preferredTickCount WRITE setPreferredTickCount NOTIFY ticksChanged)
    /*!
        \property Axis::tickStep
        \brief A fixed distance between major ticks in value units (default:
        0, chosen from the range). Ticks closer than two pixels are not drawn.
        Linear axes only; a logarithmic axis chooses its own ticks.
    */
    Q_PROPERTY(double tickStep READ tickStep WRITE setTickStep NOTIFY ticksChanged)
    /*!
        \property Axis::minorTickCount
        \brief How many minor ticks lie between two major ones (default: 0).
        Linear axes only.
    */
    Q_PROPERTY(int minorTickCount READ minorTickCount WRITE setMinorTickCount NOTIFY ticksChanged)
    /*!
        \property Axis::minorGrid
        \brief Whether grid lines are drawn at the minor ticks too (default:
        false).
    */
    Q_PROPERTY(bool minorGrid READ minorGrid WRITE setMinorGrid NOTIFY ticksChanged)
    /*!
        \property Axis::gridStyle
        \brief The pen style of the major grid lines (default: Qt::DashLine).
    */
    Q_PROPERTY(Qt::PenStyle gridStyle READ gridStyle WRITE setGridStyle NOTIFY ticksChanged)
    /*!
        \property Axis::minorGridColor
        \brief The colour of the minor grid lines (default: invalid, which
        takes the grid colour).
    */
    Q_PROPERTY(QColor minorGridColor READ minorGridColor WRITE setMinorGridColor NOTIFY ticksChanged)
    /*!
        \property Axis::minorGridStyle
        \brief The pen style of the minor grid lines (default: Qt::DotLine).
    */
    Q_PROPERTY(Qt::PenStyle minorGridStyle READ minorGridStyle WRITE setMinorGridStyle NOTIFY ticksChanged)
public:
    /*!
        The orientation of an axis. \c atBottom (0) is the horizontal axis
        under the plot, \c atLeft (1) the vertical axis left of it, \c atRight
        (2) a vertical axis right of it, with its labels and title on that
        side, \c atTop (3) a horizontal axis above it, with its labels and
        title above the plot. Enums take any int: hosts and files may hand over values outside
        the named ones, which must be well-defined to hold and compare.
    */
    enum AxisType : int { atBottom = 0, atLeft = 1, atRight = 2, atTop = 3 };

    /*!
        Constructs an axis of the given \a type, with no parent and an
        invalid (empty) range.
    */
    explicit Axis(AxisType type);
    /*!
        Destroys the axis.
    */
    ~Axis() override;

    /*!
        Returns the axis' orientation.
    */
    AxisType type() const;

    /*!
        Returns the lowest visible value: the data range's lower end minus the
        margin. NaN while the axis is not valid.
    */
    double min() const;
    /*!
        Returns the highest visible value: the data range's upper end plus the
        margin. NaN while the axis is not valid.
    */
    double max() const;
    /*!
        Returns the visible range's extent, max() - min(), in value units.
    */
    double span() const;
    /*!
        Returns whether the axis has a range (neither end is NaN). A new or
        reset axis is not valid.
    */
    bool isValid() const;
    /*!
        Returns the thickness in pixels of the band beside the plot that holds
        the labels and the title.
    */
    int size() const;

    /*!
        Sets the data range's lower end to \a v and recomputes transform and
        ticks. NaN is ignored. Nothing checks that the lower end stays below
        the upper one.
    */
    void setMin(double v);
    /*!
        Sets the data range's upper end to \a v and recomputes transform and
        ticks. NaN is ignored.
    */
    void setMax(double v);
    /*!
        Sets the data range to \a min ... \a max and recomputes the
        transform; the ticks too when the range's width changed. NaN in either
        end is ignored. The axis then shows a little more than that range:
        the margin of padding() pixels at each end (20 by default) lies
        outside it, so min() and max() are beyond \a min and \a max; with a
        padding of 0 the axis shows exactly the range given.

        Within a chart with automatic scaling on, the next rescale replaces
        the range; switch it off (ChartWidget::setAutoScale(false)) to keep a
        range of your own. The chart renders the new range with its next
        rendering (ChartWidget::repaint()).
    */
    void setRange(double min, double max);
    /*!
        Widens the data range to include \a v and returns true when it had to
        change. NaN is ignored (false). The first value opens a narrow range
        around itself. The ticks are not recomputed here.
    */
    bool update(double v);
    /*!
        Moves the data range by \a d value units, keeping its width (on a
        logarithmic axis by \a d decades, keeping its ratio). A value that
        is not finite is ignored.
    */
    void shift(double d);
    /*!
        Forgets the range, scale and ticks: the axis becomes invalid (unless
        the scale lock keeps the range). Title, fonts, format, custom labels
        and grid colour stay.
    */
    void reset();
    /*!
        Sets the scale lock to \a lock (default: off). While it is set, the
        operations that change the data range (update(), setMin(), setMax(),
        setRange(), shift(), reset()) leave it unchanged and do everything
        else; update() still reports whether the range would have changed.
    */
    void setScaleLock(bool lock);
    /*!
        Returns whether the scale lock is set.
    */
    bool scaleLock() const;

    /*!
        Switches the logarithmic scale on or off, as \a on says (default:
        off), and emits logarithmicChanged() when that changed anything.

        On a logarithmic axis pixel positions follow log10 of the values,
        ticks sit at powers of ten (with 2 and 5 times them between when the
        range spans few decades, at even steps within a narrow range inside
        one decade), and the 20-pixel margins are kept in decades. Values of
        zero or below have no logarithm: update(), setMin(), setMax() and
        setRange() ignore them as they ignore NaN, pointToPixel() gives NaN
        for them and series leave them out; a line breaks there. Value
        distances (shift(), pointDeltaToPixel(), pixelDeltaToPoint()) are
        in decades.

        A range that reaches zero or below when the scale is switched on is
        dropped: the axis becomes invalid until it gets a positive range;
        within a chart, the axes are rescaled to the data's positive values.
        Switching back to linear keeps the range.
    */
    void setLogarithmic(bool on);
    /*!
        Returns whether the axis is logarithmic; see setLogarithmic().
    */
    bool isLogarithmic() const;

    /*!
        Returns the pixel position of the value \a v, relative to the plot
        area's left edge (atBottom, atTop) or top edge (atLeft, atRight).
    */
    double pointToPixel(double v) const;
    /*!
        Returns the value at the pixel position \a p, the inverse of
        pointToPixel(); 0 while the axis has no scale.
    */
    double pixelToPoint(double p) const;
    /*!
        Returns the pixel distance of the value distance \a d (decades on a
        logarithmic axis), without a sign change on the left axis; 0 while
        the axis has no scale.
    */
    double pointDeltaToPixel(double d) const;
    /*!
        Returns the value distance (decades on a logarithmic axis) of the
        pixel distance \a d; 0 while the axis has no scale.
    */
    double pixelDeltaToPoint(double d) const;

    /*!
        Switches date-time labels on or off, as \a on says (default: off).

        Values are then seconds since 1970-01-01T00:00:00 UTC, labelled in
        local time, and tick steps follow calendar units. Switching on without
        a format sets "dd.MM.yyyy" over "hh:mm:ss" (two label lines).
    */
    void setDatetime(bool on);
    /*!
        Returns whether the axis shows date-time labels.
    */
    bool isDatetime() const;
    /*!
        Sets the QDateTime::toString() format of date-time labels to
        \a format. Each "\r" in it starts another label line. The format is
        kept when date-time mode is switched off.
    */
    void setDatetimeFormat(const QString &format);
    /*!
        Returns the date-time label format while date-time mode is on, and an
        empty string while it is off.
    */
    QString datetimeFormat() const;

    /*!
        Shows \a text as the label of the tick at the value \a v, replacing
        any text given for that value before. Values are compared in single
        precision. While the axis has any custom label, ticks without one get
        no text. NaN is ignored.
    */
    void setCustomLabel(double v, const QString &text);
    /*!
        Removes every custom label; numbers or date-times label the ticks again.
    */
    void clearCustomLabels();
    /*!
        Returns the label text of the value \a v as the axis would draw it:
        the custom label (or an empty string), the date-time, or the number.
        Tooltips use it too.
    */
    QString labelString(double v) const;

    /*!
        Returns the axis title. Empty by default.
    */
    QString title() const;
    /*!
        Sets the axis title to \a title: under the bottom axis' labels,
        reading upwards left of the left axis' labels, reading downwards
        right of the right axis' labels, or above the top axis' labels.
    */
    void setTitle(const QString &title);
    /*!
        Sets the colour of the dashed grid lines to \a color (default:
        white). It takes effect at the next paint.
    */
    void setGridColor(QColor color);
    /*!
        Returns the colour of the grid lines.
    */
    QColor gridColor() const;

    /*!
        Sets the font of the tick labels; "Arial" at 8 points by default.
        The axis measures its label band again at once; the chart lays its
        plot out again at its next update (ChartWidget::setAxisLabelFont
        does both).
    */
    void setLabelFont(const QFont &font);
    /*!
        Returns the font of the tick labels; see setLabelFont().
    */
    QFont labelFont() const;

    /*!
        Sets the font of the axis title; "Arial" at 8 points by default.
        As with setLabelFont(), the label band is measured again.
    */
    void setTitleFont(const QFont &font);
    /*!
        Returns the font of the axis title; see setTitleFont().
    */
    QFont titleFont() const;

    /*!
        Sets the colour of the axis' frame edges and tick marks; black by
        default. Labels and title are drawn in the painter's pen, which on
        the chart is the widget palette's QPalette::WindowText.
    */
    void setFrameColor(QColor color);
    /*!
        Returns the colour of the frame edges and tick marks; see
        setFrameColor().
    */
    QColor frameColor() const;

    /*!
        Returns the pixels kept free at each end; see the padding property.
    */
    int padding() const;
    /*!
        Sets the pixels kept free at each end to \a pixels (negative values
        count as 0) and emits paddingChanged() and axisChanged() when it
        changed.
    */
    void setPadding(int pixels);
    /*!
        Returns whether the axis is drawn; see the visible property.
    */
    bool isVisible() const;
    /*!
        Shows or hides the axis' band, ticks, labels, title and grid as \a on
        says, and emits visibleChanged() and axisChanged() when it changed.
        The frame around the plot stays.
    */
    void setVisible(bool on);
    /*!
        Returns the preferred number of major ticks (0: automatic).
    */
    int preferredTickCount() const;
    /*!
        Asks for about \a count major ticks (0 or less: automatic). Emits
        ticksChanged() and axisChanged() when it changed.
    */
    void setPreferredTickCount(int count);
    /*!
        Returns the fixed major tick step (0: automatic).
    */
    double tickStep() const;
    /*!
        Fixes the major tick step at \a step value units; 0, a negative or
        non-finite step goes back to automatic steps. Emits ticksChanged()
        and axisChanged() when it changed.
    */
    void setTickStep(double step);
    /*!
        Returns the number of minor ticks between two major ones.
    */
    int minorTickCount() const;
    /*!
        Puts \a count minor ticks between two major ones (0 or less: none;
        at most 99). Emits ticksChanged() and axisChanged() when it changed.
    */
    void setMinorTickCount(int count);
    /*!
        Returns whether grid lines are drawn at the minor ticks.
    */
    bool minorGrid() const;
    /*!
        Draws grid lines at the minor ticks too when \a on is true. Emits
        ticksChanged() and axisChanged() when it changed.
    */
    void setMinorGrid(bool on);
    /*!
        Returns the pen style of the major grid lines.
    */
    Qt::PenStyle gridStyle() const;
    /*!
        Sets the pen style of the major grid lines to \a style (Qt::NoPen
        hides them). Emits ticksChanged() and axisChanged() when it changed.
    */
    void setGridStyle(Qt::PenStyle style);
    /*!
        Returns the colour of the minor grid lines; invalid means the grid
        colour.
    */
    QColor minorGridColor() const;
    /*!
        Sets the colour of the minor grid lines to \a color. Emits
        ticksChanged() and axisChanged() when it changed.
    */
    void setMinorGridColor(const QColor &color);
    /*!
        Returns the pen style of the minor grid lines.
    */
    Qt::PenStyle minorGridStyle() const;
    /*!
        Sets the pen style of the minor grid lines to \a style. Emits
        ticksChanged() and axisChanged() when it changed.
    */
    void setMinorGridStyle(Qt::PenStyle style);

    /*!
        Draws the axis with \a painter along the plot rectangle \a plot (in
        the painter's coordinates): its edges of the plot frame (two, or the
        right one for atRight, the top one for atTop), ticks,
        labels, the title and, when \a grid is true, dashed grid lines across
        the plot. Labels that would overlap the previous one are left out.
        Nothing is drawn for a null painter or a null or invalid rectangle.
        The painter's state is restored afterwards. The chart calls it at
        every paint.
    */
    void draw(QPainter *painter, QRect *plot, bool grid);

    /*!
        The axis' private implementation; not part of the API a host uses.
    */
    AxisPrivate *d;

signals:
    /*!
        Tells the chart that the axis changed, so that it lays out and renders
        again. The setters of padding, visibility, ticks and grid emit it; the
        chart listens to it (through Axes), so a host may also emit it after
        changing an axis in other ways.
    */
    void axisChanged();
    /*!
        Emitted when the padding changed to \a pixels.
    */
    void paddingChanged(int pixels);
    /*!
        Emitted when the axis was shown (\a on true) or hidden.
    */
    void visibleChanged(bool on);
    /*!
        Emitted when the tick or grid settings changed.
    */
    void ticksChanged();
    /*!
        Emitted by setLogarithmic() when the scale changed to logarithmic
        (\a on true) or linear.
    */
    void logarithmicChanged(bool on);

private:
    Q_DISABLE_COPY(Axis)
};

#endif // AXIS_H
