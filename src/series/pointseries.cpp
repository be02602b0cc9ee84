#include "pointseries.h"
#include "pointseries_p.h"
#include "chartseries_p.h"
#include "seriesicon_p.h"
#include "linerenderer_p.h"
#include "geometry_p.h"

#include "axis.h"

#include <QPainter>
#include <QtMath>

#include <cmath>

namespace tavrin {

QPixmap markerImage(int size, bool square, const QPen &pen, const QBrush &brush, qreal ratio)
{
    QPixmap pm(qCeil(size * ratio), qCeil(size * ratio));
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(brush);
    p.setPen(pen);
    const QRectF r(1, 1, size - 2, size - 2);
    if (square)
        p.drawRect(r);
    else
        p.drawEllipse(r);
    return pm;
}

} // namespace tavrin

PointSeries::PointSeries()
    : PointSeries(psPoint)
{
}

PointSeries::PointSeries(PointStyle style)
    : ChartSeries(), d(new PointSeriesPrivate)
{
    d->style = style;
    d->marker = tavrin::markerImage(d->size, style == psSquare, ChartSeries::d->pen,
                                    ChartSeries::d->brush);
}

PointSeries::~PointSeries()
{
    delete d;
}

void PointSeries::addXY(double x, double y)
{
    const QPointF p(x, y);
    if (d->insertIfNew(p)) {
        d->points.append(p);
        stored(x, y);
    }
    ChartSeries::addXY(x, y);
}

void PointSeries::addXY(double x, double y, const QString &label)
{
    const QPointF p(x, y);
    if (d->insertIfNew(p)) {
        d->labels.insert(d->points.size(), label);
        d->points.append(p);
        stored(x, y);
    }
    ChartSeries::addXY(x, y);
}

void PointSeries::stored(double x, double y)
{
    if (d->summaries.isValid())
        d->summaries.append(d->points.size() - 1, x, y);
    if (d->maximumPoints > 0 && d->points.size() > d->maximumPoints) {
        tavrin::BlockBounds pending;
        pending.add(x, y);
        dropOldest(d->points.size() - d->maximumPoints, pending);
    }
}

int PointSeries::appendPoints(const double *x, const double *y, int stride, int count)
{
    tavrin::PointBuffer &pts = d->points;
    const int first = pts.size();
    QPointF *out = pts.grow(count);
    const tavrin::BlockBounds box = tavrin::copyPoints(out, x, y, stride, count);
    if (d->summaries.isValid())
        for (int i = 0; i < count; ++i)
            d->summaries.append(first + i, out[i].x(), out[i].y());
    d->index.blockAdded();
    const int over = d->maximumPoints > 0 ? pts.size() - d->maximumPoints : 0;
    if (over <= 0) {
        updateBlockBounds(box.minX, box.minY, box.maxX, box.maxY);
        return count;
    }
    dropOldest(over, box);
    return qMin(count, pts.size());
}

void PointSeries::dropOldest(int count, tavrin::BlockBounds current)
{
    d->index.dropping(count, [this](int i) { return d->points.at(i); });
    if (!d->labels.isEmpty()) {
        QMap<int, QString> kept;
        for (auto it = d->labels.lowerBound(count); it != d->labels.end(); ++it)
            kept.insert(it.key() - count, it.value());
        d->labels.swap(kept);
    }
    current.add(minX(), minY());
    current.add(maxX(), maxY());
    const tavrin::BlockBounds left = tavrin::dropFront(d->points, count, current, d->summaries);
    resetBounds(left.minX, left.minY, left.maxX, left.maxY);
    emit pointsRemoved(count);
}

int PointSeries::maximumPoints() const
{
    return d->maximumPoints;
}

void PointSeries::setMaximumPoints(int count)
{
    count = qMax(count, 0);
    if (count == d->maximumPoints)
        return;
    d->maximumPoints = count;
    if (count > 0 && d->points.size() > count)
        dropOldest(d->points.size() - count, tavrin::BlockBounds());
    emit maximumPointsChanged(count);
}

int PointSeries::removeBefore(double x)
{
    const int k = tavrin::countBefore(d->points, x);
    if (k > 0)
        dropOldest(k, tavrin::BlockBounds());
    return k;
}

const QPointF &PointSeries::pt(int i) const
{
    return d->points.at(i);
}

void PointSeries::clear()
{
    ChartSeries::clear();
    d->points.clear();
    d->labels.clear();
    d->index.clear();
    d->summaries.invalidate();
}

ChartSeries::seriesType PointSeries::type()
{
    return stPoint;
}

int PointSeries::pointsCount()
{
    return d->points.size();
}

QString PointSeries::dataAxisString()
{
    return QStringLiteral("X;Y");
}

QList<QVariant> PointSeries::point(int i)
{
    if (i < 0 || i >= d->points.size())
        return QList<QVariant>();
    const QPointF &p = d->points.at(i);
    return QList<QVariant>() << QVariant(p.x()) << QVariant(p.y());
}

int PointSeries::size() const
{
    return d->size;
}

void PointSeries::setSize(int n)
{
    n = qMax(n, 3);
    if (n == d->size)
        return;
    d->size = n;
    d->halfWidth = d->halfHeight = n * 0.5;
    d->marker = tavrin::markerImage(n, d->style == psSquare, ChartSeries::d->pen,
                                    ChartSeries::d->brush);
    emit refresh();
}

bool PointSeries::vectorRendering() const
{
    return d->vectorRendering;
}

void PointSeries::setVectorRendering(bool on)
{
    if (on == d->vectorRendering)
        return;
    d->vectorRendering = on;
    emit refresh();
}

