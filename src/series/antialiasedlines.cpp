#include "antialiasedlines_p.h"

#include <QPainter>
#include <QRgba64>

#include <algorithm>
#include <climits>
#include <utility>

namespace tavrin {

namespace {

// The stroker's drawPixel() for one pixel: the colour scaled by the
// coverage, then source-over.
inline void cover(quint32 &d, quint32 color, int coverage)
{
    const quint32 s = RasterTarget::byteMul(color, quint32(coverage));
    d = s + RasterTarget::byteMul(d, 255 - (s >> 24));
}

#if defined(__SSE2__)
// byteMul() in 16-bit lanes.
inline __m128i mul255(__m128i v, __m128i a)
{
    const __m128i t = _mm_mullo_epi16(v, a);
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), _mm_set1_epi16(0x80)), 8);
}

// cover() for the pixels at a and b at once; color16 holds the colour's
// channels in 16-bit lanes, twice.
// The pixels as one pair of 32-bit lanes, d's bytes in 16-bit lanes.
inline __m128i cover2(__m128i d, __m128i color16, int c0, int c1)
{
    const __m128i zero = _mm_setzero_si128();
    __m128i coverage = _mm_cvtsi32_si128(c0 | c1 << 16);
    coverage = _mm_unpacklo_epi16(coverage, coverage);
    coverage = _mm_unpacklo_epi32(coverage, coverage);
    const __m128i s = mul255(color16, coverage);
    const __m128i w = _mm_sub_epi16(_mm_set1_epi16(255), _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, 0xff), 0xff));
    return _mm_packus_epi16(_mm_add_epi16(s, mul255(_mm_unpacklo_epi8(d, zero), w)), zero);
}

// Side by side (one 64-bit access) or one above the other.
inline void cover2(quint32 *a, quint32 *b, __m128i color16, int c0, int c1)
{
    if (b == a + 1) {
        _mm_storel_epi64(reinterpret_cast<__m128i *>(a),
                         cover2(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(a)), color16, c0, c1));
        return;
    }
    const __m128i r = cover2(_mm_unpacklo_epi32(_mm_cvtsi32_si128(int(*a)), _mm_cvtsi32_si128(int(*b))),
                             color16, c0, c1);
    *a = quint32(_mm_cvtsi128_si32(r));
    *b = quint32(_mm_cvtsi128_si32(_mm_srli_si128(r, 4)));
}
#endif

} // namespace

bool AntialiasedLines::bind(QPainter *painter, int top, int bottom)
{
    m_target = RasterTarget();
    const QPen pen = painter->pen();
    // Qt 4's rounding (a hint Qt 6 no longer has) moves the stroker's pixels.
    if (!painter->testRenderHint(QPainter::Antialiasing) || pen.style() != Qt::SolidLine
        || pen.brush().style() != Qt::SolidPattern || pen.widthF() > 1.0
        || (painter->renderHints() & QPainter::RenderHint(0x20)))
        return false;
    RasterTarget target;
    // The stroker's fixed-point positions hold 2^15 pixels.
    if (!target.bind(painter) || target.scale != 1.0 || target.width > (1 << 14)
        || target.height > (1 << 14))
        return false;
    m_color = qPremultiply(pen.color().rgba64()).toArgb32();
    const int alpha = int(m_color >> 24);
    if (alpha == 0)
        return false;
    m_caps = pen.capStyle() != Qt::FlatCap;
    // Where a pixel stops changing under the right side's full covers
    // (the pen's colour or a step or two short of it in a channel); the
    // other kinds of cover stop within a few steps of it.
    quint32 limit = 0;
    for (int i = 0; i < 256; ++i) {
        quint32 next = limit;
        cover(next, m_color, 128);
        if (next == limit)
            break;
        limit = next;
    }
    const quint32 opaque = pen.color().rgba64().toArgb32() | 0xff000000u;
    m_left.set(m_color, opaque, limit, 127, m_caps ? 63 : 0, 0);
    m_right.set(m_color, opaque, limit, 128, m_caps ? 64 : 0, 255);
    // From this many full covers on, a pixel is the limit whatever lay under it.
    m_saturated = INT_MAX;
    for (int k = 2; k < kFull && limit >> 24 == 255; ++k)
        if (m_left.table[k][0].weight == 0 && m_right.table[k][0].weight == 0) {
            m_saturated = k;
            break;
        }
#if defined(__SSE2__)
    for (int f = 0; f < kFull; ++f)
        for (int c = 0; c < kCaps; ++c) {
            Pair &pair = m_pairs[f][c];
            const Blend *sides[2] = {&m_left.table[f][c], &m_right.table[f][c]};
            for (int i = 0; i < 2; ++i) {
                for (int lane = 0; lane < 4; ++lane) {
                    pair.color[4 * i + lane] = quint16(sides[i]->color >> (8 * lane) & 0xff);
                    pair.weight[4 * i + lane] = quint16(sides[i]->weight);
                }
                pair.ceiling[i] = sides[i]->ceiling;
            }
        }
#endif
    // Two rows more at either end: the caps above the top, finish()'s look
    // at the row below the bottom, and a row that rounding may add.
    m_rows.assign(size_t(bottom - top + 5), 0);
    m_base = 2 - top;
    m_target = target;
    return true;
}

