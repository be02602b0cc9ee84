#ifndef CHARTSERIES_H
#define CHARTSERIES_H

#include "tavrin_global.h"

#include <QColor>
#include <QDateTime>
#include <QIcon>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QString>
#include <QTime>
#include <QVariant>
#include <QVector>

class QPainter;
class Axis;
class ChartSeriesPrivate;

/*!
    \class ChartSeries
    \brief The abstract base of every series kind: name, visibility, colours,
    axes, bounds and the interface through which the chart draws a series,
    asks it for tooltips and legend icons, and exports its rows.

    A host creates a series of one of the kinds (LineSeries, PointSeries,
    MinMaxPointSeries, BarSeries, BoxAndWhiskersSeries, HighLowSeries,
    GanttSeries, PieSeries, ColorMapSeries, HistogramSeries), fills it, and registers it with ChartWidget::addSeries().
    The host owns a series until then; from then on the chart owns it and
    deletes it on ChartWidget::removeSeries(), ChartWidget::clear() or its own
    destruction. Filling a series before registering it costs no rendering.

    Values are doubles in the axes' units; a date-time is seconds since
    1970-01-01T00:00:00 UTC (QDateTime::toTime_t(), so an invalid date-time,
    or one outside the unsigned 32-bit range, gives 4294967295). Points with
    a NaN coordinate are stored by the kinds that store points, but never
    widen the bounds.

    Every kind answers the row contract that the exports read: pointsCount()
    rows, each point(i) a list of doubles in the columns named by
    dataAxisString().

    Defaults: visible, shown in the legend, a solid black pen of width 1, a
    solid red fill, tooltips following the chart's switch. The chart replaces
    both colours with one from its palette at registration, unless the host
    set a colour first.

    \note A series is not thread-safe. Call it on the GUI thread, except for
    the three addXY() overloads, which are invokable: a worker thread may
    queue points into a registered series with QMetaObject::invokeMethod()
    and Qt::QueuedConnection.
*/
class TAVRIN_EXPORT ChartSeries : public QObject
{
    Q_OBJECT
    /*!
        \property ChartSeries::name
        \brief The name shown in the legend and in the exports' headers.
        \sa setName()
    */
    Q_PROPERTY(QString name READ name WRITE setName)
    /*!
        \property ChartSeries::visible
        \brief Whether the chart draws and exports the series (default: true).
        \sa setVisible()
    */
    Q_PROPERTY(bool visible READ isVisible WRITE setVisible)
    /*!
        \property ChartSeries::color
        \brief The colour of the series' lines and outlines.
        \sa setColor()
    */
    Q_PROPERTY(QColor color READ color WRITE setColor)
public:
    /*!
        The kind of a series, as type() returns it: \c stLine (1) LineSeries,
        \c stGantt (2) GanttSeries, \c stPoint (3) PointSeries, \c stBar (4)
        BarSeries, \c stMinMaxPoint (5) MinMaxPointSeries,
        \c stBoxAndWhiskers (6) BoxAndWhiskersSeries, \c stHighLow (7)
        HighLowSeries, \c stPie (8) PieSeries, \c stColorMap (9) ColorMapSeries,
        \c stHistogram (10) HistogramSeries.
    */
    enum seriesType : int {
        stLine = 1,
        stGantt = 2,
        stPoint = 3,
        stBar = 4,
        stMinMaxPoint = 5,
        stBoxAndWhiskers = 6,
        stHighLow = 7,
        stPie = 8,
        stColorMap = 9,
        stHistogram = 10
    };

    /*!
        Constructs an empty series with no parent and NaN bounds.
    */
    ChartSeries();
    /*!
        Destroys the series. A registered series belongs to its chart: do not
        delete it yourself.
    */
    ~ChartSeries() override;

