#ifndef LINERENDERER_ANTIALIASED_P_H
#define LINERENDERER_ANTIALIASED_P_H

// LineRenderer's walk for antialiased lines on an image, which hands
// segments and piles to AntialiasedLines; included by linerenderer_p.h.

namespace tavrin {

template <typename Container>
void LineRenderer::antialiasedPolyline(const Container &pts, const BlockSummaries *sums)
{
    const int n = int(pts.size());
    const double l = m_box.l, r = m_box.r, t = m_box.t, bt = m_box.b;
    const PixelMap mx = m_x, my = m_y;
    auto inside = [=](const QPointF &p) { return p.x() > l && p.x() < r && p.y() > t && p.y() < bt; };
    // Where blocks of the summaries start, modulo their size.
    int phase = -1;
    for (int k = 0; sums && k < BlockSummaries::kBlock && k < n && phase < 0; ++k)
        if (sums->blockAt(k, n))
            phase = k;
    auto line = [this](int x0, int y0, int x1, int y1) {
        if (m_aa.fits(x0, y0) && m_aa.fits(x1, y1)) {
            drawBatch();
            m_aa.line(x0, y0, x1, y1);
        } else {
            push(QLine(x0, y0, x1, y1));
        }
    };
    QPointF a = pts.at(0);
    bool aInside = inside(a);
    int ax = aInside ? int(mx(a.x())) : 0;
    int ay = aInside ? int(my(a.y())) : 0;
    for (int i = 1; i < n; ++i) {
        const QPointF b = pts.at(i);
        const bool bInside = inside(b);
        if (!aInside || !bInside) {
            segment(a, b);
            if (bInside) {
                ax = int(mx(b.x()));
                ay = int(my(b.y()));
            }
            a = b;
            aInside = bInside;
            continue;
        }
        const int bx = int(mx(b.x()));
        const int by = int(my(b.y()));
        if (bx != ax) {
            line(ax, ay, bx, by);
            ax = bx;
            ay = by;
            a = b;
            continue;
        }
        // A column run: its first rows wait until it is known to be a pile.
        int rows[kPile];
        int count = 0;
        rows[count++] = by;
        int last = by;
        int j = i + 1;
        for (; j < n && count < kPile; ++j) {
            const QPointF c = pts.at(j);
            if (!inside(c) || int(mx(c.x())) != ax)
                break;
            rows[count++] = last = int(my(c.y()));
        }
        if (count == kPile) {
            drawBatch();
            AntialiasedLines::Pile pile = m_aa.pile(ax, ay);
            for (int k = 0; k < count; ++k)
                pile.to(rows[k]);
            pile.counted(count);
            const QPointF *raw = rawPoints(pts);
            j = raw ? pileUp(RawPoints{raw}, j, n, pile, sums, phase)
                    : pileUp(pts, j, n, pile, sums, phase);
            m_aa.finish(pile);
            last = pile.last();
        } else {
            int y = ay;
            for (int k = 0; k < count; ++k) {
                line(ax, y, ax, rows[k]);
                y = rows[k];
            }
        }
        i = j - 1;
        a = pts.at(i);
        ay = last;
    }
}

template <typename Points>
void LineRenderer::rowIndices(const Points &pts, int first, int count, const PixelMap &my, int base, qint64 *out,
                       int *lo, int *hi)
{
    int least = INT_MAX, most = INT_MIN;
    for (int k = 0; k < count; ++k) {
        const int i = int(my(pts.at(first + k).y())) + base;
        out[k] = i;
        least = qMin(least, i);
        most = qMax(most, i);
    }
    *lo = least;
    *hi = most;
}

template <typename Points>
int LineRenderer::pileUp(const Points &pts, int j, int n, AntialiasedLines::Pile &kept, const BlockSummaries *sums,
           int phase)
{
    const double l = m_box.l, r = m_box.r, t = m_box.t, bt = m_box.b;
    const PixelMap mx = m_x, my = m_y;
    const int column = kept.column();
    constexpr int kBlock = BlockSummaries::kBlock;
    AntialiasedLines::Pile pile = kept;
    while (j < n) {
        if (pile.full()) {
            m_aa.finish(pile);
            pile = m_aa.pile(column, pile.last());
        }
        const int into = phase < 0 ? 0 : ((j - phase) % kBlock + kBlock) % kBlock;
        if (phase >= 0 && into == 0) {
            const BlockBounds *blk = sums->blockAt(j, n);
            if (blk && !blk->holes && blk->any && blk->minX > l && blk->maxX < r && blk->minY > t
                && blk->maxY < bt && int(mx(blk->minX)) == column && int(mx(blk->maxX)) == column) {
#if defined(__SSE2__)
                if constexpr (std::is_same<Points, RawPoints>::value) {
                    pile.runMapped(reinterpret_cast<const double *>(pts.p + j), kBlock, my.factor, my.offset);
                } else
#endif
                {
                    qint64 rows[kBlock];
                    int lo, hi;
                    rowIndices(pts, j, kBlock, my, pile.base(), rows, &lo, &hi);
                    pile.cover(lo, hi);
                    pile.run(rows, kBlock);
                }
                pile.counted(kBlock);
                j += kBlock;
                continue;
            }
        }
        const int start = j;
        for (const int stop = qMin(n, j + kBlock - into); j < stop; ++j) {
            const QPointF &c = pts.at(j);
            if (!(c.x() > l && c.x() < r && c.y() > t && c.y() < bt) || int(mx(c.x())) != column)
                break;
            pile.to(int(my(c.y())));
        }
        pile.counted(j - start);
        if (j < n && j - start < kBlock - into)
            break;
    }
    kept = pile;
    return j;
}

} // namespace tavrin

#endif // LINERENDERER_ANTIALIASED_P_H
