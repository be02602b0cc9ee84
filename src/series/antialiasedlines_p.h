#ifndef ANTIALIASEDLINES_P_H
#define ANTIALIASEDLINES_P_H

#include "rastertarget_p.h"

#include <QtGlobal>

#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

class QPainter;

namespace tavrin {

// Antialiased lines of one pixel, blended straight into the painter's image.
//
// line() walks a segment with exactly the arithmetic of the raster engine's
// cosmetic stroker, which is what QPainter uses for such a pen, and blends
// each pixel as it does: the image holds bit for bit what drawLine() would
// have left. The caller keeps the order of the segments it draws either
// way, so a line drawn partly here and partly through QPainter is unchanged.
//
// A pile stands for many points down one pixel column: all vertical
// segments at one whole-pixel x, each spread over the pixels on either side
// of x (127 and 128 of 255 on the rows it spans, half that on the row of
// each cap, 255 on the right for a segment of no length). Source-over with
// one colour comes out the same in any order up to the rounding of each
// step, so what the pile leaves in a pixel follows from how many segments
// cover it in each of those ways: counted per row, each pixel is blended
// once with the coverage of its whole pile. Against the segments blended one
// by one only the rounding in between differs, which the tests bound.
class AntialiasedLines
{
public:
    // Ready for the painter's pen, piles on logical rows top to bottom;
    // false when the painter's pixels cannot be written directly or the pen
    // is not one the cosmetic stroker draws.
    bool bind(QPainter *painter, int top, int bottom);
    bool bound() const { return m_target.bound(); }

    // Whether a segment between logical points that both pass this test is
    // drawn here: the stroker cuts segments that reach off the image before
    // walking them, which moves their ends.
    bool fits(int x, int y) const
    {
        return unsigned(x + m_target.dx) < unsigned(m_target.width)
            && unsigned(y + m_target.dy) < unsigned(m_target.height);
    }

    // A segment between logical points that fit.
    void line(int x1, int y1, int x2, int y2);

    // The counts of one pile, kept by the caller while it walks the points.
    // Each point adds what its two segments put on its row to one packed
    // counter (see kStep); the pile's ends have one segment each.
    class Pile
    {
    public:
        // The next point, on logical row y.
        void to(int y)
        {
            const int i = y + m_base;
            const int s = (i > m_last) - (i < m_last);
            m_rows[m_last] += kStep[m_state + s];
            m_state = 3 * s + 4;
            m_last = i;
            m_lo = i < m_lo ? i : m_lo;
            m_hi = i > m_hi ? i : m_hi;
        }
        // The next points, given as indices into the counters (rows plus
        // base()) that lie between those of cover().
        void run(const qint64 *indices, int count)
        {
            qint64 last = m_last;
            qint64 in = m_state - 1;
            quint64 *rows = m_rows;
            int k = 0;
            for (; k + 2 <= count; k += 2) {
                step(rows, last, in, indices[k]);
                step(rows, last, in, indices[k + 1]);
            }
            if (k < count)
                step(rows, last, in, indices[k]);
            m_last = int(last);
            m_state = int(in + 1);
        }
#if defined(__SSE2__)
        // run() for count points (an even number) of an array of QPointF
        // from p on, whose rows are offset + y * factor; also cover()s them.
        void runMapped(const double *p, int count, double factor, double offset)
        {
            const __m128d f = _mm_set1_pd(factor), o = _mm_set1_pd(offset);
            __m128d least = _mm_set1_pd(1e300), most = _mm_set1_pd(-1e300);
            qint64 last = m_last;
            qint64 in = m_state - 1;
            quint64 *rows = m_rows;
            const qint64 base = m_base;
            for (const double *end = p + 2 * count; p != end; p += 4) {
                const __m128d v = _mm_add_pd(o, _mm_mul_pd(_mm_unpackhi_pd(_mm_loadu_pd(p), _mm_loadu_pd(p + 2)), f));
                least = _mm_min_pd(least, v);
                most = _mm_max_pd(most, v);
                const __m128i i = _mm_cvttpd_epi32(v);
                step(rows, last, in, _mm_cvtsi128_si32(i) + base);
                step(rows, last, in, _mm_cvtsi128_si32(_mm_shuffle_epi32(i, 1)) + base);
            }
            m_last = int(last);
            m_state = int(in + 1);
            least = _mm_min_pd(least, _mm_unpackhi_pd(least, least));
            most = _mm_max_pd(most, _mm_unpackhi_pd(most, most));
            // Truncation keeps the order of the values.
            cover(int(_mm_cvtsd_f64(least)) + m_base, int(_mm_cvtsd_f64(most)) + m_base);
        }
#endif
        void cover(int lo, int hi)
        {
            m_lo = lo < m_lo ? lo : m_lo;
            m_hi = hi > m_hi ? hi : m_hi;
        }
        int base() const { return m_base; }
        // Whether the counters could overflow with many more points, for
        // callers that say how many they added.
        void counted(int points) { m_count += points; }
        bool full() const { return m_count >= kMaxPoints; }
        int column() const { return m_x; }
        int last() const { return m_last - m_base; }

