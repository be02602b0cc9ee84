#ifndef AREAFILL_P_H
#define AREAFILL_P_H

#include "linerenderer_p.h"

#include <QPolygonF>
#include <QtNumeric>
#include <QVector>
#include <array>
#include <climits>
#include <cmath>

namespace tavrin {

// A line reduced, in pixels, to what a fill against it needs: per pixel
// column its first, lowest, highest and last point, in the order they came.
// A fill through those covers the same pixels as one through every point,
// so a million points make a few thousand vertices. Everything left or
// right of the plot is one column each: only the segment that enters the
// plot can show. A point with a NaN ends a run; each run is a polygon of
// its own (truncated to whole pixels, as the line's ends are).
class FillEnvelope
{
public:
    FillEnvelope(const PixelMap &x, const PixelMap &y, double left, double right)
        : m_x(x), m_y(y), m_left(left - 2), m_right(right + 2)
    {
    }

    template <typename Container>
    void add(const Container &pts, const BlockSummaries *sums = nullptr)
    {
        const int n = int(pts.size());
        for (int i = 0; i < n; ++i) {
            if (sums && m_open && i + BlockSummaries::kBlock <= n) {
                const BlockBounds *blk = sums->blockAt(i, n);
                if (blk && blk->any && !blk->holes && key(m_x(blk->minX)) == m_col.key
                    && key(m_x(blk->maxX)) == m_col.key) {
                    // Both maps are monotonic: the block's pixel rows lie
                    // between those of its least and greatest y.
                    const QPointF &end = pts.at(i + BlockSummaries::kBlock - 1);
                    const double ex = m_x(end.x());
                    take(ex, clampY(m_y(blk->minY)));
                    take(ex, clampY(m_y(blk->maxY)));
                    take(ex, clampY(m_y(end.y())));
                    i += BlockSummaries::kBlock - 1;
                    continue;
                }
            }
            const QPointF &p = pts.at(i);
            const double px = m_x(p.x()), py = m_y(p.y());
            // Most points stay in the open column.
            if (px >= m_colLo && px < m_colHi && !std::isnan(py)) {
                take(px, clampY(py));
                continue;
            }
            point(px, py);
        }
        gap();
    }

    // Dense data on an image needs only the spans: the same walk without
    // the vertices, its column in locals.
    template <typename Container>
    void addSpans(const Container &pts, const BlockSummaries *sums = nullptr)
    {
        const int n = int(pts.size());
        int run = 0, k = 0;
        bool open = false;
        double lo = 0, hi = 0, kLo = qQNaN(), kHi = qQNaN();
        QPointF first, last;
        // Blocks start where the summaries' own count does, which dropped
        // points shift.
        int phase = -1;
        for (int j = 0; sums && j < BlockSummaries::kBlock && j + BlockSummaries::kBlock <= n; ++j) {
            if (sums->blockAt(j, n)) {
                phase = j;
                break;
            }
        }
        const auto close = [&] {
            if (open && k != INT_MIN && k != INT_MAX)
                spans.append(Span{k, lo, hi, first, last, run});
            open = false;
        };
        for (int i = 0; i < n; ++i) {
            if (phase >= 0 && open && ((i - phase) & (BlockSummaries::kBlock - 1)) == 0) {
                const BlockBounds *blk = sums->blockAt(i, n);
                if (blk && blk->any && !blk->holes && m_x(blk->minX) >= kLo && m_x(blk->minX) < kHi
                    && m_x(blk->maxX) >= kLo && m_x(blk->maxX) < kHi) {
                    const double a = clampY(m_y(blk->minY)), b = clampY(m_y(blk->maxY));
                    lo = qMin(lo, qMin(a, b));
                    hi = qMax(hi, qMax(a, b));
                    const QPointF &end = pts.at(i + BlockSummaries::kBlock - 1);
                    last = QPointF(m_x(end.x()), clampY(m_y(end.y())));
                    inside += BlockSummaries::kBlock;
                    i += BlockSummaries::kBlock - 1;
                    continue;
                }
            }
            const QPointF &p = pts.at(i);
            const double px = m_x(p.x()), py = m_y(p.y());
            if (px >= kLo && px < kHi && !std::isnan(py)) {
                const double y = clampY(py);
                lo = qMin(lo, y);
                hi = qMax(hi, y);
                last = QPointF(px, y);
                ++inside;
                continue;
            }
            close();
            if (!std::isfinite(px) || std::isnan(py)) {
                ++run;
                kLo = kHi = qQNaN();
                continue;
            }
            open = true;
            k = key(px);
            const bool inPlot = k != INT_MIN && k != INT_MAX;
            kLo = inPlot ? k : qQNaN();
            kHi = inPlot ? k + 1.0 : qQNaN();
            inside += inPlot;
            lo = hi = clampY(py);
            first = last = QPointF(px, lo);
        }
        close();
    }

