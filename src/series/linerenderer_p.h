#ifndef LINERENDERER_P_H
#define LINERENDERER_P_H

#include "antialiasedlines_p.h"
#include "axis.h"
#include "axis_p.h"
#include "geometry_p.h"
#include "rastertarget_p.h"
#include "seriesdata_p.h"

#include <QLine>
#include <QPaintEngine>
#include <QPainter>
#include <QPointF>
#include <QVector>
#include <climits>
#include <cmath>
#include <cstring>
#include <type_traits>


namespace tavrin {

// An axis' value-to-pixel map read once per draw: the same arithmetic as
// Axis::pointToPixel() without a call per coordinate; `s` maps to device
// pixels.
struct PixelMap {
    double offset = 0, factor = 0;
    explicit PixelMap(const Axis *axis, double s = 1.0)
        : offset(axis->d->offset * s),
          factor((axis->d->type == Axis::atLeft || axis->d->type == Axis::atRight ? -axis->d->scale
                                                                                  : axis->d->scale)
                 * s)
    {
    }
    double operator()(double v) const { return offset + v * factor; }
};

// Draws a polyline segment by segment: one visibility test in value space
// per segment, ends truncated toward zero to whole pixels, lines batched
// into drawLines() calls. With a thin aliased pen, consecutive segments
// that stay inside one pixel column are merged into the single vertical run
// they cover, which paints the same pixels at a fraction of the cost.
// Under a scaling painter (a high-density image) the same is done on the
// device's pixel grid and the ends are handed back in logical coordinates.
// Antialiased on an image, segments are blended by AntialiasedLines, a
// column run of several as one pile.
class LineRenderer
{
public:
    LineRenderer(QPainter *painter, const Axis *x, const Axis *y)
        : m_painter(painter), m_scale(deviceScale(painter)), m_x(x, m_scale), m_y(y, m_scale),
          m_box(scaledBox(x, y))
    {
        const QPen pen = painter->pen();
        // A vector file keeps every line as an element of its own, so runs
        // are merged there whatever the pen and antialiasing: the union of
        // the solid strokes down one column is the stroke of the run.
        const bool antialiased = painter->testRenderHint(QPainter::Antialiasing);
        const bool vector = isVectorDevice(painter);
        m_merge = pen.style() == Qt::SolidLine
            && ((pen.widthF() <= 1.0 && !antialiased) || vector);
        // On an antialiased screen the many segments down one column
        // overdraw each other until every pixel column the pen touches is
        // solid; a run of several segments is drawn that wide to match.
        m_wideRuns = m_merge && vector && antialiased;
        if (m_wideRuns) {
            m_widePen = pen;
            m_widePen.setWidthF(2 * std::ceil(qMax(pen.widthF(), 1.0) / 2));
        }
        // An opaque single colour gives the union of what is drawn whatever
        // the order, so a column run can be filled as a one-pixel rectangle
        // (a plain span fill) instead of being walked pixel by pixel by the
        // line stroker.
        m_fillRuns = m_merge && pen.capStyle() == Qt::SquareCap
            && pen.brush().style() == Qt::SolidPattern && pen.color().alpha() == 255
            && painter->compositionMode() == QPainter::CompositionMode_SourceOver
            && painter->paintEngine() && painter->paintEngine()->type() == QPaintEngine::Raster
            && painter->combinedTransform().isIdentity();
        m_color = pen.color();
        // At twice the density a run is a device rectangle two pixels wide
        // from the row above its top to its bottom (the square cap reaching
        // half a logical pixel), written into the image; a segment from one
        // run into the next column waits for that run, and is left out when
        // both runs cover every pixel it can reach.
        m_wide = m_merge && !vector && m_scale == 2.0 && pen.capStyle() == Qt::SquareCap
            && pen.brush().style() == Qt::SolidPattern && pen.color().rgba64().isOpaque()
            && !pen.isCosmetic() && pen.widthF() == 1.0 && m_target.bind(painter);
        if (m_wide)
            m_pixel = pen.color().rgba64().toArgb32();
        if (antialiased && !vector && !m_box.empty) {
            // Checked before any conversion: a view without a scale yet
            // gives NaN pixels, which have no int.
            const double top = m_y(m_box.t), bottom = m_y(m_box.b);
            m_direct = pixelSafe(m_x(m_box.l)) && pixelSafe(m_x(m_box.r)) && pixelSafe(top) && pixelSafe(bottom);
            if (m_direct) {
                const int y0 = int(top), y1 = int(bottom);
                m_direct = std::abs(y1 - y0) < (1 << 16) && m_aa.bind(painter, qMin(y0, y1), qMax(y0, y1));
            }
        }
        if (m_scale != 1.0)
            m_linesF.reserve(kBatch);
        else
            m_lines.reserve(kBatch);
    }

