#ifndef GANTTSERIES_H
#define GANTTSERIES_H

#include "chartseries.h"

#include <QColor>
#include <QString>

class GanttSeriesPrivate;

/*!
    \brief One bar of a GanttSeries: from x1 to x2, centred on the row y, with
    a colour and a label of its own.
*/
struct GanttBar {
    /*! Start on the x axis. */
    double x1;
    /*! End on the x axis. */
    double x2;
    /*! The row: the bar's vertical centre on the y axis. */
    double y;
    /*! The fill; an invalid colour means the series' fill colour. */
    QColor color;  // invalid: the series fill colour
    /*! The first line of the bar's tooltip; a null string means none. */
    QString label; // null: no caption line in the tooltip
};

/*!
    \class GanttSeries
    \brief Horizontal bars, 15 pixels high, each from x1 to x2 on a row y; bars
    sharing a y form one row of a Gantt chart.

    Each bar is outlined in the series' colour and filled with its own colour
    or, without one, the series' fill colour. The bounds take both ends of a
    bar at its row; every bar emits ChartSeries::pointAdded() twice. A bar of
    zero length is exported but neither drawn nor found by the tooltip.

    Rows have the columns "X1;X2;Y"; colour and label are not exported.
*/
class TAVRIN_EXPORT GanttSeries : public ChartSeries
{
public:
    /*!
        Constructs an empty series with no parent.
    */
    GanttSeries();
    /*!
        Destroys the series.
    */
    ~GanttSeries() override;

    /*!
        Adds a bar from \a x1 to \a x2 on the row \a y, filled with \a color
        (an invalid QColor for the series' fill colour), with \a label as the
        first line of its tooltip (a null QString for none; an empty one gives
        an empty first line).
    */
    void addBar(double x1, double x2, double y, QColor color, const QString &label);
    /*!
        Adds a bar from \a x1 to \a x2, each as seconds since
        1970-01-01T00:00:00 UTC with the milliseconds kept (negative before
        1970; an invalid date-time gives 4294967295).
    */
    void addBar(const QDateTime &x1, const QDateTime &x2, double y, QColor color, const QString &label);
    /*!
        Adds a block of bars in one call, as ChartSeries::addPoints() does
        for points: the bounds are widened once, the chart renders at most
        once and pointsAdded() is emitted once. The class has no meta-object
        of its own, so a worker thread queues the call as a functor:
        QMetaObject::invokeMethod(series, [series, bars] { series->addBars(bars); }).
    */
    void addBars(const QVector<GanttBar> &bars);

    /*!
        Draws the bars that reach into the visible range.
    */
    void draw(QPainter *painter) override;
    using ChartSeries::addXY;
    /*!
        Adds a bar of zero length at \a x on the row \a y; the same as
        addBar(x, x, y, QColor(), QString()). It is exported but not drawn.
    */
    void addXY(double x, double y) override;
    /*!
        Removes every bar; see ChartSeries::clear().
    */
    void clear() override;
    /*!
        Returns ChartSeries::stGantt.
    */
    seriesType type() override;
    /*!
        Returns the number of bars.
    */
    int pointsCount() override;
    /*!
        Returns "X1;X2;Y".
    */
    QString dataAxisString() override;
    /*!
        Returns x1, x2 and y of bar \a index, or an empty list when \a index
        is out of range.
    */
    QList<QVariant> point(int index) override;
    /*!
        Returns a bar in the series' colours on a transparent square of
        \a size pixels.
    */
    QIcon icon(int size) override;
    /*! Returns the item at \a pos; see ChartSeries::indexAt() (\a radius). */
    int indexAt(const QPointF &pos, double radius) const override;
    /*!
        Returns the label (if any), then "X1: <x1>;X2: <x2>" and "Y: <y>" of
        the first bar under \a pos, in the axes' label format, or an empty
        string. The search stops at the first bar that starts right of the
        mouse, so bars are expected in ascending x1.
    */
    QString tooltip(const QPoint &pos) override;

    /*!
        The series' private implementation; not part of the API a host uses.
    */
    GanttSeriesPrivate *d;

protected:
    int appendPoints(const double *x, const double *y, int stride, int count) override;
};

#endif // GANTTSERIES_H
