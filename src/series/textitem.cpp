#include "textitem.h"
#include "textitem_p.h"

#include "axis.h"
#include "geometry_p.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <QtMath>
#include <cmath>

TextItem::TextItem(const QString &text)
    : ChartItem(new TextItemPrivate(this))
{
    dd()->text = text;
}

TextItem::~TextItem() = default;

TextItemPrivate *TextItem::dd() const { return static_cast<TextItemPrivate *>(d); }

QString TextItem::text() const { return dd()->text; }

void TextItem::setText(const QString &text)
{
    dd()->text = text;
    d->changed();
}

QPointF TextItem::anchor() const { return dd()->anchor; }
TextItem::AnchorMode TextItem::anchorMode() const { return dd()->mode; }

void TextItem::setAnchor(const QPointF &point, AnchorMode mode)
{
    dd()->anchor = point;
    dd()->mode = mode == amPlot ? amPlot : amData;
    d->changed();
}

Qt::Alignment TextItem::alignment() const { return dd()->alignment; }

void TextItem::setAlignment(Qt::Alignment alignment)
{
    dd()->alignment = alignment;
    d->changed();
}

QFont TextItem::font() const { return dd()->font; }

void TextItem::setFont(const QFont &font)
{
    dd()->font = font;
    d->changed();
}

QColor TextItem::color() const { return dd()->color; }

void TextItem::setColor(const QColor &color)
{
    dd()->color = color;
    d->changed();
}

QBrush TextItem::boxBrush() const { return dd()->boxBrush; }

void TextItem::setBoxBrush(const QBrush &brush)
{
    dd()->boxBrush = brush;
    d->changed();
}

QPen TextItem::boxPen() const { return dd()->boxPen; }

void TextItem::setBoxPen(const QPen &pen)
{
    dd()->boxPen = pen;
    d->changed();
}

QPointF TextItem::arrowTarget() const { return dd()->arrowTarget; }

void TextItem::setArrowTarget(const QPointF &target)
{
    dd()->arrowTarget = target;
    d->changed();
}

QFont TextItemPrivate::drawnFont() const
{
    QFont f = font;
    // Asked, the font engine gives up on sizes like these; the font's own
    // numbers are read instead (a point is 4/3 pixels at 96 dpi).
    if (f.pixelSize() > kMaxFontPixels || f.pointSizeF() * 4 / 3 > kMaxFontPixels)
        f.setPixelSize(kMaxFontPixels);
    return f;
}

bool TextItemPrivate::anchorPixel(const QRectF &plot, QPointF *at) const
{
    if (!std::isfinite(anchor.x()) || !std::isfinite(anchor.y()))
        return false;
    if (mode == TextItem::amPlot) {
        *at = QPointF(plot.left() + anchor.x() * plot.width(),
                      plot.top() + anchor.y() * plot.height());
    } else {
        *at = QPointF(xAxis->pointToPixel(anchor.x()), yAxis->pointToPixel(anchor.y()));
    }
    return tavrin::pixelSafe(at->x()) && tavrin::pixelSafe(at->y());
}

namespace {

// Where the segment from the box's centre to `target` leaves the box.
QPointF boxExit(const QRectF &box, const QPointF &target)
{
    const QPointF c = box.center();
    const double dx = target.x() - c.x(), dy = target.y() - c.y();
    const double tx = dx != 0 ? (box.width() / 2) / std::abs(dx) : qInf();
    const double ty = dy != 0 ? (box.height() / 2) / std::abs(dy) : qInf();
    const double t = std::min(tx, ty);
    return QPointF(c.x() + dx * t, c.y() + dy * t);
}

} // namespace

void TextItem::draw(QPainter *painter)
{
    TextItemPrivate *p = dd();
    QRectF plot;
    QPointF at;
    if (!painter || !p->plotBox(&plot) || !p->anchorPixel(plot, &at))
        return;
    const QString text = p->text.left(TextItemPrivate::kMaxCharacters);
    const QFont font = p->drawnFont();
    const QFontMetricsF fm(font);
    const QStringList lines = text.split(QLatin1Char('\n'));
    double w = 0;
    for (const QString &line : lines)
        w = std::max(w, fm.horizontalAdvance(line));
    const double pad = 3;
    const QSizeF size(w + 2 * pad, lines.size() * fm.height() + 2 * pad);
    double left = at.x() - size.width() / 2, top = at.y() - size.height() / 2;
    if (p->alignment & Qt::AlignLeft)
        left = at.x();
    else if (p->alignment & Qt::AlignRight)
        left = at.x() - size.width();
    if (p->alignment & Qt::AlignTop)
        top = at.y();
    else if (p->alignment & Qt::AlignBottom)
        top = at.y() - size.height();
    const QRectF box(QPointF(left, top), size);
    // A note larger than the painter's integer paths take is not drawn.
    if (!tavrin::pixelSafe(box.left()) || !tavrin::pixelSafe(box.right())
        || !tavrin::pixelSafe(box.top()) || !tavrin::pixelSafe(box.bottom()))
        return;
    const QColor color = p->color.isValid() ? p->color : p->foreground();

    painter->save();
    const QPointF target(p->arrowTarget);
    if (std::isfinite(target.x()) && std::isfinite(target.y())) {
        const QPointF tip(p->xAxis->pointToPixel(target.x()), p->yAxis->pointToPixel(target.y()));
        if (tavrin::pixelSafe(tip.x()) && tavrin::pixelSafe(tip.y()) && !box.contains(tip)) {
            const QPointF from = boxExit(box, tip);
            const QLineF shaft(from, tip);
            painter->setPen(QPen(color, 1));
            painter->drawLine(shaft);
            const double angle = std::atan2(from.y() - tip.y(), from.x() - tip.x());
            const double head = std::min(8.0, shaft.length());
            QPolygonF arrowHead;
            arrowHead << tip << tip + QPointF(std::cos(angle + 0.4), std::sin(angle + 0.4)) * head
                      << tip + QPointF(std::cos(angle - 0.4), std::sin(angle - 0.4)) * head;
            painter->setBrush(color);
            painter->drawPolygon(arrowHead);
        }
    }
    if (p->boxBrush.style() != Qt::NoBrush || p->boxPen.style() != Qt::NoPen) {
        painter->setPen(p->boxPen);
        painter->setBrush(p->boxBrush);
        painter->drawRect(box);
    }
    painter->setPen(color);
    painter->setFont(font);
    const Qt::Alignment h = p->alignment & Qt::AlignHorizontal_Mask;
    for (int i = 0; i < lines.size(); ++i) {
        const double lw = fm.horizontalAdvance(lines.at(i));
        double x = box.left() + pad;
        if (h & Qt::AlignRight)
            x = box.right() - pad - lw;
        else if (!(h & Qt::AlignLeft))
            x = box.left() + (box.width() - lw) / 2;
        painter->drawText(QPointF(x, box.top() + pad + i * fm.height() + fm.ascent()), lines.at(i));
    }
    painter->restore();
}
