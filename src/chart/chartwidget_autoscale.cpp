// When the axes follow the data and when new data reaches the screen.
#include "chartwidget.h"
#include "chartwidget_p.h"

#include "axis.h"
#include "axis_p.h"
#include "chartseries.h"
#include "colormapseries.h"
#include "colormapseries_p.h"
#include "vline.h"

#include <QMetaObject>
#include <QStringList>
#include <QtNumeric>

#include <cmath>
#include <limits>

namespace {

// The smallest positive value in the columns of a series that its row
// contract names after the axis ("X", "X1", "Y2", ...). Bounds are plain
// minima; a logarithmic axis needs this walk only when they reach zero.
double smallestPositive(ChartSeries *series, QChar axis)
{
    const QStringList columns = series->dataAxisString().split(QLatin1Char(';'));
    double m = std::numeric_limits<double>::quiet_NaN();
    const int n = series->pointsCount();
    for (int i = 0; i < n; ++i) {
        const QList<QVariant> row = series->point(i);
        for (int c = 0; c < row.size() && c < columns.size(); ++c) {
            if (!columns.at(c).startsWith(axis))
                continue;
            const double v = row.at(c).toDouble();
            if (v > 0 && !(v >= m))
                m = v;
        }
    }
    return m;
}

} // namespace

double ChartWidgetPrivate::lowBound(ChartSeries *series, bool y)
{
    const Axis *axis = y ? series->yAxis() : series->xAxis();
    const double min = y ? series->minY() : series->minX();
    if (axis && axis->isLogarithmic() && !(min > 0)) {
        // Cells, not points: a walk of the rows would visit every cell.
        if (auto *map = qobject_cast<ColorMapSeries *>(series))
            return map->d->smallestPositiveEdge(y);
        return smallestPositive(series, QLatin1Char(y ? 'Y' : 'X'));
    }
    return min;
}

void ChartWidget::setAutoScale(bool autoScale)
{
    // Whatever the host or a reset now says replaces what gestures chose.
    d->gestureView = false;
    if (d->autoScale == autoScale)
        return;
    d->autoScale = autoScale;
    if (!autoScale)
        return;
    d->clearZoomHistory();
    d->axes.reset();
    d->axes.setSize(QSizeF(d->plotRect.size()));
    for (ChartSeries *series : qAsConst(d->seriesMap)) {
        if (!series || !series->isVisible())
            continue;
        Axis *x = series->xAxis();
        Axis *y = series->yAxis();
        if (x)
            x->update(d->lowBound(series, false));
        if (y)
            y->update(d->lowBound(series, true));
        if (x)
            x->update(series->maxX());
        if (y)
            y->update(series->maxY());
    }
    for (VLine *line : qAsConst(d->vlineMap))
        if (line && line->xAxis())
            line->xAxis()->update(line->x());
    const bool lock = d->drawingLock;
    d->drawingLock = true;
    d->axes.adjust();
    d->drawingLock = lock;
    d->axes.updateTransformData();
    // New ranges may need a wider or narrower label band; without a layout
    // pass the labels would be cut or the plot left too small.
    const bool rendered = d->updatePlotArea();
    if (!d->drawingLock && !rendered)
        repaint();
}

void ChartWidgetPrivate::leaveAutoScale()
{
    if (autoScale)
        gestureView = true;
    autoScale = false;
}

// setAutoScale(true) does nothing while it is already on, so a full
// recomputation clears the flag first.
void ChartWidgetPrivate::forceRescale()
{
    autoScale = false;
    q->setAutoScale(true);
}

bool ChartWidgetPrivate::widenAxes(const ChartSeries *series, double x, double y)
{
    Axis *right = axes.right(), *top = axes.top();
    if (!series || (series->yAxis() != right && series->xAxis() != top))
        return axes.update(x, y);
    Axis *xAxis = series->xAxis() == top ? top : axes.bottom();
    Axis *yAxis = series->yAxis() == right ? right : axes.left();
    const bool xChanged = xAxis->update(x);
    const bool yChanged = yAxis->update(y);
    yAxis->d->updateTicks();
    xAxis->d->updateTicks();
    return xChanged || yChanged;
}

