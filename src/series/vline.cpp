#include "vline.h"
#include "vline_p.h"
#include "seriesdata_p.h"
#include "geometry_p.h"

#include "axis.h"
#include "qtcompat_p.h"

#include <QPainter>
#include <cmath>

VLine::VLine(double x, const QColor &color, int width)
    : QObject(nullptr), d(new VLinePrivate)
{
    d->x = x;
    d->pen.setColor(color);
    d->pen.setWidth(width);
}

VLine::VLine(const QDateTime &x, const QColor &color, int width)
    : VLine(tavrin::secondsSinceEpoch(x), color, width)
{
}

VLine::~VLine()
{
    delete d;
}

double VLine::x() const { return d->x; }

void VLine::setAxis(Axis *x, Axis *y)
{
    d->xAxis = x;
    d->yAxis = y;
}

Axis *VLine::xAxis() const { return d->xAxis; }
Axis *VLine::yAxis() const { return d->yAxis; }

void VLine::draw(QPainter *painter)
{
    if (!painter || !d->xAxis || !d->yAxis)
        return;
    painter->setPen(d->pen);
    // A NaN x is in no range; the explicit test keeps it from being drawn.
    if (std::isnan(d->x) || d->x < d->xAxis->min() || d->x > d->xAxis->max())
        return;
    const double px = d->xAxis->pointToPixel(d->x);
    const double bottom = d->yAxis->pointToPixel(d->yAxis->min());
    const double top = d->yAxis->pointToPixel(d->yAxis->max());
    if (!tavrin::pixelSafe(px) || !tavrin::pixelSafe(bottom) || !tavrin::pixelSafe(top))
        return;
    const double s = tavrin::deviceScale(painter);
    if (s == 1.0) {
        painter->drawLine(int(px), int(bottom), int(px), int(top));
        return;
    }
    // On a high-density image the line may sit between two logical pixels.
    const double x = std::floor(px * s) / s;
    painter->drawLine(QLineF(x, std::floor(bottom * s) / s, x, std::floor(top * s) / s));
}
