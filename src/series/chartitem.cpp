#include "chartitem.h"
#include "chartitem_p.h"

#include "axis.h"
#include "geometry_p.h"

#include <cmath>
#include <limits>

ChartItem::ChartItem(ChartItemPrivate *dd)
    : QObject(nullptr), d(dd)
{
}

ChartItem::~ChartItem()
{
    if (d->owner)
        d->owner->itemDestroyed(this);
    delete d;
}

bool ChartItem::isVisible() const { return d->visible; }

void ChartItem::setVisible(bool on)
{
    if (d->visible == on)
        return;
    d->visible = on;
    d->changed();
    ChartItemPrivate::Busy busy(d);
    emit visibleChanged(on);
}

bool ChartItem::isMovable() const { return d->movable; }

void ChartItem::setMovable(bool on)
{
    if (d->movable == on)
        return;
    d->movable = on;
    if (d->owner)
        d->owner->itemMovableChanged(this);
    ChartItemPrivate::Busy busy(d);
    emit movableChanged(on);
}

bool ChartItem::setAxis(Axis *x, Axis *y)
{
    if (d->owner && !d->owner->acceptsAxes(x, y))
        return false;
    d->xAxis = x;
    d->yAxis = y;
    d->changed();
    return true;
}

Axis *ChartItem::xAxis() const { return d->xAxis; }
Axis *ChartItem::yAxis() const { return d->yAxis; }

bool ChartItemPrivate::plotBox(QRectF *box) const
{
    if (!xAxis || !yAxis || !xAxis->isValid() || !yAxis->isValid())
        return false;
    const double l = xAxis->pointToPixel(xAxis->min()), r = xAxis->pointToPixel(xAxis->max());
    const double t = yAxis->pointToPixel(yAxis->max()), b = yAxis->pointToPixel(yAxis->min());
    if (!tavrin::pixelSafe(l) || !tavrin::pixelSafe(r) || !tavrin::pixelSafe(t)
        || !tavrin::pixelSafe(b) || !(l < r) || !(t < b))
        return false;
    *box = QRectF(QPointF(l, t), QPointF(r, b));
    return true;
}

double ChartItemPrivate::handleDistance(const QPointF &pos, Qt::Orientation orientation,
                                        double value) const
{
    const double none = std::numeric_limits<double>::infinity();
    QRectF box;
    if (!std::isfinite(value) || !plotBox(&box))
        return none;
    const Axis *axis = orientation == Qt::Vertical ? xAxis : yAxis;
    if (value < axis->min() || value > axis->max())
        return none;
    const double p = axis->pointToPixel(value);
    if (!tavrin::pixelSafe(p))
        return none;
    return std::abs((orientation == Qt::Vertical ? pos.x() : pos.y()) - p);
}