    ~LineRenderer() { flush(); }

    // The visible box in the axes' transform units, the units the points
    // handed in must have: log10 of the values on a logarithmic axis.
    static ValueBox scaledBox(const Axis *x, const Axis *y)
    {
        ValueBox v;
        v.set(x->d->scaleMin(), y->d->scaleMin(), x->d->scaleSpan(), y->d->scaleSpan());
        return v;
    }

    static bool isVectorDevice(const QPainter *painter)
    {
        const QPaintEngine *engine = painter->paintEngine();
        if (!engine)
            return false;
        switch (engine->type()) {
        case QPaintEngine::SVG:
        case QPaintEngine::Pdf:
        case QPaintEngine::Picture:
        case QPaintEngine::MacPrinter:
        case QPaintEngine::Windows:
            return true;
        default:
            return false;
        }
    }

    // Value-space test for the segment a-b; flat boxes get 0.01 units so
    // horizontal and vertical segments still count.
    bool visible(const QPointF &a, const QPointF &b) const
    {
        double w = b.x() - a.x();
        double h = b.y() - a.y();
        if (w == 0)
            w = 0.01;
        if (h == 0)
            h = 0.01;
        return m_box.intersects(a.x(), a.y(), w, h);
    }

    void segment(const QPointF &a, const QPointF &b)
    {
        if (std::isnan(a.x()) || std::isnan(a.y()) || std::isnan(b.x()) || std::isnan(b.y())
            || !visible(a, b)) {
            endRun();
            return;
        }
        double x0 = m_x(a.x()), y0 = m_y(a.y());
        double x1 = m_x(b.x()), y1 = m_y(b.y());
        if (!(pixelSafe(x0) && pixelSafe(y0) && pixelSafe(x1) && pixelSafe(y1))) {
            if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)
                || !clipToPixelLimit(x0, y0, x1, y1)) {
                endRun();
                return;
            }
        }
        addLine(int(x0), int(y0), int(x1), int(y1));
    }

    // The whole polyline: each point is converted once and the previous
    // end is carried over. Two ends strictly inside the visible box make a
    // visible segment whose pixels are in range, so the common case needs
    // neither the box test nor the overflow guards. The column run lives in
    // locals while the fast path owns it.
    //
    // With block summaries of pts (valid for exactly these points), a run
    // takes in a whole block at once when the block lies strictly inside
    // the box, has no NaN and maps into the run's column: both maps are
    // monotonic, so the block's pixel rows span exactly from the row of its
    // least to that of its greatest y, and the run ends at its last point.
    template <typename Container>
    void polyline(const Container &pts, const BlockSummaries *sums = nullptr)
    {
        const int n = int(pts.size());
        const double l = m_box.l, r = m_box.r, t = m_box.t, bt = m_box.b;
        const PixelMap mx = m_x, my = m_y;
        // The shortcut relies on the visible box mapping into the pixel
        // range; a transform out of step with the range takes the slow way.
        const bool boxMapsSafely = pixelSafe(mx(l)) && pixelSafe(mx(r)) && pixelSafe(my(t))
            && pixelSafe(my(bt));
        if (n < 2 || m_box.empty || !boxMapsSafely) {
            for (int i = 1; i < n; ++i)
                segment(pts.at(i - 1), pts.at(i));
            return;
        }
        if (m_direct) {
            antialiasedPolyline(pts, sums);
            return;
        }
        QPointF a = pts.at(0);
        bool aInside = a.x() > l && a.x() < r && a.y() > t && a.y() < bt;
        int ax = aInside ? int(mx(a.x())) : 0;
        int ay = aInside ? int(my(a.y())) : 0;
        for (int i = 1; i < n; ++i) {
            const QPointF b = pts.at(i);
            const bool bInside = b.x() > l && b.x() < r && b.y() > t && b.y() < bt;
            if (aInside && bInside) {
                const int bx = int(mx(b.x()));
                const int by = int(my(b.y()));
                if (m_merge && bx == ax && m_run && m_runX == ax && m_runEndY == ay) {
                    // Stay in the column run as long as the points do.
                    int lo = m_runMin, hi = m_runMax, y = by;
                    lo = qMin(lo, y);
                    hi = qMax(hi, y);
                    int j = i + 1;
                    for (; j < n; ++j) {
                        if (sums) {
                            const BlockBounds *blk = sums->blockAt(j, n);
                            if (blk && !blk->holes && blk->any && blk->minX > l && blk->maxX < r
                                && blk->minY > t && blk->maxY < bt && int(mx(blk->minX)) == bx
                                && int(mx(blk->maxX)) == bx) {
                                const int ya = int(my(blk->minY)), yb = int(my(blk->maxY));
                                lo = qMin(lo, qMin(ya, yb));
                                hi = qMax(hi, qMax(ya, yb));
                                j += BlockSummaries::kBlock - 1;
                                y = int(my(pts.at(j).y()));
                                continue;
                            }
                        }
                        const QPointF c = pts.at(j);
                        if (!(c.x() > l && c.x() < r && c.y() > t && c.y() < bt))
                            break;
                        if (int(mx(c.x())) != bx)
                            break;
                        y = int(my(c.y()));
                        lo = qMin(lo, y);
                        hi = qMax(hi, y);
                    }
                    m_runMin = lo;
                    m_runMax = hi;
                    m_runEndY = y;
                    m_runSegments += j - i;
                    i = j - 1;
                    a = pts.at(i);
                    ax = bx;
                    ay = y;
                    aInside = true;
                    continue;
                }
                addLine(ax, ay, bx, by);
                ax = bx;
                ay = by;
            } else {
                segment(a, b);
                if (bInside) {
                    ax = int(mx(b.x()));
                    ay = int(my(b.y()));
                }
            }
            a = b;
            aInside = bInside;
        }
    }

    void flush()
    {
        endRun();
        releasePending();
        if (!m_lines.isEmpty()) {
            m_painter->drawLines(m_lines.constData(), m_lines.size());
            m_lines.resize(0);
        }
        if (!m_wideLines.isEmpty()) {
            const QPen pen = m_painter->pen();
            m_painter->setPen(m_widePen);
            m_painter->drawLines(m_wideLines.constData(), m_wideLines.size());
            m_painter->setPen(pen);
            m_wideLines.resize(0);
        }
        if (!m_linesF.isEmpty()) {
            m_painter->drawLines(m_linesF.constData(), m_linesF.size());
            m_linesF.resize(0);
        }
    }

