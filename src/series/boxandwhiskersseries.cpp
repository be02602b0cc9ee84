#include "boxandwhiskersseries.h"
#include "boxandwhiskersseries_p.h"
#include "chartseries_p.h"
#include "seriesicon_p.h"
#include "linerenderer_p.h"
#include "geometry_p.h"
#include "seriesdata_p.h"

#include "axis.h"
#include "qtcompat_p.h"

#include <QPainter>
#include <cmath>

using tavrin::ValueBox;
using tavrin::clampPixel;
using tavrin::pixelSafe;

namespace {

void registerCandleTypes()
{
    qRegisterMetaType<QVector<BoxAndWhiskersSeries::Candle>>("QVector<BoxAndWhiskersSeries::Candle>");
}
Q_CONSTRUCTOR_FUNCTION(registerCandleTypes)

} // namespace

namespace tavrin {
template <>
struct RowTraits<BoxAndWhiskersSeries::Candle> {
    static BoxAndWhiskersSeries::Candle fromXY(double x, double y) { return {x, y, y, y, y, y}; }
    // Only the whisker ends widen the bounds.
    template <typename F>
    static void ends(const BoxAndWhiskersSeries::Candle &c, F f)
    {
        f(c.x, c.yMin);
        f(c.x, c.yMax);
    }
    static QList<QVariant> values(const BoxAndWhiskersSeries::Candle &c)
    {
        return {c.x, c.median, c.yMin, c.yMax, c.q1, c.q3};
    }
};
} // namespace tavrin

void BoxAndWhiskersSeriesPrivate::buildMedianMarker(const QBrush &fill)
{
    markerSource = fill.color().rgb();
    const int side = int(boxWidth) + 1;
    if (medianMarker.width() != side)
        medianMarker = QPixmap(side, side);
    medianMarker.fill(Qt::transparent);
    QPainter p(&medianMarker);
    p.setRenderHint(QPainter::Antialiasing);
    QBrush brush(fill);
    brush.setColor(QColor(~markerSource)); // QColor(QRgb) drops the alpha: opaque
    p.setPen(Qt::NoPen);
    p.setBrush(brush);
    p.drawEllipse(QRectF(0, 0, boxWidth + 1, boxWidth + 1));
}

BoxAndWhiskersSeries::BoxAndWhiskersSeries(QObject *parent)
    : ChartSeries(), d(new BoxAndWhiskersSeriesPrivate)
{
    setParent(parent);
    d->buildMedianMarker(ChartSeries::d->brush);
}

BoxAndWhiskersSeries::~BoxAndWhiskersSeries()
{
    delete d;
}

int BoxAndWhiskersSeries::maximumPoints() const
{
    return ChartSeries::d->maximumRows;
}

void BoxAndWhiskersSeries::setMaximumPoints(int count)
{
    if (ChartSeries::d->setRowLimit(d->candles, count, ChartSeriesPrivate::rowEnds<decltype(d->candles)>())) {
        const ChartSeriesPrivate::Busy busy(ChartSeries::d);
        emit maximumPointsChanged(ChartSeries::d->maximumRows);
    }
}

int BoxAndWhiskersSeries::removeBefore(double x)
{
    return ChartSeries::d->removeRowsBefore(d->candles, x, ChartSeriesPrivate::rowEnds<decltype(d->candles)>());
}

void BoxAndWhiskersSeries::addCandle(double x, double median, double yMin, double yMax, double q1, double q3)
{
    // Each whisker end is announced as a point.
    ChartSeries::d->addRow(d->candles, Candle{x, median, yMin, yMax, q1, q3});
}

void BoxAndWhiskersSeries::addCandle(const QDateTime &x, double median, double yMin, double yMax, double q1,
                                     double q3)
{
    addCandle(tavrin::secondsSinceEpoch(x), median, yMin, yMax, q1, q3);
}

void BoxAndWhiskersSeries::addCandles(const QVector<Candle> &candles)
{
    ChartSeries::d->addRows(d->candles, candles);
}

int BoxAndWhiskersSeries::appendPoints(const double *x, const double *y, int stride, int count)
{
    return ChartSeries::d->appendXY(d->candles, x, y, stride, count);
}

void BoxAndWhiskersSeries::addXY(double x, double y)
{
    addCandle(x, y, y, y, y, y);
}

void BoxAndWhiskersSeries::clear()
{
    ChartSeries::d->clearRows(d->candles);
}

ChartSeries::seriesType BoxAndWhiskersSeries::type()
{
    return stBoxAndWhiskers;
}

int BoxAndWhiskersSeries::pointsCount()
{
    return d->candles.size();
}

QString BoxAndWhiskersSeries::dataAxisString()
{
    return QStringLiteral("X;Y1;Y2;Y3;Y4;Y5");
}

QList<QVariant> BoxAndWhiskersSeries::point(int index)
{
    return tavrin::rowAt(d->candles, index);
}

