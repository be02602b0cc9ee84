// Hit tests of the kinds: which data item is drawn under a pixel.
#include "chartseries.h"

#include "axis.h"
#include "barseries.h"
#include "barseries_p.h"
#include "boxandwhiskersseries.h"
#include "boxandwhiskersseries_p.h"
#include "colormapseries.h"
#include "colormapseries_p.h"
#include "ganttseries.h"
#include "ganttseries_p.h"
#include "geometry_p.h"
#include "highlowseries.h"
#include "histogramseries.h"
#include "histogramseries_p.h"
#include "highlowseries_p.h"
#include "hittest_p.h"
#include "lineseries.h"
#include "lineseries_p.h"
#include "minmaxpointseries.h"
#include "minmaxpointseries_p.h"
#include "pieseries.h"
#include "pieseries_p.h"
#include "pointseries.h"
#include "pointseries_p.h"

#include <QtMath>

#include <algorithm>
#include <cmath>
#include <utility>

using tavrin::ValueBox;

namespace {

bool usable(const QPointF &pos, double radius)
{
    return std::isfinite(pos.x()) && std::isfinite(pos.y()) && radius >= 0 && std::isfinite(radius);
}

// Keeps the candidate nearest to the probe, in pixels.
struct Nearest {
    QPointF pos;
    double best;
    int index = -1;

    void offer(const Axis *xa, const Axis *ya, int i, double x, double y)
    {
        const double dx = xa->pointToPixel(x) - pos.x(), dy = ya->pointToPixel(y) - pos.y();
        const double d2 = dx * dx + dy * dy;
        // Ties go to the later point: it is drawn on top.
        if (d2 <= best) {
            best = d2;
            index = i;
        }
    }
};

// The probe square in values; both axes map monotonically, logarithmic or
// not, so the square's corners bound it.
bool probeBox(const Axis *xa, const Axis *ya, const QPointF &pos, double radius, double &x0,
              double &x1, double &y0, double &y1)
{
    x0 = xa->pixelToPoint(pos.x() - radius);
    x1 = xa->pixelToPoint(pos.x() + radius);
    y0 = ya->pixelToPoint(pos.y() - radius);
    y1 = ya->pixelToPoint(pos.y() + radius);
    if (x0 > x1)
        std::swap(x0, x1);
    if (y0 > y1)
        std::swap(y0, y1);
    return !std::isnan(x0) && !std::isnan(x1) && !std::isnan(y0) && !std::isnan(y1);
}

// Whole blocks whose bounds miss the probe are passed over, so sorted data
// costs one summary per 64 points plus the few blocks near the pointer.
// Points handed out by mutable reference have no trusted summaries: then
// every point is looked at.
int nearestInStream(tavrin::PointStream &s, const Axis *xa, const Axis *ya, const QPointF &pos,
                    double radius)
{
    const int n = s.size();
    if (n == 0 || !xa || !ya || !usable(pos, radius))
        return -1;
    double x0, x1, y0, y1;
    if (!probeBox(xa, ya, pos, radius, x0, x1, y0, y1))
        return -1;
    Nearest near{pos, radius * radius};
    auto look = [&](int i) {
        const QPointF &p = s.at(i);
        if (p.x() >= x0 && p.x() <= x1 && p.y() >= y0 && p.y() <= y1)
            near.offer(xa, ya, i, p.x(), p.y());
    };
    if (s.list) {
        for (int i = 0; i < n; ++i)
            look(i);
        return near.index;
    }
    if (!s.summaries.isValid())
        s.summaries.rebuild(s.buffer);
    constexpr int kBlock = tavrin::BlockSummaries::kBlock;
    for (int i = 0; i < n;) {
        if (const tavrin::BlockBounds *b = s.summaries.blockAt(i, n)) {
            if (b->any && b->maxX >= x0 && b->minX <= x1 && b->maxY >= y0 && b->minY <= y1)
                for (int k = i; k < i + kBlock; ++k)
                    look(k);
            i += kBlock;
        } else {
            look(i++);
        }
    }
    return near.index;
}

} // namespace

