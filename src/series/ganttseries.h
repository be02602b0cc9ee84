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
    /*!
        Adds a bar from \a x1 to \a x2, each as seconds since
        1970-01-01T00:00:00 UTC with the milliseconds kept (negative before
        1970; an invalid date-time gives 4294967295).
    */
    void addBar(const QDateTime &x1, const QDateTime &x2, double y, QColor color, const QString &label);
    /*!
        Adds a block of bars in one call, as ChartSeries::addPoints() does
        for points: the bounds are widened once, the chart renders at most
        once and pointsAdded() is emitted once. The class has no meta-object
        of its own, so a worker thread queues the call as a functor:
        QMetaObject::invokeMethod(series, [series, bars] { series->addBars(bars); }).
    */
    void addBars(const QVector<GanttBar> &bars);

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

protected:
    int appendPoints(const double *x, const double *y, int stride, int count) override;
};

#endif // GANTTSERIES_H
