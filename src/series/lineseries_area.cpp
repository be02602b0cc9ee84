// A line series' fill, steps and stacking: everything beyond the plain line.
#include "lineseries.h"
#include "lineseries_p.h"
#include "chartseries_p.h"
#include "areafill_p.h"
#include "linerenderer_p.h"
#include "rastertarget_p.h"

#include "axis.h"

#include <QPainter>
#include <QPainterPath>
#include <QtNumeric>

#include <climits>
#include <cmath>
#include <limits>

namespace {

double yExtentOf(const ChartSeries *series, bool upper)
{
    return static_cast<const LineSeries *>(series)->d->extent(upper);
}

// The points of a stepped line: each pair a, b becomes the corner the mode
// puts between them.
QVector<QPointF> stepped(const QVector<QPointF> &pts, LineSeries::StepMode mode)
{
    const int n = pts.size();
    if (mode == LineSeries::NoSteps || n < 2)
        return pts;
    QVector<QPointF> out;
    out.reserve(mode == LineSeries::StepCenter ? 3 * n : 2 * n);
    out.append(pts.at(0));
    for (int i = 1; i < n; ++i) {
        const QPointF &a = pts.at(i - 1), &b = pts.at(i);
        switch (mode) {
        case LineSeries::StepLeft:
            out.append(QPointF(b.x(), a.y()));
            break;
        case LineSeries::StepRight:
            out.append(QPointF(a.x(), b.y()));
            break;
        default: {
            const double m = (a.x() + b.x()) / 2;
            out.append(QPointF(m, a.y()));
            out.append(QPointF(m, b.y()));
            break;
        }
        }
        out.append(b);
    }
    return out;
}

} // namespace

LineSeriesPrivate::LineSeriesPrivate(LineSeries *series) : PointStream(series), q(series) {}

LineSeriesPrivate::~LineSeriesPrivate() = default;

LineSeries *LineSeriesPrivate::partner(const QPointer<LineSeries> &other) const
{
    LineSeries *s = other.data();
    // Two series in no chart yet (drawn by hand) count as together.
    if (!s || s->ChartSeries::d->owner != static_cast<const ChartSeries *>(q)->ChartSeries::d->owner)
        return nullptr;
    return s;
}

double LineSeriesPrivate::drawnValueAt(double x) const
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const int n = size();
    if (n == 0 || std::isnan(x))
        return nan;
    const LineSeries *base = partner(stackedOn);
    const auto stackedY = [base](const QPointF &p) {
        if (!base)
            return p.y();
        const double b = base->d->drawnValueAt(p.x());
        return std::isnan(b) ? p.y() : p.y() + b;
    };
    if (x == at(n - 1).x())
        return stackedY(at(n - 1));
    if (!(at(0).x() <= x) || !(x < at(n - 1).x()))
        return nan;
    int lo = 0, hi = n - 1;
    while (hi - lo > 1) {
        const int mid = lo + (hi - lo) / 2;
        if (at(mid).x() <= x)
            lo = mid;
        else
            hi = mid;
    }
    const QPointF &a = at(lo), &b = at(hi);
    if (x == a.x())
        return stackedY(a);
    switch (stepMode) {
    case LineSeries::StepLeft:
        return stackedY(a);
    case LineSeries::StepRight:
        return stackedY(b);
    case LineSeries::StepCenter:
        return x < (a.x() + b.x()) / 2 ? stackedY(a) : stackedY(b);
    default:
        break;
    }
    const double ya = stackedY(a), yb = stackedY(b);
    return ya + (yb - ya) * ((x - a.x()) / (b.x() - a.x()));
}

QVector<QPointF> LineSeriesPrivate::drawnPoints() const
{
    const int n = size();
    QVector<QPointF> pts;
    pts.reserve(n);
    const LineSeries *base = partner(stackedOn);
    for (int i = 0; i < n; ++i) {
        QPointF p = at(i);
        if (base) {
            const double b = base->d->drawnValueAt(p.x());
            if (!std::isnan(b))
                p.setY(p.y() + b);
        }
        pts.append(p);
    }
    return stepped(pts, stepMode);
}

double LineSeriesPrivate::extent(bool upper) const
{
    const ChartSeriesPrivate *cd = static_cast<const ChartSeries *>(q)->ChartSeries::d;
    double v = upper ? cd->maxY : cd->minY;
    if (partner(stackedOn)) {
        // Steps add no values of their own, so the stacked points are enough.
        double lo = qQNaN(), hi = qQNaN();
        const QVector<QPointF> pts = drawnPoints();
        for (const QPointF &p : pts) {
            if (std::isnan(p.x()) || std::isnan(p.y()))
                continue;
            if (!(p.y() >= lo))
                lo = p.y();
            if (!(p.y() <= hi))
                hi = p.y();
        }
        v = upper ? hi : lo;
    } else if (filled() && !partner(fillTo) && !std::isnan(v)) {
        v = upper ? qMax(v, fillBaseline) : qMin(v, fillBaseline);
    }
    return v;
}

