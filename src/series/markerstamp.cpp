#include "markerstamp_p.h"
#include "rastertarget_p.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <algorithm>


#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#define TAVRIN_STAMP_AVX2 1
#endif

namespace tavrin {

#ifdef TAVRIN_STAMP_AVX2
// The arithmetic of the runs of four, eight pixels at a time: a row of a
// small marker in one go. Lanes past the marker hold 0 and weight 255,
// which leave the destination as it is.
__attribute__((target("avx2"))) void MarkerStamp::stampRows8(quint32 *at, const Row8 *row, const Row8 *end)
{
    const __m256i low = _mm256_set1_epi32(0x00ff00ff);
    const __m256i half = _mm256_set1_epi16(0x80);
    for (; row != end; ++row) {
        auto *p = reinterpret_cast<__m256i *>(at + row->offset);
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(row->argb));
        const __m256i d = _mm256_loadu_si256(p);
        const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(row->weight));
        __m256i ag = _mm256_mullo_epi16(_mm256_srli_epi16(d, 8), w);
        __m256i rb = _mm256_mullo_epi16(_mm256_and_si256(d, low), w);
        ag = _mm256_add_epi16(_mm256_add_epi16(ag, _mm256_srli_epi16(ag, 8)), half);
        rb = _mm256_add_epi16(_mm256_add_epi16(rb, _mm256_srli_epi16(rb, 8)), half);
        const __m256i kept = _mm256_or_si256(_mm256_andnot_si256(low, ag), _mm256_srli_epi16(rb, 8));
        _mm256_storeu_si256(p, _mm256_add_epi8(s, kept));
    }
}

// The same arithmetic on sixteen pixels.
__attribute__((target("avx512f,avx512bw"))) void MarkerStamp::stampRows16(quint32 *at, const Row16 *row,
                                                                          const Row16 *end)
{
    const __m512i low = _mm512_set1_epi32(0x00ff00ff);
    const __m512i half = _mm512_set1_epi16(0x80);
    const __m512i high = _mm512_set1_epi32(int(0xff00ff00u));
    for (; row != end; ++row) {
        quint32 *p = at + row->offset;
        const __m512i s = _mm512_load_si512(row->argb);
        __m512i d = _mm512_loadu_si512(p);
        __m512i w = _mm512_load_si512(row->weight);
        // One load each: folded into both of their uses they would be read twice.
        asm("" : "+v"(d), "+v"(w));
        __m512i ag = _mm512_mullo_epi16(_mm512_srli_epi16(d, 8), w);
        __m512i rb = _mm512_mullo_epi16(_mm512_and_si512(d, low), w);
        ag = _mm512_add_epi16(_mm512_add_epi16(ag, _mm512_srli_epi16(ag, 8)), half);
        rb = _mm512_add_epi16(_mm512_add_epi16(rb, _mm512_srli_epi16(rb, 8)), half);
        // (ag & ~low) | (rb >> 8) in one instruction.
        const __m512i kept = _mm512_ternarylogic_epi32(ag, high, _mm512_srli_epi16(rb, 8), 0xea);
        _mm512_storeu_si512(p, _mm512_add_epi8(s, kept));
    }
}
#else
void MarkerStamp::stampRows8(quint32 *, const Row8 *, const Row8 *) {}
void MarkerStamp::stampRows16(quint32 *, const Row16 *, const Row16 *) {}
#endif

namespace {

// A piece's lanes: the marker's pixels from column x on, those at or past
// `end` transparent, and the share of the image each blend keeps. Whether
// any pixel shows.
template<int N>
bool fillLanes(quint32 (&argb)[N], quint16 (&weight)[2 * N], const quint32 *line, int x, int end)
{
    bool any = false;
    for (int i = 0; i < N; ++i) {
        const quint32 v = x + i < end ? line[x + i] : 0;
        argb[i] = v;
        weight[2 * i] = weight[2 * i + 1] = quint16(255 - (v >> 24));
        any = any || v;
    }
    return any;
}

} // namespace