int ChartSeries::indexAt(const QPointF &, double) const
{
    return -1;
}

int LineSeries::indexAt(const QPointF &pos, double radius) const
{
    return nearestInStream(*d, xAxis(), yAxis(), pos, radius);
}

int PointSeries::indexAt(const QPointF &pos, double radius) const
{
    return nearestInStream(*d, xAxis(), yAxis(), pos, radius);
}

int MinMaxPointSeries::indexAt(const QPointF &pos, double radius) const
{
    const Axis *xa = xAxis(), *ya = yAxis();
    if (d->points.isEmpty() || !xa || !ya || !usable(pos, radius))
        return -1;
    double x0, x1, y0, y1;
    if (!probeBox(xa, ya, pos, radius, x0, x1, y0, y1))
        return -1;
    Nearest near{pos, radius * radius};
    for (int i = 0, n = d->points.size(); i < n; ++i) {
        const MinMaxPoint &p = d->points.at(i);
        if (p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1)
            near.offer(xa, ya, i, p.x, p.y);
    }
    return near.index;
}

// The shape kinds test what the tooltips test, over every item (the
// tooltips stop at the first item past the pointer, which needs sorted
// data); the last one drawn wins.
int BarSeries::indexAt(const QPointF &pos, double) const
{
    const Axis *xa = xAxis(), *ya = yAxis();
    if (d->points.isEmpty() || !xa || !ya || !usable(pos, 0))
        return -1;
    if (!d->plain())
        return d->indexAt(pos);
    const double cx = xa->pixelToPoint(pos.x()), cy = ya->pixelToPoint(pos.y());
    const double w = xa->pixelDeltaToPoint(d->barWidth);
    ValueBox bar;
    int found = -1;
    for (int i = 0, n = d->points.size(); i < n; ++i) {
        const QPointF &p = d->points.at(i);
        bar.set(p.x() - w / 2, p.y(), w, -p.y());
        if (bar.contains(cx, cy))
            found = i;
    }
    return found;
}

// Bins touch and never overlap: the bin under x is the only candidate.
int HistogramSeries::indexAt(const QPointF &pos, double) const
{
    const Axis *xa = xAxis(), *ya = yAxis();
    if (!xa || !ya || !usable(pos, 0))
        return -1;
    d->sync();
    const int i = d->binAt(xa->pixelToPoint(pos.x()));
    if (i < 0)
        return -1;
    const double v = d->binValues[size_t(i)];
    const double base = ya->isLogarithmic() ? ya->min() : 0.0;
    ValueBox bar;
    bar.set(d->edge(i), v, d->edge(i + 1) - d->edge(i), base - v);
    return bar.contains(xa->pixelToPoint(pos.x()), ya->pixelToPoint(pos.y())) ? i : -1;
}

int BoxAndWhiskersSeries::indexAt(const QPointF &pos, double) const
{
    const Axis *xa = xAxis(), *ya = yAxis();
    if (d->candles.isEmpty() || !xa || !ya || !usable(pos, 0))
        return -1;
    const double cx = xa->pixelToPoint(pos.x()), cy = ya->pixelToPoint(pos.y());
    const double w = xa->pixelDeltaToPoint(d->boxWidth);
    ValueBox r;
    int found = -1;
    for (int i = 0, n = d->candles.size(); i < n; ++i) {
        const Candle &c = d->candles.at(i);
        r.set(c.x - w / 2, c.yMin, w, c.yMax - c.yMin);
        if (r.contains(cx, cy))
            found = i;
    }
    return found;
}