    private:
        friend class AntialiasedLines;
        // to() on locals: `in` is 3 * the index of the arriving direction.
        static void step(quint64 *rows, qint64 &last, qint64 &in, qint64 i)
        {
            const qint64 s = (i > last) + (i >= last); // 0 up, 1 level, 2 down
            rows[last] += kStep[in + s];
            in = 3 * s;
            last = i;
        }
        quint64 *m_rows;
        int m_base;
        int m_state; // 1 + 3 * the direction of the segment arriving at m_last (3 for none)
        int m_x, m_last, m_lo, m_hi, m_count; // rows as indices into m_rows
    };

    // A pile in logical column x from a point on row y.
    Pile pile(int x, int y)
    {
        Pile p;
        p.m_rows = m_rows.data();
        p.m_base = m_base;
        p.m_state = 10;
        p.m_x = x;
        p.m_last = p.m_lo = p.m_hi = y + m_base;
        p.m_count = 0;
        return p;
    }

    // Blends the pile and clears its counts.
    void finish(Pile pile);

private:
    // A row's counter holds four 16-bit fields: the segments that start
    // covering it fully less those that stop (signed, borrowing from the
    // field above it), the caps it gives the row above, its own caps, and
    // the segment ends of no length. What a point adds, by the directions
    // down the rows (up, level, down) of the segment arriving at it (or
    // none) and of the one leaving it. Per point a row's fields change by
    // at most two each.
    static constexpr quint64 kCapAbove = quint64(1) << 16, kCapHere = quint64(1) << 32,
                             kPoint = quint64(1) << 48;
    static constexpr quint64 kIn[4] = {1 + kCapAbove, kPoint, kCapHere - 1, 0};
    static constexpr quint64 kOut[3] = {kCapHere - 1, kPoint, 1 + kCapAbove};
    static constexpr quint64 kStep[12] = {
        kIn[0] + kOut[0], kIn[0] + kOut[1], kIn[0] + kOut[2], kIn[1] + kOut[0],
        kIn[1] + kOut[1], kIn[1] + kOut[2], kIn[2] + kOut[0], kIn[2] + kOut[1],
        kIn[2] + kOut[2], kIn[3] + kOut[0], kIn[3] + kOut[1], kIn[3] + kOut[2],
    };
    // Each field moves by at most two a point: this many (and a block more)
    // keep the signed one within 15 bits.
    static constexpr int kMaxPoints = 16000;

    // A pixel's share of a pile: `color` plus what lies under it times
    // weight / 255, each channel at most that of `ceiling`.
    struct Blend {
        quint32 color, weight, ceiling;
        void apply(quint32 &d) const
        {
            d = color + RasterTarget::byteMul(d, weight);
            if (ceiling != ~0u)
                for (int shift = 0; shift < 32; shift += 8)
                    if ((d >> shift & 0xff) > (ceiling >> shift & 0xff))
                        d = (d & ~(0xffu << shift)) | (ceiling & (0xffu << shift));
        }
    };

    // A pile's blends for the pixels on one side of it, per count of full
    // covers and caps (one cover alone blends exactly as the stroker does).
    // Beyond the table they are worked out from the light each kind of
    // cover lets through. The pen's colour at full strength is where they
    // tend to, but covers one after another stop changing a pixel at
    // `limit`, a step or a few short of it in some channels (for a
    // translucent pen), which no pile goes past.
    static constexpr int kFull = 16, kCaps = 8;
    struct Side {
        Blend table[kFull][kCaps];
        float full[65], cap[65], point[65];
        quint32 opaque, limit;
        void set(quint32 color, quint32 opaque, quint32 limit, int full, int cap, int point);
        Blend blend(float through) const;
    };

#if defined(__SSE2__)
    // The table's blends for both pixels of a row at once: 16-bit lanes,
    // the left pixel's then the right one's.
    struct Pair {
        quint16 color[8], weight[8];
        quint32 ceiling[2];
    };
    Pair m_pairs[kFull][kCaps];
#endif
    void blendPile(quint32 &d, const Side &side, int full, int cap, int point) const;
    template <bool steep>
    void walk(int x, int y, int ys, int inc, int alphaStart, int alphaEnd);

    RasterTarget m_target;
    quint32 m_color = 0; // premultiplied
    bool m_caps = true;
    std::vector<quint64> m_rows;
    int m_base = 0; // index of logical row 0 in m_rows
    Side m_left, m_right;
    int m_saturated = 0; // full covers that leave each side at its opaque limit
};

} // namespace tavrin

#endif // ANTIALIASEDLINES_P_H
