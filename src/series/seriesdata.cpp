#include "seriesdata_p.h"
#include "chartseries_p.h"

#ifdef __SSE2__
#include <emmintrin.h>
#include <cmath>
#include <limits>
#endif

namespace tavrin {

namespace {

// Equal values differ only in a zero's sign, and the point-by-point box
// keeps the first one met, which lanes running side by side lose track of.
double firstZero(const QPointF *pts, const double *x, const double *y, int stride, int count,
                 bool ofY)
{
    for (int i = 0; i < count; ++i) {
        const double px = pts ? pts[i].x() : x[qptrdiff(i) * stride];
        const double py = pts ? pts[i].y() : y[qptrdiff(i) * stride];
        if (std::isnan(px) || std::isnan(py))
            continue;
        const double v = ofY ? py : px;
        if (v == 0.0)
            return v;
    }
    return 0.0;
}

BlockBounds scalarBox(QPointF *out, const double *x, const double *y, int stride, int count)
{
    BlockBounds box;
    for (int i = 0; i < count; ++i) {
        const double px = x[qptrdiff(i) * stride], py = y[qptrdiff(i) * stride];
        if (out)
            out[i] = QPointF(px, py);
        box.add(px, py);
    }
    return box;
}

#ifdef __SSE2__
BlockBounds finish(const __m128d &l, const __m128d &h, QPointF *out, const double *x,
                   const double *y, int stride, int count)
{
    double lv[2], hv[2];
    _mm_storeu_pd(lv, l);
    _mm_storeu_pd(hv, h);
    BlockBounds box;
    box.any = true;
    box.minX = lv[0];
    box.minY = lv[1];
    box.maxX = hv[0];
    box.maxY = hv[1];
    for (double *bound : {&box.minX, &box.maxX, &box.minY, &box.maxY})
        if (*bound == 0.0)
            *bound = firstZero(out, x, y, stride, count, bound == &box.minY || bound == &box.maxY);
    return box;
}

// Two arrays: the lanes hold two x or two y values, and an unordered
// comparison of x with y finds a NaN in either.
template <bool Stream>
BlockBounds planarBox(QPointF *out, const double *x, const double *y, int count)
{
    __m128d lox0 = _mm_set1_pd(std::numeric_limits<double>::infinity()), lox1 = lox0;
    __m128d loy0 = lox0, loy1 = lox0;
    __m128d hix0 = _mm_set1_pd(-std::numeric_limits<double>::infinity()), hix1 = hix0;
    __m128d hiy0 = hix0, hiy1 = hix0;
    __m128d bad = _mm_setzero_pd();
    double *o = reinterpret_cast<double *>(out);
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128d x0 = _mm_loadu_pd(x + i), x1 = _mm_loadu_pd(x + i + 2);
        const __m128d y0 = _mm_loadu_pd(y + i), y1 = _mm_loadu_pd(y + i + 2);
        if (Stream) {
            double *p = o + 2 * qptrdiff(i);
            _mm_stream_pd(p, _mm_unpacklo_pd(x0, y0));
            _mm_stream_pd(p + 2, _mm_unpackhi_pd(x0, y0));
            _mm_stream_pd(p + 4, _mm_unpacklo_pd(x1, y1));
            _mm_stream_pd(p + 6, _mm_unpackhi_pd(x1, y1));
        } else if (o) {
            double *p = o + 2 * qptrdiff(i);
            _mm_storeu_pd(p, _mm_unpacklo_pd(x0, y0));
            _mm_storeu_pd(p + 2, _mm_unpackhi_pd(x0, y0));
            _mm_storeu_pd(p + 4, _mm_unpacklo_pd(x1, y1));
            _mm_storeu_pd(p + 6, _mm_unpackhi_pd(x1, y1));
        }
        bad = _mm_or_pd(bad, _mm_or_pd(_mm_cmpunord_pd(x0, y0), _mm_cmpunord_pd(x1, y1)));
        lox0 = _mm_min_pd(lox0, x0);
        lox1 = _mm_min_pd(lox1, x1);
        loy0 = _mm_min_pd(loy0, y0);
        loy1 = _mm_min_pd(loy1, y1);
        hix0 = _mm_max_pd(hix0, x0);
        hix1 = _mm_max_pd(hix1, x1);
        hiy0 = _mm_max_pd(hiy0, y0);
        hiy1 = _mm_max_pd(hiy1, y1);
    }
    for (; i < count; ++i) {
        const __m128d px = _mm_set1_pd(x[i]), py = _mm_set1_pd(y[i]);
        if (o)
            _mm_storeu_pd(o + 2 * qptrdiff(i), _mm_unpacklo_pd(px, py));
        bad = _mm_or_pd(bad, _mm_cmpunord_pd(px, py));
        lox0 = _mm_min_pd(lox0, px);
        loy0 = _mm_min_pd(loy0, py);
        hix0 = _mm_max_pd(hix0, px);
        hiy0 = _mm_max_pd(hiy0, py);
    }
    if (_mm_movemask_pd(bad))
        return scalarBox(nullptr, x, y, 1, count);
    // Each pair of lanes folded into one: x in the low half, y in the high.
    const __m128d lx = _mm_min_pd(lox0, lox1), ly = _mm_min_pd(loy0, loy1);
    const __m128d hx = _mm_max_pd(hix0, hix1), hy = _mm_max_pd(hiy0, hiy1);
    const __m128d l = _mm_min_pd(_mm_unpacklo_pd(lx, ly), _mm_unpackhi_pd(lx, ly));
    const __m128d h = _mm_max_pd(_mm_unpacklo_pd(hx, hy), _mm_unpackhi_pd(hx, hy));
    return finish(l, h, out, x, y, 1, count);
}

// Points already in (x, y) pairs, as in a QVector<QPointF>.
BlockBounds pairedBox(QPointF *out, const double *xy, int count)
{
    __m128d lo0 = _mm_set1_pd(std::numeric_limits<double>::infinity()), lo1 = lo0;
    __m128d hi0 = _mm_set1_pd(-std::numeric_limits<double>::infinity()), hi1 = hi0;
    __m128d bad = _mm_setzero_pd();
    double *o = reinterpret_cast<double *>(out);
    int i = 0;
    for (; i + 2 <= count; i += 2) {
        const __m128d v0 = _mm_loadu_pd(xy + 2 * qptrdiff(i)), v1 = _mm_loadu_pd(xy + 2 * qptrdiff(i) + 2);
        if (o) {
            _mm_storeu_pd(o + 2 * qptrdiff(i), v0);
            _mm_storeu_pd(o + 2 * qptrdiff(i) + 2, v1);
        }
        bad = _mm_or_pd(bad, _mm_or_pd(_mm_cmpunord_pd(v0, v0), _mm_cmpunord_pd(v1, v1)));
        lo0 = _mm_min_pd(lo0, v0);
        lo1 = _mm_min_pd(lo1, v1);
        hi0 = _mm_max_pd(hi0, v0);
        hi1 = _mm_max_pd(hi1, v1);
    }
    if (i < count) {
        const __m128d v = _mm_loadu_pd(xy + 2 * qptrdiff(i));
        if (o)
            _mm_storeu_pd(o + 2 * qptrdiff(i), v);
        bad = _mm_or_pd(bad, _mm_cmpunord_pd(v, v));
        lo0 = _mm_min_pd(lo0, v);
        hi0 = _mm_max_pd(hi0, v);
    }
    if (_mm_movemask_pd(bad))
        return scalarBox(nullptr, xy, xy + 1, 2, count);
    return finish(_mm_min_pd(lo0, lo1), _mm_max_pd(hi0, hi1), out, xy, xy + 1, 2, count);
}
#endif

} // namespace

