#include "minmaxpointseries.h"
#include "minmaxpointseries_p.h"
#include "chartseries_p.h"
#include "seriesicon_p.h"
#include "linerenderer_p.h"
#include "geometry_p.h"

#include "axis.h"

#include <QLine>
#include <QPainter>

#include <cmath>

// Ends of a range line may lie far off the plot; held at the limit, the
// visible part of the line stays where it is.
using tavrin::clampPixel;

MinMaxPointSeries::MinMaxPointSeries()
    : MinMaxPointSeries(psPoint)
{
}

MinMaxPointSeries::MinMaxPointSeries(PointStyle style)
    : ChartSeries(), d(new MinMaxPointSeriesPrivate(&ChartSeries::d->leaving))
{
    d->style = style;
    setSize(7);
    // Points that go take their entries in the duplicate index along.
    ChartSeries::d->droppingRows = [this](int k) { d->index.dropping(k, d->points.size(), d->toPoint()); };
}

int MinMaxPointSeries::maximumPoints() const
{
    return ChartSeries::d->maximumRows;
}

void MinMaxPointSeries::setMaximumPoints(int count)
{
    if (ChartSeries::d->setRowLimit(d->points, count, ChartSeriesPrivate::rowEnds<decltype(d->points)>())) {
        const ChartSeriesPrivate::Busy busy(ChartSeries::d);
        emit maximumPointsChanged(ChartSeries::d->maximumRows);
    }
}

int MinMaxPointSeries::removeBefore(double x)
{
    return ChartSeries::d->removeRowsBefore(d->points, x, ChartSeriesPrivate::rowEnds<decltype(d->points)>());
}

MinMaxPointSeries::~MinMaxPointSeries()
{
    delete d;
}

void MinMaxPointSeries::addPoint(double x, double y, double min, double max)
{
    if (d->insertIfNew(x, y))
        d->points.append(MinMaxPoint{x, y, min, max});
    updateBounds(x, min);
    updateBounds(x, max);
    ChartSeries::d->keepRowLimit(d->points, ChartSeriesPrivate::rowEnds<decltype(d->points)>());
}

void MinMaxPointSeries::addXY(double x, double y)
{
    if (d->insertIfNew(x, y))
        d->points.append(MinMaxPoint{x, y, y, y});
    updateBounds(x, y);
    ChartSeries::d->keepRowLimit(d->points, ChartSeriesPrivate::rowEnds<decltype(d->points)>());
}

int MinMaxPointSeries::size() const
{
    return d->size;
}

void MinMaxPointSeries::setSize(int size)
{
    size = qMax(size, 3);
    if (size == d->size)
        return;
    d->size = size;
    d->halfWidth = d->halfHeight = size * 0.5;
    d->marker = tavrin::markerImage(size, d->style == psSquare, ChartSeries::d->pen,
                                    ChartSeries::d->brush);
}

// The marker is an image in the colours of its last rebuild; rebuilding it
// here keeps it in step with the lines and the legend glyph, also when the
// chart hands out palette colours.
void MinMaxPointSeries::setColor(QColor c)
{
    const bool changed = c != color();
    ChartSeries::setColor(c);
    if (changed)
        d->marker = tavrin::markerImage(d->size, d->style == psSquare, ChartSeries::d->pen,
                                        ChartSeries::d->brush);
}

void MinMaxPointSeries::setFillColor(QColor c)
{
    const bool changed = c != fillColor();
    ChartSeries::setFillColor(c);
    if (changed)
        d->marker = tavrin::markerImage(d->size, d->style == psSquare, ChartSeries::d->pen,
                                        ChartSeries::d->brush);
}

int MinMaxPointSeries::appendPoints(const double *x, const double *y, int stride, int count)
{
    d->index.blockAdded();
    return ChartSeries::d->appendXY(d->points, x, y, stride, count);
}

void MinMaxPointSeries::clear()
{
    d->index.clearing();
    ChartSeries::d->clearRowsBy([this](int k) {
        d->index.dropping(k, d->points.size(), d->toPoint());
        tavrin::clearFront(d->points, k);
    });
}

ChartSeries::seriesType MinMaxPointSeries::type()
{
    return stMinMaxPoint;
}

