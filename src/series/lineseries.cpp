#include "lineseries.h"
#include "lineseries_p.h"
#include "chartseries_p.h"
#include "seriesicon_p.h"
#include "linerenderer_p.h"

#include "axis.h"

#include <QPainter>
#include <QPixmap>

LineSeries::LineSeries(QObject *parent)
    : ChartSeries(), d(new LineSeriesPrivate)
{
    setParent(parent);
}

LineSeries::LineSeries(const LineSeries &)
    : ChartSeries(), d(new LineSeriesPrivate)
{
}

LineSeries::~LineSeries()
{
    delete d;
}

void LineSeries::addXY(double x, double y)
{
    d->append(QPointF(x, y));
    if (d->maximumPoints > 0 && d->size() > d->maximumPoints) {
        // The new point is in the bounds before the old ones go, so the
        // chart hears of one change.
        tavrin::BlockBounds pending;
        pending.add(x, y);
        dropOldest(d->size() - d->maximumPoints, pending);
    }
    ChartSeries::addXY(x, y);
}

void LineSeries::addPoint(const QPointF &p)
{
    addXY(p.x(), p.y());
}

int LineSeries::appendPoints(const double *x, const double *y, int stride, int count)
{
    const int first = d->size();
    tavrin::BlockBounds box;
    if (d->list) {
        d->list->reserve(first + count);
        for (int i = 0; i < count; ++i)
            d->list->append(QPointF(x[qptrdiff(i) * stride], y[qptrdiff(i) * stride]));
        box = tavrin::copyPoints(nullptr, x, y, stride, count);
    } else {
        box = tavrin::copyPoints(d->buffer.grow(count), x, y, stride, count);
    }
    if (d->summaries.isValid())
        for (int i = 0; i < count; ++i) {
            const QPointF &p = d->at(first + i);
            d->summaries.append(first + i, p.x(), p.y());
        }
    const int over = d->maximumPoints > 0 ? d->size() - d->maximumPoints : 0;
    if (over <= 0) {
        updateBlockBounds(box.minX, box.minY, box.maxX, box.maxY);
        return count;
    }
    // One bounds change for the block and the points it pushes out.
    dropOldest(over, box);
    return qMin(count, d->size());
}

void LineSeries::dropOldest(int count, tavrin::BlockBounds current)
{
    current.add(minX(), minY());
    current.add(maxX(), maxY());
    const tavrin::BlockBounds left
        = d->with([&](auto &pts) { return tavrin::dropFront(pts, count, current, d->summaries); });
    // A list handed out by reference may change under any summary.
    if (d->list)
        d->summaries.invalidate();
    resetBounds(left.minX, left.minY, left.maxX, left.maxY);
    emit pointsRemoved(count);
}

int LineSeries::maximumPoints() const
{
    return d->maximumPoints;
}

void LineSeries::setMaximumPoints(int count)
{
    count = qMax(count, 0);
    if (count == d->maximumPoints)
        return;
    d->maximumPoints = count;
    if (count > 0 && d->size() > count)
        dropOldest(d->size() - count, tavrin::BlockBounds());
    emit maximumPointsChanged(count);
}

int LineSeries::removeBefore(double x)
{
    const int k = d->with([x](const auto &pts) { return tavrin::countBefore(pts, x); });
    if (k > 0)
        dropOldest(k, tavrin::BlockBounds());
    return k;
}

void LineSeries::addMid(double x, double y)
{
    d->summaries.invalidate();
    for (int i = d->size() - 1; i >= 0; --i) {
        QPointF &p = d->ref(i);
        if (p.x() == x) {
            updateBounds(p.x(), p.y());
            p.setY((y + p.y()) * 0.5);
            updateBounds(p.x(), p.y());
            return;
        }
    }
}

void LineSeries::changePoint(int i, const QPointF &p)
{
    if (i < 0 || i >= d->size())
        return;
    d->summaries.invalidate();
    d->ref(i) = p;
    updateBounds(p.x(), p.y());
}

QPointF &LineSeries::operator[](int i)
{
    if (i < 0 || i >= d->size()) {
        d->dummy = QPointF(0, 0);
        return d->dummy;
    }
    d->summaries.invalidate();
    // The reference must outlive later appends, as a list node does.
    return d->asList()[i];
}

QList<QPointF> &LineSeries::points() const
{
    // Whatever is done through the reference is out of sight.
    d->summaries.invalidate();
    return d->asList();
}

void LineSeries::substract(LineSeries *other)
{
    if (!other || other->d->size() != d->size())
        return;
    d->summaries.invalidate();
    for (int i = d->size() - 1; i >= 0; --i) {
        QPointF &p = d->ref(i);
        updateBounds(p.x(), p.y());
        p.setY(p.y() - other->d->at(i).y());
        updateBounds(p.x(), p.y());
    }
}

void LineSeries::clear()
{
    ChartSeries::clear();
    if (d->list)
        d->list->clear();
    d->buffer.clear();
    d->summaries.invalidate();
}

ChartSeries::seriesType LineSeries::type()
{
    return stLine;
}

int LineSeries::pointsCount()
{
    return d->size();
}

QString LineSeries::dataAxisString()
{
    return QStringLiteral("X;Y");
}

QList<QVariant> LineSeries::point(int i)
{
    if (i < 0 || i >= d->size())
        return QList<QVariant>();
    const QPointF &p = d->at(i);
    return QList<QVariant>() << QVariant(p.x()) << QVariant(p.y());
}

void LineSeries::draw(QPainter *painter)
{
    if (!painter || d->size() < 2 || !xAxis() || !yAxis())
        return;
    painter->setPen(ChartSeries::d->pen);
    painter->setBrush(ChartSeries::d->brush);
    LineRenderer renderer(painter, xAxis(), yAxis());
    const AxisPrivate *xs = xAxis()->d;
    const AxisPrivate *ys = yAxis()->d;
    if (xs->logarithmic || ys->logarithmic) {
        // The renderer maps linearly, so it gets the logarithms; values
        // without one turn NaN and break the line. Block summaries of the
        // values do not hold for them, so the plain walk is taken.
        QVector<QPointF> pts;
        pts.reserve(d->size());
        for (int i = 0, n = d->size(); i < n; ++i) {
            const QPointF &p = d->at(i);
            pts.append(QPointF(xs->toScale(p.x()), ys->toScale(p.y())));
        }
        renderer.polyline(pts);
    } else if (d->list) {
        renderer.polyline(*d->list);
    } else {
        // Built once, then kept up to date by appends and drops.
        if (!d->summaries.isValid())
            d->summaries.rebuild(d->buffer);
        renderer.polyline(d->buffer, &d->summaries);
    }
    renderer.flush();
}

QIcon LineSeries::icon(int size)
{
    return tavrin::shapeIcon(size, tavrin::IconShape::Line, ChartSeries::d->pen, ChartSeries::d->brush);
}
