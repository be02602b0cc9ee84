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
    void addPoint(const QDateTime &x, double y1, double y2);
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
};

#endif // HIGHLOWSERIES_H
