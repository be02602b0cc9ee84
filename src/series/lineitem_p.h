#ifndef LINEITEM_P_H
#define LINEITEM_P_H

#include "chartitem_p.h"
#include "lineitem.h"

#include <QPen>

class LineItemPrivate : public ChartItemPrivate
{
public:
    explicit LineItemPrivate(LineItem *item) : ChartItemPrivate(item) {}

    Qt::Orientation orientation = Qt::Horizontal;
    double value = 0;
    QPen pen{Qt::SolidLine};
    QString label;

    int handleAt(const QPointF &pos, double tolerance) const override;
    Qt::Orientation handleOrientation(int) const override { return orientation; }
    double handleValue(int) const override { return value; }
    void moveHandle(int, double v) override { static_cast<LineItem *>(q)->setValue(v); }
    void finishDrag() override;
};

#endif // LINEITEM_P_H