void AntialiasedLines::Side::set(quint32 color, quint32 full255, quint32 stop, int fullCoverage,
                                 int capCoverage, int pointCoverage)
{
    // Each cover lets through 1 - coverage * alpha of what lies under it.
    const float k = float(color >> 24) / (255.0f * 255.0f);
    const float through[3] = {1.0f - k * fullCoverage, 1.0f - k * capCoverage, 1.0f - k * pointCoverage};
    float *tables[3] = {full, cap, point};
    for (int t = 0; t < 3; ++t) {
        float v = 1.0f;
        for (int i = 0; i < 65; ++i) {
            tables[t][i] = v;
            v *= through[t];
        }
    }
    opaque = full255;
    limit = stop;
    for (int f = 0; f < kFull; ++f)
        for (int c = 0; c < kCaps; ++c) {
            if (f + c == 1) {
                const quint32 s = RasterTarget::byteMul(color, quint32(f ? fullCoverage : capCoverage));
                table[f][c] = {s, 255 - (s >> 24), ~0u};
            } else {
                table[f][c] = blend(full[f] * cap[c]);
            }
        }
}

AntialiasedLines::Blend AntialiasedLines::Side::blend(float through) const
{
    const int coverage = qBound(0, int((1.0f - through) * 255.0f + 0.5f), 255);
    return {RasterTarget::byteMul(opaque, quint32(coverage)), quint32(255 - coverage),
            limit == opaque ? ~0u : limit};
}

// The stroker's walk, y being the major direction: a 16.16 position across
// it, two pixels per step split by its fraction, partial coverage on the
// first and last rows.
template <bool steep>
void AntialiasedLines::walk(int x, int y, int ys, int inc, int alphaStart, int alphaEnd)
{
    const RasterTarget &t = m_target;
    const quint32 color = m_color;
    // Both pixels of every step inside the image: no test per pixel.
    const qint64 xEnd = qint64(x) + qint64(ys - y) * inc;
    const int minor0 = int(qMin(qint64(x), xEnd) >> 16), minor1 = int(qMax(qint64(x), xEnd) >> 16) + 1;
    const bool inside = y >= 0 && minor0 >= 0 && (steep ? (ys < t.height && minor1 < t.width)
                                                        : (ys < t.width && minor1 < t.height));
#if defined(__SSE2__)
    const __m128i color16 = _mm_unpacklo_epi8(_mm_set1_epi32(int(color)), _mm_setzero_si128());
#endif
    auto two = [&](int major, int minor, int c0, int c1) {
        if (inside) {
            quint32 *p = steep ? &t.at(minor, major) : &t.at(major, minor);
            quint32 *q = steep ? p + 1 : p + t.stride;
#if defined(__SSE2__)
            cover2(p, q, color16, c0, c1);
#else
            cover(*p, color, c0);
            cover(*q, color, c1);
#endif
            return;
        }
        const int px = steep ? minor : major, py = steep ? major : minor;
        if (c0 && t.inside(px, py))
            cover(t.at(px, py), color, c0);
        const int qx = steep ? minor + 1 : major, qy = steep ? major : minor + 1;
        if (c1 && t.inside(qx, qy))
            cover(t.at(qx, qy), color, c1);
    };
    int a = quint8(x >> 8);
    two(y, x >> 16, (255 - a) * alphaStart >> 6, a * alphaStart >> 6);
    x += inc;
    for (++y; y < ys; ++y) {
        a = quint8(x >> 8);
        two(y, x >> 16, 255 - a, a);
        x += inc;
    }
    if (alphaEnd) {
        a = quint8(x >> 8);
        two(y, x >> 16, (255 - a) * alphaEnd >> 6, a * alphaEnd >> 6);
    }
}

