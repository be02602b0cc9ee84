#include "ganttseries.h"
#include "ganttseries_p.h"
#include "chartseries_p.h"
#include "seriesicon_p.h"
#include "linerenderer_p.h"
#include "geometry_p.h"
#include "seriesdata_p.h"

#include "axis.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPixmap>
#include <cmath>

using tavrin::ValueBox;
using tavrin::clampPixel;
using tavrin::pixelSafe;

namespace tavrin {
template <>
struct RowTraits<GanttBar> {
    static GanttBar fromXY(double x, double y) { return GanttBar{x, x, y, QColor(), QString()}; }
    // The row position alone widens the y bounds, not the bar's pixel height.
    template <typename F>
    static void ends(const GanttBar &b, F f)
    {
        f(b.x1, b.y);
        f(b.x2, b.y);
    }
    static QList<QVariant> values(const GanttBar &b) { return {b.x1, b.x2, b.y}; }
};
} // namespace tavrin

GanttSeries::GanttSeries()
    : ChartSeries(), d(new GanttSeriesPrivate)
{
}

GanttSeries::~GanttSeries()
{
    delete d;
}

void GanttSeries::addBar(double x1, double x2, double y, QColor color, const QString &label)
{
    ChartSeries::d->addRow(d->bars, GanttBar{x1, x2, y, color, label});
}

void GanttSeries::addBar(const QDateTime &x1, const QDateTime &x2, double y, QColor color,
                         const QString &label)
{
    addBar(tavrin::secondsSinceEpoch(x1), tavrin::secondsSinceEpoch(x2), y, color, label);
}

void GanttSeries::addBars(const QVector<GanttBar> &bars)
{
    ChartSeries::d->addRows(d->bars, bars);
}

int GanttSeries::appendPoints(const double *x, const double *y, int stride, int count)
{
    return ChartSeries::d->appendXY(d->bars, x, y, stride, count);
}

void GanttSeries::addXY(double x, double y)
{
    addBar(x, x, y, QColor(), QString());
}

void GanttSeries::clear()
{
    ChartSeries::d->clearRows(d->bars);
}

ChartSeries::seriesType GanttSeries::type()
{
    return stGantt;
}

int GanttSeries::pointsCount()
{
    return d->bars.size();
}

QString GanttSeries::dataAxisString()
{
    return QStringLiteral("X1;X2;Y");
}

QList<QVariant> GanttSeries::point(int index)
{
    return tavrin::rowAt(d->bars, index);
}

void GanttSeries::draw(QPainter *painter)
{
    if (!painter || d->bars.isEmpty() || !xAxis() || !yAxis())
        return;
    const Axis *xa = xAxis();
    const Axis *ya = yAxis();
    QBrush &brush = ChartSeries::d->brush;
    const QColor seriesFill = brush.color();
    painter->setPen(ChartSeries::d->pen);
    painter->setBrush(brush);

    const ValueBox visible = ValueBox::visible(xa, ya);
    const double bh = d->barHeight;
    const double h = ya->pixelDeltaToPoint(bh);
    const int barH = int(bh);
    const QRectF shown = tavrin::shownArea(painter);

    for (const GanttBar &b : qAsConst(d->bars)) {
        if (std::isnan(b.x1) || std::isnan(b.x2) || std::isnan(b.y)
            || !visible.intersects(b.x1, b.y - h / 2, b.x2 - b.x1, h))
            continue;
        const double top = ya->pointToPixel(b.y) - bh * 0.5;
        if (!pixelSafe(top))
            continue;
        double L = xa->pointToPixel(b.x1);
        double R = xa->pointToPixel(b.x2);
        // A bar reaching far out of a zoomed view is cut to a pixel range
        // QPainter can take; its visible part is unchanged.
        if (!pixelSafe(L) || !pixelSafe(R)) {
            L = clampPixel(L);
            R = clampPixel(R);
            if (!std::isfinite(L - R) || L == R)
                continue;
        }
        // Cut to what the painter shows, as bars are.
        qint64 rx = qint64(L), ry = qint64(top), rw = qint64(R - L), rh = barH;
        if (!tavrin::cutToShown(rx, ry, rw, rh, shown))
            continue;
        // Switch brushes only when the colour changes, so a run of bars in one
        // colour does not copy the brush bar after bar.
        const QColor &fill = b.color.isValid() ? b.color : seriesFill;
        if (fill != brush.color()) {
            brush.setColor(fill);
            painter->setBrush(brush);
        }
        painter->drawRect(int(rx), int(ry), int(rw), int(rh));
    }
    brush.setColor(seriesFill);
}

QString GanttSeries::tooltip(const QPoint &pos)
{
    if (d->bars.isEmpty() || !xAxis() || !yAxis())
        return QString();
    const Axis *xa = xAxis();
    const Axis *ya = yAxis();
    const double cx = xa->pixelToPoint(pos.x());
    const double cy = ya->pixelToPoint(pos.y());
    const double h = ya->pixelDeltaToPoint(d->barHeight);
    ValueBox r;
    for (const GanttBar &b : qAsConst(d->bars)) {
        // Bars come in ascending x1: nothing further on can be under the cursor.
        if (b.x1 > cx)
            break;
        r.set(b.x1, b.y - h / 2, b.x2 - b.x1, h);
        if (r.contains(cx, cy)) {
            const QString prefix = b.label.isNull() ? QString() : b.label + QStringLiteral("\r\n");
            return QCoreApplication::translate("GanttSeries", "%4X1: %1;X2: %2\r\nY: %3")
                .arg(xa->labelString(b.x1), xa->labelString(b.x2), ya->labelString(b.y), prefix);
        }
    }
    return QString();
}

QIcon GanttSeries::icon(int size)
{
    return tavrin::shapeIcon(size, tavrin::IconShape::Gantt, ChartSeries::d->pen, ChartSeries::d->brush);
}
