#ifndef LINERENDERER_P_H
#define LINERENDERER_P_H

#include "axis.h"

#include <QLine>
#include <QPainter>
#include <QPointF>
#include <QVector>
#include <cmath>

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

// Pixel coordinates that QPainter's integer paths can take without overflow.
constexpr double kPixelLimit = 1 << 22;

inline bool pixelSafe(double v)
{
    return v > -kPixelLimit && v < kPixelLimit;
}

// Cuts the segment a-b to the square of side 2 * kPixelLimit around the
// origin (Liang-Barsky); false when nothing of it is left. Only segments
// reaching far off screen take this path, so what is visible is unchanged.
inline bool clipToPixelLimit(double &x0, double &y0, double &x1, double &y1)
{
    double t0 = 0.0, t1 = 1.0;
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 + kPixelLimit, kPixelLimit - x0, y0 + kPixelLimit, kPixelLimit - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0) {
            if (r > t1)
                return false;
            if (r > t0)
                t0 = r;
        } else {
            if (r < t0)
                return false;
            if (r < t1)
                t1 = r;
        }
    }
    const double nx0 = x0 + t0 * dx, ny0 = y0 + t0 * dy;
    x1 = x0 + t1 * dx;
    y1 = y0 + t1 * dy;
    x0 = nx0;
    y0 = ny0;
    return true;
}

// Draws a polyline segment by segment: one visibility test in value space
// per segment, ends truncated toward zero to whole pixels, lines batched
// into drawLines() calls. With a thin aliased pen, consecutive segments
// that stay inside one pixel column are merged into the single vertical run
// they cover, which paints the same pixels at a fraction of the cost.
class LineRenderer
{
public:
    LineRenderer(QPainter *painter, const Axis *x, const Axis *y)
        : m_painter(painter), m_x(x), m_y(y), m_box(ValueBox::visible(x, y))
    {
        const QPen pen = painter->pen();
        m_merge = pen.widthF() <= 1.0 && pen.style() == Qt::SolidLine
            && !painter->testRenderHint(QPainter::Antialiasing);
        m_lines.reserve(kBatch);
    }

    ~LineRenderer() { flush(); }

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
        double x0 = m_x->pointToPixel(a.x()), y0 = m_y->pointToPixel(a.y());
        double x1 = m_x->pointToPixel(b.x()), y1 = m_y->pointToPixel(b.y());
        if (!(pixelSafe(x0) && pixelSafe(y0) && pixelSafe(x1) && pixelSafe(y1))) {
            if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)
                || !clipToPixelLimit(x0, y0, x1, y1)) {
                endRun();
                return;
            }
        }
        addLine(int(x0), int(y0), int(x1), int(y1));
    }

    void flush()
    {
        endRun();
        if (!m_lines.isEmpty()) {
            m_painter->drawLines(m_lines.constData(), m_lines.size());
            m_lines.resize(0);
        }
    }

private:
    static constexpr int kBatch = 4096;

    void addLine(int x0, int y0, int x1, int y1)
    {
        if (m_merge && x0 == x1) {
            if (m_run && m_runX == x0 && m_runEndY == y0) {
                m_runMin = qMin(m_runMin, y1);
                m_runMax = qMax(m_runMax, y1);
                m_runEndY = y1;
                return;
            }
            endRun();
            m_run = true;
            m_runX = x0;
            m_runMin = qMin(y0, y1);
            m_runMax = qMax(y0, y1);
            m_runEndY = y1;
            return;
        }
        endRun();
        push(QLine(x0, y0, x1, y1));
    }

    void endRun()
    {
        if (!m_run)
            return;
        m_run = false;
        push(QLine(m_runX, m_runMin, m_runX, m_runMax));
    }

    void push(const QLine &l)
    {
        m_lines.append(l);
        if (m_lines.size() >= kBatch) {
            m_painter->drawLines(m_lines.constData(), m_lines.size());
            m_lines.resize(0);
        }
    }

    QPainter *m_painter;
    const Axis *m_x;
    const Axis *m_y;
    ValueBox m_box;
    bool m_merge = false;
    QVector<QLine> m_lines;
    bool m_run = false;
    int m_runX = 0, m_runMin = 0, m_runMax = 0, m_runEndY = 0;
};

} // namespace tavrin

using tavrin::LineRenderer;

#endif // LINERENDERER_P_H
