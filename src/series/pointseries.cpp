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
    : ChartSeries(), d(new PointSeriesPrivate(this))
{
    d->style = style;
    d->marker = tavrin::markerImage(d->size, style == psSquare, ChartSeries::d->pen,
                                    ChartSeries::d->brush);
}

PointSeries::~PointSeries()
{
    delete d;
}

void PointSeriesPrivate::add(const QPointF &p, const QString *label)
{
    if (!insertIfNew(p))
        return;
    if (label)
        labels.insert(buffer.size(), *label);
    append(p);
    keepLimit(p.x(), p.y());
}

PointSeriesPrivate::PointSeriesPrivate(PointSeries *series)
    : PointStream(series), index(&series->ChartSeries::d->leaving)
{
}

void PointSeriesPrivate::restyled(bool newMarker)
{
    ChartSeriesPrivate *base = series();
    if (newMarker)
        marker = tavrin::markerImage(size, style == PointSeries::psSquare, base->pen, base->brush);
    const ChartSeriesPrivate::Busy busy(base);
    emit base->q->refresh();
}

void PointSeriesPrivate::dropping(int count)
{
    index.dropping(count, buffer.size(), [this](int i) { return buffer.at(i); });
    if (count == buffer.size()) {
        labels.clear();
        return;
    }
    if (!labels.isEmpty()) {
        QMap<int, QString> kept;
        for (auto it = labels.lowerBound(count); it != labels.end(); ++it)
            kept.insert(it.key() - count, it.value());
        labels.swap(kept);
    }
}

void PointSeries::addXY(double x, double y)
{
    d->add(QPointF(x, y), nullptr);
    ChartSeries::addXY(x, y);
}

void PointSeries::addXY(double x, double y, const QString &label)
{
    d->add(QPointF(x, y), &label);
    ChartSeries::addXY(x, y);
}

int PointSeries::appendPoints(const double *x, const double *y, int stride, int count)
{
    d->index.blockAdded();
    return d->appendBlock(x, y, stride, count);
}

int PointSeries::maximumPoints() const
{
    return d->maximumPoints;
}

void PointSeries::setMaximumPoints(int count)
{
    if (d->setMaximumPoints(count)) {
        const ChartSeriesPrivate::Busy busy(ChartSeries::d);
        emit maximumPointsChanged(d->maximumPoints);
    }
}

int PointSeries::removeBefore(double x)
{
    return d->removeBefore(x);
}

const QPointF &PointSeries::pt(int i) const
{
    return d->buffer.at(i);
}

void PointSeries::clear()
{
    d->clear();
}

ChartSeries::seriesType PointSeries::type()
{
    return stPoint;
}

int PointSeries::pointsCount()
{
    return d->buffer.size();
}

QString PointSeries::dataAxisString()
{
    return QStringLiteral("X;Y");
}

QList<QVariant> PointSeries::point(int i)
{
    return tavrin::rowAt(d->buffer, i);
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
    d->restyled(true);
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
    d->restyled(false);
}

void PointSeries::setColor(QColor c)
{
    const bool changed = c != color();
    ChartSeries::setColor(c);
    if (changed)
        d->restyled(true);
}

void PointSeries::setFillColor(QColor c)
{
    const bool changed = c != fillColor();
    ChartSeries::setFillColor(c);
    if (changed)
        d->restyled(true);
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
    for (const QPointF &p : d.buffer) {
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
    if (!painter || d->buffer.isEmpty() || !xAxis() || !yAxis())
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

    for (const QPointF &p : qAsConst(d->buffer)) {
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
    if (d->buffer.isEmpty() || !xAxis() || !yAxis())
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
    for (int i = 0, n = d->buffer.size(); i < n; ++i) {
        const QPointF &p = d->buffer.at(i);
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

double PointSeries::valueAt(double x) const
{
    return tavrin::interpolateAt(*d, x);
}
