// Where the slices lie and how they and their labels are drawn.
#include "pieseries.h"
#include "pieseries_p.h"
#include "chartseries_p.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

// Leader line: out from the circle, then across towards the label.
constexpr double kLeaderOut = 10;
constexpr double kLeaderAcross = 8;
constexpr double kEdge = 4; // kept free around the circle

} // namespace

PieSeriesPrivate::Geometry PieSeriesPrivate::geometry(const QSizeF &plot) const
{
    Geometry g;
    g.frame = QRectF(area.x() * plot.width(), area.y() * plot.height(), area.width() * plot.width(),
                     area.height() * plot.height());
    const double w = g.frame.width(), h = g.frame.height();
    if (!(w > 0 && h > 0))
        return g;
    // Shares are taken from values divided by the largest, so that a sum of
    // huge finite values cannot overflow.
    double largest = 0;
    bool exploded = false;
    for (const Slice &s : slices) {
        if (counts(s)) {
            largest = std::max(largest, s.value);
            exploded = exploded || s.exploded;
        }
    }
    if (!(largest > 0))
        return g;
    double sum = 0;
    for (const Slice &s : slices)
        if (counts(s))
            sum += s.value / largest;

    const double side = std::min(w, h);
    double r = side / 2 - kEdge;
    if (labelPosition == PieSeries::lpOutside && labelContent) {
        // Room for a leader line and a label beside the circle, and a line
        // of text above and below it; labels wider than a quarter of the
        // plot are elided rather than shrinking the pie to nothing.
        const QFontMetricsF fm(labelFont);
        const double thin = fm.height() / (M_PI * side) * sum; // a share too thin to be labelled
        double widest = 0;
        for (int i = 0; i < slices.size(); ++i) {
            const Slice &s = slices.at(i);
            if (counts(s) && s.value / largest >= thin)
                widest = std::max(widest, fm.horizontalAdvance(labelText(i)));
        }
        widest = std::min(widest, w / 4);
        r = std::min(w / 2 - kEdge - kLeaderOut - kLeaderAcross - widest - 2, h / 2 - kEdge - kLeaderOut - fm.height());
        r = std::max(r, side / 6);
    }
    if (exploded)
        r /= 1 + explodeOffset;
    if (r < 1)
        return g;
    g.centre = g.frame.center();
    g.radius = r;
    g.hole = r * holeSize;

    const double dir = clockwise ? -1 : 1;
    double a = 90 - startAngle;
    for (int i = 0; i < slices.size(); ++i) {
        const Slice &s = slices.at(i);
        if (!counts(s))
            continue;
        const double span = dir * 360.0 * (s.value / largest) / sum;
        QPointF c = g.centre;
        if (s.exploded) {
            const double mid = qDegreesToRadians(a + span / 2);
            c += QPointF(std::cos(mid), -std::sin(mid)) * (explodeOffset * r);
        }
        g.wedges.append({i, a, span, c});
        a += span;
    }
    return g;
}