void LineSeriesPrivate::changed(bool extentMoved)
{
    ChartSeriesPrivate *cd = static_cast<ChartSeries *>(q)->ChartSeries::d;
    cd->yExtent = (stackedOn || filled()) ? yExtentOf : nullptr;
    if (cd->owner)
        cd->owner->seriesContentChanged(q, extentMoved);
}

// The points to draw in the axes' transform units, or none when the
// stored points (with their block summaries) can be drawn as they are.
bool LineSeriesPrivate::prepare(QVector<QPointF> &pts)
{
    const AxisPrivate *xs = q->xAxis()->d, *ys = q->yAxis()->d;
    const bool log = xs->logarithmic || ys->logarithmic;
    if (!log && stepMode == LineSeries::NoSteps && !partner(stackedOn) && !list) {
        if (!summaries.isValid())
            summaries.rebuild(buffer);
        return false;
    }
    pts = drawnPoints();
    if (log) {
        for (QPointF &p : pts)
            p = QPointF(xs->toScale(p.x()), ys->toScale(p.y()));
    }
    return true;
}

void LineSeriesPrivate::stroke(QPainter *painter)
{
    QVector<QPointF> pts;
    const bool made = prepare(pts);
    painter->setPen(static_cast<ChartSeries *>(q)->ChartSeries::d->pen);
    painter->setBrush(static_cast<ChartSeries *>(q)->ChartSeries::d->brush);
    LineRenderer renderer(painter, q->xAxis(), q->yAxis());
    if (made)
        renderer.polyline(pts);
    else
        renderer.polyline(buffer, &summaries);
    renderer.flush();
}

double LineSeriesPrivate::baselinePixel(const tavrin::PixelMap &my) const
{
    // No zero on a logarithmic axis: the fill reaches its lower end.
    const AxisPrivate *ys = q->yAxis()->d;
    double base = fillBaseline;
    if (ys->logarithmic)
        base = base > 0 ? ys->toScale(base) : ys->scaleMin();
    return std::trunc(qBound(-1e6, my(base), 1e6));
}

namespace {

// A gradient spread over the object's box, as a brush in the painter's
// coordinates: the columns are filled one by one, each its own object.
QBrush overBox(const QBrush &brush, const QRectF &box)
{
    const QGradient *g = brush.gradient();
    if (!g || g->coordinateMode() == QGradient::LogicalMode)
        return brush;
    QGradient logical = *g;
    logical.setCoordinateMode(QGradient::LogicalMode);
    QBrush out(logical);
    out.setTransform(brush.transform() * QTransform(box.width(), 0, 0, box.height(), box.x(), box.y()));
    return out;
}

} // namespace

void LineSeriesPrivate::addSpans(tavrin::FillEnvelope &env, bool made, const QVector<QPointF> &pts)
{
    if (made) {
        env.addSpans(pts);
        return;
    }
    if (!spanCache)
        spanCache.reset(new tavrin::SpanCache);
    tavrin::SpanCache &c = *spanCache;
    const int n = buffer.size();
    const QPointF *first = buffer.begin();
    const std::array<double, 6> frame = env.frame();
    if (summaries.isValid() && c.changes == summaries.changes() && c.points == first && c.size == n
        && c.frame == frame) {
        env.spans = c.spans;
        env.inside = c.inside;
        return;
    }
    env.addSpans(buffer, &summaries);
    c.changes = summaries.changes();
    c.points = first;
    c.size = n;
    c.frame = frame;
    c.spans = env.spans;
    c.inside = env.inside;
}

