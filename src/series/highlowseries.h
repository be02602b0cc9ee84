#ifndef HIGHLOWSERIES_H
#define HIGHLOWSERIES_H

#include "chartseries.h"

class HighLowSeriesPrivate;

// Two polylines over the same x positions, one through y1 and one through
// y2, with a green hatch over the band between them.
class TAVRIN_EXPORT HighLowSeries : public ChartSeries
{
    Q_OBJECT
public:
    // Either value may be the greater one; both are treated alike.
    struct HighLowPoint {
        double x;
        double y1;
        double y2;
    };

    explicit HighLowSeries(QObject *parent = nullptr);
    ~HighLowSeries() override;

    void addPoint(double x, double y1, double y2);
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
    // The series' own list; edits through it leave bounds and signals alone.
    QList<HighLowSeries::HighLowPoint> &points() const;

    void draw(QPainter *painter) override;
    using ChartSeries::addXY;
    void addXY(double x, double y) override;
    void clear() override;
    seriesType type() override;
    int pointsCount() override;
    QString dataAxisString() override;
    QList<QVariant> point(int index) override;
    QIcon icon(int size) override;

    HighLowSeriesPrivate *d;

protected:
    int appendPoints(const double *x, const double *y, int stride, int count) override;
};

Q_DECLARE_TYPEINFO(HighLowSeries::HighLowPoint, Q_PRIMITIVE_TYPE);
Q_DECLARE_METATYPE(HighLowSeries::HighLowPoint)

#endif // HIGHLOWSERIES_H
