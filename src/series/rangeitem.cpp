#include "rangeitem.h"
#include "rangeitem_p.h"

#include "axis.h"
#include "geometry_p.h"

#include <QPainter>
#include <cmath>

namespace {
bool same(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}
} // namespace

RangeItem::RangeItem(Qt::Orientation orientation, double from, double to, const QBrush &brush)
    : ChartItem(new RangeItemPrivate(this))
{
    dd()->orientation = orientation;
    dd()->from = from;
    dd()->to = to;
    dd()->brush = brush;
}

RangeItem::~RangeItem() = default;

RangeItemPrivate *RangeItem::dd() const { return static_cast<RangeItemPrivate *>(d); }

Qt::Orientation RangeItem::orientation() const { return dd()->orientation; }
double RangeItem::from() const { return dd()->from; }
double RangeItem::to() const { return dd()->to; }
void RangeItem::setFrom(double value) { setRange(value, dd()->to); }
void RangeItem::setTo(double value) { setRange(dd()->from, value); }

void RangeItem::setRange(double from, double to)
{
    if (same(dd()->from, from) && same(dd()->to, to))
        return;
    dd()->from = from;
    dd()->to = to;
    d->changed();
    ChartItemPrivate::Busy busy(d);
    emit rangeChanged(from, to);
}

QBrush RangeItem::brush() const { return dd()->brush; }

void RangeItem::setBrush(const QBrush &brush)
{
    dd()->brush = brush;
    d->changed();
}

QPen RangeItem::pen() const { return dd()->pen; }

void RangeItem::setPen(const QPen &pen)
{
    dd()->pen = pen;
    d->changed();
}

void RangeItem::draw(QPainter *painter)
{
    RangeItemPrivate *p = dd();
    QRectF box;
    if (!painter || !std::isfinite(p->from) || !std::isfinite(p->to) || !p->plotBox(&box))
        return;
    const bool vertical = p->orientation == Qt::Vertical;
    const Axis *axis = vertical ? p->xAxis : p->yAxis;
    const double lo = std::min(p->from, p->to), hi = std::max(p->from, p->to);
    if (hi < axis->min() || lo > axis->max())
        return;
    // Only the part in view is drawn, which also keeps the pixels finite and
    // a logarithmic axis away from zero.
    const double a = std::max(lo, axis->min()), b = std::min(hi, axis->max());
    const double pa = axis->pointToPixel(a), pb = axis->pointToPixel(b);
    if (!tavrin::pixelSafe(pa) || !tavrin::pixelSafe(pb))
        return;
    const double s = tavrin::deviceScale(painter);
    const double ea = std::floor(pa * s) / s, eb = std::floor(pb * s) / s;
    QRectF r = vertical ? QRectF(QPointF(std::min(ea, eb), box.top()), QPointF(std::max(ea, eb), box.bottom()))
                        : QRectF(QPointF(box.left(), std::min(ea, eb)), QPointF(box.right(), std::max(ea, eb)));
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrush(p->brush);
    painter->drawRect(r);
    if (p->pen.style() != Qt::NoPen) {
        painter->setPen(p->pen);
        painter->setBrush(Qt::NoBrush);
        // An edge in view is where the drawn part ends.
        const bool ends[2] = {a == lo, b == hi};
        const double at[2] = {ea, eb};
        for (int i = 0; i < 2; ++i) {
            if (!ends[i])
                continue;
            const double c = at[i];
            if (vertical)
                painter->drawLine(QLineF(c, box.bottom(), c, box.top()));
            else
                painter->drawLine(QLineF(box.left(), c, box.right(), c));
        }
    }
    painter->restore();
}

int RangeItemPrivate::handleAt(const QPointF &pos, double tolerance) const
{
    const double df = handleDistance(pos, orientation, from);
    const double dt = handleDistance(pos, orientation, to);
    if (df > tolerance && dt > tolerance)
        return -1;
    return df <= dt ? 0 : 1;
}

void RangeItemPrivate::moveHandle(int handle, double v)
{
    auto *item = static_cast<RangeItem *>(q);
    if (handle == 0)
        item->setFrom(v);
    else
        item->setTo(v);
}

void RangeItemPrivate::finishDrag()
{
    Busy busy(this);
    emit static_cast<RangeItem *>(q)->dragFinished(from, to);
}