    /*!
        Draws the series with \a painter, whose origin is the plot area's
        top-left corner, placing values through xAxis() and yAxis(). The chart
        calls it for visible series when it renders; a series without axes
        draws nothing.
    */
    virtual void draw(QPainter *painter) = 0;
    /*!
        Adds the point (\a x, \a y).

        Each kind stores it in its own way (see the kind). This base
        implementation widens the bounds unless a coordinate is NaN, starts
        the chart's refresh timer when one is set
        (ChartWidget::setRefreshTimeout()) and emits pointAdded(). In a
        registered series a point that widens the bounds lets the chart widen
        its axes and render (unless the drawing lock is set or the refresh
        timer is running); a point inside the bounds renders nothing by
        itself. BarSeries and MinMaxPointSeries only widen the bounds.

        Invokable, so a worker thread may queue it into the GUI thread.
    */
    Q_INVOKABLE virtual void addXY(double x, double y);
    /*!
        Removes every point and resets the bounds to NaN; emits cleared()
        before the points are dropped. Points that a receiver of cleared()
        adds are kept, with the bounds they give; a kind that refuses a
        point equal to a stored one compares them with those points only.
        In a registered series with automatic scaling on, the chart rescales
        to the other series.
    */
    virtual void clear();
    /*!
        Returns the kind of the series.
    */
    virtual seriesType type() = 0;
    /*!
        Returns the number of data rows, as the exports write them.
    */
    virtual int pointsCount() = 0;
    /*!
        Returns the names of a row's columns joined by ";", for instance
        "X;Y". The exports use them in their headers.
    */
    virtual QString dataAxisString() = 0;
    /*!
        Returns row \a i: one double per column of dataAxisString(), for
        0 <= \a i < pointsCount(); an empty list for any other \a i.
    */
    virtual QList<QVariant> point(int i) = 0;
    /*!
        Returns the legend's icon of the series, \a size by \a size pixels.
    */
    virtual QIcon icon(int size) = 0;
    /*!
        Sets the colour of lines and outlines to \a c. The chart no longer
        assigns a palette colour at registration. Takes effect at the next
        rendering; nothing is rendered or emitted here (PointSeries renders).
    */
    virtual void setColor(QColor c);
    /*!
        Sets the fill colour of bars, boxes and markers to \a c. The chart no
        longer assigns a palette colour at registration. Takes effect at the
        next rendering; nothing is rendered or emitted here (PointSeries
        renders).
    */
    virtual void setFillColor(QColor c);
    /*!
        Returns the tooltip text for the mouse position \a pos, in pixels
        from the plot area's top-left corner, or an empty string when the
        series has nothing there. The base implementation returns an empty
        string.
    */
    virtual QString tooltip(const QPoint &pos);
    /*!
        Returns the series' value at \a x, for reading values under a
        cursor. LineSeries and PointSeries interpolate linearly between the
        two neighbouring points found by bisection, so a lookup costs about
        log2(pointsCount()) steps; the base implementation, and with it the
        kinds without one value per x, return NaN.

        For points added in ascending x the answer is exact at a point and
        NaN before the first point, after the last one and on a segment with
        a NaN end (a gap); where x repeats (a step) the later point counts.
        For unsorted points it is the value on some segment whose ends lie on
        either side of \a x, and NaN outside the x values of the first and
        the last point.
    */
    virtual double valueAt(double x) const;
    /*!
        Returns the index of the data item drawn at \a pos, in pixels from
        the plot area's top-left corner, or -1 when there is none: for the
        kinds with markers or vertices (LineSeries, PointSeries,
        MinMaxPointSeries) the point nearest to \a pos within \a radius
        pixels; for the kinds that draw shapes (bars, boxes, Gantt bars, the
        band of a HighLowSeries, pie slices, the cells of a ColorMapSeries)
        the item whose shape contains \a pos, \a radius being ignored. The
        index is the row of point(); for a colour map that is row * columns +
        column, and a NaN cell is never found.
        Points with a NaN coordinate are never found. The base
        implementation returns -1.

        LineSeries and PointSeries look only at the blocks of points whose
        bounds reach the probe, so a lookup in a million points sorted by x
        takes microseconds; after LineSeries::points() or operator[] handed
        out the points by reference every point is looked at.
        \sa ChartWidget::pointAt()
    */
    virtual int indexAt(const QPointF &pos, double radius) const;

    /*!
        Adds the point (\a x, \a y) with \a x as seconds since
        1970-01-01T00:00:00 UTC, milliseconds included; a date-time before
        1970 gives a negative value. An invalid date-time gives 4294967295.
    */
    Q_INVOKABLE void addXY(const QDateTime &x, double y);
    /*!
        Adds the point (\a x today in local time, \a y), as the
        QDateTime overload does.
    */
    Q_INVOKABLE void addXY(const QTime &x, double y);

