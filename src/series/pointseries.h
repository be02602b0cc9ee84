#ifndef POINTSERIES_H
#define POINTSERIES_H

#include "chartseries.h"

#include <QPointF>

class PointSeriesPrivate;

// Markers without connecting lines: dots, squares or circles.
class TAVRIN_EXPORT PointSeries : public ChartSeries
{
    Q_OBJECT
public:
    enum PointStyle : int { psPoint = 0, psSquare = 1, psCircle = 2 };

    PointSeries();
    explicit PointSeries(PointStyle style);
    ~PointSeries() override;

    using ChartSeries::addXY;
    void addXY(double x, double y) override;
    void addXY(double x, double y, const QString &label);
    const QPointF &pt(int i) const;

    void clear() override;
    seriesType type() override;
    int pointsCount() override;
    QString dataAxisString() override;
    QList<QVariant> point(int i) override;

    int size() const;
    void setSize(int n);
    bool vectorRendering() const;
    void setVectorRendering(bool on);
    void setColor(QColor c) override;
    void setFillColor(QColor c) override;

    void draw(QPainter *painter) override;
    QIcon icon(int size) override;
    QString tooltip(const QPoint &pos) override;

    PointSeriesPrivate *d;
};

#endif // POINTSERIES_H