void BoxAndWhiskersSeries::setFillColor(QColor c)
{
    ChartSeries::setFillColor(c);
    if (ChartSeries::d->brush.color().rgb() != d->markerSource)
        d->buildMedianMarker(ChartSeries::d->brush);
}

void BoxAndWhiskersSeries::draw(QPainter *painter)
{
    if (!painter || d->candles.isEmpty() || !xAxis() || !yAxis())
        return;
    const Axis *xa = xAxis();
    const Axis *ya = yAxis();
    const QPen &seriesPen = ChartSeries::d->pen;
    painter->setPen(seriesPen);
    painter->setBrush(ChartSeries::d->brush);

    const ValueBox visible = ValueBox::visible(xa, ya);
    const double bw = d->boxWidth;
    const double w = xa->pixelDeltaToPoint(bw);
    const int boxW = int(bw);
    const QRectF shown = tavrin::shownArea(painter);

    for (const Candle &c : qAsConst(d->candles)) {
        if (std::isnan(c.x) || std::isnan(c.yMin) || std::isnan(c.yMax)
            || !visible.intersects(c.x - w / 2, c.yMin, w, c.yMax - c.yMin))
            continue;
        const double X = xa->pointToPixel(c.x);
        // On a logarithmic x axis w is in decades: centre the box in pixels.
        const double L = xa->isLogarithmic() ? X - bw / 2 : xa->pointToPixel(c.x - w / 2);
        if (!pixelSafe(L) || !pixelSafe(L + bw))
            continue;
        const double A = ya->pointToPixel(c.yMin);
        const double B = ya->pointToPixel(c.yMax);
        // A transform that gives no pixel for a finite value draws nothing.
        if (std::isnan(A) || std::isnan(B) || !pixelSafe(X))
            continue;
        const int left = int(L), right = int(L + bw);

        // Whisker ends far beyond the plot are pulled in to the pixel
        // range; what is visible stays put.
        painter->setPen(d->whiskerPen);
        painter->drawLine(int(X), int(clampPixel(B)), int(X), int(clampPixel(A)));
        if (pixelSafe(B))
            painter->drawLine(left, int(B), right, int(B));
        if (pixelSafe(A))
            painter->drawLine(left, int(A), right, int(A));
        painter->setPen(seriesPen);

        // The box hangs from q3 by the quartile distance and covers the whisker.
        const double top = ya->pointToPixel(c.q3);
        // On a logarithmic axis the distance depends on where it lies.
        const double height = ya->isLogarithmic() ? ya->pointToPixel(c.q1) - top
                                                  : ya->pointDeltaToPixel(c.q3 - c.q1);
        qint64 bx = left, by = 0, bwid = boxW, bh = -1;
        if (pixelSafe(top) && pixelSafe(top + height)) {
            by = qint64(top);
            bh = qint64(height);
        } else if (!std::isnan(top + height)) { // also catches an infinite top and height of opposite signs
            const double t = clampPixel(top), b = clampPixel(top + height);
            if (t != b) {
                by = qint64(t);
                bh = qint64(b - t);
            }
        }
        // A box reaching far off the plot is cut as bars are: filled, it
        // would be walked scan line by scan line.
        if (bh >= 0 && tavrin::cutToShown(bx, by, bwid, bh, shown))
            painter->drawRect(int(bx), int(by), int(bwid), int(bh));

        const double my = ya->pointToPixel(c.median) - bw * 0.5;
        if (pixelSafe(my))
            painter->drawPixmap(left, int(my), d->medianMarker);
    }
    painter->setPen(seriesPen);
}

QString BoxAndWhiskersSeries::tooltip(const QPoint &pos)
{
    if (d->candles.isEmpty() || !xAxis() || !yAxis())
        return QString();
    const Axis *xa = xAxis();
    const Axis *ya = yAxis();
    const double cx = xa->pixelToPoint(pos.x());
    const double cy = ya->pixelToPoint(pos.y());
    const double w = xa->pixelDeltaToPoint(d->boxWidth);
    ValueBox r;
    for (const Candle &c : qAsConst(d->candles)) {
        // Candles come in ascending x: nothing further on can be under the cursor.
        if (c.x - w / 2 > cx)
            break;
        r.set(c.x - w / 2, c.yMin, w, c.yMax - c.yMin);
        if (r.contains(cx, cy)) {
            return tr("X: %1\r\nMedian: %2\r\nYmin - Ymax: %3 - %4\r\nQ1 - Q3: %5 - %6")
                .arg(xa->labelString(c.x), ya->labelString(c.median), ya->labelString(c.yMin),
                     ya->labelString(c.yMax), ya->labelString(c.q1), ya->labelString(c.q3));
        }
    }
    return QString();
}

QIcon BoxAndWhiskersSeries::icon(int size)
{
    return tavrin::shapeIcon(size, tavrin::IconShape::BoxAndWhiskers, ChartSeries::d->pen, ChartSeries::d->brush);
}
