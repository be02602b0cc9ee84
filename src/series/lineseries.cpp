#include "lineseries.h"
#include "lineseries_p.h"
#include "chartseries_p.h"
#include "seriesicon_p.h"
#include "linerenderer_p.h"

#include "axis.h"

#include <QPainter>
#include <QPixmap>

namespace {
void registerLineTypes()
{
    qRegisterMetaType<LineSeries::StepMode>("LineSeries::StepMode");
}
Q_CONSTRUCTOR_FUNCTION(registerLineTypes)
} // namespace

LineSeries::LineSeries(QObject *parent)
    : ChartSeries(), d(new LineSeriesPrivate(this))
{
    setParent(parent);
}

LineSeries::LineSeries(const LineSeries &)
    : ChartSeries(), d(new LineSeriesPrivate(this))
{
}

LineSeries::~LineSeries()
{
    delete d;
}

void LineSeries::addXY(double x, double y)
{
    d->append(QPointF(x, y));
    d->keepLimit(x, y);
    ChartSeries::addXY(x, y);
    // The chart widens its axes by the point it is told of; a stacked
    // point shows higher up.
    if (d->stackedOn && ChartSeries::d->owner)
        ChartSeries::d->owner->seriesBoundsChanged(this, x, d->drawnValueAt(x));
}

void LineSeries::addPoint(const QPointF &p)
{
    addXY(p.x(), p.y());
}

int LineSeries::appendPoints(const double *x, const double *y, int stride, int count)
{
    return d->appendBlock(x, y, stride, count);
}

int LineSeries::maximumPoints() const
{
    return d->maximumPoints;
}

void LineSeries::setMaximumPoints(int count)
{
    if (d->setMaximumPoints(count)) {
        const ChartSeriesPrivate::Busy busy(ChartSeries::d);
        emit maximumPointsChanged(d->maximumPoints);
    }
}

int LineSeries::removeBefore(double x)
{
    return d->removeBefore(x);
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
    d->clear();
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
    return d->with([i](const auto &pts) { return tavrin::rowAt(pts, i); });
}

void LineSeries::draw(QPainter *painter)
{
    if (!painter || d->size() < 2 || !xAxis() || !yAxis())
        return;
    if (d->shaped()) {
        d->drawShaped(painter);
        return;
    }
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
    if (d->filled()) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        tavrin::paintSeriesIcon(this, &p, size);
        return QIcon(pm);
    }
    return tavrin::shapeIcon(size, tavrin::IconShape::Line, ChartSeries::d->pen, ChartSeries::d->brush);
}

double LineSeries::valueAt(double x) const
{
    if (d->stepMode != NoSteps || d->stackedOn)
        return d->drawnValueAt(x);
    return tavrin::interpolateAt(*d, x);
}
