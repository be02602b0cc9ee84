#ifndef BARSERIES_H
#define BARSERIES_H

#include "chartseries.h"

class BarSeriesPrivate;

/*!
    \class BarSeries
    \brief Vertical bars, 15 pixels wide and centred on x, that rise from the
    zero line to each value, or hang below it for a negative value.

    The outline is drawn in the series' colour, the bar filled with its fill
    colour. The bounds take in the zero line; in a registered series they
    also take in the bar's half width at the current scale.

    Unlike most kinds, adding a bar emits no ChartSeries::pointAdded() and
    does not start the chart's refresh timer: a registered chart hears of a
    bar only when it widens the bounds. After adding bars inside the bounds,
    call ChartWidget::repaint().

    Rows have the columns "X;Y".
*/
class TAVRIN_EXPORT BarSeries : public ChartSeries
{
    Q_OBJECT
    /*!
        \property BarSeries::maximumPoints
        \brief The most bars the series keeps; 0, the default, keeps
        every one. Works as LineSeries::maximumPoints does: past the limit
        the oldest bars go with pointsRemoved(), and the bounds follow
        what is left.
    */
    Q_PROPERTY(int maximumPoints READ maximumPoints WRITE setMaximumPoints NOTIFY maximumPointsChanged)
public:
    /*!
        Constructs an empty bar series with no parent.
    */
    BarSeries();
    /*!
        Destroys the series.
    */
    ~BarSeries() override;

    using ChartSeries::addXY;
    /*!
        Adds a bar at \a x of the value \a y.
    */
    void addXY(double x, double y) override;

    /*!
        Removes every bar; see ChartSeries::clear().
    */
    void clear() override;
    /*!
        Returns ChartSeries::stBar.
    */
    seriesType type() override;
    /*!
        Returns the number of bars.
    */
    int pointsCount() override;
    /*!
        Returns "X;Y".
    */
    QString dataAxisString() override;
    /*!
        Returns x and y of bar \a i, or an empty list when \a i is out of
        range.
    */
    QList<QVariant> point(int i) override;

    /*!
        Draws the bars that reach into the visible range.
    */
    void draw(QPainter *painter) override;
    /*!
        Returns a bar in the series' colours on a transparent square of
        \a size pixels.
    */
    QIcon icon(int size) override;
    /*! Returns the item at \a pos; see ChartSeries::indexAt() (\a radius). */
    int indexAt(const QPointF &pos, double radius) const override;
    /*!
        Returns "X: <x>\r\nY: <y>" of the bar under \a pos, in the axes'
        label format, or an empty string. The search stops at the first bar
        right of the mouse, so bars are expected in ascending x.
    */
    QString tooltip(const QPoint &pos) override;

    /*!
        Returns the most bars the series keeps; 0, the default, means no
        limit. See the maximumPoints property.
    */
    int maximumPoints() const;
    /*!
        Sets the most bars the series keeps to \a count; a negative value
        counts as 0, no limit. When the series holds more, the oldest are
        dropped at once and pointsRemoved() is emitted before
        maximumPointsChanged().
    */
    void setMaximumPoints(int count);
    /*!
        Drops the oldest bars whose x is less than \a x, as
        LineSeries::removeBefore() does, and returns how many went.
    */
    Q_INVOKABLE int removeBefore(double x);

    /*!
        The series' private implementation; not part of the API a host uses.
    */
    BarSeriesPrivate *d;

signals:
    /*!
        Emitted by setMaximumPoints() when the limit changes, with the new
        \a maximumPoints (a negative value set shows as 0).
    */
    void maximumPointsChanged(int maximumPoints);

protected:
    int appendPoints(const double *x, const double *y, int stride, int count) override;
};

#endif // BARSERIES_H
