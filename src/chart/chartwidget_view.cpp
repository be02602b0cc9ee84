// Opt-in ways of working the view: wheel zoom, the double-click reset, the
// zoom history, the view that holds against new data, and the crosshair.
#include "chartwidget.h"
#include "chartwidget_p.h"

#include "axis.h"
#include "axis_p.h"
#include "chartgroup_p.h"
#include "chartseries.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// Span factor per wheel notch (15 degrees, 120 units) away from the user.
constexpr double kWheelFactor = 0.8;

// A range the axis can still show: finite, not reversed, not so wide that
// its span overflows, and wide enough that the values of neighbouring
// pixels stay distinct doubles.
bool usableRange(double lo, double hi)
{
    const double span = hi - lo;
    return std::isfinite(lo) && std::isfinite(hi) && lo < hi && span < 1e300 && span > 1e-300
        && span > std::max(std::fabs(lo), std::fabs(hi)) * 1e-10;
}

// usableRange() in the axis' own units: decades on a logarithmic axis,
// whose ends must also stay positive.
bool usableOn(const Axis *axis, double lo, double hi)
{
    if (!axis->d->logarithmic)
        return usableRange(lo, hi);
    return lo > 0 && std::isfinite(hi) && usableRange(std::log10(lo), std::log10(hi));
}

// Scales [lo, hi] by f about c, unless the result is unusable.
void zoomAbout(double &lo, double &hi, double c, double f)
{
    const double a = c - (c - lo) * f;
    const double b = c + (hi - c) * f;
    if (std::isfinite(c) && usableRange(a, b)) {
        lo = a;
        hi = b;
    }
}

// zoomAbout() in the axis' own units: decades on a logarithmic axis.
void zoomAxis(const Axis *axis, double &lo, double &hi, double c, double f)
{
    const AxisPrivate *a = axis->d;
    if (!a->logarithmic) {
        zoomAbout(lo, hi, c, f);
        return;
    }
    double u0 = a->toScale(lo), u1 = a->toScale(hi);
    zoomAbout(u0, u1, a->toScale(c), f);
    const double v0 = a->fromScale(u0), v1 = a->fromScale(u1);
    if (usableOn(axis, v0, v1)) {
        lo = v0;
        hi = v1;
    }
}

// Makes the axis show exactly lo..hi: the margin it keeps around its raw
// range is taken from inside, at the size it will have at the new scale.
void showRange(Axis *axis, double lo, double hi)
{
    AxisPrivate *a = axis->d;
    if (a->logarithmic) {
        const double u0 = a->toScale(lo), u1 = a->toScale(hi);
        const double m = a->length > a->pad ? a->pad * (u1 - u0) / a->length : 0.0;
        a->margin = m;
        axis->setRange(a->fromScale(u0 + m), a->fromScale(u1 - m));
    } else {
        const double m = a->length > a->pad ? a->pad * (hi - lo) / a->length : 0.0;
        a->margin = m;
        axis->setRange(lo + m, hi - m);
    }
    // setRange() leaves an unchanged range's transform as it was.
    a->updateTransform();
}


// The values at the two ends of the axis as it is drawn now. After a range
// change the transform can lag a step behind min() and max(); this is what
// the user sees, and so what zooming and going back work from.
void visibleRange(const Axis *axis, double &lo, double &hi)
{
    const double a = axis->pixelToPoint(0);
    const double b = axis->pixelToPoint(axis->d->length);
    lo = std::min(a, b);
    hi = std::max(a, b);
}

QString valueText(const Axis *axis, double v)
{
    const QString text = axis->labelString(v);
    return text.isEmpty() ? QString::number(v, 'g', 6) : text;
}

} // namespace

void ChartWidgetPrivate::showAxisRange(Axis *axis, double lo, double hi)
{
    showRange(axis, lo, hi);
}

