#include "chartseries.h"
#include <limits>
#include "chartseries_p.h"
#include "seriesdata_p.h"

#include <cmath>

namespace {

// Queued calls carry their arguments by value; the types must be known to
// the meta-type system before the first such call is made.
void registerBlockTypes()
{
    qRegisterMetaType<QVector<QPointF>>("QVector<QPointF>");
    qRegisterMetaType<QVector<double>>("QVector<double>");
}
Q_CONSTRUCTOR_FUNCTION(registerBlockTypes)

} // namespace

ChartSeries::ChartSeries()
    : QObject(nullptr), d(new ChartSeriesPrivate(this))
{
    emit cleared();
}

ChartSeries::~ChartSeries()
{
    delete d;
}

void ChartSeries::addXY(double x, double y)
{
    const ChartSeriesPrivate::Busy busy(d);
    updateBounds(x, y);
    if (d->owner)
        d->owner->scheduleRefresh();
    emit pointAdded(x, y);
}

void ChartSeries::addXY(const QDateTime &x, double y)
{
    addXY(tavrin::secondsSinceEpoch(x), y);
}

void ChartSeries::addXY(const QTime &x, double y)
{
    addXY(tavrin::secondsSinceEpoch(QDateTime(QDate::currentDate(), x, Qt::LocalTime)), y);
}

void ChartSeries::addPoints(const QVector<QPointF> &points)
{
    static_assert(sizeof(QPointF) == 2 * sizeof(double), "QPointF holds two doubles");
    if (points.isEmpty())
        return;
    const double *xy = reinterpret_cast<const double *>(points.constData());
    const int first = pointsCount();
    finishBlock(first, appendPoints(xy, xy + 1, 2, points.size()));
}

void ChartSeries::addPoints(const QVector<double> &x, const QVector<double> &y)
{
    addPoints(x.constData(), y.constData(), qMin(x.size(), y.size()));
}

void ChartSeries::addPoints(const double *x, const double *y, int count)
{
    if (!x || !y || count <= 0)
        return;
    const int first = pointsCount();
    finishBlock(first, appendPoints(x, y, 1, count));
}

int ChartSeries::appendPoints(const double *x, const double *y, int stride, int count)
{
    const int before = pointsCount();
    for (int i = 0; i < count; ++i)
        addXY(x[qptrdiff(i) * stride], y[qptrdiff(i) * stride]);
    return pointsCount() - before;
}

void ChartSeries::finishBlock(int first, int count)
{
    d->blockDone(first, count);
}

void ChartSeriesPrivate::blockDone(int first, int count)
{
    if (count <= 0)
        return;
    const Busy busy(this);
    if (owner)
        owner->scheduleRefresh();
    // Rows dropped by a point limit while the block went in move it down.
    first = qMin(first, q->pointsCount() - count);
    emit q->pointsAdded(qMax(first, 0), count);
}

namespace {

tavrin::BlockBounds boxOf(double minX, double minY, double maxX, double maxY)
{
    tavrin::BlockBounds box;
    box.minX = minX;
    box.minY = minY;
    box.maxX = maxX;
    box.maxY = maxY;
    return box;
}

} // namespace

void ChartSeriesPrivate::refuse(int count) const
{
    qWarning("%s: a block of %d rows does not fit beside the %d held; nothing was added",
             q->metaObject()->className(), count, q->pointsCount());
}

void ChartSeries::updateBlockBounds(double minX, double minY, double maxX, double maxY)
{
    d->widen(boxOf(minX, minY, maxX, maxY));
}

void ChartSeriesPrivate::widen(const tavrin::BlockBounds &box)
{
    if (std::isnan(box.minX) || std::isnan(box.minY) || std::isnan(box.maxX) || std::isnan(box.maxY))
        return;
    bool changed = false;
    auto lower = [&changed](double &bound, double v) {
        if (std::isnan(bound) || v < bound) {
            bound = v;
            changed = true;
        }
    };
    auto upper = [&changed](double &bound, double v) {
        if (std::isnan(bound) || v > bound) {
            bound = v;
            changed = true;
        }
    };
    lower(minX, box.minX);
    lower(minY, box.minY);
    upper(maxX, box.maxX);
    upper(maxY, box.maxY);
    if (changed && owner) {
        const Busy busy(this);
        owner->seriesBlockBoundsChanged(q, box.minX, box.minY, box.maxX, box.maxY);
    }
}

void ChartSeries::resetBounds(double minX, double minY, double maxX, double maxY)
{
    d->setBounds(boxOf(minX, minY, maxX, maxY));
}

void ChartSeriesPrivate::setBounds(const tavrin::BlockBounds &box)
{
    const bool narrowed = minX < box.minX || minY < box.minY || maxX > box.maxX || maxY > box.maxY
        || (std::isnan(box.minX) && !std::isnan(minX));
    const bool widened = box.minX < minX || box.minY < minY || box.maxX > maxX || box.maxY > maxY
        || (std::isnan(minX) && !std::isnan(box.minX));
    minX = box.minX;
    minY = box.minY;
    maxX = box.maxX;
    maxY = box.maxY;
    if (!owner)
        return;
    const Busy busy(this);
    if (narrowed)
        owner->seriesBoundsShrunk();
    else if (widened)
        owner->seriesBlockBoundsChanged(q, minX, minY, maxX, maxY);
}

void ChartSeries::clear()
{
    d->resetBounds();
    const ChartSeriesPrivate::Busy busy(d);
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

double ChartSeries::valueAt(double) const
{
    return std::numeric_limits<double>::quiet_NaN();
}

QString ChartSeries::name() const { return d->name; }

void ChartSeries::setName(const QString &n)
{
    if (n == d->name)
        return;
    d->name = n;
    const ChartSeriesPrivate::Busy busy(d);
    emit nameChanged();
}

bool ChartSeries::isVisible() const { return d->visible; }

void ChartSeries::setVisible(bool v)
{
    if (v == d->visible)
        return;
    d->visible = v;
    const ChartSeriesPrivate::Busy busy(d);
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
    if (d->xAxis == x && d->yAxis == y)
        return;
    d->xAxis = x;
    d->yAxis = y;
    // A series moved to another axis changes what the chart scales and shows.
    if (d->owner) {
        const ChartSeriesPrivate::Busy busy(d);
        d->owner->seriesAxesChanged(this);
    }
}

Axis *ChartSeries::xAxis() const { return d->xAxis; }
Axis *ChartSeries::yAxis() const { return d->yAxis; }
double ChartSeries::minX() const { return d->minX; }
double ChartSeries::maxX() const { return d->maxX; }
double ChartSeries::minY() const { return d->yExtent ? d->yExtent(this, false) : d->minY; }
double ChartSeries::maxY() const { return d->yExtent ? d->yExtent(this, true) : d->maxY; }

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
        d->boundsGrew(x, y);
}

void ChartSeriesPrivate::boundsGrew(double x, double y)
{
    const Busy busy(this);
    owner->seriesBoundsChanged(q, x, y);
}
