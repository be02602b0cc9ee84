#include "highlowseries.h"
#include "highlowseries_p.h"
#include "seriesdata_p.h"
#include "chartseries_p.h"
#include "seriesicon_p.h"
#include "linerenderer_p.h"
#include "geometry_p.h"

#include "axis.h"
#include "qtcompat_p.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cmath>

using tavrin::ValueBox;
using tavrin::kPixelLimit;
using tavrin::pixelSafe;

namespace {

// A band path holding more elements than this is dropped after the paint
// rather than kept as scratch: a long series seen whole would otherwise pin
// its whole outline in memory.
constexpr int kKeptBandElements = 1 << 16;

// One Sutherland-Hodgman pass against the half-plane `coord(p) * sign <= kPixelLimit`.
int clipPass(const QPointF *in, int n, QPointF *out, bool vertical, double sign)
{
    auto coord = [vertical](const QPointF &p) { return vertical ? p.y() : p.x(); };
    auto inside = [&](const QPointF &p) { return coord(p) * sign <= kPixelLimit; };
    auto cross = [&](const QPointF &a, const QPointF &b) {
        const double t = (sign * kPixelLimit - coord(a)) / (coord(b) - coord(a));
        QPointF p = a + t * (b - a);
        (vertical ? p.ry() : p.rx()) = sign * kPixelLimit;
        return p;
    };
    int m = 0;
    for (int i = 0; i < n; ++i) {
        const QPointF &prev = in[(i + n - 1) % n];
        const QPointF &cur = in[i];
        const bool curIn = inside(cur);
        if (curIn != inside(prev))
            out[m++] = cross(prev, cur);
        if (curIn)
            out[m++] = cur;
    }
    return m;
}

// Adds the quadrilateral q to the band, cut to the pixel range QPainter can
// take. Clipping a polygon by half-planes keeps its odd-even interior, so a
// crossing band still fills its two triangles.
void addQuad(QPainterPath &band, const QPointF (&q)[4])
{
    const QPointF *src = q;
    int n = 4;
    QPointF buf[2][8];
    if (!(pixelSafe(q[0].x()) && pixelSafe(q[0].y()) && pixelSafe(q[1].x()) && pixelSafe(q[1].y())
          && pixelSafe(q[2].x()) && pixelSafe(q[2].y()) && pixelSafe(q[3].x()) && pixelSafe(q[3].y()))) {
        n = clipPass(src, n, buf[0], false, 1.0);
        n = clipPass(buf[0], n, buf[1], false, -1.0);
        n = clipPass(buf[1], n, buf[0], true, 1.0);
        n = clipPass(buf[0], n, buf[1], true, -1.0);
        if (n < 3)
            return;
        src = buf[1];
    }
    band.moveTo(src[0]);
    for (int i = 1; i < n; ++i)
        band.lineTo(src[i]);
}

void drawLine(QPainter *painter, double x0, double y0, double x1, double y1)
{
    if (!(pixelSafe(x0) && pixelSafe(y0) && pixelSafe(x1) && pixelSafe(y1)) && !tavrin::clipToPixelLimit(x0, y0, x1, y1))
        return;
    painter->drawLine(int(x0), int(y0), int(x1), int(y1));
}

} // namespace

namespace {

void registerHighLowTypes()
{
    qRegisterMetaType<QVector<HighLowSeries::HighLowPoint>>("QVector<HighLowSeries::HighLowPoint>");
}
Q_CONSTRUCTOR_FUNCTION(registerHighLowTypes)

} // namespace

namespace tavrin {
template <>
struct RowTraits<HighLowSeries::HighLowPoint> {
    static HighLowSeries::HighLowPoint fromXY(double x, double y) { return {x, y, y}; }
    template <typename F>
    static void ends(const HighLowSeries::HighLowPoint &p, F f)
    {
        f(p.x, p.y1);
        f(p.x, p.y2);
    }
    static QList<QVariant> values(const HighLowSeries::HighLowPoint &p) { return {p.x, p.y1, p.y2}; }
};
} // namespace tavrin

HighLowSeries::HighLowSeries(QObject *parent)
    : ChartSeries(), d(new HighLowSeriesPrivate)
{
    setParent(parent);
}

HighLowSeries::~HighLowSeries()
{
    delete d;
}

int HighLowSeries::maximumPoints() const
{
    return ChartSeries::d->maximumRows;
}

void HighLowSeries::setMaximumPoints(int count)
{
    if (ChartSeries::d->setRowLimit(d->points, count, ChartSeriesPrivate::rowEnds<decltype(d->points)>())) {
        const ChartSeriesPrivate::Busy busy(ChartSeries::d);
        emit maximumPointsChanged(ChartSeries::d->maximumRows);
    }
}

int HighLowSeries::removeBefore(double x)
{
    return ChartSeries::d->removeRowsBefore(d->points, x, ChartSeriesPrivate::rowEnds<decltype(d->points)>());
}