void ChartWidgetPrivate::pushView()
{
    const Axis *x = axes.bottom();
    const Axis *y = axes.left();
    if (!viewValid())
        return;
    // A left or bottom axis without a range (series on the right or top
    // only) stays NaN.
    View v{qQNaN(), qQNaN(), qQNaN(), qQNaN(), autoScale};
    if (x->isValid())
        visibleRange(x, v.xMin, v.xMax);
    if (y->isValid())
        visibleRange(y, v.yMin, v.yMax);
    if ((x->isValid() && !usableOn(x, v.xMin, v.xMax)) || (y->isValid() && !usableOn(y, v.yMin, v.yMax)))
        return;
    const Axis *right = axes.right();
    if (rightAxisInUse() && right->isValid()) {
        visibleRange(right, v.rightMin, v.rightMax);
        if (!usableOn(right, v.rightMin, v.rightMax))
            return;
    }
    const Axis *top = axes.top();
    if (topAxisInUse() && top->isValid()) {
        visibleRange(top, v.topMin, v.topMax);
        if (!usableOn(top, v.topMin, v.topMax))
            return;
    }
    zoomHistory.append(v);
    if (zoomHistory.size() > kZoomHistoryLimit)
        zoomHistory.removeFirst();
    else
        emit q->zoomHistoryChanged(zoomHistory.size());
}

void ChartWidgetPrivate::clearZoomHistory()
{
    if (zoomHistory.isEmpty())
        return;
    zoomHistory.clear();
    emit q->zoomHistoryChanged(0);
}

// An axis the view leaves out (NaN) keeps its range and its transform
// exactly as they are.
void ChartWidgetPrivate::showView(const View &view)
{
    leaveAutoScale();
    const bool lock = drawingLock;
    drawingLock = true;
    if (!std::isnan(view.yMin))
        showRange(axes.left(), view.yMin, view.yMax);
    if (!std::isnan(view.rightMin))
        showRange(axes.right(), view.rightMin, view.rightMax);
    if (!std::isnan(view.xMin))
        showRange(axes.bottom(), view.xMin, view.xMax);
    if (!std::isnan(view.topMin))
        showRange(axes.top(), view.topMin, view.topMax);
    settleRanges(lock, false);
}

void ChartWidgetPrivate::settleRanges(bool lock, bool transforms)
{
    if (transforms)
        axes.updateTransformData();
    updatePlotArea();
    axes.adjust();
    drawingLock = lock;
    if (!drawingLock)
        q->repaint();
}

bool ChartWidgetPrivate::handleWheel(QWheelEvent *event)
{
    if (!wheelZoom)
        return QObject::eventFilter(q, event);
    const QPoint p = event->position().toPoint();
    if (!plotRect.contains(p))
        return QObject::eventFilter(q, event);
    const QPoint angle = event->angleDelta();
    zoomStep(p, angle.y() != 0 ? angle.y() : angle.x(), event->modifiers());
    return true;
}

void ChartWidgetPrivate::zoomStep(const QPoint &p, int steps, Qt::KeyboardModifiers mods)
{
    Axis *left = axes.left();
    Axis *bottom = axes.bottom();
    Axis *right = axes.right();
    Axis *top = axes.top();
    const bool withLeft = left->isValid() && std::isfinite(left->d->scale);
    const bool withRight = rightAxisInUse() && right->isValid() && std::isfinite(right->d->scale);
    const bool withBottom = bottom->isValid() && std::isfinite(bottom->d->scale);
    const bool withTop = topAxisInUse() && top->isValid() && std::isfinite(top->d->scale);
    if (steps == 0 || !(withBottom || withTop) || !(withLeft || withRight))
        return;
    const double f = std::pow(kWheelFactor, steps / 120.0);
    const bool zoomX = !(mods & Qt::ShiftModifier), zoomY = !(mods & Qt::ControlModifier);
    // Axes that do not zoom stay out of the view (NaN), untouched.
    View v{qQNaN(), qQNaN(), qQNaN(), qQNaN(), false};
    bool changed = false;
    auto zoom = [&](Axis *axis, double &lo, double &hi, double at) {
        visibleRange(axis, lo, hi);
        const double l = lo, h = hi;
        zoomAxis(axis, lo, hi, axis->pixelToPoint(at), f);
        if (lo == l && hi == h)
            lo = hi = qQNaN();
        else
            changed = true;
    };
    if (zoomX && withBottom)
        zoom(bottom, v.xMin, v.xMax, p.x() - plotRect.left());
    if (zoomX && withTop)
        zoom(top, v.topMin, v.topMax, p.x() - plotRect.left());
    if (zoomY && withLeft)
        zoom(left, v.yMin, v.yMax, p.y() - plotRect.top());
    if (zoomY && withRight)
        zoom(right, v.rightMin, v.rightMax, p.y() - plotRect.top());
    if (!changed)
        return;
    pushView();
    showView(v);
}

bool ChartWidgetPrivate::handleDoubleClick(QMouseEvent *event)
{
    if (!doubleClickReset || event->button() != Qt::LeftButton || !plotRect.contains(event->pos()))
        return QObject::eventFilter(q, event);
    q->setAutoScale(true);
    return true;
}

