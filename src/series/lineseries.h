#ifndef LINESERIES_H
#define LINESERIES_H

#include "chartseries.h"

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
public:
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
        Draws the polyline with the series' pen; needs at least two points.
    */
    void draw(QPainter *painter) override;
    /*!
        Returns a horizontal line across a transparent square of \a size
        pixels, in the series' pen.
    */
    QIcon icon(int size) override;
    /*! Returns the item at \a pos; see ChartSeries::indexAt() (\a radius). */
    int indexAt(const QPointF &pos, double radius) const override;
    /*!
        Returns the value at \a x, interpolated between the neighbouring
        points; see ChartSeries::valueAt().
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

protected:
    int appendPoints(const double *x, const double *y, int stride, int count) override;
};

#endif // LINESERIES_H
