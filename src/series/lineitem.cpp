#include "lineitem.h"
#include "lineitem_p.h"

#include "axis.h"
#include "geometry_p.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace {
// Equal for the signals' sake: NaN is one value, not none.
bool same(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}
} // namespace

LineItem::LineItem(Qt::Orientation orientation, double value, const QColor &color, int width)
    : ChartItem(new LineItemPrivate(this))
{
    dd()->orientation = orientation;
    dd()->value = value;
    dd()->pen.setColor(color);
    dd()->pen.setWidth(width);
}

LineItem::~LineItem() = default;

LineItemPrivate *LineItem::dd() const { return static_cast<LineItemPrivate *>(d); }

Qt::Orientation LineItem::orientation() const { return dd()->orientation; }
double LineItem::value() const { return dd()->value; }

void LineItem::setValue(double value)
{
    if (same(dd()->value, value))
        return;
    dd()->value = value;
    d->changed();
    ChartItemPrivate::Busy busy(d);
    emit valueChanged(value);
}

QPen LineItem::pen() const { return dd()->pen; }

void LineItem::setPen(const QPen &pen)
{
    dd()->pen = pen;
    d->changed();
}

QString LineItem::label() const { return dd()->label; }

void LineItem::setLabel(const QString &label)
{
    dd()->label = label;
    d->changed();
}

void LineItem::draw(QPainter *painter)
{
    LineItemPrivate *p = dd();
    QRectF box;
    if (!painter || !std::isfinite(p->value) || !p->plotBox(&box))
        return;
    const bool vertical = p->orientation == Qt::Vertical;
    const Axis *axis = vertical ? p->xAxis : p->yAxis;
    if (p->value < axis->min() || p->value > axis->max())
        return;
    const double at = axis->pointToPixel(p->value);
    if (!tavrin::pixelSafe(at))
        return;
    // Whole pixels, as the grid and VLine are drawn, so a 1-pixel line is crisp.
    const double s = tavrin::deviceScale(painter);
    const double c = std::floor(at * s) / s;
    painter->save();
    painter->setPen(p->pen);
    if (vertical)
        painter->drawLine(QLineF(c, box.bottom(), c, box.top()));
    else
        painter->drawLine(QLineF(box.left(), c, box.right(), c));
    if (!p->label.isEmpty()) {
        painter->setPen(p->pen.color());
        const QFont font(QStringLiteral("Arial"), 8);
        painter->setFont(font);
        const QFontMetricsF fm(font);
        const double pad = 3 + p->pen.widthF() / 2;
        if (vertical) {
            painter->drawText(QPointF(c + pad, box.top() + pad + fm.ascent()), p->label);
        } else {
            const double w = fm.horizontalAdvance(p->label);
            painter->drawText(QPointF(box.right() - pad - w, c - pad - fm.descent()), p->label);
        }
    }
    painter->restore();
}

int LineItemPrivate::handleAt(const QPointF &pos, double tolerance) const
{
    return handleDistance(pos, orientation, value) <= tolerance ? 0 : -1;
}

void LineItemPrivate::finishDrag()
{
    Busy busy(this);
    emit static_cast<LineItem *>(q)->dragFinished(value);
}
