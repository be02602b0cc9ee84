#ifndef HIGHLOWSERIES_H
#define HIGHLOWSERIES_H

#include "chartseries.h"

class HighLowSeriesPrivate;

/*!
    \class HighLowSeries
    \brief Two polylines over the same x positions, one through y1 and one
    through y2, with a green hatch over the band between them.

    It suits envelopes such as a daily maximum and minimum. The lines take
    the series' colour; the hatch is always green. Points are joined in the
    order they were added. Every point widens the bounds by both values and
    emits ChartSeries::pointAdded() twice. The series shows no tooltips.

    Rows have the columns "X;Y1;Y2".
*/
class TAVRIN_EXPORT HighLowSeries : public ChartSeries
{
    Q_OBJECT
public:
    /*!
        \brief One point of the series: an x position and two values.

        Either value may be the greater one; both are treated alike.
    */
    struct HighLowPoint {
        /*! Position on the x axis. */
        double x;
        /*! The first value. */
        double y1;
        /*! The second value. */
        double y2;
    };

    /*!
        Constructs an empty series with the given QObject \a parent. Once
        registered, the chart owns and deletes the series whatever its parent.
    */
    explicit HighLowSeries(QObject *parent = nullptr);
    /*!
        Destroys the series.
    */
    ~HighLowSeries() override;

    /*!
        Adds a point at \a x with the values \a y1 and \a y2.
    */
    void addPoint(double x, double y1, double y2);
    /*!
        \overload
        Adds a copy of \a point.
    */
    void addPoint(const HighLowSeries::HighLowPoint &point);
    /*!
        \overload
        Adds a point at the date-time \a x (seconds since 1970 UTC) with the
        values \a y1 and \a y2.
    */
    void addPoint(const QDateTime &x, double y1, double y2);
    /*!
        Returns a reference to the series' own list of points. Changes through
        it bypass the bounds and signals; the host keeps them consistent.
    */
    QList<HighLowSeries::HighLowPoint> &points() const;

    /*!
        Draws both lines and the hatched band; needs at least two points.
    */
    void draw(QPainter *painter) override;
    using ChartSeries::addXY;
    /*!
        Adds a point at \a x whose two values are \a y; the same as
        addPoint(x, y, y).
    */
    void addXY(double x, double y) override;
    /*!
        Removes every point; see ChartSeries::clear().
    */
    void clear() override;
    /*!
        Returns ChartSeries::stHighLow.
    */
    seriesType type() override;
    /*!
        Returns the number of points.
    */
    int pointsCount() override;
    /*!
        Returns "X;Y1;Y2".
    */
    QString dataAxisString() override;
    /*!
        Returns x, y1 and y2 of point \a index, or an empty list when \a index
        is out of range.
    */
    QList<QVariant> point(int index) override;
    /*!
        Returns a horizontal line across a transparent square of \a size
        pixels, in the series' pen.
    */
    QIcon icon(int size) override;

    /*!
        The series' private implementation; not part of the API a host uses.
    */
    HighLowSeriesPrivate *d;
};

#endif // HIGHLOWSERIES_H