    /*!
        Adds a block of points in one call: the bounds are widened once, a
        registered series tells its chart once (so the chart renders at most
        once; under the drawing lock a block that widens the axes renders
        nothing) and pointsAdded() is emitted once; pointAdded() is not
        emitted.
        Each point is stored as addXY() of the kind would store it, except
        that PointSeries and MinMaxPointSeries keep every point of a block,
        also one equal to a point already stored.

        Points with a NaN coordinate are stored but leave the bounds alone.
        A series holds at most 2 GiB of rows (134,217,727 points of a line,
        point or bar series): a block that would take it further is refused
        with a warning before anything is allocated, and the series stays
        as it was.
        Like addXY(), the call belongs in the thread of the chart; a worker
        thread queues it by value with QMetaObject::invokeMethod() and
        Qt::QueuedConnection (the argument types are registered).
    */
    Q_INVOKABLE void addPoints(const QVector<QPointF> &points);
    /*!
        Adds the points (\a x[i], \a y[i]) as one block, as
        addPoints(const QVector<QPointF> &) does. When the two arrays differ
        in length, the extra values of the longer one are ignored.
    */
    Q_INVOKABLE void addPoints(const QVector<double> &x, const QVector<double> &y);
    /*!
        Adds the \a count points (\a x[i], \a y[i]) as one block, as
        addPoints(const QVector<QPointF> &) does. The series copies the
        values; the arrays may be freed when the call returns. For a host
        that keeps its data in plain arrays; it is not invokable.
    */
    void addPoints(const double *x, const double *y, int count);

    /*!
        Returns the series' name; empty by default. ChartWidget::addSeries()
        names an unnamed series "Series <id>".
    */
    QString name() const;
    /*!
        Sets the name to \a n and emits nameChanged() when it differs; the
        legend's check box follows.
    */
    void setName(const QString &n);
    /*!
        Returns whether the series is visible (default: true).
    */
    bool isVisible() const;
    /*!
        Shows or hides the series, as \a v says, and emits visible() when it
        changes. The chart rescales (with automatic scaling on) or renders,
        and the legend's check box follows. A hidden series is neither drawn,
        nor asked for tooltips, nor exported.
    */
    void setVisible(bool v);
    /*!
        Returns whether the series gets a check box in the legend (default:
        true).
    */
    bool isLegendVisible() const;
    /*!
        Sets whether the series gets a check box in the legend, as \a v says.
        It is read when the series is registered; it does not add or remove a
        check box later.
    */
    void setLegendVisible(bool v);
    /*!
        Returns the colour of lines and outlines (default: black).
    */
    QColor color() const;
    /*!
        Returns the fill colour (default: red).
    */
    QColor fillColor() const;
    /*!
        Sets the width of lines and outlines to \a w pixels (default: 1).
        Takes effect at the next rendering.
    */
    void setWidth(int w);
    /*!
        Switches the series' tooltips on or off, as \a on says, whatever the
        chart's switch (ChartWidget::enableTooltip()). Until this is called,
        the series follows the chart's switch.
    */
    void enableTooltip(bool on);
    /*!
        Returns the series' tooltip mode: -1 to follow the chart's switch
        (the default), 0 for never, 1 for always.
    */
    int forceTooltip() const;
    /*!
        Sets the axes that place the series' values: \a x horizontal, \a y
        vertical. The series does not own them. ChartWidget::addSeries() sets
        the chart's bottom axis and its left axis, or its top or right axis
        when the series already has that one (Axes::top(), Axes::right()). A
        registered series put on the chart's right axis
        (setAxis(axes->bottom(), axes->right())) or top axis
        (setAxis(axes->top(), axes->left())) is scaled and drawn against it;
        the chart lays out and renders again.
    */
    void setAxis(Axis *x, Axis *y);
    /*!
        Returns the horizontal axis; null until the series is registered.
    */
    Axis *xAxis() const;
    /*!
        Returns the vertical axis; null until the series is registered.
    */
    Axis *yAxis() const;
    /*!
        Returns the smallest x added since construction or the last clear();
        NaN while there is none.
    */
    double minX() const;
    /*!
        Returns the largest x added; NaN while there is none.
    */
    double maxX() const;
    /*!
        Returns the smallest y added; NaN while there is none. A stacked or
        filled LineSeries returns the smallest y it draws (see
        LineSeries::setStackedOn() and LineSeries::fillBaseline).
    */
    double minY() const;
    /*!
        Returns the largest y added; NaN while there is none. A stacked or
        filled LineSeries returns the largest y it draws.
    */
    double maxY() const;

