#ifndef HIGHLOWSERIES_H
#define HIGHLOWSERIES_H

#include "chartseries.h"

class HighLowSeriesPrivate;

/*!
    \class HighLowSeries
    \brief Two polylines over the same x positions, one through y1 and one
    through y2, with a green hatch over the band between them.

    It suits envelopes such as a daily maximum and minimum. The lines take
    the series' colour; the hatch is always green. Points are joined in the
    order they were added. Every point widens the bounds by both values and
    emits ChartSeries::pointAdded() twice. The series shows no tooltips.

    Rows have the columns "X;Y1;Y2".
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
        Draws both lines and the hatched band; needs at least two points.
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
        pixels, in the series' pen.
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

protected:
    int appendPoints(const double *x, const double *y, int stride, int count) override;
};

Q_DECLARE_TYPEINFO(HighLowSeries::HighLowPoint, Q_PRIMITIVE_TYPE);
Q_DECLARE_METATYPE(HighLowSeries::HighLowPoint)

#endif // HIGHLOWSERIES_H