BlockBounds copyPoints(QPointF *out, const double *x, const double *y, int stride, int count)
{
#ifdef __SSE2__
    // Large blocks go past the cache: nothing reads the old contents of
    // the space they fill.
    if (count >= 16384 && stride == 1 && out && !(quintptr(out) & 15)) {
        const BlockBounds box = planarBox<true>(out, x, y, count);
        _mm_sfence();
        return box;
    }
    if (count > 0 && stride == 1)
        return planarBox<false>(out, x, y, count);
    if (count > 0 && stride == 2 && y == x + 1)
        return pairedBox(out, x, count);
#endif
    return scalarBox(out, x, y, stride, count);
}

QList<QPointF> &PointStream::asList()
{
    if (!list) {
        list = new QList<QPointF>;
        list->reserve(buffer.size());
        for (const QPointF &p : buffer)
            list->append(p);
        buffer.release();
    }
    return *list;
}

ChartSeriesPrivate *PointStream::series() const
{
    return m_series->ChartSeries::d;
}

int PointStream::appendBlock(const double *x, const double *y, int stride, int count)
{
    if (!(list ? series()->fits(*list, count) : series()->fits(buffer, count)))
        return 0;
    const int first = size();
    const BlockBounds box = with([&](auto &pts) { return appendXY(pts, x, y, stride, count, RowTraits<QPointF>::fromXY); });
    if (summaries.isValid())
        for (int i = 0; i < count; ++i)
            summaries.append(first + i, x[qptrdiff(i) * stride], y[qptrdiff(i) * stride]);
    const int over = maximumPoints > 0 ? size() - maximumPoints : 0;
    if (over <= 0) {
        series()->widen(box);
        return count;
    }
    // One bounds change for the block and the points it pushes out. Its
    // own points that go at once never were rows: only older rows are
    // reported removed, and only the rows that stay added.
    const int old = qMin(over, first);
    dropOldest(over, box, old);
    return count - (over - old);
}