bool MarkerStamp::bind(QPainter *painter, const QPixmap &marker)
{
    // Filtering would mix a stamp's pixels, and its density must be the
    // painter's scale.
    m_bits = nullptr;
    RasterTarget target;
    if (painter->testRenderHint(QPainter::SmoothPixmapTransform) || marker.isNull()
        || !target.bind(painter))
        return false;
    const qreal ratio = marker.devicePixelRatioF();
    if (target.scale != ratio)
        return false;

    if (marker.cacheKey() != m_source || ratio != m_ratio) {
        build(marker.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied));
        m_source = marker.cacheKey();
        m_ratio = ratio;
        m_placedStride = -1;
    }
    m_stride = target.stride;
    if (m_stride != m_placedStride)
        place(m_stride);
    m_bits = target.bits;
    m_width = target.width;
    m_height = target.height;
    m_dx = target.dx;
    m_dy = target.dy;
    return true;
}

void MarkerStamp::build(const QImage &marker)
{
    m_opaque.clear();
    m_runs.clear();
    m_loose.clear();
    m_all.clear();
    m_rows8.clear();
    m_rows16.clear();
    m_w = marker.width();
    m_h = marker.height();
    m_reach = m_w;
#ifdef TAVRIN_STAMP_AVX2
    m_wide = m_w <= 32 && __builtin_cpu_supports("avx2");
    if (m_w > 8 && m_w <= 16 && __builtin_cpu_supports("avx512bw")) {
        for (int y = 0; y < m_h; ++y) {
            const auto *line = reinterpret_cast<const quint32 *>(marker.constScanLine(y));
            Row16 r;
            r.y = y;
            if (fillLanes(r.argb, r.weight, line, 0, m_w))
                m_rows16.push_back(r);
        }
        m_reach = 16;
        m_wide = false;
    }
#endif
    if (m_wide) {
        const int pieces = (m_w + 7) / 8;
        for (int y = 0; y < m_h; ++y) {
            const auto *line = reinterpret_cast<const quint32 *>(marker.constScanLine(y));
            for (int k = 0; k < pieces; ++k) {
                Row8 r;
                r.x = 8 * k;
                r.y = y;
                if (fillLanes(r.argb, r.weight, line, r.x, m_w))
                    m_rows8.push_back(r);
            }
        }
        m_reach = 8 * pieces;
    }
    for (int y = 0; y < m_h; ++y) {
        const auto *line = reinterpret_cast<const quint32 *>(marker.constScanLine(y));
        int a = 0, b = m_w;
        while (a < b && !line[a])
            ++a;
        while (b > a && !line[b - 1])
            --b;
        for (int x = a; x < b; ++x)
            if (line[x])
                m_all.push_back({x, y, line[x], 0});
#if !defined(__SSE2__)
        for (int x = a; x < b; ++x)
            if (line[x])
                m_loose.push_back({x, y, line[x], 0});
        continue;
#endif
        // Runs of a row do not overlap: a load reaching into the store just
        // before it would wait for that store to land.
        for (int start = a; start < b; start += 4) {
            Run r;
            r.x = start;
            r.y = y;
            const bool any = fillLanes(r.argb, r.weight, line, start, b);
            const bool opaque = std::all_of(r.argb, r.argb + 4, [](quint32 v) { return v >= 0xff000000u; });
            if (any) {
                (opaque ? m_opaque : m_runs).push_back(r);
                m_reach = qMax(m_reach, start + 4);
            }
        }
    }
}

void MarkerStamp::place(int stride)
{
    for (std::vector<Run> *runs : {&m_opaque, &m_runs})
        for (Run &r : *runs)
            r.offset = qptrdiff(r.y) * stride + r.x;
    for (Pixel &p : m_loose)
        p.offset = qptrdiff(p.y) * stride + p.x;
    for (Row8 &r : m_rows8)
        r.offset = qptrdiff(r.y) * stride + r.x;
    for (Row16 &r : m_rows16)
        r.offset = qptrdiff(r.y) * stride;
    m_placedStride = stride;
}

void MarkerStamp::stampClipped(int x, int y) const
{
    for (const Pixel &p : m_all) {
        const int px = x + p.x, py = y + p.y;
        if (px >= 0 && py >= 0 && px < m_width && py < m_height)
            blend(m_bits[qptrdiff(py) * m_stride + px], p.argb);
    }
}

} // namespace tavrin
