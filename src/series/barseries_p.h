#ifndef BARSERIES_P_H
#define BARSERIES_P_H

#include "barseries.h"
#include "seriesdata_p.h"

#include <QHash>
#include <QPointer>
#include <QRectF>

class Axis;
class QPainter;

class BarSeriesPrivate
{
public:
    explicit BarSeriesPrivate(BarSeries *series) : q(series) {}

    BarSeries *const q;
    tavrin::PointBuffer points;
    // In unit: pixels by default.
    double barWidth = 15.0;
    BarSeries::WidthUnit unit = BarSeries::Pixels;
    Qt::Orientation orientation = Qt::Vertical;
    QPointer<BarSeries> stackedOn;
    int groupIndex = 0;
    int groupSize = 1;
    bool valueLabels = false;

    // Today's layout: the paths written for it stay as they were, so a host
    // that sets nothing new sees the same pixels, bounds and hits.
    bool plain() const
    {
        return unit == BarSeries::Pixels && orientation == Qt::Vertical && !stackedOn && groupSize == 1;
    }
    bool horizontal() const { return orientation == Qt::Horizontal; }

    // The positive and the negative values of the series below, summed by x.
    struct Sums {
        double up = 0;
        double down = 0;
    };
    using StackSums = QHash<double, Sums>;
    StackSums stackSums() const;
    static double base(const StackSums &sums, const QPointF &p);

    // What every bar of one drawing or lookup shares.
    struct Layout {
        const Axis *position = nullptr;
        const Axis *value = nullptr;
        StackSums sums;
        QRectF shown;
    };
    bool layout(Layout &l, const QRectF &shown) const;
    // The bar of p in pixels, its value end cut to the shown area; false
    // for a bar that is not drawn.
    bool barRect(const Layout &l, const QPointF &p, QRectF *bar) const;
    // The middle of the value end of bar row, in plot pixels (NaN if none).
    QPointF endPixel(int row) const;
    int indexAt(const QPointF &pos) const;
    void drawLabels(QPainter *painter, const Layout &l) const;

    // The box of bar p in the series' bounds (x, y as the axes take them).
    void addBarBox(const QPointF &p, double base, tavrin::BlockBounds &box) const;
    void boundsFrom(int first, tavrin::BlockBounds &box) const;
    // A layout setting changed: the bounds are taken again and the chart
    // renders soon (and rescales when it follows the data).
    void layoutChanged();
};

#endif // BARSERIES_P_H