    // What the spans depend on besides the points: the maps and the plot.
    std::array<double, 6> frame() const
    {
        return {m_x.offset, m_x.factor, m_y.offset, m_y.factor, m_left, m_right};
    }

    QVector<QPolygonF> runs;

    // Per pixel column inside the plot: the rows the line reaches there and
    // its ends, in the order of the points; `run` counts the gaps before it.
    struct Span {
        int x;
        double lo, hi;
        QPointF first, last;
        int run;
    };
    QVector<Span> spans;
    // How many points fell into columns inside the plot.
    qint64 inside = 0;

private:
    struct Vertex {
        QPointF p;
        int seq;
    };
    struct Column {
        int key = 0;
        Vertex first, lo, hi, last;
    };

    int key(double px) const
    {
        if (px < m_left)
            return INT_MIN;
        if (px > m_right)
            return INT_MAX;
        return int(std::floor(px));
    }
    static double clampY(double py) { return qBound(-1e6, py, 1e6); }

    void point(double px, double py)
    {
        if (!std::isfinite(px) || std::isnan(py)) {
            gap();
            return;
        }
        py = clampY(py);
        // Far off the plot the painter's own limits would bite; this far
        // out, the slope of a segment entering the plot barely changes.
        px = qBound(m_left - 1e6, px, m_right + 1e6);
        const int k = key(px);
        if (m_open && k == m_col.key) {
            take(px, py);
            return;
        }
        closeColumn();
        m_open = true;
        m_col.key = k;
        const bool inPlot = k != INT_MIN && k != INT_MAX;
        m_colLo = inPlot ? k : qQNaN();
        m_colHi = inPlot ? k + 1.0 : qQNaN();
        m_seq = 0;
        const Vertex v{QPointF(px, py), 0};
        m_col.first = m_col.lo = m_col.hi = m_col.last = v;
    }

    void take(double px, double py)
    {
        px = qBound(m_left - 1e6, px, m_right + 1e6);
        const Vertex v{QPointF(px, py), ++m_seq};
        if (py < m_col.lo.p.y())
            m_col.lo = v;
        if (py > m_col.hi.p.y())
            m_col.hi = v;
        m_col.last = v;
    }

    void put(const Vertex &v) { m_run.append(QPointF(std::trunc(v.p.x()), std::trunc(v.p.y()))); }

    void closeColumn()
    {
        if (!m_open)
            return;
        m_open = false;
        const Column &c = m_col;
        if (c.key != INT_MIN && c.key != INT_MAX) {
            spans.append(Span{c.key, c.lo.p.y(), c.hi.p.y(), c.first.p, c.last.p, int(runs.size())});
            inside += c.last.seq + 1;
        }
        put(c.first);
        const Vertex *a = &c.lo, *b = &c.hi;
        if (b->seq < a->seq)
            std::swap(a, b);
        if (a->seq != c.first.seq && a->seq != c.last.seq)
            put(*a);
        if (b->seq != c.first.seq && b->seq != c.last.seq && b->seq != a->seq)
            put(*b);
        if (c.last.seq != c.first.seq)
            put(c.last);
    }

    void gap()
    {
        closeColumn();
        m_colLo = m_colHi = qQNaN();
        if (!m_run.isEmpty()) {
            runs.append(m_run);
            m_run.clear();
        }
    }

    PixelMap m_x, m_y;
    double m_left, m_right;
    bool m_open = false;
    // The open column's pixel range; NaN when none is open or it lies off
    // the plot.
    double m_colLo = qQNaN(), m_colHi = qQNaN();
    Column m_col;
    int m_seq = 0;
    QPolygonF m_run;
};

// The spans of a series' stored points, kept while neither the points (by
// their summaries' count of changes) nor the frame moved: a replot of the
// same data and view skips the walk.
struct SpanCache {
    quint64 changes = 0;
    const QPointF *points = nullptr;
    int size = -1;
    std::array<double, 6> frame{};
    QVector<FillEnvelope::Span> spans;
    qint64 inside = 0;
};

} // namespace tavrin

#endif // AREAFILL_P_H
