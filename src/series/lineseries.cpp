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
    d->points.append(QPointF(x, y));
    ChartSeries::addXY(x, y);
}

void LineSeries::addPoint(const QPointF &p)
{
    d->points.append(p);
    ChartSeries::addXY(p.x(), p.y());
}

void LineSeries::addMid(double x, double y)
{
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
    d->points[i] = p;
    updateBounds(p.x(), p.y());
}

QPointF &LineSeries::operator[](int i)
{
    if (i < 0 || i >= d->points.size()) {
        d->dummy = QPointF(0, 0);
        return d->dummy;
    }
    return d->points[i];
}

QList<QPointF> &LineSeries::points() const
{
    return d->points;
}

void LineSeries::substract(LineSeries *other)
{
    if (!other || other->d->points.size() != d->points.size())
        return;
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
    return tavrin::shapeIcon(size, tavrin::IconShape::Line, ChartSeries::d->pen, ChartSeries::d->brush);
}
