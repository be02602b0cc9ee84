#ifndef GEOMETRY_P_H
#define GEOMETRY_P_H

#include "axis.h"

#include <QPaintDevice>
#include <QPainter>
#include <QRectF>
#include <QTransform>
#include <QtGlobal>

#include <cmath>

// What every kind needs to get from values to pixels QPainter can take: the
// visibility test in value space, the pixel range of QPainter's integer
// paths and the area a painter can show. One rule for NaN throughout: a
// coordinate that is NaN draws nothing, so callers drop such items before
// they reach the cuts below.
namespace tavrin {

// QRectF::intersects() for two rectangles given by their corners, without
// building QRectF objects in the per-segment loop. Same rules: normalised,
// a zero-width or zero-height rectangle intersects nothing, touching edges
// do not count.
struct ValueBox {
    double l = 0, r = 0, t = 0, b = 0;
    bool empty = true;

    static ValueBox visible(const Axis *x, const Axis *y)
    {
        ValueBox v;
        v.set(x->min(), y->min(), x->span(), y->span());
        return v;
    }

    void set(double x, double y, double w, double h)
    {
        l = r = x;
        (w < 0 ? l : r) += w;
        t = b = y;
        (h < 0 ? t : b) += h;
        empty = (l == r) || (t == b);
    }

    bool intersects(double x, double y, double w, double h) const
    {
        if (empty)
            return false;
        double l2 = x, r2 = x;
        (w < 0 ? l2 : r2) += w;
        if (l2 == r2 || l >= r2 || l2 >= r)
            return false;
        double t2 = y, b2 = y;
        (h < 0 ? t2 : b2) += h;
        if (t2 == b2 || t >= b2 || t2 >= b)
            return false;
        return true;
    }

    // QRectF::contains(QPointF): edges included, an empty box holds nothing.
    bool contains(double px, double py) const
    {
        return !empty && px >= l && px <= r && py >= t && py <= b;
    }
};

// The values under a w x h pixel box centred on pos, corner by corner: on a
// logarithmic axis a pixel distance is no fixed value distance.
inline ValueBox pixelProbe(const Axis *x, const Axis *y, const QPoint &pos, double w, double h)
{
    ValueBox v;
    const double x0 = x->pixelToPoint(pos.x() - w / 2), x1 = x->pixelToPoint(pos.x() + w / 2);
    const double y0 = y->pixelToPoint(pos.y() - h / 2), y1 = y->pixelToPoint(pos.y() + h / 2);
    v.set(x0, y0, x1 - x0, y1 - y0);
    return v;
}

// Pixel coordinates that QPainter's integer paths can take without overflow.
constexpr double kPixelLimit = 1 << 22;

// The part of the painter's logical coordinates that reaches its device,
// with a margin for wide pens; fills beyond it cost time and show nothing.
inline QRectF shownArea(QPainter *painter)
{
    const QPaintDevice *dev = painter->device();
    const QRectF device(-8, -8, dev->width() + 16, dev->height() + 16);
    QRectF r = painter->combinedTransform().inverted().mapRect(device);
    if (!r.isValid())
        r = QRectF(-kPixelLimit, -kPixelLimit, 2 * kPixelLimit, 2 * kPixelLimit);
    return r;
}

inline bool pixelSafe(double v)
{
    return v > -kPixelLimit && v < kPixelLimit;
}

// Cuts the segment a-b to the square of side 2 * kPixelLimit around the
// origin; false when nothing of it is left. Each end that lies outside is
// moved exactly onto the border it crosses and only the other coordinate is
// interpolated, so a horizontal or vertical line keeps its exact position
// however far away its ends were. Only segments reaching far off screen take
// this path, so what is visible is unchanged.
inline bool clipToPixelLimit(double &x0, double &y0, double &x1, double &y1)
{
    // A NaN end has no outcode and would pass as inside.
    if (std::isnan(x0) || std::isnan(y0) || std::isnan(x1) || std::isnan(y1))
        return false;
    const double L = kPixelLimit;
    auto outcode = [L](double x, double y) {
        return (x < -L ? 1 : 0) | (x > L ? 2 : 0) | (y < -L ? 4 : 0) | (y > L ? 8 : 0);
    };
    int c0 = outcode(x0, y0), c1 = outcode(x1, y1);
    for (int guard = 0; guard < 8; ++guard) {
        if (!(c0 | c1))
            return true;
        if (c0 & c1)
            return false;
        const bool first = c0 != 0;
        double &x = first ? x0 : x1, &y = first ? y0 : y1;
        const double ox = first ? x1 : x0, oy = first ? y1 : y0;
        const int c = first ? c0 : c1;
        if (c & 3) {
            const double bx = (c & 1) ? -L : L;
            y = y + (bx - x) * ((oy - y) / (ox - x));
            x = bx;
        } else {
            const double by = (c & 4) ? -L : L;
            x = x + (by - y) * ((ox - x) / (oy - y));
            y = by;
        }
        if (!std::isfinite(x) || !std::isfinite(y))
            return false;
        (first ? c0 : c1) = outcode(x, y);
    }
    return !(c0 | c1);
}

// A pixel value pulled into the range QPainter's integer paths can take;
// NaN stays NaN for the caller to drop.
inline double clampPixel(double v)
{
    return v > kPixelLimit ? kPixelLimit : (v < -kPixelLimit ? -kPixelLimit : v);
}

// Cuts the span from a to b (either order) to [lo, hi]; false when either
// end is NaN.
inline bool cutSpan(double &a, double &b, double lo, double hi)
{
    if (std::isnan(a) || std::isnan(b))
        return false;
    a = qBound(lo, a, hi);
    b = qBound(lo, b, hi);
    return true;
}

// An integer rectangle as drawRect(x, y, w, h) takes it, cut to the shown
// area: only edges beyond it move (onto its border, which lies outside the
// device by more than a pen's half width), so the visible pixels stay the
// same while a fill reaching millions of pixels off the plot costs nothing.
// False when nothing of it is shown.
inline bool cutToShown(qint64 &x, qint64 &y, qint64 &w, qint64 &h, const QRectF &shown)
{
    const qint64 l = qint64(std::floor(shown.left())), r = qint64(std::ceil(shown.right()));
    const qint64 t = qint64(std::floor(shown.top())), b = qint64(std::ceil(shown.bottom()));
    auto cut = [](qint64 &p, qint64 &len, qint64 lo, qint64 hi) {
        if (p >= lo && p + len <= hi && len >= 0)
            return true; // inside: drawn exactly as given
        qint64 p0 = qMin(p, p + len), p1 = qMax(p, p + len);
        p0 = qMax(p0, lo);
        p1 = qMin(p1, hi);
        p = p0;
        len = p1 - p0;
        return p0 <= p1;
    };
    return cut(x, w, l, r) && cut(y, h, t, b);
}

// Device pixels per logical pixel when the painter only scales, as on a
// high-density image; 1 for anything else, which keeps the logical grid.
inline double deviceScale(const QPainter *painter)
{
    const QTransform t = painter->combinedTransform();
    if (t.type() != QTransform::TxScale || t.m11() != t.m22() || !(t.m11() > 0))
        return 1.0;
    return t.m11();
}

// Whole device pixels for a logical coordinate under deviceScale() s.
inline double snapToDevice(double v, double s)
{
    return std::floor(v * s + 0.5) / s;
}

} // namespace tavrin

#endif // GEOMETRY_P_H
