#ifndef GANTTSERIES_H
#define GANTTSERIES_H

#include "chartseries.h"

#include <QColor>
#include <QString>

class GanttSeriesPrivate;

// One horizontal bar from x1 to x2, centred on row y.
struct GanttBar {
    double x1;
    double x2;
    double y;
    QColor color;  // invalid: the series fill colour
    QString label; // null: no caption line in the tooltip
};

// Horizontal bars of a fixed pixel height; bars sharing a y form one row.
class TAVRIN_EXPORT GanttSeries : public ChartSeries
{
public:
    GanttSeries();
    ~GanttSeries() override;

    void addBar(double x1, double x2, double y, QColor color, const QString &label);

    void draw(QPainter *painter) override;
    using ChartSeries::addXY;
    void addXY(double x, double y) override;
    void clear() override;
    seriesType type() override;
    int pointsCount() override;
    QString dataAxisString() override;
    QList<QVariant> point(int index) override;
    QIcon icon(int size) override;
    QString tooltip(const QPoint &pos) override;

    GanttSeriesPrivate *d;
};

#endif // GANTTSERIES_H
