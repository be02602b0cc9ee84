#include "barseries.h"
#include "barseries_p.h"
#include "chartseries_p.h"
#include "seriesicon_p.h"
#include "linerenderer_p.h"
#include "geometry_p.h"
#include "seriesdata_p.h"

#include "axis.h"

#include <QCoreApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>

#include <climits>
#include <cmath>
#include <vector>

namespace {

// What a bar adds to the bounds: the zero line and its half width at the
// current scale, as addXY() has it.
auto barEnds(const BarSeries *s)
{
    const double hw = s->xAxis() ? 0.5 * s->xAxis()->pixelDeltaToPoint(s->d->barWidth) : 0.0;
    return [hw](const QPointF &p, auto f) {
        f(p.x(), 0.0);
        f(p.x() - hw, p.y());
        f(p.x() + hw, p.y());
    };
}

} // namespace

BarSeries::BarSeries()
    : ChartSeries(), d(new BarSeriesPrivate(this))
{
}

BarSeries::~BarSeries()
{
    delete d;
}

void BarSeries::addXY(double x, double y)
{
    if (!d->plain()) {
        d->points.append(QPointF(x, y));
        tavrin::BlockBounds box;
        d->boundsFrom(d->points.size() - 1, box);
        if (box.any) {
            updateBounds(box.minX, box.minY);
            updateBounds(box.maxX, box.maxY);
        }
        return;
    }
    // The bars rise from the zero line, so the bounds take it in with the
    // first bar that reaches them (a bar with a NaN x does not).
    if (std::isnan(minY()))
        updateBounds(x, 0.0);
    d->points.append(QPointF(x, y));
    if (xAxis()) {
        const double hw = 0.5 * xAxis()->pixelDeltaToPoint(d->barWidth);
        updateBounds(x - hw, y);
        updateBounds(x + hw, y);
    } else {
        updateBounds(x, y);
    }
    ChartSeries::d->keepRowLimit(d->points, barEnds(this));
}

int BarSeries::maximumPoints() const
{
    return ChartSeries::d->maximumRows;
}

void BarSeries::setMaximumPoints(int count)
{
    if (ChartSeries::d->setRowLimit(d->points, count, barEnds(this))) {
        const ChartSeriesPrivate::Busy busy(ChartSeries::d);
        emit maximumPointsChanged(ChartSeries::d->maximumRows);
    }
}

int BarSeries::removeBefore(double x)
{
    return ChartSeries::d->removeRowsBefore(d->points, x, barEnds(this));
}

int BarSeries::appendPoints(const double *x, const double *y, int stride, int count)
{
    if (!ChartSeries::d->fits(d->points, count))
        return 0;
    const int first = d->points.size();
    const tavrin::BlockBounds bars = tavrin::appendXY(d->points, x, y, stride, count, tavrin::RowTraits<QPointF>::fromXY);
    if (!d->plain()) {
        tavrin::BlockBounds box;
        d->boundsFrom(first, box);
        updateBlockBounds(box.minX, box.minY, box.maxX, box.maxY);
        return count;
    }
    // The same box as addXY() bar by bar: the zero line with the first bar
    // that has an x, and each bar's half width once the axis is known.
    tavrin::BlockBounds box;
    if (std::isnan(minY())) {
        int i = first;
        while (i < d->points.size() && std::isnan(d->points.at(i).x()))
            ++i;
        if (i < d->points.size())
            box.add(d->points.at(i).x(), 0.0);
    }
    const double hw = xAxis() ? 0.5 * xAxis()->pixelDeltaToPoint(d->barWidth) : 0.0;
    if (!std::isfinite(hw)) {
        for (int i = first; i < d->points.size(); ++i) {
            const QPointF &p = d->points.at(i);
            box.add(p.x() - hw, p.y());
            box.add(p.x() + hw, p.y());
        }
    } else if (bars.any) {
        // Rounding keeps order, so the ends of the shifted bars come from
        // the ends of the block. Without a half width a zero keeps its
        // sign, as in addXY().
        const double low = hw == 0.0 ? bars.minX : qMin(bars.minX - hw, bars.minX + hw);
        const double high = hw == 0.0 ? bars.maxX : qMax(bars.maxX - hw, bars.maxX + hw);
        box.add(low, bars.minY);
        box.add(high, bars.maxY);
    }
    updateBlockBounds(box.minX, box.minY, box.maxX, box.maxY);
    return ChartSeries::d->trimBlock(d->points, first, count, barEnds(this));
}

void BarSeries::clear()
{
    ChartSeries::d->clearRows(d->points);
}

ChartSeries::seriesType BarSeries::type()
{
    return stBar;
}

