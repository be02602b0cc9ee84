#ifndef MARKERSTAMP_P_H
#define MARKERSTAMP_P_H

#include "rastertarget_p.h"

#include <QtGlobal>

#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

class QImage;
class QPainter;
class QPixmap;

namespace tavrin {

// Stamps a pre-rendered marker straight into the painter's image. Going
// through QPainter costs about a thousand instructions per marker, most of
// it dispatch and per-row set-up around a handful of pixels; here the
// marker is cut once into runs of four pixels that are blended with exactly
// the arithmetic of the raster engine's source-over for premultiplied ARGB,
// so the image holds bit for bit what drawPixmap() would have left.
// bind() accepts only painters for which that is known to hold.
class MarkerStamp
{
public:
    // Targets the painter's image with `marker`, whose density must be the
    // painter's scale; false when the marker must go through QPainter.
    bool bind(QPainter *painter, const QPixmap &marker);

    // Whether the last bind() succeeded; tests read it.
    bool bound() const { return m_bits; }

    // The marker's top-left corner in device pixels of the painter's
    // coordinate system, before its translation.
    void stamp(int x, int y) const
    {
        x += m_dx;
        y += m_dy;
        if (x >= 0 && y >= 0 && x <= m_width - m_reach && y <= m_height - m_h)
            stampInside(m_bits + qptrdiff(y) * m_stride + x);
        else if (x < m_width && y < m_height && x > -m_w && y > -m_h)
            stampClipped(x, y);
    }

private:
    struct Pixel {
        int x, y;
        quint32 argb;
        qptrdiff offset;
    };
    // Four neighbours in a row. Lanes past the marker's pixels hold 0,
    // which blends to the destination unchanged.
    struct Run {
        quint32 argb[4];
        quint16 weight[8]; // 255 - alpha, for both halves of each pixel
        int x, y;
        qptrdiff offset;
    };

    // Eight pixels of a row of a marker at most 32 pixels wide, for one
    // 256-bit blend where the processor has it.
    struct Row8 {
        quint32 argb[8];
        quint16 weight[16];
        int x, y;
        qptrdiff offset;
    };

    // Sixteen pixels of a row of a marker 9 to 16 pixels wide (a small
    // marker at device pixel ratio 2), for one 512-bit blend where the
    // processor has it: one piece a row instead of two.
    struct alignas(64) Row16 {
        quint32 argb[16];
        quint16 weight[32];
        int y; // from column 0
        qptrdiff offset;
    };

    void build(const QImage &marker);
    void place(int stride);

    void stampInside(quint32 *at) const
    {
        if (!m_rows16.empty()) {
            stampRows16(at, m_rows16.data(), m_rows16.data() + m_rows16.size());
            return;
        }
        if (m_wide && !m_rows8.empty()) {
            stampRows8(at, m_rows8.data(), m_rows8.data() + m_rows8.size());
            return;
        }
#if defined(__SSE2__)
        // Locals: the stores below may alias any member.
        for (const Run *r = m_opaque.data(), *end = r + m_opaque.size(); r != end; ++r)
            _mm_storeu_si128(reinterpret_cast<__m128i *>(at + r->offset),
                             _mm_loadu_si128(reinterpret_cast<const __m128i *>(r->argb)));
        const __m128i low = _mm_set1_epi32(0x00ff00ff);
        const __m128i half = _mm_set1_epi16(0x80);
        for (const Run *r = m_runs.data(), *end = r + m_runs.size(); r != end; ++r) {
            quint32 *p = at + r->offset;
            const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i *>(r->argb));
            const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
            const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i *>(r->weight));
            __m128i ag = _mm_mullo_epi16(_mm_srli_epi16(d, 8), w);
            __m128i rb = _mm_mullo_epi16(_mm_and_si128(d, low), w);
            ag = _mm_add_epi16(_mm_add_epi16(ag, _mm_srli_epi16(ag, 8)), half);
            rb = _mm_add_epi16(_mm_add_epi16(rb, _mm_srli_epi16(rb, 8)), half);
            const __m128i kept = _mm_or_si128(_mm_andnot_si128(low, ag), _mm_srli_epi16(rb, 8));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(p), _mm_add_epi8(s, kept));
        }
#endif
        for (const Pixel &px : m_loose)
            blend(at[px.offset], px.argb);
    }

    void stampClipped(int x, int y) const;
    static void stampRows8(quint32 *at, const Row8 *row, const Row8 *end);
    static void stampRows16(quint32 *at, const Row16 *row, const Row16 *end);

    static void blend(quint32 &d, quint32 s) { RasterTarget::blend(d, s); }

    std::vector<Run> m_opaque; // runs of four opaque pixels, copied
    std::vector<Run> m_runs;   // the others, blended
    std::vector<Pixel> m_loose; // what no run covers: all, without SSE2
    std::vector<Pixel> m_all;   // every pixel that is not fully transparent
    std::vector<Row8> m_rows8;  // the rows by eights, when the marker is narrow enough
    std::vector<Row16> m_rows16; // the rows whole, in their place where they pay
    bool m_wide = false;        // the processor blends 256 bits at a time
    qint64 m_source = 0;
    qreal m_ratio = 0;
    int m_w = 0, m_h = 0;
    int m_reach = 0; // columns the runs touch, up to 3 more than the marker's
    int m_placedStride = -1;

    quint32 *m_bits = nullptr;
    int m_stride = 0, m_width = 0, m_height = 0;
    int m_dx = 0, m_dy = 0;
};

} // namespace tavrin

#endif // MARKERSTAMP_P_H