void HighLowSeries::addPoint(double x, double y1, double y2)
{
    addPoint(HighLowPoint{x, y1, y2});
}

void HighLowSeries::addPoint(const HighLowSeries::HighLowPoint &point)
{
    ChartSeries::d->addRow(d->points, point);
}

void HighLowSeries::addPoint(const QDateTime &x, double y1, double y2)
{
    addPoint(tavrin::secondsSinceEpoch(x), y1, y2);
}

void HighLowSeries::addPoints(const QVector<HighLowPoint> &points)
{
    ChartSeries::d->addRows(d->points, points);
}

int HighLowSeries::appendPoints(const double *x, const double *y, int stride, int count)
{
    return ChartSeries::d->appendXY(d->points, x, y, stride, count);
}

QList<HighLowSeries::HighLowPoint> &HighLowSeries::points() const
{
    return d->points;
}

void HighLowSeries::addXY(double x, double y)
{
    addPoint(x, y, y);
}

void HighLowSeries::clear()
{
    ChartSeries::d->clearRows(d->points);
}

ChartSeries::seriesType HighLowSeries::type()
{
    return stHighLow;
}

int HighLowSeries::pointsCount()
{
    return d->points.size();
}

QString HighLowSeries::dataAxisString()
{
    return QStringLiteral("X;Y1;Y2");
}

QList<QVariant> HighLowSeries::point(int index)
{
    return tavrin::rowAt(d->points, index);
}

void HighLowSeries::draw(QPainter *painter)
{
    const QList<HighLowPoint> &pts = d->points;
    if (!painter || pts.size() < 2 || !xAxis() || !yAxis())
        return;
    const Axis *xa = xAxis();
    const Axis *ya = yAxis();
    painter->setPen(ChartSeries::d->pen);
    painter->setBrush(ChartSeries::d->brush);

    const ValueBox visible = ValueBox::visible(xa, ya);
    QPainterPath &band = d->band;
    band.clear();
    band.setFillRule(Qt::OddEvenFill);

    for (int i = 1, n = pts.size(); i < n; ++i) {
        const HighLowPoint &p0 = pts.at(i - 1);
        const HighLowPoint &p1 = pts.at(i);
        if (std::isnan(p0.x) || std::isnan(p1.x) || std::isnan(p0.y1) || std::isnan(p1.y1)
            || std::isnan(p0.y2) || std::isnan(p1.y2))
            continue;
        const double lo = std::min({p0.y1, p1.y1, p0.y2, p1.y2});
        const double hi = std::max({p0.y1, p1.y1, p0.y2, p1.y2});
        if (!visible.intersects(p0.x, lo, p1.x - p0.x, hi - lo))
            continue;
        const double X0 = xa->pointToPixel(p0.x), X1 = xa->pointToPixel(p1.x);
        const double A0 = ya->pointToPixel(p0.y1), A1 = ya->pointToPixel(p1.y1);
        const double B0 = ya->pointToPixel(p0.y2), B1 = ya->pointToPixel(p1.y2);
        if (!(std::isfinite(X0) && std::isfinite(X1) && std::isfinite(A0) && std::isfinite(A1)
              && std::isfinite(B0) && std::isfinite(B1)))
            continue;
        addQuad(band, {QPointF(X0, A0), QPointF(X1, A1), QPointF(X1, B1), QPointF(X0, B0)});
        drawLine(painter, X0, A0, X1, A1);
        if (d->lowerLineVisible)
            drawLine(painter, X0, B0, X1, B1);
    }

    // One fill for the whole band, over the lines.
    if (!band.isEmpty())
        painter->fillPath(band, d->brush);
    if (band.elementCount() > kKeptBandElements)
        band = QPainterPath();
}

QBrush HighLowSeries::brush() const
{
    return d->brush;
}

void HighLowSeries::setBrush(const QBrush &brush)
{
    d->customBrush = true;
    if (brush == d->brush)
        return;
    d->brush = brush;
    if (ChartSeries::d->owner)
        ChartSeries::d->owner->seriesContentChanged(this, false);
    const ChartSeriesPrivate::Busy busy(ChartSeries::d);
    emit brushChanged(brush);
}

bool HighLowSeries::isLowerLineVisible() const
{
    return d->lowerLineVisible;
}

void HighLowSeries::setLowerLineVisible(bool visible)
{
    if (visible == d->lowerLineVisible)
        return;
    d->lowerLineVisible = visible;
    if (ChartSeries::d->owner)
        ChartSeries::d->owner->seriesContentChanged(this, false);
    const ChartSeriesPrivate::Busy busy(ChartSeries::d);
    emit lowerLineVisibleChanged(visible);
}

QIcon HighLowSeries::icon(int size)
{
    if (d->customBrush) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        tavrin::paintSeriesIcon(this, &p, size);
        return QIcon(pm);
    }
    return tavrin::shapeIcon(size, tavrin::IconShape::Line, ChartSeries::d->pen, ChartSeries::d->brush);
}