// Dense data on an image: each pixel column is filled from the baseline
// (or the other line) to the far end of the rows the line reaches there,
// which, under the line's own column, are the pixels a polygon through
// every point fills. Columns the line crosses without a point take the
// straight line between its neighbours.
void LineSeriesPrivate::fillColumns(QPainter *painter, const tavrin::FillEnvelope &own,
                                    const tavrin::FillEnvelope *other, double by)
{
    using Span = tavrin::FillEnvelope::Span;
    QVector<QRect> rects;
    rects.reserve(own.spans.size());
    if (other) {
        // The other line's rows by column.
        int lo = INT_MAX, hi = INT_MIN;
        for (const Span &s : own.spans) {
            lo = qMin(lo, s.x);
            hi = qMax(hi, s.x);
        }
        const int n = hi - lo + 1;
        QVector<QPair<double, double>> rows(n, qMakePair(qQNaN(), qQNaN()));
        for (const Span &s : other->spans)
            if (s.x >= lo && s.x < lo + n)
                rows[s.x - lo] = qMakePair(s.lo, s.hi);
        for (const Span &s : own.spans) {
            const QPair<double, double> &r = rows.at(s.x - lo);
            if (std::isnan(r.first))
                continue;
            const double top = qMin(s.lo, r.first), bottom = qMax(s.hi, r.second);
            rects.append(QRect(s.x, int(top), 1, qMax(1, int(bottom) - int(top))));
        }
    } else {
        const auto column = [&rects, by](int x, double lo, double hi) {
            const int top = int(qMin(lo, by)), bottom = int(qMax(hi, by));
            if (bottom > top)
                rects.append(QRect(x, top, 1, bottom - top));
        };
        for (int i = 0; i < own.spans.size(); ++i) {
            const Span &s = own.spans.at(i);
            if (i > 0) {
                const Span &p = own.spans.at(i - 1);
                const int step = s.x > p.x ? 1 : -1;
                if (p.run == s.run && qAbs(s.x - p.x) > 1 && s.first.x() != p.last.x()) {
                    for (int x = p.x + step; x != s.x; x += step) {
                        const double t = (x + 0.5 - p.last.x()) / (s.first.x() - p.last.x());
                        const double y = p.last.y() + (s.first.y() - p.last.y()) * t;
                        column(x, y, y);
                    }
                }
            }
            column(s.x, s.lo, s.hi);
        }
    }
    if (rects.isEmpty())
        return;
    // A plain colour on an image is blended straight into its pixels: the
    // raster engine pays about a microsecond for each of the many short
    // runs a ragged top makes.
    tavrin::RasterTarget target;
    if (fillBrush.style() == Qt::SolidPattern && target.bind(painter) && target.scale == 1) {
        const quint32 pixel = fillBrush.color().rgba64().premultiplied().toArgb32();
        quint32 *const bits = target.bits;
        const qptrdiff stride = target.stride;
        const int dx = target.dx, dy = target.dy, width = target.width, height = target.height;
        // A whole column at a time walks down one cache set when the stride
        // is a power of two; a band of a few rows stays in the cache for
        // the columns after. Every blend is the same colour, so the order
        // leaves each pixel as it was. The background repeats down a
        // column: its blend is worked out once.
        constexpr int kBand = 16;
        quint32 seen = 0, made = 0;
        tavrin::RasterTarget::blend(made, pixel);
        for (int band = 0; band < height; band += kBand) {
            const int bandEnd = qMin(band + kBand, height) - 1;
            for (const QRect &r : qAsConst(rects)) {
                const int x = r.left() + dx;
                const int y0 = qMax(r.top() + dy, band), y1 = qMin(r.bottom() + dy, bandEnd);
                if (x < 0 || x >= width || y0 > y1)
                    continue;
                quint32 *p = bits + qptrdiff(y0) * stride + x;
                for (int y = y0; y <= y1; ++y, p += stride) {
                    if (*p != seen) {
                        seen = *p;
                        made = seen;
                        tavrin::RasterTarget::blend(made, pixel);
                    }
                    *p = made;
                }
            }
        }
        return;
    }
    QRect box;
    for (const QRect &r : qAsConst(rects))
        box |= r;
    // The same pixels as rows: the raster engine blends a long run at a
    // time but pays per run, and one-pixel columns are many short runs.
    const int w = box.width(), x0 = box.left();
    QVector<int> top(w, INT_MAX), bottom(w, INT_MIN);
    for (const QRect &r : qAsConst(rects)) {
        top[r.left() - x0] = qMin(top.at(r.left() - x0), r.top());
        bottom[r.left() - x0] = qMax(bottom.at(r.left() - x0), r.bottom() + 1);
    }
    QVector<QRect> runs;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        int start = -1;
        for (int i = 0; i <= w; ++i) {
            const bool in = i < w && top.at(i) <= y && y < bottom.at(i);
            if (in && start < 0)
                start = i;
            else if (!in && start >= 0) {
                runs.append(QRect(x0 + start, y, i - start, 1));
                start = -1;
            }
        }
    }
    painter->setPen(Qt::NoPen);
    painter->setBrush(overBox(fillBrush, box));
    painter->drawRects(runs.constData(), runs.size());
}

