// The opt-in layouts of a bar series: width in data units, horizontal bars,
// stacks, groups and value labels.
#include "barseries.h"
#include "barseries_p.h"
#include "chartseries_p.h"
#include "geometry_p.h"

#include "axis.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtNumeric>

#include <cmath>

namespace {

// Deeper stacks than this are taken as a fault, not followed further.
constexpr int kMaxStackDepth = 10000;

// Span [lo, hi] of member index of size in a slot of width w centred on x,
// in the axis' values; on a logarithmic axis w is in decades.
void dataSpan(double x, double w, int index, int size, bool log, double &lo, double &hi)
{
    const double s = log ? std::log10(x) : x;
    const double member = w / size;
    const double a = s - w / 2 + index * member;
    const double b = a + member;
    lo = log ? std::pow(10.0, a) : a;
    hi = log ? std::pow(10.0, b) : b;
}

} // namespace

double BarSeries::barWidth() const
{
    return d->barWidth;
}

void BarSeries::setBarWidth(double width)
{
    if (!std::isfinite(width) || width <= 0 || width == d->barWidth)
        return;
    d->barWidth = width;
    d->layoutChanged();
    emit barWidthChanged(width);
}

BarSeries::WidthUnit BarSeries::barWidthUnit() const
{
    return d->unit;
}

void BarSeries::setBarWidthUnit(WidthUnit unit)
{
    if (unit == d->unit || (unit != Pixels && unit != DataUnits))
        return;
    d->unit = unit;
    d->layoutChanged();
    emit barWidthUnitChanged(unit);
}

Qt::Orientation BarSeries::orientation() const
{
    return d->orientation;
}

void BarSeries::setOrientation(Qt::Orientation orientation)
{
    if (orientation == d->orientation || (orientation != Qt::Horizontal && orientation != Qt::Vertical))
        return;
    d->orientation = orientation;
    d->layoutChanged();
    emit orientationChanged(orientation);
}

bool BarSeries::valueLabelsVisible() const
{
    return d->valueLabels;
}

void BarSeries::setValueLabelsVisible(bool visible)
{
    if (visible == d->valueLabels)
        return;
    d->valueLabels = visible;
    if (ChartSeriesOwner *owner = ChartSeries::d->owner) {
        const ChartSeriesPrivate::Busy busy(ChartSeries::d);
        owner->seriesContentChanged(this, false);
    }
    emit valueLabelsVisibleChanged(visible);
}

BarSeries *BarSeries::stackedOn() const
{
    return d->stackedOn.data();
}

bool BarSeries::setStackedOn(BarSeries *below)
{
    if (below == d->stackedOn.data())
        return true;
    if (below) {
        const char *why = nullptr;
        if (below == this)
            why = "a series cannot rest on itself";
        const ChartSeriesOwner *mine = ChartSeries::d->owner, *theirs = below->ChartSeries::d->owner;
        if (!why && mine && theirs && mine != theirs)
            why = "the series belong to different charts";
        int depth = 0;
        for (const BarSeries *s = below; !why && s; s = s->d->stackedOn.data())
            if (s == this || ++depth > kMaxStackDepth)
                why = "the stack would be a cycle";
        if (why) {
            qWarning("BarSeries::setStackedOn: refused, %s", why);
            return false;
        }
    }
    d->stackedOn = below;
    d->layoutChanged();
    emit stackedOnChanged();
    return true;
}

int BarSeries::groupIndex() const
{
    return d->groupIndex;
}

int BarSeries::groupSize() const
{
    return d->groupSize;
}

void BarSeries::setGroup(int index, int size)
{
    if (size < 1 || index < 0 || index >= size)
        return;
    if (index == d->groupIndex && size == d->groupSize)
        return;
    d->groupIndex = index;
    d->groupSize = size;
    d->layoutChanged();
    emit groupChanged();
}

BarSeriesPrivate::StackSums BarSeriesPrivate::stackSums() const
{
    StackSums sums;
    int depth = 0;
    for (const BarSeries *s = stackedOn.data(); s && depth < kMaxStackDepth; s = s->d->stackedOn.data(), ++depth) {
        for (const QPointF &p : s->d->points) {
            if (std::isnan(p.x()) || std::isnan(p.y()))
                continue;
            Sums &t = sums[p.x()];
            (p.y() >= 0 ? t.up : t.down) += p.y();
        }
    }
    return sums;
}

double BarSeriesPrivate::base(const StackSums &sums, const QPointF &p)
{
    const auto it = sums.constFind(p.x());
    if (it == sums.constEnd())
        return 0.0;
    return p.y() >= 0 ? it->up : it->down;
}

void BarSeriesPrivate::addBarBox(const QPointF &p, double from, tavrin::BlockBounds &box) const
{
    const Axis *pa = horizontal() ? q->yAxis() : q->xAxis();
    double lo = p.x(), hi = p.x();
    if (unit == BarSeries::DataUnits) {
        dataSpan(p.x(), barWidth, 0, 1, pa && pa->isLogarithmic(), lo, hi);
    } else if (pa) {
        const double hw = 0.5 * pa->pixelDeltaToPoint(barWidth);
        lo = p.x() - hw;
        hi = p.x() + hw;
    }
    const double to = from + p.y();
    if (horizontal()) {
        box.add(from, lo);
        box.add(to, hi);
    } else {
        box.add(lo, from);
        box.add(hi, to);
    }
}