void PointSeries::setColor(QColor c)
{
    const bool changed = c != color();
    ChartSeries::setColor(c);
    if (!changed)
        return;
    d->marker = tavrin::markerImage(d->size, d->style == psSquare, ChartSeries::d->pen,
                                    ChartSeries::d->brush);
    emit refresh();
}

void PointSeries::setFillColor(QColor c)
{
    const bool changed = c != fillColor();
    ChartSeries::setFillColor(c);
    if (!changed)
        return;
    d->marker = tavrin::markerImage(d->size, d->style == psSquare, ChartSeries::d->pen,
                                    ChartSeries::d->brush);
    emit refresh();
}

namespace {

// std::floor() for values well inside int's range, without the library call.
inline int floorToInt(double v)
{
    const int i = int(v);
    return i - (v < i);
}

// draw() for markers the stamp blends itself: the same points at the same
// device pixels, without a call per coordinate.
void stampMarkers(const PointSeriesPrivate &d, const Axis *xa, const Axis *ya,
                  const tavrin::ValueBox &box, double scale)
{
    const tavrin::PixelMap mx(xa), my(ya);
    const double hw = d.halfWidth, hh = d.halfHeight;
    for (const QPointF &p : d.points) {
        if (!box.contains(p.x(), p.y()))
            continue;
        const double px = mx(p.x()), py = my(p.y());
        if (!tavrin::pixelSafe(px) || !tavrin::pixelSafe(py))
            continue;
        d.stamp.stamp(floorToInt((px - hw) * scale + 0.5), floorToInt((py - hh) * scale + 0.5));
    }
}

} // namespace

void PointSeries::draw(QPainter *painter)
{
    if (!painter || d->points.isEmpty() || !xAxis() || !yAxis())
        return;
    const QPen &pen = ChartSeries::d->pen;
    painter->setPen(pen);
    painter->setBrush(ChartSeries::d->brush);

    const Axis *xa = xAxis();
    const Axis *ya = yAxis();
    const tavrin::ValueBox box = tavrin::ValueBox::visible(xa, ya);
    const bool dots = d->style == psPoint;
    const bool square = d->style == psSquare;
    const bool vector = d->vectorRendering;

    // A vector marker is inset by half the pen width so that its outline,
    // like the stamped image, covers exactly size x size pixels.
    double inset = 0;
    if (pen.style() != Qt::NoPen)
        inset = qMin(pen.widthF() > 0 ? pen.widthF() : 1.0, double(d->size)) * 0.5;
    const double side = d->size - 2 * inset;
    const double scale = tavrin::deviceScale(painter);
    const QPixmap &marker = d->denseMarker.at(d->marker, scale, d->size, square, pen,
                                              ChartSeries::d->brush);

    // The stamp loop maps values linearly; a logarithmic axis goes the
    // plain way.
    if (!dots && !vector && !xa->isLogarithmic() && !ya->isLogarithmic() && d->stamp.bind(painter, marker)) {
        stampMarkers(*d, xa, ya, box, scale);
        return;
    }

    constexpr int kBatch = 256;
    QPointF dotBatch[kBatch];
    int dotCount = 0;

    for (const QPointF &p : qAsConst(d->points)) {
        // NaN coordinates fail this test too, so they are never drawn.
        if (!box.contains(p.x(), p.y()))
            continue;
        const double px = xa->pointToPixel(p.x());
        const double py = ya->pointToPixel(p.y());
        if (!tavrin::pixelSafe(px) || !tavrin::pixelSafe(py))
            continue;
        if (dots) {
            dotBatch[dotCount++] = QPointF(px, py);
            if (dotCount == kBatch) {
                painter->drawPoints(dotBatch, dotCount);
                dotCount = 0;
            }
            continue;
        }
        // Whole pixels, as the raster engine would round a stamp anyway; so
        // vector markers land exactly where the stamps do.
        const double left = tavrin::snapToDevice(px - d->halfWidth, scale);
        const double top = tavrin::snapToDevice(py - d->halfHeight, scale);
        if (!vector)
            painter->drawPixmap(QPointF(left, top), marker);
        else if (square)
            painter->drawRect(QRectF(left + inset, top + inset, side, side));
        else
            painter->drawEllipse(QRectF(left + inset, top + inset, side, side));
    }
    if (dotCount)
        painter->drawPoints(dotBatch, dotCount);
}

QIcon PointSeries::icon(int size)
{
    return tavrin::shapeIcon(size,
                             d->style == psSquare ? tavrin::IconShape::SquareMarker
                                                  : tavrin::IconShape::RoundMarker,
                             ChartSeries::d->pen, ChartSeries::d->brush);
}

QString PointSeries::tooltip(const QPoint &pos)
{
    if (d->points.isEmpty() || !xAxis() || !yAxis())
        return QString();
    const double cx = xAxis()->pixelToPoint(pos.x());
    const double cy = yAxis()->pixelToPoint(pos.y());
    const double w = xAxis()->pixelDeltaToPoint(d->size);
    const double h = yAxis()->pixelDeltaToPoint(d->size);
    tavrin::ValueBox probe;
    if (xAxis()->isLogarithmic() || yAxis()->isLogarithmic())
        probe = tavrin::pixelProbe(xAxis(), yAxis(), pos, d->size, d->size);
    else
        probe.set(cx - w / 2, cy - h / 2, w, h);
    for (int i = 0, n = d->points.size(); i < n; ++i) {
        const QPointF &p = d->points.at(i);
        if (!probe.contains(p.x(), p.y()))
            continue;
        auto label = d->labels.constFind(i);
        if (label != d->labels.constEnd())
            return *label;
        // One arg() call, so a label text holding "%2" cannot be re-expanded.
        return tr("X: %1\r\nY: %2").arg(xAxis()->labelString(p.x()), yAxis()->labelString(p.y()));
    }
    return QString();
}