void LineSeriesPrivate::drawShaped(QPainter *painter)
{
    const Axis *xa = q->xAxis(), *ya = q->yAxis();
    LineSeries *to = partner(fillTo);
    if (!to)
        to = partner(stackedOn);
    if (to && (to->d->size() < 2 || !to->xAxis() || !to->yAxis()))
        to = nullptr;
    if (filled()) {
        const tavrin::PixelMap mx(xa), my(ya);
        const tavrin::ValueBox box = LineRenderer::scaledBox(xa, ya);
        double left = qMin(mx(box.l), mx(box.r)), right = qMax(mx(box.l), mx(box.r));
        // An axis whose range overflowed has no finite ends to map; its
        // plot still spans its pixels.
        if (!std::isfinite(left) || !std::isfinite(right)) {
            left = 0;
            right = xa->d->length;
        }
        tavrin::FillEnvelope own(mx, my, left, right), other(mx, my, left, right);
        // Over a few points a pixel column an image is filled column by
        // column; vector files and sparse lines get the polygon.
        const bool columns = !LineRenderer::isVectorDevice(painter) && size() > 4 * (right - left);
        QVector<QPointF> pts, theirs;
        const bool made = prepare(pts), theirsMade = to && to->d->prepare(theirs);
        if (columns) {
            addSpans(own, made, pts);
            if (to)
                to->d->addSpans(other, theirsMade, theirs);
        }
        // Zoomed in, the points may be few in the plot however many there are.
        if (columns && own.inside > 3 * qint64(own.spans.size())) {
            fillColumns(painter, own, to ? &other : nullptr, baselinePixel(my));
            if (to && to->isVisible())
                to->d->stroke(painter);
            stroke(painter);
            return;
        }
        own.inside = 0;
        if (made)
            own.add(pts);
        else
            own.add(buffer, &summaries);
        if (to && theirsMade)
            other.add(theirs);
        else if (to)
            other.add(to->d->buffer, &to->d->summaries);
        QPainterPath area;
        area.setFillRule(Qt::WindingFill);
        if (to) {
            // Gaps are bridged: this line forward, the other back.
            QPolygonF ring;
            for (const QPolygonF &run : qAsConst(own.runs))
                ring += run;
            for (int r = other.runs.size() - 1; r >= 0; --r)
                for (int i = other.runs.at(r).size() - 1; i >= 0; --i)
                    ring.append(other.runs.at(r).at(i));
            if (ring.size() > 2)
                area.addPolygon(ring);
        } else {
            const double by = baselinePixel(my);
            for (QPolygonF run : qAsConst(own.runs)) {
                run.append(QPointF(run.last().x(), by));
                run.append(QPointF(run.first().x(), by));
                area.addPolygon(run);
            }
        }
        area.closeSubpath();
        if (!area.isEmpty())
            painter->fillPath(area, fillBrush);
        // The fill's edge runs along the other line, drawn before it and
        // half covered now: it is drawn again, as it was.
        if (to && to->isVisible())
            to->d->stroke(painter);
    }
    stroke(painter);
}

QBrush LineSeries::fillBrush() const
{
    return d->fillBrush;
}

void LineSeries::setFillBrush(const QBrush &brush)
{
    if (brush == d->fillBrush)
        return;
    const bool wasFilled = d->filled();
    d->fillBrush = brush;
    d->changed(wasFilled != d->filled());
    const ChartSeriesPrivate::Busy busy(ChartSeries::d);
    emit fillBrushChanged(brush);
}

double LineSeries::fillBaseline() const
{
    return d->fillBaseline;
}

void LineSeries::setFillBaseline(double y)
{
    if (std::isnan(y)) {
        qWarning("LineSeries::setFillBaseline: a NaN baseline is ignored");
        return;
    }
    if (y == d->fillBaseline)
        return;
    d->fillBaseline = y;
    d->changed(d->filled());
    const ChartSeriesPrivate::Busy busy(ChartSeries::d);
    emit fillBaselineChanged(y);
}

LineSeries *LineSeries::fillTo() const
{
    return d->fillTo.data();
}

bool LineSeries::setFillTo(LineSeries *other)
{
    if (other == this)
        return false;
    if (other != d->fillTo.data()) {
        d->fillTo = other;
        d->changed(d->filled());
    }
    return true;
}

LineSeries::StepMode LineSeries::stepMode() const
{
    return d->stepMode;
}

void LineSeries::setStepMode(StepMode mode)
{
    if (mode == d->stepMode)
        return;
    d->stepMode = mode;
    d->changed(false);
    const ChartSeriesPrivate::Busy busy(ChartSeries::d);
    emit stepModeChanged(mode);
}

LineSeries *LineSeries::stackedOn() const
{
    return d->stackedOn.data();
}

bool LineSeries::setStackedOn(LineSeries *base)
{
    for (LineSeries *s = base; s; s = s->d->stackedOn.data()) {
        if (s == this)
            return false;
    }
    if (base != d->stackedOn.data()) {
        d->stackedOn = base;
        d->changed(true);
    }
    return true;
}