bool ChartWidgetPrivate::outOfView(ChartSeries *series, double x, double y) const
{
    // Markers and lines only: other kinds draw items of some width around a
    // value, or spans a single value does not describe.
    if (!series || (series->type() != ChartSeries::stLine && series->type() != ChartSeries::stPoint))
        return false;
    const Axis *xa = series->xAxis(), *ya = series->yAxis();
    if (!xa || !ya || !xa->isValid() || !ya->isValid())
        return false;
    // Which sides of the plot, with room for a marker, a point lies beyond.
    constexpr double kRoom = 64;
    const double w = plotRect.width(), h = plotRect.height();
    auto sides = [&](double vx, double vy) {
        const double px = xa->pointToPixel(vx), py = ya->pointToPixel(vy);
        if (!std::isfinite(px) || !std::isfinite(py))
            return 0;
        return (px < -kRoom ? 1 : 0) | (px > w + kRoom ? 2 : 0) | (py < -kRoom ? 4 : 0) | (py > h + kRoom ? 8 : 0);
    };
    const int here = sides(x, y);
    if (!here || series->type() == ChartSeries::stPoint)
        return here != 0;
    // A line reaches the new point from the one before; both must lie beyond
    // the same side. The new point may or may not be stored yet.
    const int n = series->pointsCount();
    for (int i = n - 1; i >= 0 && i >= n - 2; --i) {
        const QList<QVariant> row = series->point(i);
        if (row.size() < 2)
            return false;
        const double px = row.at(0).toDouble(), py = row.at(1).toDouble();
        if (px == x && py == y && i == n - 1)
            continue;
        return (sides(px, py) & here) != 0;
    }
    return true;
}

void ChartWidgetPrivate::seriesBoundsChanged(ChartSeries *series, double x, double y)
{
    if (refreshTimer.isActive())
        return;
    // With the view fixed, a point the picture cannot show renders nothing.
    if (!autoScale && outOfView(series, x, y))
        return;
    bool rendered = false;
    if (autoScale && widenAxes(series, x, y))
        rendered = updatePlotArea();
    if (!drawingLock && !rendered)
        q->repaint();
}

// A block renders at most once, whatever it widened.
void ChartWidgetPrivate::seriesBlockBoundsChanged(ChartSeries *series, double minX, double minY,
                                                  double maxX, double maxY)
{
    if (refreshTimer.isActive())
        return;
    bool rendered = false;
    if (autoScale) {
        const bool low = widenAxes(series, minX, minY);
        const bool high = widenAxes(series, maxX, maxY);
        // A block under the drawing lock renders at its release only.
        if (low || high)
            rendered = updatePlotArea(!drawingLock);
    }
    if (!drawingLock && !rendered)
        q->repaint();
}

// Axes only ever widen by a point; narrowing takes a full rescale, which a
// running refresh timer does at its expiry anyway.
void ChartWidgetPrivate::seriesBoundsShrunk()
{
    if (refreshTimer.isActive())
        return;
    if (autoScale)
        forceRescale();
    else if (!drawingLock)
        q->repaint();
}

void ChartWidgetPrivate::scheduleRefresh()
{
    if (refreshTimeout >= 0 && !refreshTimer.isActive())
        refreshTimer.start(refreshTimeout);
}

