#ifndef HIGHLOWSERIES_H
#define HIGHLOWSERIES_H

#include "chartseries.h"

#include <QBrush>

class HighLowSeriesPrivate;

/*!
    \class HighLowSeries
    \brief Two polylines over the same x positions, one through y1 and one
    through y2, with a green hatch over the band between them.

    It suits envelopes such as a daily maximum and minimum. The lines take
    the series' colour; the band is a green hatch unless
    setBrush() says otherwise. Points are joined in the
    order they were added. Every point widens the bounds by both values and
    emits ChartSeries::pointAdded() twice. The series shows no tooltips.

    Rows have the columns "X;Y1;Y2".

    The band's brush can be changed (setBrush()), and the line through y2
    left out (setLowerLineVisible()): with y2 at a constant, the series is
    an area between a line and a baseline.
*/
class TAVRIN_EXPORT HighLowSeries : public ChartSeries
{
    Q_OBJECT
    /*!
        \property HighLowSeries::maximumPoints
        \brief The most points the series keeps; 0, the default, keeps
        every one. Works as LineSeries::maximumPoints does: past the limit
        the oldest points go with pointsRemoved(), and the bounds follow
        what is left.
    */
    Q_PROPERTY(int maximumPoints READ maximumPoints WRITE setMaximumPoints NOTIFY maximumPointsChanged)
    /*!
        The brush the band between the lines is filled with, over the
        lines; a green hatch (Qt::Dense6Pattern) by default. A gradient's
        coordinates are the chart's pixels, or with
        QGradient::ObjectBoundingMode the bounding box of the band.
    */
    Q_PROPERTY(QBrush brush READ brush WRITE setBrush NOTIFY brushChanged)
    /*!
        Whether the line through the y2 values is drawn; true by default.
    */
    Q_PROPERTY(bool lowerLineVisible READ isLowerLineVisible WRITE setLowerLineVisible NOTIFY lowerLineVisibleChanged)
public:
    /*!
        \brief One point of the series: an x position and two values.

        Either value may be the greater one; both are treated alike.
    */
    struct HighLowPoint {
        /*! Position on the x axis. */
        double x;
        /*! The first value. */
        double y1;
        /*! The second value. */
        double y2;
    };

    /*!
        Constructs an empty series with the given QObject \a parent. Once
        registered, the chart owns and deletes the series whatever its parent.
    */
    explicit HighLowSeries(QObject *parent = nullptr);
    /*!
        Destroys the series.
    */
    ~HighLowSeries() override;

    /*!
        Adds a point at \a x with the values \a y1 and \a y2.
    */
    void addPoint(double x, double y1, double y2);
    /*!
        \overload
        Adds a copy of \a point.
    */
    void addPoint(const HighLowSeries::HighLowPoint &point);
    /*!
        Adds a point at \a x, as seconds since 1970-01-01T00:00:00 UTC with
        the milliseconds kept (negative before 1970; an invalid date-time
        gives 4294967295).
    */
    void addPoint(const QDateTime &x, double y1, double y2);
    using ChartSeries::addPoints;
    /*!
        Adds a block of points in one call, as ChartSeries::addPoints()
        does: both lines widen the bounds once, the chart renders at most
        once and pointsAdded() is emitted once. A worker thread may queue it
        by value.
    */
    Q_INVOKABLE void addPoints(const QVector<HighLowSeries::HighLowPoint> &points);
    /*!
        Returns a reference to the series' own list of points. Changes through
        it bypass the bounds and signals; the host keeps them consistent.
    */
    QList<HighLowSeries::HighLowPoint> &points() const;

    /*!
        Returns the band's brush; see the brush property.
    */
    QBrush brush() const;
    /*!
        Fills the band with \a brush (Qt::NoBrush leaves it empty). Emits
        brushChanged() when the brush changes.
    */
    void setBrush(const QBrush &brush);
    /*!
        Returns whether the line through the y2 values is drawn.
    */
    bool isLowerLineVisible() const;
    /*!
        Shows or hides the line through the y2 values, as \a visible says.
        Emits lowerLineVisibleChanged() when it changes.
    */
    void setLowerLineVisible(bool visible);

    /*!
        Draws both lines (or only the upper one) and the band over them;
        needs at least two points.
    */
    void draw(QPainter *painter) override;
    using ChartSeries::addXY;
    /*!
        Adds a point at \a x whose two values are \a y; the same as
        addPoint(x, y, y).
    */
    void addXY(double x, double y) override;
    /*!
        Removes every point; see ChartSeries::clear().
    */
    void clear() override;
    /*!
        Returns ChartSeries::stHighLow.
    */
    seriesType type() override;
    /*!
        Returns the number of points.
    */
    int pointsCount() override;
    /*!
        Returns "X;Y1;Y2".
    */
    QString dataAxisString() override;
    /*!
        Returns x, y1 and y2 of point \a index, or an empty list when \a index
        is out of range.
    */
    QList<QVariant> point(int index) override;
    /*!
        Returns a horizontal line across a transparent square of \a size
        pixels, in the series' pen; over the lower half filled with the
        band's brush when one was set.
    */
    QIcon icon(int size) override;
    /*! Returns the item at \a pos; see ChartSeries::indexAt() (\a radius). */
    int indexAt(const QPointF &pos, double radius) const override;

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
        Drops the oldest points whose x is less than \a x, as
        LineSeries::removeBefore() does, and returns how many went.
    */
    Q_INVOKABLE int removeBefore(double x);

    /*!
        The series' private implementation; not part of the API a host uses.
    */
    HighLowSeriesPrivate *d;

signals:
    /*!
        Emitted by setMaximumPoints() when the limit changes, with the new
        \a maximumPoints (a negative value set shows as 0).
    */
    void maximumPointsChanged(int maximumPoints);
    /*!
        Emitted by setBrush() when the brush changes, with the new \a brush.
    */
    void brushChanged(const QBrush &brush);
    /*!
        Emitted by setLowerLineVisible() when it changes, with the new
        \a visible.
    */
    void lowerLineVisibleChanged(bool visible);

protected:
    int appendPoints(const double *x, const double *y, int stride, int count) override;
};

Q_DECLARE_TYPEINFO(HighLowSeries::HighLowPoint, Q_PRIMITIVE_TYPE);
Q_DECLARE_METATYPE(HighLowSeries::HighLowPoint)

#endif // HIGHLOWSERIES_H
