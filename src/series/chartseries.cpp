#include "chartseries.h"
#include "chartseries_p.h"
#include "qtcompat_p.h"

#include <cmath>

ChartSeries::ChartSeries()
    : QObject(nullptr), d(new ChartSeriesPrivate)
{
    emit cleared();
}

ChartSeries::~ChartSeries()
{
    delete d;
}

void ChartSeries::addXY(double x, double y)
{
    updateBounds(x, y);
    if (d->owner)
        d->owner->scheduleRefresh();
    emit pointAdded(x, y);
}

void ChartSeries::addXY(const QDateTime &x, double y)
{
    addXY(double(QtCompat::toTime_t(x)), y);
}

void ChartSeries::addXY(const QTime &x, double y)
{
    addXY(double(QtCompat::toTime_t(QDateTime(QDate::currentDate(), x, Qt::LocalTime))), y);
}

void ChartSeries::clear()
{
    d->resetBounds();
    emit cleared();
}

void ChartSeries::setColor(QColor c)
{
    d->autoColor = false;
    d->pen.setColor(c);
}

void ChartSeries::setFillColor(QColor c)
{
    d->autoColor = false;
    d->brush.setColor(c);
}

QString ChartSeries::tooltip(const QPoint &)
{
    return QString();
}

QString ChartSeries::name() const { return d->name; }

void ChartSeries::setName(const QString &n)
{
    if (n == d->name)
        return;
    d->name = n;
    emit nameChanged();
}

bool ChartSeries::isVisible() const { return d->visible; }

void ChartSeries::setVisible(bool v)
{
    if (v == d->visible)
        return;
    d->visible = v;
    emit visible(v);
}

bool ChartSeries::isLegendVisible() const { return d->legendVisible; }
void ChartSeries::setLegendVisible(bool v) { d->legendVisible = v; }
QColor ChartSeries::color() const { return d->pen.color(); }
QColor ChartSeries::fillColor() const { return d->brush.color(); }
void ChartSeries::setWidth(int w) { d->pen.setWidth(w); }
void ChartSeries::enableTooltip(bool on) { d->tooltipMode = on ? 1 : 0; }
int ChartSeries::forceTooltip() const { return d->tooltipMode; }

void ChartSeries::setAxis(Axis *x, Axis *y)
{
    d->xAxis = x;
    d->yAxis = y;
}

Axis *ChartSeries::xAxis() const { return d->xAxis; }
Axis *ChartSeries::yAxis() const { return d->yAxis; }
double ChartSeries::minX() const { return d->minX; }
double ChartSeries::maxX() const { return d->maxX; }
double ChartSeries::minY() const { return d->minY; }
double ChartSeries::maxY() const { return d->maxY; }

void ChartSeries::updateBounds(double x, double y)
{
    if (std::isnan(x) || std::isnan(y))
        return;
    bool changed = false;
    if (std::isnan(d->minX)) { d->minX = x; changed = true; }
    if (std::isnan(d->maxX)) { d->maxX = x; changed = true; }
    if (std::isnan(d->minY)) { d->minY = y; changed = true; }
    if (std::isnan(d->maxY)) { d->maxY = y; changed = true; }
    if (d->minX > x) { d->minX = x; changed = true; }
    else if (x > d->maxX) { d->maxX = x; changed = true; }
    if (d->minY > y) { d->minY = y; changed = true; }
    else if (y > d->maxY) { d->maxY = y; changed = true; }
    if (changed && d->owner)
        d->owner->seriesBoundsChanged(x, y);
}
