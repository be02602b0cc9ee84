#ifndef LINESERIES_H
#define LINESERIES_H

#include "chartseries.h"

#include <QList>
#include <QPointF>

class LineSeriesPrivate;
namespace tavrin {
struct BlockBounds;
}

class TAVRIN_EXPORT LineSeries : public ChartSeries
{
    Q_OBJECT
    /*!
        The most points the series keeps; 0, the default, keeps every point.
        When an added point or block takes the series past the limit, the
        oldest points are dropped and pointsRemoved() is emitted, so a strip
        chart runs in constant memory. The bounds then follow the points
        that are left; a registered series asks its chart for a rescale when
        they narrow (pair this with ChartWidget::setRefreshTimeout() when
        points come in fast, so the chart rescales once per expiry).
        Lowering the limit drops points at once; a negative value counts
        as 0.
    */
    Q_PROPERTY(int maximumPoints READ maximumPoints WRITE setMaximumPoints NOTIFY maximumPointsChanged)
public:
    explicit LineSeries(QObject *parent = nullptr);
    // A copy is a new, empty series: series are identities, not values.
    LineSeries(const LineSeries &other);
    ~LineSeries() override;

    using ChartSeries::addXY;
    void addXY(double x, double y) override;
    void addPoint(const QPointF &p);
    void addMid(double x, double y);
    void changePoint(int i, const QPointF &p);
    QPointF &operator[](int i);
    QList<QPointF> &points() const;
    void substract(LineSeries *other);

    int maximumPoints() const;
    void setMaximumPoints(int count);
    /*!
        Drops the oldest points whose x is less than \a x: from the start of
        the list up to the first point whose x is not (a NaN x ends the run
        too), so points added in ascending x are cut at \a x. Returns how
        many were dropped; the bounds follow as with maximumPoints.
    */
    Q_INVOKABLE int removeBefore(double x);

    void clear() override;
    seriesType type() override;
    int pointsCount() override;
    QString dataAxisString() override;
    QList<QVariant> point(int i) override;
    void draw(QPainter *painter) override;
    QIcon icon(int size) override;

    LineSeriesPrivate *d;

signals:
    void maximumPointsChanged(int maximumPoints);

protected:
    int appendPoints(const double *x, const double *y, int stride, int count) override;

private:
    // Drops the `count` oldest points; `pending` holds what was just added
    // and is not in the bounds yet.
    void dropOldest(int count, tavrin::BlockBounds pending);
};

#endif // LINESERIES_H