bool ChartWidget::zoomBack()
{
    if (d->zoomHistory.isEmpty())
        return false;
    const ChartWidgetPrivate::View v = d->zoomHistory.takeLast();
    emit zoomHistoryChanged(d->zoomHistory.size());
    if (v.autoScale)
        d->forceRescale();
    else
        d->showView(v);
    return true;
}

int ChartWidget::zoomHistorySize() const
{
    return d->zoomHistory.size();
}

bool ChartWidget::wheelZoom() const
{
    return d->wheelZoom;
}

void ChartWidget::setWheelZoom(bool on)
{
    if (d->wheelZoom == on)
        return;
    d->wheelZoom = on;
    emit wheelZoomChanged(on);
}

bool ChartWidget::doubleClickReset() const
{
    return d->doubleClickReset;
}

void ChartWidget::setDoubleClickReset(bool on)
{
    if (d->doubleClickReset == on)
        return;
    d->doubleClickReset = on;
    emit doubleClickResetChanged(on);
}

bool ChartWidget::holdView() const
{
    return d->holdView;
}

void ChartWidget::setHoldView(bool on)
{
    if (d->holdView == on)
        return;
    d->holdView = on;
    emit holdViewChanged(on);
}

bool ChartWidget::crosshair() const
{
    return d->crosshair;
}

void ChartWidget::setCrosshair(bool on)
{
    if (d->crosshair == on)
        return;
    d->crosshair = on;
    if (on)
        setMouseTracking(true);
    else
        d->moveCrosshair(QPoint(), false);
    emit crosshairChanged(on);
}

// The crosshair and its value boxes stay inside the plot, so the plot is all
// a move has to repaint; the series image is copied, not rendered.
void ChartWidgetPrivate::moveCrosshair(const QPoint &pos, bool inside)
{
    if (!inside && !crosshairShown)
        return;
    crosshairShown = inside;
    crosshairPos = pos;
    q->update(plotRect);
    if (group)
        group->d->followCrosshair(q, inside ? crosshairX(pos) : qQNaN());
}

void ChartWidgetPrivate::drawCrosshair(QPainter *painter)
{
    if (!crosshair || !crosshairShown || !plotRect.contains(crosshairPos) || !viewValid()) {
        if (!std::isnan(linkedCrosshairX))
            drawLinkedCrosshair(painter);
        return;
    }
    const Axis *x = axes.bottom();
    const Axis *y = axes.left();
    const QPoint p = crosshairPos;
    const QColor ink = q->palette().color(QPalette::WindowText);

    painter->save();
    painter->setClipRect(plotRect);
    painter->setPen(QPen(ink, 1, Qt::DashLine));
    painter->drawLine(p.x(), plotRect.top(), p.x(), plotRect.bottom());
    painter->drawLine(plotRect.left(), p.y(), plotRect.right(), p.y());
    painter->setFont(x->d->labelFont);
    // An empty left or bottom text: that axis has no range (series on the
    // right or top only).
    crosshairTexts = QStringList{x->isValid() ? valueText(x, x->pixelToPoint(p.x() - plotRect.left())) : QString(),
                                 y->isValid() ? valueText(y, y->pixelToPoint(p.y() - plotRect.top())) : QString()};
    const Axis *right = axes.right();
    const bool withRight = rightAxisInUse() && right->isValid();
    const Axis *top = axes.top();
    const bool withTop = topAxisInUse() && top->isValid();
    if (withRight || withTop)
        crosshairTexts << (withRight ? valueText(right, right->pixelToPoint(p.y() - plotRect.top())) : QString());
    if (withTop)
        crosshairTexts << valueText(top, top->pixelToPoint(p.x() - plotRect.left()));
    // The range may have moved under a pointer that stood still.
    if (group)
        group->d->followCrosshair(q, x->pixelToPoint(p.x() - plotRect.left()));
    if (!crosshairTexts.at(0).isEmpty())
        drawValueBox(painter, crosshairTexts.at(0), p, BoxBottom);
    if (!crosshairTexts.at(1).isEmpty())
        drawValueBox(painter, crosshairTexts.at(1), p, BoxLeft);
    if (crosshairTexts.size() > 2 && !crosshairTexts.at(2).isEmpty())
        drawValueBox(painter, crosshairTexts.at(2), p, BoxRight);
    if (crosshairTexts.size() > 3)
        drawValueBox(painter, crosshairTexts.at(3), p, BoxTop);
    // Over a colour map, the value of the cell beside the pointer.
    const QString value = colorMapValueText(p - plotRect.topLeft());
    if (!value.isEmpty())
        drawValueBox(painter, value, p, BoxBeside);
    painter->restore();
}