void ChartWidgetPrivate::on_refresh_timer_timeout()
{
    if (seriesMap.isEmpty()) {
        refreshTimer.stop();
        return;
    }
    // x over every series; y per vertical axis, over the series on it. An
    // empty series has NaN bounds and takes no part.
    const double nan = qQNaN();
    const auto lower = ChartWidgetPrivate::widenLow, upper = ChartWidgetPrivate::widenHigh;
    const Axis *top = axes.top();
    double minX[2] = {nan, nan}, maxX[2] = {nan, nan};
    bool seenX[2] = {false, false};
    for (const ChartSeries *s : qAsConst(seriesMap)) {
        const int k = s->xAxis() == top ? 1 : 0;
        seenX[k] = true;
        lower(minX[k], s->minX());
        upper(maxX[k], s->maxX());
    }
    const Axis *right = axes.right();
    double minY[2] = {nan, nan}, maxY[2] = {nan, nan};
    bool seen[2] = {false, false};
    for (const ChartSeries *s : qAsConst(seriesMap)) {
        const int k = s->yAxis() == right ? 1 : 0;
        seen[k] = true;
        lower(minY[k], s->minY());
        upper(maxY[k], s->maxY());
    }
    bool rendered = false;
    if (autoScale && !rescalePending) {
        // Automatic scaling stays on meanwhile, so that a gesture or a host
        // switching it off before the queued call runs is not undone.
        rescalePending = true;
        QMetaObject::invokeMethod(this, "on_deferred_rescale", Qt::QueuedConnection);
    } else if (!holdView) {
        bool a = axes.update(seenX[0] ? minX[0] : nan, seen[0] ? minY[0] : nan);
        bool b = axes.update(seenX[0] ? maxX[0] : nan, seen[0] ? maxY[0] : nan);
        if (seenX[1]) {
            a = axes.top()->update(minX[1]) || a;
            b = axes.top()->update(maxX[1]) || b;
            axes.top()->d->updateTicks();
        }
        if (seen[1]) {
            a = axes.right()->update(minY[1]) || a;
            b = axes.right()->update(maxY[1]) || b;
            axes.right()->d->updateTicks();
        }
        if (a || b)
            rendered = updatePlotArea();
    }
    if (!drawingLock && !rendered)
        q->repaint();
    refreshTimer.stop();
}

void ChartWidgetPrivate::on_deferred_rescale()
{
    rescalePending = false;
    if (autoScale)
        forceRescale();
}

void ChartWidget::setRefreshTimeout(int ms)
{
    if (ms == d->refreshTimeout)
        return;
    if (ms < 0)
        QMetaObject::invokeMethod(&d->refreshTimer, "timeout", Qt::AutoConnection);
    d->refreshTimeout = ms;
}

void ChartWidgetPrivate::on_series_cleared()
{
    if (autoScale)
        forceRescale();
    // A series announces clear() before it drops its points, so any
    // rendering done here still shows them: render again once it is done,
    // or the emptied series stays on screen until something else renders.
    if (!drawingLock)
        QMetaObject::invokeMethod(q, "repaint", Qt::QueuedConnection);
}

void ChartWidgetPrivate::on_series_change_visible(bool)
{
    if (autoScale)
        forceRescale();
    else if (!drawingLock && !updatePlotArea()) // a colour scale's band may come or go
        q->repaint();
}

void ChartWidgetPrivate::seriesAxesChanged(ChartSeries *series)
{
    // Registration sets the axes before the series is in the registry.
    if (!seriesMap.values().contains(series))
        return;
    if (autoScale) {
        forceRescale();
        return;
    }
    // A manual view keeps its ranges, but an axis that has none yet takes
    // the series in, as the refresh timer would.
    for (Axis *axis : {series->xAxis(), series->yAxis()}) {
        if (axis && !axis->isValid()) {
            const bool isX = axis == series->xAxis();
            axis->update(lowBound(series, !isX));
            axis->update(isX ? series->maxX() : series->maxY());
            axis->d->updateTicks();
        }
    }
    if (!updatePlotArea() && !drawingLock)
        q->repaint();
}

// Under automatic scaling, or when the switch dropped a range without a
// logarithm, the axes follow the data again in the new scale.
void ChartWidgetPrivate::on_axis_logarithmicChanged()
{
    if (autoScale || !axes.isValid())
        forceRescale();
    else
        on_axis_changed();
}

void ChartWidgetPrivate::on_axis_changed()
{
    if (!updatePlotArea() && !drawingLock)
        q->repaint();
}
