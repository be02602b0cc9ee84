#ifndef BARSERIES_H
#define BARSERIES_H

#include "chartseries.h"

class BarSeriesPrivate;

// Vertical bars of a fixed pixel width, rising from (or hanging below) the
// zero line to each value.
class TAVRIN_EXPORT BarSeries : public ChartSeries
{
public:
    BarSeries();
    ~BarSeries() override;

    using ChartSeries::addXY;
    void addXY(double x, double y) override;

    void clear() override;
    seriesType type() override;
    int pointsCount() override;
    QString dataAxisString() override;
    QList<QVariant> point(int i) override;

    void draw(QPainter *painter) override;
    QIcon icon(int size) override;
    QString tooltip(const QPoint &pos) override;

    BarSeriesPrivate *d;

protected:
    int appendPoints(const double *x, const double *y, int stride, int count) override;
};

#endif // BARSERIES_H
