#ifndef BOXANDWHISKERSSERIES_H
#define BOXANDWHISKERSSERIES_H

#include "chartseries.h"

class BoxAndWhiskersSeriesPrivate;

/*!
    \class BoxAndWhiskersSeries
    \brief Candles: per x position a whisker from the minimum to the maximum
    with caps, a box from the first to the third quartile and a round marker
    at the median.

    The box is 6 pixels wide, outlined in the series' colour and filled with
    its fill colour; whisker and caps are black; the median marker takes the
    inverse of the fill colour. The bounds take each candle's x and its
    whisker ends, and every candle emits ChartSeries::pointAdded() twice.
    A candle whose minimum equals its maximum is not drawn.

    Rows have the columns "X;Y1;Y2;Y3;Y4;Y5": x, median, minimum, maximum,
    first and third quartile.
*/
class TAVRIN_EXPORT BoxAndWhiskersSeries : public ChartSeries
{
    Q_OBJECT
    /*!
        \property BoxAndWhiskersSeries::maximumPoints
        \brief The most candles the series keeps; 0, the default, keeps
        every one. Works as LineSeries::maximumPoints does: past the limit
        the oldest candles go with pointsRemoved(), and the bounds follow
        what is left.
    */
    Q_PROPERTY(int maximumPoints READ maximumPoints WRITE setMaximumPoints NOTIFY maximumPointsChanged)
public:
    /*!
        \brief One candle, with its fields in the order of addCandle() and of
        the exported row.

        The fields are stored as given; nothing requires
        yMin <= q1 <= median <= q3 <= yMax.
    */
    struct Candle {
        /*! Position on the x axis. */
        double x;
        /*! The median, where the marker sits. */
        double median;
        /*! Lower end of the whisker. */
        double yMin;
        /*! Upper end of the whisker. */
        double yMax;
        /*! Lower edge of the box (first quartile). */
        double q1;
        /*! Upper edge of the box (third quartile). */
        double q3;
    };

    /*!
        Constructs an empty series with the given QObject \a parent. Once
        registered, the chart owns and deletes the series whatever its parent.
    */
    explicit BoxAndWhiskersSeries(QObject *parent = nullptr);
    /*!
        Destroys the series.
    */
    ~BoxAndWhiskersSeries() override;

    /*!
        Adds a candle at \a x with the \a median, the whisker from \a yMin to
        \a yMax and the box from \a q1 to \a q3.
    */
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

    /*!
        Draws the candles that reach into the visible range.
    */
    void draw(QPainter *painter) override;
    using ChartSeries::addXY;
    /*!
        Adds a flat candle with every value \a y at \a x; the same as
        addCandle(x, y, y, y, y, y). Such a candle is exported but not drawn.
    */
    void addXY(double x, double y) override;
    /*!
        Removes every candle; see ChartSeries::clear().
    */
    void clear() override;
    /*!
        Returns ChartSeries::stBoxAndWhiskers.
    */
    seriesType type() override;
    /*!
        Returns the number of candles.
    */
    int pointsCount() override;
    /*!
        Returns "X;Y1;Y2;Y3;Y4;Y5".
    */
    QString dataAxisString() override;
    /*!
        Returns x, median, yMin, yMax, q1 and q3 of candle \a index, or an
        empty list when \a index is out of range.
    */
    QList<QVariant> point(int index) override;
    /*!
        Returns a small candle in the series' colours on a transparent square
        of \a size pixels.
    */
    QIcon icon(int size) override;
    /*! Returns the item at \a pos; see ChartSeries::indexAt() (\a radius). */
    int indexAt(const QPointF &pos, double radius) const override;
    /*!
        Sets the box fill to \a c; the median marker takes its inverse, so it
        stays readable. Renders nothing.
    */
    void setFillColor(QColor c) override;
    /*!
        Returns x, median, whisker range and quartiles of the candle under
        \a pos, one per line in the axes' label format, or an empty string.
        The search stops at the first candle right of the mouse, so candles
        are expected in ascending x.
    */
    QString tooltip(const QPoint &pos) override;

    /*!
        Returns the most candles the series keeps; 0, the default, means no
        limit. See the maximumPoints property.
    */
    int maximumPoints() const;
    /*!
        Sets the most candles the series keeps to \a count; a negative value
        counts as 0, no limit. When the series holds more, the oldest are
        dropped at once and pointsRemoved() is emitted before
        maximumPointsChanged().
    */
    void setMaximumPoints(int count);
    /*!
        Drops the oldest candles whose x is less than \a x, as
        LineSeries::removeBefore() does, and returns how many went.
    */
    Q_INVOKABLE int removeBefore(double x);

    /*!
        The series' private implementation; not part of the API a host uses.
    */
    BoxAndWhiskersSeriesPrivate *d;

signals:
    /*!
        Emitted by setMaximumPoints() when the limit changes, with the new
        \a maximumPoints (a negative value set shows as 0).
    */
    void maximumPointsChanged(int maximumPoints);

protected:
    int appendPoints(const double *x, const double *y, int stride, int count) override;
};

Q_DECLARE_TYPEINFO(BoxAndWhiskersSeries::Candle, Q_PRIMITIVE_TYPE);
Q_DECLARE_METATYPE(BoxAndWhiskersSeries::Candle)

#endif // BOXANDWHISKERSSERIES_H