int MinMaxPointSeries::pointsCount()
{
    return d->points.size();
}

QString MinMaxPointSeries::dataAxisString()
{
    return QStringLiteral("X;Y1;Y2;Y3");
}

QList<QVariant> MinMaxPointSeries::point(int i)
{
    return tavrin::rowAt(d->points, i);
}

void MinMaxPointSeries::draw(QPainter *painter)
{
    if (!painter || d->points.isEmpty() || !xAxis() || !yAxis())
        return;
    painter->setPen(ChartSeries::d->pen);
    painter->setBrush(ChartSeries::d->brush);

    const Axis *xa = xAxis();
    const Axis *ya = yAxis();
    const tavrin::ValueBox box = tavrin::ValueBox::visible(xa, ya);
    const double hw = xa->pixelDeltaToPoint(d->halfWidth);
    double w = xa->pixelDeltaToPoint(d->size);
    // A flat box would intersect nothing; 0.01 keeps such points in play.
    if (w == 0)
        w = 0.01;
    const bool dot = d->style == psPoint;
    const double scale = tavrin::deviceScale(painter);
    const QPixmap &marker = d->denseMarker.at(d->marker, scale, d->size, d->style == psSquare,
                                              ChartSeries::d->pen, ChartSeries::d->brush);

    for (const MinMaxPoint &p : qAsConst(d->points)) {
        if (std::isnan(p.x) || std::isnan(p.y) || std::isnan(p.min) || std::isnan(p.max))
            continue;
        double h = p.min - p.max;
        if (h == 0)
            h = 0.01;
        if (!box.intersects(p.x - hw, p.max, w, h))
            continue;
        const double px = xa->pointToPixel(p.x);
        const double py = ya->pointToPixel(p.y);
        const double top = ya->pointToPixel(p.max);
        const double bottom = ya->pointToPixel(p.min);
        if (!tavrin::pixelSafe(px) || std::isnan(top) || std::isnan(bottom))
            continue;
        const int left = int(px - d->halfWidth);
        const int right = int(px + d->halfWidth);
        const int centre = int(px);
        const int m = int(clampPixel(top));
        const int n = int(clampPixel(bottom));
        const QLine lines[3] = {QLine(left, m, right, m), QLine(centre, m, centre, n),
                                QLine(left, n, right, n)};
        painter->drawLines(lines, 3);
        if (!tavrin::pixelSafe(py))
            continue;
        if (dot)
            painter->drawPoint(QPointF(px, py));
        else
            painter->drawPixmap(QPointF(px - d->halfWidth, py - d->halfHeight), marker);
    }
}

QIcon MinMaxPointSeries::icon(int size)
{
    return tavrin::shapeIcon(size,
                             d->style == psSquare ? tavrin::IconShape::SquareMarker
                                                  : tavrin::IconShape::RoundMarker,
                             ChartSeries::d->pen, ChartSeries::d->brush);
}

QString MinMaxPointSeries::tooltip(const QPoint &pos)
{
    if (d->points.isEmpty() || !xAxis() || !yAxis())
        return QString();
    const Axis *xa = xAxis();
    const Axis *ya = yAxis();
    const double cx = xa->pixelToPoint(pos.x());
    const double cy = ya->pixelToPoint(pos.y());
    const double dx = xa->pixelDeltaToPoint(d->size);
    const double dy = ya->pixelDeltaToPoint(d->size);
    tavrin::ValueBox probe;
    if (xa->isLogarithmic() || ya->isLogarithmic())
        probe = tavrin::pixelProbe(xa, ya, pos, d->size, d->size);
    else
        probe.set(cx - dx / 2, cy - dy / 2, dx, dy);
    for (const MinMaxPoint &p : qAsConst(d->points)) {
        // Points are taken to come in ascending x.
        if (p.x > probe.r)
            return QString();
        if (!probe.contains(p.x, p.y))
            continue;
        // The range ends are y values, so the y axis formats them.
        return tr("Ymin: %1\r\nX: %2\r\nYmax: %3\r\nY: %4")
            .arg(ya->labelString(p.min), xa->labelString(p.x), ya->labelString(p.max),
                 ya->labelString(p.y));
    }
    return QString();
}