void BarSeriesPrivate::boundsFrom(int first, tavrin::BlockBounds &box) const
{
    const StackSums sums = stackSums();
    for (int i = first, n = points.size(); i < n; ++i) {
        const QPointF &p = points.at(i);
        addBarBox(p, base(sums, p), box);
    }
}

void BarSeriesPrivate::layoutChanged()
{
    tavrin::BlockBounds box;
    boundsFrom(0, box);
    ChartSeriesPrivate *base = q->ChartSeries::d;
    base->minX = box.minX;
    base->minY = box.minY;
    base->maxX = box.maxX;
    base->maxY = box.maxY;
    if (base->owner) {
        const ChartSeriesPrivate::Busy busy(base);
        base->owner->seriesContentChanged(q, true);
    }
}

bool BarSeriesPrivate::layout(Layout &l, const QRectF &shown) const
{
    l.position = horizontal() ? q->yAxis() : q->xAxis();
    l.value = horizontal() ? q->xAxis() : q->yAxis();
    if (!l.position || !l.value)
        return false;
    l.sums = stackSums();
    l.shown = shown;
    return true;
}

bool BarSeriesPrivate::barRect(const Layout &l, const QPointF &p, QRectF *bar) const
{
    if (std::isnan(p.x()) || std::isnan(p.y()) || p.y() == 0)
        return false;
    const Axis *pa = l.position, *va = l.value;
    double p0, p1;
    if (unit == BarSeries::DataUnits) {
        double lo, hi;
        dataSpan(p.x(), barWidth, groupIndex, groupSize, pa->isLogarithmic(), lo, hi);
        p0 = pa->pointToPixel(lo);
        p1 = pa->pointToPixel(hi);
    } else {
        // Pixel coordinates grow upwards on a vertical axis: member 0 stays
        // at the low values either way.
        const double dir = horizontal() ? -1.0 : 1.0;
        const double start = pa->isLogarithmic()
            ? pa->pointToPixel(p.x()) - dir * barWidth / 2
            : pa->pointToPixel(p.x() - pa->pixelDeltaToPoint(barWidth) / 2);
        const double member = barWidth / groupSize;
        p0 = start + dir * groupIndex * member;
        p1 = p0 + dir * member;
    }
    if (!tavrin::pixelSafe(p0) || !tavrin::pixelSafe(p1))
        return false;
    double v0 = base(l.sums, p);
    const double v1 = v0 + p.y();
    // A logarithmic value axis has no zero line: bars start at its low end.
    if (va->isLogarithmic() && !(v0 > 0))
        v0 = va->min();
    double a = va->pointToPixel(v0), b = va->pointToPixel(v1);
    if (horizontal()) {
        if (!tavrin::cutSpan(a, b, l.shown.left(), l.shown.right()))
            return false;
        *bar = QRectF(QPointF(a, p0), QPointF(b, p1)).normalized();
    } else {
        if (!tavrin::cutSpan(a, b, l.shown.top(), l.shown.bottom()))
            return false;
        *bar = QRectF(QPointF(p0, a), QPointF(p1, b)).normalized();
    }
    return bar->isValid() && bar->intersects(l.shown);
}

QPointF BarSeriesPrivate::endPixel(int row) const
{
    const QPointF none(qQNaN(), qQNaN());
    Layout l;
    const double huge = tavrin::kPixelLimit;
    if (row < 0 || row >= points.size() || !layout(l, QRectF(-huge, -huge, 2 * huge, 2 * huge)))
        return none;
    const QPointF &p = points.at(row);
    QRectF bar;
    if (!barRect(l, p, &bar))
        return none;
    const bool up = p.y() > 0;
    if (horizontal())
        return QPointF(up ? bar.right() : bar.left(), bar.center().y());
    return QPointF(bar.center().x(), up ? bar.top() : bar.bottom());
}

int BarSeriesPrivate::indexAt(const QPointF &pos) const
{
    Layout l;
    const double huge = tavrin::kPixelLimit;
    if (!layout(l, QRectF(-huge, -huge, 2 * huge, 2 * huge)))
        return -1;
    int found = -1;
    QRectF bar;
    for (int i = 0, n = points.size(); i < n; ++i)
        if (barRect(l, points.at(i), &bar) && bar.contains(pos))
            found = i;
    return found;
}

void BarSeriesPrivate::drawLabels(QPainter *painter, const Layout &l) const
{
    const ChartSeriesOwner *owner = q->ChartSeries::d->owner;
    painter->save();
    painter->setPen(owner ? owner->chartPalette().color(QPalette::WindowText) : QColor(Qt::black));
    // The numbers read as the value axis' own labels.
    painter->setFont(l.value->labelFont());
    const QFontMetricsF fm(painter->font(), painter->device());
    const double gap = 3.0;
    const double h = fm.height();
    QRectF bar;
    for (const QPointF &p : points) {
        if (!barRect(l, p, &bar))
            continue;
        const QString text = l.value->labelString(p.y());
        const double w = fm.horizontalAdvance(text) + 2;
        const bool up = p.y() > 0;
        QRectF r;
        if (horizontal())
            r = QRectF(up ? bar.right() + gap : bar.left() - gap - w, bar.center().y() - h / 2, w, h);
        else
            r = QRectF(bar.center().x() - w / 2, up ? bar.top() - gap - h : bar.bottom() + gap, w, h);
        painter->drawText(r, Qt::AlignCenter, text);
    }
    painter->restore();
}