    /*!
        The series' private implementation; not part of the API a host uses.
    */
    ChartSeriesPrivate *d;

signals:
    /*!
        Emitted for each point (\a x, \a y) added through the base addXY(),
        also for a point that a kind does not store again. BarSeries and
        MinMaxPointSeries do not emit it.
    */
    void pointAdded(double x, double y);
    /*!
        Emitted by clear() (before the points are dropped) and by the
        constructor.
    */
    void cleared();
    /*!
        Emitted when setVisible() changes the visibility to \a vis.
    */
    void visible(bool vis);
    /*!
        Asks the chart to render again; the chart connects it to
        ChartWidget::repaint(). PointSeries emits it when its look changes.
    */
    void refresh();
    /*!
        Emitted when setName() changes the name.
    */
    void nameChanged();
    /*!
        Emitted once per block added with addPoints() or a kind's own block
        call: rows \a first to \a first + \a count - 1 are new. Rows dropped
        at the same time by a point limit have already been removed. Points
        of a block that the limit drops at once were never rows and are
        counted by neither signal, so a host following pointsAdded(),
        pointsRemoved(), pointAdded() and cleared() holds pointsCount() rows
        (of a PointSeries, pointAdded() also comes for a point it refuses).
    */
    void pointsAdded(int first, int count);
    /*!
        Emitted when the \a count oldest rows were dropped, by a point limit
        or by removeBefore() of the kinds that have them.
    */
    void pointsRemoved(int count);

protected:
    /*!
        Widens the bounds to include (\a x, \a y), unless either is NaN, and
        tells the owning chart when they grew. Kinds call it for every value
        they store or change.
    */
    void updateBounds(double x, double y);

    /*!
        Stores \a count points of a block, the i-th being
        (x[i * stride], y[i * stride]), widens the bounds by them with
        updateBlockBounds() and returns how many rows were added. The base
        implementation calls addXY() per point; the library's own kinds store
        the block at once.
    */
    virtual int appendPoints(const double *x, const double *y, int stride, int count);
    /*!
        Widens the bounds to include the box from (\a minX, \a minY) to
        (\a maxX, \a maxY), the bounds of a block of points just stored, and
        tells the owning chart once when they grew, where updateBounds()
        would tell it per point. A box with any NaN coordinate, as a block
        without a complete point gives, changes nothing. It neither emits a
        signal nor starts the refresh timer: an appendPoints() override
        calls it once for its block and leaves the rest to finishBlock().
    */
    void updateBlockBounds(double minX, double minY, double maxX, double maxY);
    /*!
        Replaces the bounds with (\a minX, \a minY) to (\a maxX, \a maxY),
        which may be narrower than before; all NaN means the series holds no
        point. A kind that drops stored points calls it with the bounds of
        what is left, together with any point added in the same step, so
        that the chart hears of one change. With automatic scaling on, the
        owning chart rescales when the bounds narrowed and widens its axes
        when they only grew; either way it renders unless the drawing lock
        is set. While its refresh timer runs, all of that waits for the
        expiry. It emits nothing; the caller emits pointsRemoved().
    */
    void resetBounds(double minX, double minY, double maxX, double maxY);
    /*!
        Ends a block of \a count rows stored from row \a first on: starts
        the owning chart's refresh timer and emits pointsAdded() once.
        Rows that a point limit dropped meanwhile move \a first down, so
        pass pointsCount() as it was before the block. Does nothing when
        \a count is not positive. addPoints() calls it after
        appendPoints(); an override of appendPoints() must not.
    */
    void finishBlock(int first, int count);

private:
    Q_DISABLE_COPY(ChartSeries)
};

Q_DECLARE_METATYPE(ChartSeries *)

#endif // CHARTSERIES_H
