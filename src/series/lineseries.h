#ifndef LINESERIES_H
#define LINESERIES_H

#include "chartseries.h"

#include <QBrush>
#include <QList>
#include <QPointF>

class LineSeriesPrivate;

/*!
    \class LineSeries
    \brief A polyline through the points in the order they were added.

    Points are stored as they come: unsorted x values and duplicates are
    kept. A segment with a NaN end is left out. Long series draw quickly:
    segments outside the visible range are skipped, and runs of points that
    fall into one pixel column are drawn as one vertical stroke.

    Rows have the columns "X;Y". The series shows no tooltips.

    The editing calls addMid(), changePoint(), substract(), operator[]() and
    points() change stored points in place without emitting a signal or
    rendering: call ChartWidget::repaint() afterwards.

    Opt-in, the line can be filled (fillBrush) down to a baseline or to
    another line, drawn in steps (stepMode) and stacked on another line
    (setStackedOn()). A fill is drawn beneath the line; dense data is filled
    from the same per-pixel-column summary the line is drawn from.
*/
class TAVRIN_EXPORT LineSeries : public ChartSeries
{
    Q_OBJECT
    /*!
        The most points the series keeps; 0, the default, keeps every point.
        When an added point or block takes the series past the limit, the
        oldest points are dropped and pointsRemoved() is emitted, so a strip
        chart runs in constant memory. The bounds then follow the points
        that are left; a registered series asks its chart for a rescale when
        they narrow (pair this with ChartWidget::setRefreshTimeout() when
        points come in fast, so the chart rescales once per expiry).
        Lowering the limit drops points at once; a negative value counts
        as 0.
    */
    Q_PROPERTY(int maximumPoints READ maximumPoints WRITE setMaximumPoints NOTIFY maximumPointsChanged)
    /*!
        The brush the area under the line is filled with; Qt::NoBrush, the
        default, fills nothing. Any brush works: a solid colour, a pattern,
        or a gradient. A gradient's coordinates are plot pixels (the
        widget's, with the plot's corner where the plot area starts), unless
        it uses QGradient::ObjectBoundingMode, which spans the bounding box
        of the filled area: (0, 0) its top left, (1, 1) its bottom right.
        The fill reaches fillBaseline, or fillTo() when set, or the series
        this one is stacked on.
    */
    Q_PROPERTY(QBrush fillBrush READ fillBrush WRITE setFillBrush NOTIFY fillBrushChanged)
    /*!
        The y value a fill reaches down (or up) to when it does not reach
        another series; 0 by default. A NaN is refused (ignored with a
        warning). On a logarithmic y axis a baseline of zero or less is the
        axis' lower end. With a fill, automatic scaling takes the baseline
        in.
    */
    Q_PROPERTY(double fillBaseline READ fillBaseline WRITE setFillBaseline NOTIFY fillBaselineChanged)
    /*!
        How the points are joined; see StepMode. NoSteps, the default, joins
        them with straight segments.
    */
    Q_PROPERTY(StepMode stepMode READ stepMode WRITE setStepMode NOTIFY stepModeChanged)
public:
    /*!
        How a line joins its points, shown for the points a, b and c.
    */
    enum StepMode {
        /*! Straight segments from point to point (the default):
            \code
                  b
                /   \
              /       c
            a
            \endcode */
        NoSteps,
        /*! The step is at the left point: each value holds until the next
            point's x, where the line rises or falls to the next value.
            \code
                  b-------+
                  |       c
            a-----+
            \endcode */
        StepLeft,
        /*! The step is at the right point: each value holds back to the
            previous point's x, where the line already changes.
            \code
            +-----b
            |     +-------c
            a
            \endcode */
        StepRight,
        /*! The step is centred: the line changes halfway between two
            points' x.
            \code
               +-----b----+
               |          +---c
            a--+
            \endcode */
        StepCenter
    };
    Q_ENUM(StepMode)

    /*!
        Constructs an empty line series with the given QObject \a parent.
        Once registered, the chart owns and deletes the series whatever its
        parent; give a parent only to a series that is never registered.
    */
    explicit LineSeries(QObject *parent = nullptr);
    /*!
        Constructs a new, empty series without parent; nothing of \a other is
        copied. Series are identities, not values.
    */
    LineSeries(const LineSeries &other);
    /*!
        Destroys the series.
    */
    ~LineSeries() override;

    using ChartSeries::addXY;
    /*!
        Appends the point (\a x, \a y); see ChartSeries::addXY().
    */
    void addXY(double x, double y) override;
    /*!
        Appends the point \a p; the same as addXY(p.x(), p.y()).
    */
    void addPoint(const QPointF &p);
    /*!
        Averages \a y into the last point whose x equals \a x exactly: its y
        becomes (y + old y) / 2. Does nothing when there is no such point.
        Widens the bounds, but adds no point, emits nothing and renders
        nothing.
    */
    void addMid(double x, double y);
    /*!
        Replaces point \a i with \a p, for 0 <= \a i < pointsCount();
        ignores any other index. Widens the bounds (they never shrink before
        clear()), but emits nothing and renders nothing.
    */
    void changePoint(int i, const QPointF &p);
    /*!
        Returns a reference to point \a i, to read or change it in place.
        For an index out of range it returns a reference to a dummy point
        (0, 0). Changes through it bypass the bounds and signals.
    */
    QPointF &operator[](int i);
    /*!
        Returns a reference to the series' own list of points. Changes through
        it bypass the bounds and signals; the host keeps them consistent.
    */
    QList<QPointF> &points() const;
    /*!
        Subtracts the y values of \a other from this series' y values, point
        by point in index order (x values are not compared). Does nothing when
        \a other is null or has a different number of points. \a other is
        not changed. Widens the bounds, but emits nothing and renders nothing.
    */
    void substract(LineSeries *other);