void PointStream::dropOver(double x, double y)
{
    BlockBounds pending;
    pending.add(x, y);
    const int over = size() - maximumPoints;
    dropOldest(over, pending, over);
}

void PointStream::dropOldest(int count, BlockBounds pending, int reported)
{
    dropping(count);
    ChartSeriesPrivate *d = series();
    pending.add(d->minX, d->minY);
    pending.add(d->maxX, d->maxY);
    const BlockBounds left = with([&](auto &pts) { return dropFront(pts, count, pending, summaries); });
    // A list handed out by reference may change under any summary.
    if (list)
        summaries.invalidate();
    d->setBounds(left);
    // Rows a running clear() announced gone are not reported again.
    const int announced = qMin(count, d->leaving);
    d->leaving -= announced;
    if (reported - announced > 0) {
        const ChartSeriesPrivate::Busy busy(d);
        emit m_series->pointsRemoved(reported - announced);
    }
}

bool PointStream::setMaximumPoints(int count)
{
    count = qMax(count, 0);
    if (count == maximumPoints)
        return false;
    maximumPoints = count;
    if (count > 0 && size() > count)
        dropOldest(size() - count, BlockBounds(), size() - count);
    return true;
}

int PointStream::removeBefore(double x)
{
    const int k = with([x](const auto &pts) { return countBefore(pts, x); });
    if (k > 0)
        dropOldest(k, BlockBounds(), k);
    return k;
}

void PointStream::clear()
{
    clearing();
    ChartSeriesPrivate *d = series();
    d->clearRowsBy([this](int k) {
        dropping(k);
        with([k](auto &pts) { clearFront(pts, k); });
        summaries.invalidate();
    });
    // Bounds worked out again while cleared() receivers ran took in the
    // points that went since.
    if (size() > 0) {
        BlockBounds box;
        with([&box](const auto &pts) {
            for (const QPointF &p : pts)
                box.add(p.x(), p.y());
        });
        d->setBounds(box);
    }
}

} // namespace tavrin

double tavrin::interpolateAt(const PointStream &stream, double x)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const int n = stream.size();
    if (n == 0 || std::isnan(x))
        return nan;
    const QPointF &last = stream.at(n - 1);
    if (x == last.x())
        return last.y();
    // Invariant: x(lo) <= x < x(hi), so each step keeps a segment that
    // spans x, sorted or not.
    if (!(stream.at(0).x() <= x) || !(x < last.x()))
        return nan;
    int lo = 0, hi = n - 1;
    while (hi - lo > 1) {
        const int mid = lo + (hi - lo) / 2;
        if (stream.at(mid).x() <= x)
            lo = mid;
        else
            hi = mid;
    }
    const QPointF &a = stream.at(lo), &b = stream.at(hi);
    if (x == a.x())
        return a.y();
    // A NaN end (a gap) gives NaN through the arithmetic.
    return a.y() + (b.y() - a.y()) * ((x - a.x()) / (b.x() - a.x()));
}