int BarSeries::pointsCount()
{
    return d->points.size();
}

QString BarSeries::dataAxisString()
{
    return QStringLiteral("X;Y");
}

QList<QVariant> BarSeries::point(int i)
{
    return tavrin::rowAt(d->points, i);
}

void BarSeries::draw(QPainter *painter)
{
    if (!painter || d->points.isEmpty() || !xAxis() || !yAxis())
        return;
    painter->setPen(ChartSeries::d->pen);
    painter->setBrush(ChartSeries::d->brush);

    const Axis *xa = xAxis();
    const Axis *ya = yAxis();
    const tavrin::ValueBox box = tavrin::ValueBox::visible(xa, ya);
    const double w = xa->pixelDeltaToPoint(d->barWidth);
    // A logarithmic y axis has no zero line: bars rise from its lower end.
    const bool logY = ya->isLogarithmic();
    const double base = logY ? ya->min() : 0.0;
    const double zero = ya->pointToPixel(base);
    // On a logarithmic x axis the bar width (w, in decades) is a ratio.
    const bool logX = xa->isLogarithmic();
    const double ratio = logX ? std::pow(10.0, w / 2) : 1.0;
    const QRectF shown = tavrin::shownArea(painter);
    const double shownTop = shown.top();
    const double shownBottom = shown.bottom();

    const QPen &pen = ChartSeries::d->pen;
    const QBrush &brush = ChartSeries::d->brush;
    const bool plainRaster = painter->paintEngine()
        && painter->paintEngine()->type() == QPaintEngine::Raster && !painter->hasClipping()
        && !painter->testRenderHint(QPainter::Antialiasing) && pen.style() == Qt::SolidLine
        && pen.widthF() <= 1.0;
    const bool wholePixels = plainRaster && painter->combinedTransform().isIdentity();
    const bool opaqueColours = brush.style() == Qt::SolidPattern && brush.color().alpha() == 255
        && pen.brush().style() == Qt::SolidPattern && pen.color().alpha() == 255
        && painter->compositionMode() == QPainter::CompositionMode_SourceOver;
    // On a high-density image opaque bars are drawn on the device's pixel
    // grid the same way, the outline as thick as the pen is there.
    const double scale = tavrin::deviceScale(painter);
    const bool denseGrid = scale != 1.0 && plainRaster && opaqueColours;
    const double k = denseGrid ? scale : 1.0;
    const int outline = pen.widthF() > 0 ? qMax(1, qRound(pen.widthF() * k)) : 1;
    const int deviceWidth = painter->device()->width();
    const int deviceHeight = painter->device()->height();
    const bool plain = d->plain();
    BarSeriesPrivate::Layout layout;
    if (!plain || d->valueLabels)
        d->layout(layout, shown);

    // The rectangle of a bar in pixels; false for a bar that is not drawn.
    auto barRect = [&](const QPointF &p, QRectF *bar) {
        if (!plain)
            return d->barRect(layout, p, bar);
        if (std::isnan(p.x()) || std::isnan(p.y()))
            return false;
        // From 0 to y whatever the sign; a zero bar is flat and never drawn.
        if (logX) {
            const double x0 = p.x() / ratio;
            if (!box.intersects(x0, p.y(), p.x() * ratio - x0, base - p.y()))
                return false;
        } else if (!box.intersects(p.x() - w / 2, p.y(), w, logY ? base - p.y() : -p.y())) {
            return false;
        }
        const double left = logX ? xa->pointToPixel(p.x()) - d->barWidth / 2.0
                                 : xa->pointToPixel(p.x() - w / 2);
        const double top = ya->pointToPixel(p.y());
        if (!tavrin::pixelSafe(left) || std::isnan(top) || std::isnan(zero))
            return false;
        // A bar reaching far off the plot is cut just outside what the
        // painter can show: the antialiased fill walks every scan line of
        // the rectangle, so a bar millions of pixels tall takes seconds.
        double t = top, b = zero;
        tavrin::cutSpan(t, b, shownTop, shownBottom);
        *bar = QRectF(left, t, d->barWidth, b - t).normalized();
        return true;
    };
    // The raster engine fills a fractional rectangle through its general
    // rasterizer. Floored corners give the same pixels by the fast integer
    // path, except for bars under two pixels or reaching past the image,
    // which keep the general path. The bar then paints exactly the pixels
    // from (x0, y0) to (x1, y1), outline included.
    auto onWholePixels = [&](const QRectF &bar, int *x0, int *y0, int *x1, int *y1) {
        *x0 = int(std::floor(bar.left() * k));
        *y0 = int(std::floor(bar.top() * k));
        *x1 = int(std::floor(bar.right() * k));
        *y1 = int(std::floor(bar.bottom() * k));
        return (wholePixels || denseGrid) && *x1 - *x0 >= 2 && *y1 - *y0 >= 2 && *x0 >= 0 && *y0 >= 0
            && *x1 < deviceWidth && *y1 < deviceHeight;
    };

    // Dense bars overlap many deep. In opaque colours a bar whose pixels
    // are all painted again by later bars leaves no trace, so it is left
    // out. Every whole-pixel bar reaches the zero line, so what the later
    // ones cover in a pixel column is one run of rows through it (not so
    // in a stack or sideways).
    const auto &points = d->points;
    const int n = points.size();
    const bool opaque = plain && (wholePixels || denseGrid) && opaqueColours;
    std::vector<char> hidden;
    if (opaque && n > 1) {
        hidden.assign(size_t(n), 0);
        std::vector<int> lo(size_t(deviceWidth), INT_MAX), hi(size_t(deviceWidth), INT_MIN);
        for (int i = n - 1; i >= 0; --i) {
            QRectF bar;
            int x0, y0, x1, y1;
            if (!barRect(points.at(i), &bar) || !onWholePixels(bar, &x0, &y0, &x1, &y1))
                continue;
            bool covered = true;
            for (int c = x0; c <= x1 && covered; ++c)
                covered = lo[size_t(c)] <= y0 && hi[size_t(c)] >= y1;
            if (covered) {
                hidden[size_t(i)] = 1;
                continue;
            }
            for (int c = x0; c <= x1; ++c) {
                lo[size_t(c)] = qMin(lo[size_t(c)], y0);
                hi[size_t(c)] = qMax(hi[size_t(c)], y1);
            }
        }
    }

    if (denseGrid) {
        // Device pixels from here on.
        painter->save();
        painter->setWorldTransform(QTransform::fromScale(1 / k, 1 / k), true);
        QPen devicePen = pen;
        if (pen.widthF() > 0)
            devicePen.setWidthF(pen.widthF() * k);
        painter->setPen(devicePen);
    }
    for (int i = 0; i < n; ++i) {
        if (!hidden.empty() && hidden[size_t(i)])
            continue;
        QRectF bar;
        if (!barRect(points.at(i), &bar))
            continue;
        int x0, y0, x1, y1;
        if (!onWholePixels(bar, &x0, &y0, &x1, &y1)) {
            painter->drawRect(denseGrid ? QRectF(bar.topLeft() * k, bar.size() * k) : bar);
        } else if (!denseGrid) {
            painter->drawRect(QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1)));
        } else {
            painter->fillRect(QRect(QPoint(x0, y0), QPoint(x1, y1)), pen.color());
            const QRect inner = QRect(QPoint(x0, y0), QPoint(x1, y1))
                .adjusted(outline, outline, -outline, -outline);
            if (inner.isValid())
                painter->fillRect(inner, brush.color());
        }
    }
    if (denseGrid)
        painter->restore();
    if (d->valueLabels && layout.value)
        d->drawLabels(painter, layout);
}