int GanttSeries::indexAt(const QPointF &pos, double) const
{
    const Axis *xa = xAxis(), *ya = yAxis();
    if (d->bars.isEmpty() || !xa || !ya || !usable(pos, 0))
        return -1;
    const double cx = xa->pixelToPoint(pos.x()), cy = ya->pixelToPoint(pos.y());
    const double h = ya->pixelDeltaToPoint(d->barHeight);
    ValueBox r;
    int found = -1;
    for (int i = 0, n = d->bars.size(); i < n; ++i) {
        const GanttBar &b = d->bars.at(i);
        r.set(b.x1, b.y - h / 2, b.x2 - b.x1, h);
        if (r.contains(cx, cy))
            found = i;
    }
    return found;
}

// The band between two neighbours belongs to the one nearer the pointer.
int HighLowSeries::indexAt(const QPointF &pos, double) const
{
    const Axis *xa = xAxis(), *ya = yAxis();
    const QList<HighLowPoint> &pts = d->points;
    if (pts.size() < 2 || !xa || !ya || !usable(pos, 0))
        return -1;
    int found = -1;
    for (int i = 1, n = pts.size(); i < n; ++i) {
        const HighLowPoint &p0 = pts.at(i - 1), &p1 = pts.at(i);
        const double X0 = xa->pointToPixel(p0.x), X1 = xa->pointToPixel(p1.x);
        if (!(std::isfinite(X0) && std::isfinite(X1)) || X0 == X1)
            continue;
        if (pos.x() < std::min(X0, X1) || pos.x() > std::max(X0, X1))
            continue;
        const double t = (pos.x() - X0) / (X1 - X0);
        const double a = ya->pointToPixel(p0.y1 + (p1.y1 - p0.y1) * t);
        const double b = ya->pointToPixel(p0.y2 + (p1.y2 - p0.y2) * t);
        if (!(std::isfinite(a) && std::isfinite(b)))
            continue;
        if (pos.y() >= std::min(a, b) && pos.y() <= std::max(a, b))
            found = t < 0.5 ? i - 1 : i;
    }
    return found;
}

int PieSeries::indexAt(const QPointF &pos, double) const
{
    return usable(pos, 0) ? sliceAt(pos) : -1;
}

// The pixel's centre decides, as for the tooltip.
int ColorMapSeries::indexAt(const QPointF &pos, double) const
{
    int c, r;
    if (!xAxis() || !yAxis() || !usable(pos, 0)
        || !d->cellAt(xAxis()->pixelToPoint(pos.x() + 0.5), yAxis()->pixelToPoint(pos.y() + 0.5), &c, &r)
        || std::isnan(d->at(c, r)))
        return -1;
    return r * d->nc + c;
}

