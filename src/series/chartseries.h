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

// Abstract base of every series kind. The chart draws a series through
// draw(), asks it for tooltips and legend icons, and the exports read it row
// by row through pointsCount(), dataAxisString() and point().
class TAVRIN_EXPORT ChartSeries : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name READ name WRITE setName)
    Q_PROPERTY(bool visible READ isVisible WRITE setVisible)
    Q_PROPERTY(QColor color READ color WRITE setColor)
public:
    enum seriesType : int {
        stLine = 1,
        stGantt = 2,
        stPoint = 3,
        stBar = 4,
        stMinMaxPoint = 5,
        stBoxAndWhiskers = 6,
        stHighLow = 7
    };

    ChartSeries();
    ~ChartSeries() override;

    virtual void draw(QPainter *painter) = 0;
    Q_INVOKABLE virtual void addXY(double x, double y);
    virtual void clear();
    virtual seriesType type() = 0;
    virtual int pointsCount() = 0;
    virtual QString dataAxisString() = 0;
    virtual QList<QVariant> point(int i) = 0;
    virtual QIcon icon(int size) = 0;
    virtual void setColor(QColor c);
    virtual void setFillColor(QColor c);
    virtual QString tooltip(const QPoint &pos);

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
        once) and pointsAdded() is emitted once; pointAdded() is not emitted.
        Each point is stored as addXY() of the kind would store it, except
        that PointSeries and MinMaxPointSeries keep every point of a block,
        also one equal to a point already stored.

        Points with a NaN coordinate are stored but leave the bounds alone.
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

    QString name() const;
    void setName(const QString &n);
    bool isVisible() const;
    void setVisible(bool v);
    bool isLegendVisible() const;
    void setLegendVisible(bool v);
    QColor color() const;
    QColor fillColor() const;
    void setWidth(int w);
    void enableTooltip(bool on);
    int forceTooltip() const;
    void setAxis(Axis *x, Axis *y);
    Axis *xAxis() const;
    Axis *yAxis() const;
    double minX() const;
    double maxX() const;
    double minY() const;
    double maxY() const;

    ChartSeriesPrivate *d;

signals:
    void pointAdded(double x, double y);
    void cleared();
    void visible(bool vis);
    void refresh();
    void nameChanged();
    /*!
        Emitted once per block added with addPoints() or a kind's own block
        call: rows \a first to \a first + \a count - 1 are new. Rows dropped
        at the same time by a point limit have already been removed.
    */
    void pointsAdded(int first, int count);
    /*!
        Emitted when the \a count oldest rows were dropped, by a point limit
        or by removeBefore() of the kinds that have them.
    */
    void pointsRemoved(int count);

protected:
    // Widens the bounds by (x, y) and tells the owning chart when they grew.
    void updateBounds(double x, double y);

    /*!
        Stores \a count points of a block, the i-th being
        (x[i * stride], y[i * stride]), widens the bounds by them with
        updateBlockBounds() and returns how many rows were added. The base
        implementation calls addXY() per point; the library's own kinds store
        the block at once.
    */
    virtual int appendPoints(const double *x, const double *y, int stride, int count);
    // Widens the bounds by a block's box (NaN where the block had no
    // complete point) and tells the owning chart once.
    void updateBlockBounds(double minX, double minY, double maxX, double maxY);
    // Bounds recomputed after points were dropped; tells the owning chart
    // when they narrowed.
    void resetBounds(double minX, double minY, double maxX, double maxY);
    // Scheduling and the one pointsAdded() signal at the end of a block.
    void finishBlock(int first, int count);

private:
    Q_DISABLE_COPY(ChartSeries)
};

Q_DECLARE_METATYPE(ChartSeries *)

#endif // CHARTSERIES_H
