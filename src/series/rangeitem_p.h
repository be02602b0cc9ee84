#ifndef RANGEITEM_P_H
#define RANGEITEM_P_H

#include "chartitem_p.h"
#include "rangeitem.h"

#include <QBrush>
#include <QPen>

class RangeItemPrivate : public ChartItemPrivate
{
public:
    explicit RangeItemPrivate(RangeItem *item) : ChartItemPrivate(item) {}

    Qt::Orientation orientation = Qt::Vertical;
    double from = 0;
    double to = 0;
    QBrush brush;
    QPen pen{Qt::NoPen};

    // Handle 0 is the edge at `from`, 1 the one at `to`.
    int handleAt(const QPointF &pos, double tolerance) const override;
    Qt::Orientation handleOrientation(int) const override { return orientation; }
    double handleValue(int handle) const override { return handle == 0 ? from : to; }
    void moveHandle(int handle, double v) override;
    void finishDrag() override;
};

#endif // RANGEITEM_P_H
