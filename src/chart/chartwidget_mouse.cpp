// Zoom, pan and tooltips.
#include "chartwidget.h"
#include "chartwidget_p.h"

#include "axis.h"
#include "axis_p.h"
#include "chartseries.h"
#include "qtcompat_p.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

// An axis whose pixel scale cannot convert a drag: not yet laid out, or a
// range of zero width. Dragging over it must not move anything.
bool hasUsableScale(const Axis *axis)
{
    const double s = axis->d->scale;
    return axis->isValid() && std::isfinite(s) && s != 0;
}

} // namespace

bool ChartWidgetPrivate::handleMousePress(QMouseEvent *event)
{
    const QPoint p = QtCompat::position(event);
    if (!plotRect.contains(p))
        return QObject::eventFilter(q, event);
    if (handleItemPress(event))
        return true;
    notePress(event);
    if (event->button() == Qt::LeftButton && viewValid()) {
        zooming = true;
        selectingBand = selectionMode == ChartWidget::smRectangle && (event->modifiers() & Qt::ShiftModifier);
        zoomRect.setRect(p.x(), p.y(), 1, 1);
        updateSelectionFrame();
        q->setCursor(Qt::CrossCursor);
    } else if (event->button() == Qt::MiddleButton) {
        panning = true;
        panRecorded = false;
        lastPanPos = p;
        q->setCursor(Qt::ClosedHandCursor);
    }
    // Other buttons are swallowed too; the context menu has its own event.
    return true;
}

bool ChartWidgetPrivate::handleMouseMove(QMouseEvent *event)
{
    const QPoint p = QtCompat::position(event);
    if (crosshair)
        moveCrosshair(p, plotRect.contains(p));
    trackHover(p, plotRect.contains(p));
    if (handleItemMove(event))
        return true;
    if (zooming) {
        updateSelectionFrame();
        zoomRect.setBottomRight(p);
        updateSelectionFrame();
    }
    if (!panning)
        return true;
    if (!plotRect.contains(p)) {
        // Leaving the plot ends the pan for good; coming back does not resume it.
        panning = false;
        q->unsetCursor();
        return QObject::eventFilter(q, event);
    }
    const QVector<Axis *> xs = xAxes();
    const QVector<Axis *> ys = yAxes();
    if (std::any_of(xs.begin(), xs.end(), hasUsableScale) && std::any_of(ys.begin(), ys.end(), hasUsableScale)) {
        // One history step per drag, recorded before the view first moves.
        if (!panRecorded) {
            pushView();
            panRecorded = true;
        }
        leaveAutoScale();
        // The signs make the drawing follow the pointer: pixel rows grow
        // downwards while values grow upwards.
        for (Axis *y : ys)
            if (hasUsableScale(y))
                y->shift(y->pixelDeltaToPoint(p.y() - lastPanPos.y()));
        for (Axis *x : xs)
            if (hasUsableScale(x))
                x->shift(x->pixelDeltaToPoint(lastPanPos.x() - p.x()));
        axes.updateTransformData();
        if (!drawingLock)
            q->repaint();
    }
    lastPanPos = p;
    return true;
}

bool ChartWidgetPrivate::handleMouseRelease(QMouseEvent *event)
{
    if (handleItemRelease(event))
        return true;
    const Qt::MouseButton b = event->button();
    if (zooming && b == Qt::LeftButton) {
        zooming = false;
        updateSelectionFrame();
        q->unsetCursor();
        if (selectingBand) {
            // The band selects instead of zooming; a click is left to the click.
            selectingBand = false;
            const QRect r = QtCompat::normalized(zoomRect);
            if (r.width() >= 5 && r.height() >= 5)
                selectBand(r);
            return true;
        }
        // A band dragged up and to the left of its start asks for the
        // automatic ranges back.
        if (zoomRect.left() > zoomRect.right() && zoomRect.top() > zoomRect.bottom()) {
            q->setAutoScale(true);
            return QObject::eventFilter(q, event);
        }
        const QRect r = QtCompat::normalized(zoomRect);
        // A few pixels are a click that slipped, not a zoom.
        if (r.width() < 5 || r.height() < 5)
            return QObject::eventFilter(q, event);
        zoomTo(r);
    }
    if (panning && b == Qt::MiddleButton) {
        panning = false;
        q->unsetCursor();
    }
    return true;
}

