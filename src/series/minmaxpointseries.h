#ifndef MINMAXPOINTSERIES_H
#define MINMAXPOINTSERIES_H

#include "chartseries.h"

class MinMaxPointSeriesPrivate;

/*!
    \class MinMaxPointSeries
    \brief Markers on a vertical range with a cap at each end, like error
    bars.

    Each point has a value y and a range from min to max; nothing requires
    min <= y <= max. A point whose (x, y) equals a stored one (within 1e-12
    of their size) is not stored again, but still widens the bounds. The
    bounds take the range's ends, not y.

    Unlike most kinds, adding a point emits no ChartSeries::pointAdded() and
    does not start the chart's refresh timer: a registered chart hears of a
    point only when it widens the bounds. After adding points inside the
    bounds, call ChartWidget::repaint().

    Rows have the columns "X;Y1;Y2;Y3": x, y, min, max.
*/
class TAVRIN_EXPORT MinMaxPointSeries : public ChartSeries
{
    Q_OBJECT
    /*!
        \property MinMaxPointSeries::maximumPoints
        \brief The most points the series keeps; 0, the default, keeps
        every one. Works as LineSeries::maximumPoints does: past the limit
        the oldest points go with pointsRemoved(), and the bounds follow
        what is left.
    */
    Q_PROPERTY(int maximumPoints READ maximumPoints WRITE setMaximumPoints NOTIFY maximumPointsChanged)
public:
    /*!
        The shape of a marker: \c psPoint (0) a one-pixel dot in the series'
        pen, \c psSquare (1) a filled square, \c psCircle (2) a filled
        circle. Any other value draws a circle.
    */
    enum PointStyle : int { psPoint = 0, psSquare = 1, psCircle = 2 };

    /*!
        Constructs an empty series of dots (psPoint), with no parent.
    */
    MinMaxPointSeries();
    /*!
        Constructs an empty series whose markers have the given \a style, with
        no parent. The marker size is 7 pixels.
    */
    explicit MinMaxPointSeries(PointStyle style);
    /*!
        Destroys the series.
    */
    ~MinMaxPointSeries() override;

    /*!
        Adds the point (\a x, \a y) with the range \a min to \a max, unless a
        point with equal (x, y) is stored. The bounds widen to (x, min) and
        (x, max).
    */
    void addPoint(double x, double y, double min, double max);
    using ChartSeries::addXY;
    /*!
        Adds the point (\a x, \a y) with an empty range; the same as
        addPoint(x, y, y, y).
    */
    void addXY(double x, double y) override;

    /*!
        Returns the marker's edge length in pixels (default: 7); it is also
        the width of the caps.
    */
    int size() const;
    /*!
        Sets the marker's edge length to \a size pixels, at least 3. It
        renders nothing: the change shows at the next rendering.
    */
    void setSize(int size);
    /*!
        Sets the colour of lines, caps and marker outlines to \a c. Renders
        nothing.
    */
    void setColor(QColor c) override;
    /*!
        Sets the marker fill to \a c. Renders nothing.
    */
    void setFillColor(QColor c) override;

    /*!
        Removes every point; see ChartSeries::clear().
    */
    void clear() override;
    /*!
        Returns ChartSeries::stMinMaxPoint.
    */
    seriesType type() override;
    /*!
        Returns the number of stored points.
    */
    int pointsCount() override;
    /*!
        Returns "X;Y1;Y2;Y3".
    */
    QString dataAxisString() override;
    /*!
        Returns x, y, min and max of point \a i, or an empty list when \a i
        is out of range.
    */
    QList<QVariant> point(int i) override;

    /*!
        Draws each visible point's range with its caps and its marker.
    */
    void draw(QPainter *painter) override;
    /*!
        Returns the marker shape (a circle for psPoint) in the middle of a
        transparent square of \a size pixels.
    */
    QIcon icon(int size) override;
    /*! Returns the item at \a pos; see ChartSeries::indexAt() (\a radius). */
    int indexAt(const QPointF &pos, double radius) const override;
    /*!
        Returns "Ymin", "X", "Ymax" and "Y" of the point whose marker-sized
        square around it holds \a pos, one per line, or an empty string. The
        search stops at the first point right of the mouse, so points are
        expected in ascending x.
    */
    QString tooltip(const QPoint &pos) override;

    /*!
        Returns the most points the series keeps; 0, the default, means no
        limit. See the maximumPoints property.
    */
    int maximumPoints() const;
    /*!
        Sets the most points the series keeps to \a count; a negative value
        counts as 0, no limit. When the series holds more, the oldest are
        dropped at once and pointsRemoved() is emitted before
        maximumPointsChanged().
    */
    void setMaximumPoints(int count);
    /*!
        Drops the oldest points whose x is less than \a x, as
        LineSeries::removeBefore() does, and returns how many went.
    */
    Q_INVOKABLE int removeBefore(double x);

    /*!
        The series' private implementation; not part of the API a host uses.
    */
    MinMaxPointSeriesPrivate *d;

signals:
    /*!
        Emitted by setMaximumPoints() when the limit changes, with the new
        \a maximumPoints (a negative value set shows as 0).
    */
    void maximumPointsChanged(int maximumPoints);

protected:
    int appendPoints(const double *x, const double *y, int stride, int count) override;
};

#endif // MINMAXPOINTSERIES_H