private:
    static constexpr int kBatch = 4096;
    // Fewer segments down a column are drawn one by one, so a line of under
    // about two points per pixel column comes out exactly as it always did.
    static constexpr int kPile = 3;

    // polyline() for m_direct: segments inside the image are blended by
    // m_aa in order, after whatever waits in the batch; each column run of
    // kPile segments or more goes in as one pile.
    template <typename Container>
    void antialiasedPolyline(const Container &pts, const BlockSummaries *sums);

    // Points in one array, read without the container's bookkeeping.
    struct RawPoints {
        const QPointF *p;
        const QPointF &at(int i) const { return p[i]; }
    };
    static const QPointF *rawPoints(const PointBuffer &pts) { return pts.begin(); }
    static const QPointF *rawPoints(const QVector<QPointF> &pts) { return pts.constData(); }
    template <typename Container>
    static const QPointF *rawPoints(const Container &)
    {
        return nullptr;
    }

    // The rows of count points from `first` on plus base, with their least
    // and greatest.
    template <typename Points>
    static void rowIndices(const Points &pts, int first, int count, const PixelMap &my, int base, qint64 *out,
                           int *lo, int *hi);

    // Adds the points from j on that stay in the pile's column to it and
    // returns the index of the first that does not. A block of the
    // summaries (which start at `phase` modulo their size) lying inside the
    // box and the column needs no test per point. The pile's counts live in
    // locals while the walk lasts.
    template <typename Points>
    int pileUp(const Points &pts, int j, int n, AntialiasedLines::Pile &kept, const BlockSummaries *sums,
               int phase);

    void drawBatch()
    {
        if (!m_lines.isEmpty()) {
            m_painter->drawLines(m_lines.constData(), m_lines.size());
            m_lines.resize(0);
        }
    }

    void addLine(int x0, int y0, int x1, int y1)
    {
        if (m_merge && x0 == x1) {
            if (m_run && m_runX == x0 && m_runEndY == y0) {
                ++m_runSegments;
                m_runMin = qMin(m_runMin, y1);
                m_runMax = qMax(m_runMax, y1);
                m_runEndY = y1;
                return;
            }
            endRun();
            m_run = true;
            m_runSegments = 1;
            m_runX = x0;
            m_runStartY = y0;
            m_runMin = qMin(y0, y1);
            m_runMax = qMax(y0, y1);
            m_runEndY = y1;
            return;
        }
        endRun();
        if (m_wide && m_lastRun.valid && m_lastRun.x == x0 && m_lastRun.end == y0 && qAbs(x1 - x0) == 1) {
            releasePending();
            m_pending = QLine(x0, y0, x1, y1);
            m_pendingFrom = m_lastRun;
            m_hasPending = true;
            m_lastRun.valid = false;
            return;
        }
        push(QLine(x0, y0, x1, y1));
    }

    void endRun()
    {
        if (!m_run)
            return;
        m_run = false;
        if (m_wide && m_runMin < m_runMax) {
            const Extent run{m_runX, m_runMin, m_runMax, m_runEndY, true};
            if (m_hasPending) {
                m_hasPending = false;
                const Extent &from = m_pendingFrom;
                const int lo = qMin(m_pending.y1(), m_pending.y2()), hi = qMax(m_pending.y1(), m_pending.y2());
                // The segment's pixels have centres within the square
                // cap's reach of it: columns x - 1 to x + 1 over the next
                // one, rows lo - 1 to hi, which the two runs cover when
                // both span its rows.
                const bool covered = m_pending.x2() == run.x && m_pending.y2() == m_runStartY
                    && lo >= qMax(from.lo, run.lo) && hi <= qMin(from.hi, run.hi);
                if (!covered)
                    pushLine(m_pending);
            }
            fillWide(run);
            m_lastRun = run;
            return;
        }
        if (m_fillRuns)
            m_painter->fillRect(QRect(m_runX, m_runMin, 1, m_runMax - m_runMin + 1), m_color);
        else if (m_wideRuns && m_runSegments > 1)
            m_wideLines.append(QLine(m_runX, m_runMin, m_runX, m_runMax));
        else
            push(QLine(m_runX, m_runMin, m_runX, m_runMax));
    }

    struct Extent {
        int x, lo, hi, end;
        bool valid;
    };

    // Device columns x - 1 and x, rows lo - 1 to hi, clipped to the image.
    void fillWide(const Extent &run)
    {
        const RasterTarget &t = m_target;
        const int x = run.x + t.dx;
        const int y0 = qMax(run.lo - 1 + t.dy, 0), y1 = qMin(run.hi + t.dy, t.height - 1);
        const bool left = x - 1 >= 0 && x - 1 < t.width, right = x >= 0 && x < t.width;
        // Locals: the stores may alias any member.
        const quint32 pixel = m_pixel;
        const qptrdiff stride = t.stride;
        quint32 *row = t.bits + qptrdiff(y0) * stride;
        if (left && right) {
            const quint64 two = quint64(pixel) << 32 | pixel;
            for (int y = y0; y <= y1; ++y, row += stride)
                std::memcpy(row + x - 1, &two, sizeof two);
            return;
        }
        for (int y = y0; y <= y1; ++y, row += stride) {
            if (left)
                row[x - 1] = pixel;
            if (right)
                row[x] = pixel;
        }
    }

    void releasePending()
    {
        if (m_hasPending) {
            m_hasPending = false;
            pushLine(m_pending);
        }
    }

    // Anything drawn between a run and the segment after it breaks the chain.
    void push(const QLine &l)
    {
        releasePending();
        m_lastRun.valid = false;
        pushLine(l);
    }

    void pushLine(const QLine &l)
    {
        if (m_scale != 1.0) {
            const double k = 1.0 / m_scale;
            m_linesF.append(QLineF(l.x1() * k, l.y1() * k, l.x2() * k, l.y2() * k));
            if (m_linesF.size() >= kBatch) {
                m_painter->drawLines(m_linesF.constData(), m_linesF.size());
                m_linesF.resize(0);
            }
            return;
        }
        m_lines.append(l);
        if (m_lines.size() >= kBatch) {
            m_painter->drawLines(m_lines.constData(), m_lines.size());
            m_lines.resize(0);
        }
    }

    QPainter *m_painter;
    double m_scale;
    PixelMap m_x;
    PixelMap m_y;
    ValueBox m_box;
    bool m_merge = false;
    bool m_fillRuns = false;
    // Twice the density: see the constructor.
    bool m_wide = false;
    RasterTarget m_target;
    quint32 m_pixel = 0;
    int m_runStartY = 0;
    Extent m_lastRun{0, 0, 0, 0, false};
    QLine m_pending;
    Extent m_pendingFrom{0, 0, 0, 0, false};
    bool m_hasPending = false;
    bool m_direct = false; // antialiased on an image: see AntialiasedLines
    AntialiasedLines m_aa;
    QColor m_color;
    QVector<QLine> m_lines;
    QVector<QLineF> m_linesF;
    bool m_run = false;
    int m_runX = 0, m_runMin = 0, m_runMax = 0, m_runEndY = 0;
    int m_runSegments = 0;
    // Vector output only: runs of several segments, drawn with m_widePen.
    bool m_wideRuns = false;
    QPen m_widePen;
    QVector<QLine> m_wideLines;
};

} // namespace tavrin

#include "linerenderer_antialiased_p.h"

using tavrin::LineRenderer;

#endif // LINERENDERER_P_H
