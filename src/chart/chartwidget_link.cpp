// What a chart does as a member of a ChartGroup: its x range, its crosshair
// and its axis bands as the group sees and sets them.
#include "chartwidget.h"
#include "chartwidget_p.h"

#include "axis.h"
#include "axis_p.h"
#include "chartgroup.h"
#include "chartgroup_p.h"
#include "chartseries.h"
#include "vline.h"

#include <QFontMetrics>
#include <QMetaObject>
#include <QPainter>

#include <algorithm>
#include <cmath>

ChartGroup *ChartWidget::group() const
{
    return d->group;
}

bool ChartWidgetPrivate::visibleX(double &lo, double &hi) const
{
    const Axis *x = axes.bottom();
    const AxisPrivate *a = x->d;
    if (!x->isValid() || !std::isfinite(a->scale) || a->scale == 0 || a->length <= 0)
        return false;
    const double p = x->pixelToPoint(0), r = x->pixelToPoint(a->length);
    lo = std::min(p, r);
    hi = std::max(p, r);
    return std::isfinite(lo) && std::isfinite(hi) && lo < hi;
}

void ChartWidgetPrivate::dataX(double &lo, double &hi)
{
    const Axis *x = axes.bottom();
    for (ChartSeries *series : qAsConst(seriesMap)) {
        if (!series || !series->isVisible() || series->xAxis() != x)
            continue;
        widenLow(lo, lowBound(series, false));
        widenHigh(hi, series->maxX());
    }
    for (VLine *line : qAsConst(vlineMap)) {
        if (line && line->xAxis() == x) {
            widenLow(lo, line->x());
            widenHigh(hi, line->x());
        }
    }
}

void ChartWidgetPrivate::widenXTo(double lo, double hi)
{
    Axis *x = axes.bottom();
    // Both ends, whatever the first one did.
    const bool low = x->update(lo);
    const bool high = x->update(hi);
    if (!low && !high)
        return;
    x->d->updateTransform();
    x->d->updateTicks();
    updatePlotArea(false);
}

void ChartWidgetPrivate::takeX(double lo, double hi, bool gesture)
{
    if (gesture)
        leaveAutoScale();
    const bool lock = drawingLock;
    drawingLock = true;
    // Laid out first: the range is kept at the axis' new length.
    updatePlotArea(false);
    showAxisRange(axes.bottom(), lo, hi);
    axes.adjust();
    drawingLock = lock;
    // What it shows now is the group's range, not a change to pass on.
    if (!visibleX(linkedLo, linkedHi))
        linkedLo = linkedHi = qQNaN();
    if (!drawingLock)
        q->repaint();
}

double ChartWidgetPrivate::crosshairX(const QPoint &pos) const
{
    const Axis *x = axes.bottom();
    if (!crosshair || !plotRect.contains(pos) || !x->isValid() || !std::isfinite(x->d->scale))
        return qQNaN();
    return x->pixelToPoint(pos.x() - plotRect.left());
}

void ChartWidgetPrivate::drawLinkedCrosshair(QPainter *painter)
{
    const Axis *x = axes.bottom();
    if (!x->isValid() || !std::isfinite(x->d->scale))
        return;
    const double px = x->pointToPixel(linkedCrosshairX) + plotRect.left();
    if (!(px >= plotRect.left() && px <= plotRect.right()))
        return;
    const int ix = int(std::lround(px));
    painter->save();
    painter->setClipRect(plotRect);
    painter->setPen(QPen(q->palette().color(QPalette::WindowText), 1, Qt::DashLine));
    painter->drawLine(ix, plotRect.top(), ix, plotRect.bottom());
    QString text = x->labelString(linkedCrosshairX);
    if (text.isEmpty())
        text = QString::number(linkedCrosshairX, 'g', 6);
    painter->setFont(x->d->labelFont);
    drawValueBox(painter, text, QPoint(ix, 0), BoxBottom);
    painter->restore();
}

int ChartWidgetPrivate::leftBand() const
{
    return partsOfWholeOnly() ? 0 : axes.left()->size();
}

int ChartWidgetPrivate::rightBand() const
{
    return !partsOfWholeOnly() && rightAxisInUse() ? axes.right()->size() : 0;
}

void ChartWidgetPrivate::setBands(int left, int right)
{
    if (left == minLeftBand && right == minRightBand)
        return;
    minLeftBand = left;
    minRightBand = right;
    // Laid out and rendered from the event loop, unless whatever is
    // changing the group renders this chart first.
    if (plotRectIn(q->rect()) != plotRect && !alignRenderPending) {
        alignRenderPending = true;
        QMetaObject::invokeMethod(this, "on_align_render", Qt::QueuedConnection);
    }
}

void ChartWidgetPrivate::on_align_render()
{
    if (!alignRenderPending)
        return;
    alignRenderPending = false;
    if (!updatePlotArea() && !drawingLock)
        q->repaint();
}

double ChartWidget::aspectRatio() const
{
    return d->aspectRatio;
}

void ChartWidget::setAspectRatio(double ratio)
{
    if (!(ratio >= 0) || !std::isfinite(ratio) || ratio == d->aspectRatio)
        return;
    d->aspectRatio = ratio;
    repaint();
    emit aspectRatioChanged(ratio);
}

void ChartWidgetPrivate::keepAspect()
{
    // New labels can change the plot's size, and with it the scales: a
    // second pass settles that.
    for (int pass = 0; pass < 2 && keepAspectOnce(); ++pass)
        updatePlotArea(false);
}

bool ChartWidgetPrivate::keepAspectOnce()
{
    // The top axis stands in for a bottom one that has no range.
    Axis *x = axes.bottom();
    if (!x->isValid() && topAxisInUse())
        x = axes.top();
    Axis *y = axes.left();
    if (x->isLogarithmic() || y->isLogarithmic() || !y->isValid() || !x->isValid())
        return false;
    const double w = x->d->length, h = y->d->length;
    if (!(w > 0) || !(h > 0) || !std::isfinite(y->d->scale) || y->d->scale == 0 || !std::isfinite(x->d->scale)
        || x->d->scale == 0)
        return false;
    const double xa = x->pixelToPoint(0), xb = x->pixelToPoint(w);
    const double x0 = std::min(xa, xb), x1 = std::max(xa, xb);
    if (!std::isfinite(x0) || !std::isfinite(x1) || !(x0 < x1))
        return false;
    const double ya = y->pixelToPoint(0), yb = y->pixelToPoint(h);
    double y0 = std::min(ya, yb), y1 = std::max(ya, yb);
    if (!(y0 < y1))
        return false;
    // Pixels per unit; the larger one is squeezed to the ratio by widening
    // its range.
    const double sx = w / (x1 - x0), sy = h / (y1 - y0);
    const double want = aspectRatio * sy;
    if (std::fabs(sx - want) <= want * 1e-9)
        return false;
    const bool lock = drawingLock;
    drawingLock = true;
    if (sx > want) {
        const double c = (x0 + x1) / 2, half = w / want / 2;
        showAxisRange(x, c - half, c + half);
    } else {
        const double c = (y0 + y1) / 2, half = h * aspectRatio / sx / 2;
        showAxisRange(y, c - half, c + half);
    }
    axes.adjust();
    drawingLock = lock;
    return true;
}