void PieSeries::draw(QPainter *painter)
{
    if (!painter)
        return;
    const QSizeF plot = d->plotSize();
    const PieSeriesPrivate::Geometry g = d->geometry(plot);
    if (g.wedges.isEmpty())
        return;
    const ChartSeriesOwner *owner = ChartSeries::d->owner;
    const QPalette palette = owner ? owner->chartPalette() : QPalette();
    painter->save();
    // Outlines in the background's colour read as gaps between the slices.
    const QPen outline(palette.color(QPalette::Window), 1);
    const double r = g.radius, hole = g.hole;
    for (const auto &w : g.wedges) {
        const QRectF outer(w.centre - QPointF(r, r), QSizeF(2 * r, 2 * r));
        const QRectF inner(w.centre - QPointF(hole, hole), QSizeF(2 * hole, 2 * hole));
        QPainterPath path;
        if (std::fabs(w.span) >= 360.0 - 1e-9) {
            path.addEllipse(outer);
            if (hole > 0)
                path.addEllipse(inner);
            path.setFillRule(Qt::OddEvenFill);
        } else if (hole > 0) {
            path.arcMoveTo(outer, w.start);
            path.arcTo(outer, w.start, w.span);
            path.arcTo(inner, w.start + w.span, -w.span);
            path.closeSubpath();
        } else {
            path.moveTo(w.centre);
            path.arcTo(outer, w.start, w.span);
            path.closeSubpath();
        }
        // A slice of a few pixels of arc would be all outline.
        const bool wide = qDegreesToRadians(std::fabs(w.span)) * r >= 3;
        painter->setPen(wide ? outline : QPen(Qt::NoPen));
        painter->setBrush(d->colorOf(w.index));
        painter->drawPath(path);
    }

    if (d->labelPosition != lpNone && d->labelContent) {
        painter->setFont(d->labelFont);
        const QFontMetricsF fm(d->labelFont);
        const double lineHeight = fm.height();
        const bool inside = d->labelPosition == lpInside;
        const double along = inside ? (hole > 0 ? (r + hole) / 2 : r * 0.62) : r;
        const QColor ink = palette.color(QPalette::WindowText);
        QVector<QRectF> placed;
        for (const auto &w : g.wedges) {
            const double arc = qDegreesToRadians(std::fabs(w.span)) * std::max(along, r / 2);
            // Thin slices go without a label: ten thousand would be a smear.
            if (arc < lineHeight)
                continue;
            const QString text = d->labelText(w.index);
            if (text.isEmpty())
                continue;
            const double mid = qDegreesToRadians(w.start + w.span / 2);
            const QPointF out(std::cos(mid), -std::sin(mid));
            QRectF box;
            QString shown;
            QPointF leader[3]; // outside only
            if (inside) {
                const bool whole = std::fabs(w.span) >= 360.0 - 1e-9;
                const QPointF at = whole && hole <= 0 ? w.centre : w.centre + out * along;
                const double room = std::min(arc, hole > 0 ? 2 * hole + (r - hole) : 1.2 * r);
                shown = fm.elidedText(text, Qt::ElideRight, room);
                const double tw = fm.horizontalAdvance(shown);
                box = QRectF(at.x() - tw / 2, at.y() - lineHeight / 2, tw, lineHeight);
            } else {
                const bool right = out.x() >= 0;
                leader[0] = w.centre + out * r;
                leader[1] = w.centre + out * (r + kLeaderOut);
                leader[2] = leader[1] + QPointF(right ? kLeaderAcross : -kLeaderAcross, 0);
                const QPointF p2 = leader[2];
                const double room = right ? g.frame.right() - p2.x() - 3 : p2.x() - g.frame.left() - 3;
                shown = fm.elidedText(text, Qt::ElideRight, room);
                const double tw = fm.horizontalAdvance(shown);
                box = QRectF(right ? p2.x() + 2 : p2.x() - 2 - tw, p2.y() - lineHeight / 2, tw, lineHeight);
            }
            if (shown.isEmpty()
                || std::any_of(placed.cbegin(), placed.cend(), [&](const QRectF &o) { return o.intersects(box); }))
                continue;
            if (!inside) {
                painter->setPen(QPen(ink, 1));
                painter->setBrush(Qt::NoBrush);
                painter->drawPolyline(leader, 3);
            }
            placed.append(box);
            const QColor c = d->colorOf(w.index);
            painter->setPen(inside ? (qGray(c.rgb()) < 140 ? Qt::white : Qt::black) : ink);
            painter->drawText(box, Qt::AlignCenter | Qt::TextSingleLine, shown);
        }
    }
    painter->restore();
}

QIcon PieSeries::icon(int size)
{
    QPixmap pixmap(qMax(size, 1), qMax(size, 1));
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    const QRectF disc(1, 1, size - 2.0, size - 2.0);
    // Three wedges in the first slices' colours stand for the kind.
    for (int k = 0; k < 3; ++k) {
        p.setBrush(k < d->slices.size() ? d->colorOf(k) : fillColor().darker(100 + 30 * k));
        p.drawPie(disc, (90 - 120 * k) * 16, -120 * 16);
    }
    return QIcon(pixmap);
}

QIcon PieSeries::sliceIcon(int index, int size) const
{
    QPixmap pixmap(qMax(size, 1), qMax(size, 1));
    pixmap.fill(Qt::transparent);
    if (index >= 0 && index < d->slices.size()) {
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing, true);
        const QColor c = d->colorOf(index);
        p.setPen(c.darker(130));
        p.setBrush(c);
        p.drawEllipse(QRectF(1.5, 1.5, size - 3.0, size - 3.0));
    }
    return QIcon(pixmap);
}