namespace tavrin {

namespace {

using HighLowPoint = HighLowSeries::HighLowPoint;

QPainterPath pixelRect(const Axis *xa, const Axis *ya, double x0, double x1, double y0, double y1)
{
    QPainterPath path;
    const QRectF r = QRectF(QPointF(xa->pointToPixel(x0), ya->pointToPixel(y0)),
                            QPointF(xa->pointToPixel(x1), ya->pointToPixel(y1)))
                         .normalized();
    if (std::isfinite(r.left()) && std::isfinite(r.right()) && std::isfinite(r.top())
        && std::isfinite(r.bottom()))
        path.addRect(r);
    return path;
}

// The band from halfway to the previous point to halfway to the next: the
// part indexAt() gives to this point.
QPainterPath bandPart(const QList<HighLowPoint> &pts, const Axis *xa, const Axis *ya, int i)
{
    QPainterPath path;
    if (pts.size() < 2)
        return path;
    auto mid = [&](int a, int b) {
        const HighLowPoint &p = pts.at(a), &o = pts.at(b);
        return HighLowPoint{(p.x + o.x) / 2, (p.y1 + o.y1) / 2, (p.y2 + o.y2) / 2};
    };
    QVector<HighLowPoint> run;
    if (i > 0)
        run.append(mid(i - 1, i));
    run.append(pts.at(i));
    if (i + 1 < pts.size())
        run.append(mid(i, i + 1));
    QPolygonF poly;
    for (const HighLowPoint &p : qAsConst(run))
        poly.append(QPointF(xa->pointToPixel(p.x), ya->pointToPixel(p.y1)));
    for (int k = run.size() - 1; k >= 0; --k)
        poly.append(QPointF(xa->pointToPixel(run.at(k).x), ya->pointToPixel(run.at(k).y2)));
    for (const QPointF &p : qAsConst(poly))
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
            return path;
    path.addPolygon(poly);
    path.closeSubpath();
    return path;
}

QPainterPath pieSlice(const PieSeries *pie, int i)
{
    QPainterPath path;
    const PieSeriesPrivate::Geometry g = pie->d->geometry(pie->d->plotSize());
    for (const auto &w : g.wedges) {
        if (w.index != i)
            continue;
        const QRectF outer(w.centre.x() - g.radius, w.centre.y() - g.radius, 2 * g.radius, 2 * g.radius);
        if (std::fabs(w.span) >= 360.0) {
            path.addEllipse(outer);
        } else {
            path.moveTo(w.centre);
            path.arcTo(outer, w.start, w.span);
            path.closeSubpath();
        }
        if (g.hole > 0) {
            QPainterPath hole;
            hole.addEllipse(w.centre, g.hole, g.hole);
            path = path.subtracted(hole);
        }
        break;
    }
    return path;
}

} // namespace

void prepareHitTest(ChartSeries *series)
{
    PointStream *s = nullptr;
    if (series && series->type() == ChartSeries::stLine)
        s = static_cast<LineSeries *>(series)->d;
    else if (series && series->type() == ChartSeries::stPoint)
        s = static_cast<PointSeries *>(series)->d;
    if (s && !s->list && !s->summaries.isValid())
        s->summaries.rebuild(s->buffer);
}

QPainterPath itemOutline(ChartSeries *series, int index)
{
    const Axis *xa = series ? series->xAxis() : nullptr, *ya = series ? series->yAxis() : nullptr;
    if (!xa || !ya || index < 0 || index >= series->pointsCount())
        return QPainterPath();
    switch (series->type()) {
    case ChartSeries::stBar: {
        const BarSeriesPrivate *b = static_cast<BarSeries *>(series)->d;
        const QPointF &p = b->points.at(index);
        const double w = std::fabs(xa->pixelDeltaToPoint(b->barWidth)) / 2;
        return pixelRect(xa, ya, p.x() - w, p.x() + w, 0, p.y());
    }
    case ChartSeries::stBoxAndWhiskers: {
        const BoxAndWhiskersSeriesPrivate *b = static_cast<BoxAndWhiskersSeries *>(series)->d;
        const BoxAndWhiskersSeries::Candle &c = b->candles.at(index);
        const double w = std::fabs(xa->pixelDeltaToPoint(b->boxWidth)) / 2;
        return pixelRect(xa, ya, c.x - w, c.x + w, c.yMin, c.yMax);
    }
    case ChartSeries::stGantt: {
        const GanttBar &b = static_cast<GanttSeries *>(series)->d->bars.at(index);
        const double h = std::fabs(ya->pixelDeltaToPoint(static_cast<GanttSeries *>(series)->d->barHeight)) / 2;
        return pixelRect(xa, ya, b.x1, b.x2, b.y - h, b.y + h);
    }
    case ChartSeries::stHighLow:
        return bandPart(static_cast<HighLowSeries *>(series)->d->points, xa, ya, index);
    case ChartSeries::stPie:
        return pieSlice(static_cast<PieSeries *>(series), index);
    case ChartSeries::stColorMap: {
        const ColorMapSeriesPrivate *m = static_cast<ColorMapSeries *>(series)->d;
        const int r = index / m->nc, c = index % m->nc;
        return pixelRect(xa, ya, m->x0 + c * m->cellWidth(), m->x0 + (c + 1) * m->cellWidth(),
                         m->y0 + r * m->cellHeight(), m->y0 + (r + 1) * m->cellHeight());
    }
    default:
        return QPainterPath();
    }
}

} // namespace tavrin
