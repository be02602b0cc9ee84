#ifndef BOXANDWHISKERSSERIES_H
#define BOXANDWHISKERSSERIES_H

#include "chartseries.h"

class BoxAndWhiskersSeriesPrivate;

// One candle per x position: a whisker from yMin to yMax with caps, a box
// from q1 to q3 and a round marker at the median.
class TAVRIN_EXPORT BoxAndWhiskersSeries : public ChartSeries
{
    Q_OBJECT
public:
    // Fields in the order of addCandle() and of the exported row. Stored as
    // given; nothing requires yMin <= q1 <= median <= q3 <= yMax.
    struct Candle {
        double x;
        double median;
        double yMin;
        double yMax;
        double q1;
        double q3;
    };

    explicit BoxAndWhiskersSeries(QObject *parent = nullptr);
    ~BoxAndWhiskersSeries() override;

    void addCandle(double x, double median, double yMin, double yMax, double q1, double q3);
    /*!
        Adds a candle at \a x, as seconds since 1970-01-01T00:00:00 UTC with
        the milliseconds kept (negative before 1970; an invalid date-time
        gives 4294967295).
    */
    void addCandle(const QDateTime &x, double median, double yMin, double yMax, double q1, double q3);
    /*!
        Adds a block of candles in one call, as ChartSeries::addPoints()
        does for points: the whisker ends widen the bounds once, the chart
        renders at most once and pointsAdded() is emitted once. A worker
        thread may queue it by value.
    */
    Q_INVOKABLE void addCandles(const QVector<BoxAndWhiskersSeries::Candle> &candles);

    void draw(QPainter *painter) override;
    using ChartSeries::addXY;
    void addXY(double x, double y) override;
    void clear() override;
    seriesType type() override;
    int pointsCount() override;
    QString dataAxisString() override;
    QList<QVariant> point(int index) override;
    QIcon icon(int size) override;
    // Keeps the median marker readable on the new fill.
    void setFillColor(QColor c) override;
    QString tooltip(const QPoint &pos) override;

    BoxAndWhiskersSeriesPrivate *d;

protected:
    int appendPoints(const double *x, const double *y, int stride, int count) override;
};

Q_DECLARE_TYPEINFO(BoxAndWhiskersSeries::Candle, Q_PRIMITIVE_TYPE);
Q_DECLARE_METATYPE(BoxAndWhiskersSeries::Candle)

#endif // BOXANDWHISKERSSERIES_H