void ChartWidgetPrivate::drawValueBox(QPainter *painter, const QString &text, QPoint anchor, BoxEdge edge) const
{
    const QSize size = QFontMetrics(axes.bottom()->d->labelFont).size(0, text) + QSize(6, 2);
    QRect r(QPoint(0, 0), size);
    if (edge == BoxBottom)
        r.moveTopLeft(QPoint(anchor.x() - size.width() / 2, plotRect.bottom() - size.height()));
    else if (edge == BoxLeft)
        r.moveTopLeft(QPoint(plotRect.left() + 1, anchor.y() - size.height() / 2));
    else if (edge == BoxRight)
        r.moveTopLeft(QPoint(plotRect.right() - size.width(), anchor.y() - size.height() / 2));
    else if (edge == BoxTop)
        r.moveTopLeft(QPoint(anchor.x() - size.width() / 2, plotRect.top() + 1));
    else
        r.moveBottomLeft(anchor + QPoint(4, -4));
    // Kept inside the plot so that a move only repaints the plot.
    r.moveLeft(qBound(plotRect.left() + 1, r.left(), plotRect.right() - r.width()));
    r.moveTop(qBound(plotRect.top() + 1, r.top(), plotRect.bottom() - r.height()));
    QColor paper = q->palette().color(QPalette::Window);
    paper.setAlpha(220);
    painter->setPen(QPen(q->palette().color(QPalette::WindowText), 1));
    painter->setBrush(paper);
    painter->drawRect(r.adjusted(0, 0, -1, -1));
    painter->drawText(r, Qt::AlignCenter, text);
}

QRect ChartWidget::plotArea() const
{
    return d->plotRect;
}

namespace {

// An axis' value at plot pixel p, NaN while it has no scale.
double valueOn(const Axis *axis, double p)
{
    if (!axis->isValid() || !std::isfinite(axis->d->scale) || axis->d->scale == 0)
        return qQNaN();
    return axis->pixelToPoint(p);
}

double pixelOn(const Axis *axis, double v)
{
    if (!axis->isValid() || !std::isfinite(axis->d->scale))
        return qQNaN();
    return axis->pointToPixel(v);
}

} // namespace

QPointF ChartWidget::mapToValue(const QPointF &position, const Axis *yAxis) const
{
    const Axis *y = yAxis == d->axes.right() ? d->axes.right() : d->axes.left();
    return QPointF(valueOn(d->axes.bottom(), position.x() - d->plotRect.left()),
                   valueOn(y, position.y() - d->plotRect.top()));
}

QPointF ChartWidget::mapToPosition(const QPointF &value, const Axis *yAxis) const
{
    const Axis *y = yAxis == d->axes.right() ? d->axes.right() : d->axes.left();
    return QPointF(pixelOn(d->axes.bottom(), value.x()) + d->plotRect.left(),
                   pixelOn(y, value.y()) + d->plotRect.top());
}

bool ChartWidget::rescaleAxis(Axis *axis)
{
    Axes &axes = d->axes;
    if (axis != axes.bottom() && axis != axes.left() && axis != axes.right() && axis != axes.top())
        return false;
    const bool isX = axis == axes.bottom() || axis == axes.top();
    double lo = qQNaN(), hi = qQNaN();
    for (ChartSeries *series : qAsConst(d->seriesMap)) {
        if (!series || !series->isVisible() || (isX ? series->xAxis() : series->yAxis()) != axis)
            continue;
        ChartWidgetPrivate::widenLow(lo, d->lowBound(series, !isX));
        ChartWidgetPrivate::widenHigh(hi, isX ? series->maxX() : series->maxY());
    }
    if (std::isnan(lo) || std::isnan(hi))
        return false;
    // The range from scratch, as automatic scaling gives it, at the length
    // the axis has now.
    AxisPrivate *a = axis->d;
    const double length = a->length;
    axis->reset();
    a->length = length;
    axis->update(lo);
    axis->update(hi);
    const bool lock = d->drawingLock;
    d->drawingLock = true;
    a->updateTransform();
    a->updateTicks();
    d->settleRanges(lock, false);
    return true;
}
