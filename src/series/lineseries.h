#ifndef LINESERIES_H
#define LINESERIES_H

#include "chartseries.h"

#include <QList>
#include <QPointF>

class LineSeriesPrivate;

class TAVRIN_EXPORT LineSeries : public ChartSeries
{
    Q_OBJECT
public:
    explicit LineSeries(QObject *parent = nullptr);
    // A copy is a new, empty series: series are identities, not values.
    LineSeries(const LineSeries &other);
    ~LineSeries() override;

    using ChartSeries::addXY;
    void addXY(double x, double y) override;
    void addPoint(const QPointF &p);
    void addMid(double x, double y);
    void changePoint(int i, const QPointF &p);
    QPointF &operator[](int i);
    QList<QPointF> &points() const;
    void substract(LineSeries *other);

    void clear() override;
    seriesType type() override;
    int pointsCount() override;
    QString dataAxisString() override;
    QList<QVariant> point(int i) override;
    void draw(QPainter *painter) override;
    QIcon icon(int size) override;

    LineSeriesPrivate *d;
};

#endif // LINESERIES_H