QIcon BarSeries::icon(int size)
{
    return tavrin::shapeIcon(size, tavrin::IconShape::Bar, ChartSeries::d->pen, ChartSeries::d->brush);
}

QString BarSeries::tooltip(const QPoint &pos)
{
    if (d->points.isEmpty() || !xAxis() || !yAxis())
        return QString();
    if (!d->plain()) {
        const int i = d->indexAt(pos);
        if (i < 0)
            return QString();
        const QPointF &p = d->points.at(i);
        const Axis *pa = d->horizontal() ? yAxis() : xAxis();
        const Axis *va = d->horizontal() ? xAxis() : yAxis();
        return QCoreApplication::translate("BarSeries", "X: %1\r\nY: %2")
            .arg(pa->labelString(p.x()), va->labelString(p.y()));
    }
    const double cx = xAxis()->pixelToPoint(pos.x());
    const double cy = yAxis()->pixelToPoint(pos.y());
    const double w = xAxis()->pixelDeltaToPoint(d->barWidth);
    tavrin::ValueBox bar;
    for (const QPointF &p : qAsConst(d->points)) {
        const double left = p.x() - w / 2;
        // Bars are taken to come in ascending x.
        if (left > cx)
            return QString();
        bar.set(left, p.y(), w, -p.y());
        if (!bar.contains(cx, cy))
            continue;
        return QCoreApplication::translate("BarSeries", "X: %1\r\nY: %2")
            .arg(xAxis()->labelString(p.x()), yAxis()->labelString(p.y()));
    }
    return QString();
}