    /*!
        Returns the most points the series keeps; 0, the default, means no
        limit. See the maximumPoints property.
    */
    int maximumPoints() const;
    /*!
        Sets the most points the series keeps to \a count; a negative value
        counts as 0, no limit. When the series holds more, the oldest are
        dropped at once and pointsRemoved() is emitted before
        maximumPointsChanged().
    */
    void setMaximumPoints(int count);
    /*!
        Drops the oldest points whose x is less than \a x: from the start of
        the list up to the first point whose x is not (a NaN x ends the run
        too), so points added in ascending x are cut at \a x. Returns how
        many were dropped; the bounds follow as with maximumPoints.
    */
    Q_INVOKABLE int removeBefore(double x);

    /*!
        Returns the brush of the fill; see the fillBrush property.
    */
    QBrush fillBrush() const;
    /*!
        Fills the area under the line with \a brush; Qt::NoBrush removes
        the fill. Emits fillBrushChanged() when the brush changes.
    */
    void setFillBrush(const QBrush &brush);
    /*!
        Returns the y value a fill reaches; see the fillBaseline property.
    */
    double fillBaseline() const;
    /*!
        Sets the y value a fill reaches to \a y. A NaN is ignored with a
        warning. Emits fillBaselineChanged() when the value changes.
    */
    void setFillBaseline(double y);
    /*!
        Returns the series the fill reaches, or null when it reaches the
        baseline (or the series this one is stacked on).
    */
    LineSeries *fillTo() const;
    /*!
        Fills between this line and \a other instead of down to the
        baseline; null goes back to the baseline. The fill follows both
        lines as drawn (steps and stacking included) over their x ranges;
        a gap (a NaN) in either is bridged. \a other must be registered in
        the same chart when drawn; while it is not, or once it is deleted,
        the fill goes to the baseline. Filling to this series itself is refused:
        returns false and changes nothing. Returns true otherwise.
    */
    bool setFillTo(LineSeries *other);
    /*!
        Returns how the line joins its points; see the stepMode property.
    */
    StepMode stepMode() const;
    /*!
        Sets how the line joins its points to \a mode. Emits
        stepModeChanged() when the mode changes.
    */
    void setStepMode(StepMode mode);
    /*!
        Returns the series this one is stacked on, or null.
    */
    LineSeries *stackedOn() const;
    /*!
        Stacks this series on \a base: each point is drawn, autoscaled and
        reported by valueAt() at its own y plus the value of \a base at the
        same x (its drawn value, itself stacked, interpolated between its
        points or held by its steps; 0 outside its x range or in a gap).
        Only this series' own x values are stacked, so its line may cut
        corners of a base with points in between. A fill without fillTo()
        then reaches \a base, so filled series stacked in turn are stacked
        areas. Null unstacks. Returns false and changes nothing when \a base
        is this series, or stacks (directly or through others) on this one;
        a base registered with another chart (or in none while this one is
        registered) counts as 0 when drawn. The
        stored points, exports and point() keep the own values.
    */
    bool setStackedOn(LineSeries *base);

    /*!
        Removes every point; see ChartSeries::clear().
    */
    void clear() override;
    /*!
        Returns ChartSeries::stLine.
    */
    seriesType type() override;
    /*!
        Returns the number of points.
    */
    int pointsCount() override;
    /*!
        Returns "X;Y".
    */
    QString dataAxisString() override;
    /*!
        Returns x and y of point \a i, or an empty list when \a i is out of
        range.
    */
    QList<QVariant> point(int i) override;
    /*!
        Draws the polyline with the series' pen, over its fill; needs at
        least two points.
    */
    void draw(QPainter *painter) override;
    /*!
        Returns a horizontal line across a transparent square of \a size
        pixels, in the series' pen; with a fill, over the fill's lower half.
    */
    QIcon icon(int size) override;
    /*! Returns the item at \a pos; see ChartSeries::indexAt() (\a radius). */
    int indexAt(const QPointF &pos, double radius) const override;
    /*!
        Returns the value at \a x, interpolated between the neighbouring
        points (or held by the steps of stepMode), plus the value of the
        series this one is stacked on: the value the line is drawn at. See
        ChartSeries::valueAt().
    */
    double valueAt(double x) const override;

    /*!
        The series' private implementation; not part of the API a host uses.
    */
    LineSeriesPrivate *d;

signals:
    /*!
        Emitted by setMaximumPoints() when the limit changes, with the new
        \a maximumPoints (a negative value set shows as 0).
    */
    void maximumPointsChanged(int maximumPoints);
    /*!
        Emitted by setFillBrush() when the brush changes, with the new
        \a brush.
    */
    void fillBrushChanged(const QBrush &brush);
    /*!
        Emitted by setFillBaseline() when the baseline changes, with the new
        value \a y.
    */
    void fillBaselineChanged(double y);
    /*!
        Emitted by setStepMode() when the mode changes, with the new \a mode.
    */
    void stepModeChanged(LineSeries::StepMode mode);

protected:
    int appendPoints(const double *x, const double *y, int stride, int count) override;
};

#endif // LINESERIES_H