// The set-up of the stroker's walk: 26.6 fixed-point ends, caps reaching
// half a pixel beyond them.
void AntialiasedLines::line(int x1, int y1, int x2, int y2)
{
    x1 += m_target.dx;
    x2 += m_target.dx;
    y1 += m_target.dy;
    y2 += m_target.dy;
    if (x1 == x2 && y1 == y2) {
        cover(m_target.at(x1, y1), m_color, 255);
        return;
    }
    x1 *= 64;
    y1 *= 64;
    x2 *= 64;
    y2 *= 64;
    const bool steep = qAbs(x2 - x1) < qAbs(y2 - y1);
    if (!steep) {
        std::swap(x1, y1);
        std::swap(x2, y2);
    }
    if (y1 > y2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const int inc = int(qint64(x2 - x1) * 65536 / (y2 - y1));
    int x = (x1 - 32) * (1 << 10);
    x -= (((y1 & 63) - 32) * inc) >> 6;
    if (m_caps) {
        y1 -= 32;
        x -= inc >> 1;
        y2 += 32;
    }
    const int y = y1 >> 6, ys = y2 >> 6;
    const int alphaStart = y == ys ? y2 - y1 : 64 - (y1 & 63);
    const int alphaEnd = y == ys ? 0 : y2 & 63;
    if (steep)
        walk<true>(x, y, ys, inc, alphaStart, alphaEnd);
    else
        walk<false>(x, y, ys, inc, alphaStart, alphaEnd);
}

void AntialiasedLines::blendPile(quint32 &d, const Side &side, int full, int cap, int point) const
{
    if (full < kFull && cap < kCaps && !point)
        side.table[full][cap].apply(d);
    else if (full + cap == 0 && point == 1)
        cover(d, m_color, 255);
    else
        side.blend(side.full[qMin(full, 64)] * side.cap[qMin(cap, 64)] * side.point[qMin(point, 64)]).apply(d);
}

void AntialiasedLines::finish(Pile p)
{
    p.m_rows[p.m_last] += kIn[(p.m_state - 1) / 3];
    const RasterTarget &t = m_target;
    const int left = p.m_x - 1 + t.dx;
    const int top = p.m_lo - p.m_base - 1 + t.dy, bottom = p.m_hi - p.m_base + t.dy;
    // Rows from the one above the pile's top (its caps) to its bottom; the
    // fields above the signed one, with its borrow undone.
    quint64 *rows = p.m_rows + (p.m_lo - 1);
    const int count = p.m_hi - p.m_lo + 2;
    auto upper = [](quint64 v) { return v - quint64(qint64(qint16(v & 0xffff))); };
    if (!(t.inside(left, top) && t.inside(left + 1, bottom))) {
        // Partly off the image: each pixel on its own.
        const bool leftShown = left >= 0 && left < t.width, rightShown = left + 1 >= 0 && left + 1 < t.width;
        int full = 0;
        for (int k = 0; k < count; ++k) {
            const quint64 v = rows[k];
            full += qint16(v & 0xffff);
            const int cap = int(upper(v) >> 32 & 0xffff) + int(upper(rows[k + 1]) >> 16 & 0xffff);
            const int point = int(upper(v) >> 49);
            const int y = top + k;
            if ((full | cap | point) && y >= 0 && y < t.height) {
                if (leftShown)
                    blendPile(t.at(left, y), m_left, full, cap, 0);
                if (rightShown)
                    blendPile(t.at(left + 1, y), m_right, full, cap, point);
            }
        }
        std::fill(rows, rows + count, 0);
        return;
    }
    // Locals: the pixels written may alias any member.
    const int saturated = m_saturated;
    const quint32 limit = m_left.limit;
    const qptrdiff stride = t.stride;
    quint32 *at = &t.at(left, top);
    int full = 0;
    quint64 next = upper(rows[0]);
    for (int k = 0; k < count; ++k, at += stride) {
        const quint64 v = rows[k], here = next;
        next = upper(rows[k + 1]);
        rows[k] = 0;
        full += qint16(v & 0xffff);
        if (full >= saturated) {
            at[0] = at[1] = limit;
            continue;
        }
        const int cap = int(here >> 32 & 0xffff) + int(next >> 16 & 0xffff);
        const int point = int(here >> 49);
        if (!(full | cap | point))
            continue;
        if (full < kFull && cap < kCaps && !point) {
#if defined(__SSE2__)
            const Pair &pair = m_pairs[full][cap];
            const __m128i zero = _mm_setzero_si128();
            const __m128i d = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(at)), zero);
            const __m128i r = _mm_add_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(pair.color)),
                                            mul255(d, _mm_loadu_si128(reinterpret_cast<const __m128i *>(pair.weight))));
            _mm_storel_epi64(reinterpret_cast<__m128i *>(at),
                             _mm_min_epu8(_mm_packus_epi16(r, zero),
                                          _mm_loadl_epi64(reinterpret_cast<const __m128i *>(pair.ceiling))));
#else
            m_left.table[full][cap].apply(at[0]);
            m_right.table[full][cap].apply(at[1]);
#endif
        } else {
            blendPile(at[0], m_left, full, cap, 0);
            blendPile(at[1], m_right, full, cap, point);
        }
    }
}

} // namespace tavrin
