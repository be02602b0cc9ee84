#ifndef MINMAXPOINTSERIES_H
#define MINMAXPOINTSERIES_H

#include "chartseries.h"

class MinMaxPointSeriesPrivate;

// Markers on a vertical range with a cap at each end, like error bars.
class TAVRIN_EXPORT MinMaxPointSeries : public ChartSeries
{
    Q_OBJECT
public:
    enum PointStyle : int { psPoint = 0, psSquare = 1, psCircle = 2 };

    MinMaxPointSeries();
    explicit MinMaxPointSeries(PointStyle style);
    ~MinMaxPointSeries() override;

    void addPoint(double x, double y, double min, double max);
    using ChartSeries::addXY;
    void addXY(double x, double y) override;

    int size() const;
    void setSize(int size);
    void setColor(QColor c) override;
    void setFillColor(QColor c) override;

    void clear() override;
    seriesType type() override;
    int pointsCount() override;
    QString dataAxisString() override;
    QList<QVariant> point(int i) override;

    void draw(QPainter *painter) override;
    QIcon icon(int size) override;
    QString tooltip(const QPoint &pos) override;

    MinMaxPointSeriesPrivate *d;

protected:
    int appendPoints(const double *x, const double *y, int stride, int count) override;
};

#endif // MINMAXPOINTSERIES_H
