#ifndef CHARTITEMOWNER_P_H
#define CHARTITEMOWNER_P_H

#include <QColor>

class Axis;
class ChartItem;

// What a registered item needs from its chart, which implements it, so that
// the item code never includes the chart's headers.
class ChartItemOwner
{
public:
    virtual ~ChartItemOwner() = default;
    // The item's look or place changed: the chart paints again.
    virtual void itemChanged(ChartItem *item) = 0;
    // The item became movable or not: the chart tracks the mouse for it.
    virtual void itemMovableChanged(ChartItem *item) = 0;
    // Whether x and y are axes of this chart that an item may use.
    virtual bool acceptsAxes(const Axis *x, const Axis *y) const = 0;
    // The item is being destroyed by someone other than the chart.
    virtual void itemDestroyed(ChartItem *item) = 0;
    // The colour of the chart's texts, for items left in their default colour.
    virtual QColor itemForeground() const = 0;
};

#endif // CHARTITEMOWNER_P_H