bool ChartWidgetPrivate::handleToolTip(QHelpEvent *event)
{
    if (!plotRect.contains(event->pos()))
        return QObject::eventFilter(q, event);
    const QPoint at = event->pos() - plotRect.topLeft();
    for (ChartSeries *series : qAsConst(seriesMap)) {
        if (!series || !series->isVisible())
            continue;
        const int mode = series->forceTooltip();
        if (mode == 0 || (mode < 0 && !tooltipEnabled))
            continue;
        const QString text = series->tooltip(at);
        if (!text.isEmpty()) {
            QToolTip::showText(event->globalPos(), text);
            return true;
        }
    }
    // Nothing to say here: leave whatever tooltip is showing alone.
    return true;
}

// Only the outline changes during a drag, so only its four one-pixel
// strips are invalidated; the paint handler redraws them from the cache.
void ChartWidgetPrivate::updateSelectionFrame()
{
    const QRect r = QtCompat::normalized(zoomRect);
    q->update(r.left(), r.top(), r.width(), 1);
    q->update(r.left(), r.top(), 1, r.height());
    q->update(r.left(), r.bottom(), r.width(), 1);
    q->update(r.right(), r.top(), 1, r.height());
}

void ChartWidgetPrivate::zoomTo(const QRect &band)
{
    Axis *left = axes.left();
    Axis *bottom = axes.bottom();
    if (plotRect.width() <= 0 || plotRect.height() <= 0)
        return;
    // Value per pixel of the displayed range, margins included; in decades
    // on a logarithmic axis. A horizontal axis' values at the band's left
    // and right edge.
    auto horizontal = [&](const Axis *axis, double &lo, double &hi) {
        const AxisPrivate *p = axis->d;
        const double k = p->scaleSpan() / plotRect.width();
        lo = p->fromScale(p->scaleMin() + (band.left() - plotRect.left()) * k);
        hi = p->fromScale(p->scaleMin() + (band.right() - plotRect.left()) * k);
    };
    // A vertical axis' values at the band's lower and upper edge.
    auto vertical = [&](const Axis *axis, double &lo, double &hi) {
        const AxisPrivate *p = axis->d;
        const double k = p->scaleSpan() / plotRect.height();
        const double top = p->logarithmic ? p->scaleMin() + p->scaleSpan() : axis->max();
        lo = p->fromScale(top - (band.bottom() - plotRect.top()) * k);
        hi = p->fromScale(top - (band.top() - plotRect.top()) * k);
    };
    double x1 = 0, x2 = 1, t1 = 0, t2 = 1, y1 = 0, y2 = 1, r1 = 0, r2 = 1;
    // Each axis with a range zooms to the same band; a chart may have
    // series on the right or top axis only.
    if (!bottom->isValid())
        bottom = nullptr;
    else
        horizontal(bottom, x1, x2);
    Axis *top = topAxisInUse() && axes.top()->isValid() ? axes.top() : nullptr;
    if (top)
        horizontal(top, t1, t2);
    if (!left->isValid())
        left = nullptr;
    else
        vertical(left, y1, y2);
    Axis *right = rightAxisInUse() && axes.right()->isValid() ? axes.right() : nullptr;
    if (right)
        vertical(right, r1, r2);
    if ((!left && !right) || (!bottom && !top))
        return;
    // Axes emptied during the drag, or a range too narrow for the doubles to
    // tell the band's edges apart, would leave the chart with no usable
    // scale; keep the current view instead.
    auto ordered = [](double a, double b) { return std::isfinite(a) && std::isfinite(b) && a < b; };
    if (!ordered(x1, x2) || !ordered(t1, t2) || !ordered(y1, y2) || !ordered(r1, r2))
        return;

    pushView();
    leaveAutoScale();
    const bool lock = drawingLock;
    drawingLock = true;
    if (left)
        left->setRange(y1, y2);
    if (right)
        right->setRange(r1, r2);
    if (bottom)
        bottom->setRange(x1, x2);
    if (top)
        top->setRange(t1, t2);
    settleRanges(lock);
}
