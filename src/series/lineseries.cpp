#include "lineseries.h"
#include "lineseries_p.h"
#include "chartseries_p.h"
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
    d->points.append(QPointF(x, y));
    d->appended(x, y);
    if (d->maximumPoints > 0 && d->points.size() > d->maximumPoints) {
        // The new point is in the bounds before the old ones go, so the
        // chart hears of one change.
        tavrin::BlockBounds pending;
        pending.add(x, y);
        dropOldest(d->points.size() - d->maximumPoints, pending);
    }
    ChartSeries::addXY(x, y);
}

void LineSeries::addPoint(const QPointF &p)
{
    addXY(p.x(), p.y());
}

int LineSeries::appendPoints(const double *x, const double *y, int stride, int count)
{
    QList<QPointF> &pts = d->points;
    pts.reserve(pts.size() + count);
    tavrin::BlockBounds box;
    const bool keepSummaries = d->summaries.isValid();
    for (int i = 0; i < count; ++i) {
        const double px = x[qptrdiff(i) * stride], py = y[qptrdiff(i) * stride];
        pts.append(QPointF(px, py));
        box.add(px, py);
        if (keepSummaries)
            d->summaries.append(pts.size() - 1, px, py);
    }
    const int over = d->maximumPoints > 0 ? pts.size() - d->maximumPoints : 0;
    if (over <= 0) {
        updateBlockBounds(box.minX, box.minY, box.maxX, box.maxY);
        return count;
    }
    // One bounds change for the block and the points it pushes out.
    dropOldest(over, box);
    return qMin(count, pts.size());
}

void LineSeries::dropOldest(int count, tavrin::BlockBounds current)
{
    current.add(minX(), minY());
    current.add(maxX(), maxY());
    const tavrin::BlockBounds left = tavrin::dropFront(d->points, count, current, d->summaries);
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
    if (count > 0 && d->points.size() > count)
        dropOldest(d->points.size() - count, tavrin::BlockBounds());
    emit maximumPointsChanged(count);
}

int LineSeries::removeBefore(double x)
{
    const int k = tavrin::countBefore(d->points, x);
    if (k > 0)
        dropOldest(k, tavrin::BlockBounds());
    return k;
}

void LineSeries::addMid(double x, double y)
{
    d->summaries.invalidate();
    for (int i = d->points.size() - 1; i >= 0; --i) {
        QPointF &p = d->points[i];
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
    if (i < 0 || i >= d->points.size())
        return;
    d->summaries.invalidate();
    d->points[i] = p;
    updateBounds(p.x(), p.y());
}

QPointF &LineSeries::operator[](int i)
{
    if (i < 0 || i >= d->points.size()) {
        d->dummy = QPointF(0, 0);
        return d->dummy;
    }
    d->summaries.invalidate();
    return d->points[i];
}

QList<QPointF> &LineSeries::points() const
{
    // Whatever is done through the reference is out of sight.
    d->summaries.invalidate();
    return d->points;
}

void LineSeries::substract(LineSeries *other)
{
    if (!other || other->d->points.size() != d->points.size())
        return;
    d->summaries.invalidate();
    const QList<QPointF> &o = other->d->points;
    for (int i = d->points.size() - 1; i >= 0; --i) {
        QPointF &p = d->points[i];
        updateBounds(p.x(), p.y());
        p.setY(p.y() - o.at(i).y());
        updateBounds(p.x(), p.y());
    }
}

void LineSeries::clear()
{
    ChartSeries::clear();
    d->points.clear();
    d->summaries.invalidate();
}

ChartSeries::seriesType LineSeries::type()
{
    return stLine;
}

int LineSeries::pointsCount()
{
    return d->points.size();
}

QString LineSeries::dataAxisString()
{
    return QStringLiteral("X;Y");
}

QList<QVariant> LineSeries::point(int i)
{
    if (i < 0 || i >= d->points.size())
        return QList<QVariant>();
    const QPointF &p = d->points.at(i);
    return QList<QVariant>() << QVariant(p.x()) << QVariant(p.y());
}

void LineSeries::draw(QPainter *painter)
{
    if (!painter || d->points.size() < 2 || !xAxis() || !yAxis())
        return;
    painter->setPen(ChartSeries::d->pen);
    painter->setBrush(ChartSeries::d->brush);
    LineRenderer renderer(painter, xAxis(), yAxis());
    renderer.polyline(d->points);
    renderer.flush();
}

QIcon LineSeries::icon(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(ChartSeries::d->pen);
    p.setBrush(ChartSeries::d->brush);
    p.drawLine(0, size / 2, size, size / 2);
    p.end();
    return QIcon(pm);
}
