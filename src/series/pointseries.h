#ifndef POINTSERIES_H
#define POINTSERIES_H

#include "chartseries.h"

#include <QPointF>

class PointSeriesPrivate;
namespace tavrin {
struct BlockBounds;
}

// Markers without connecting lines: dots, squares or circles.
class TAVRIN_EXPORT PointSeries : public ChartSeries
{
    Q_OBJECT
    /*!
        The most points the series keeps; 0, the default, keeps every point.
        Works as LineSeries::maximumPoints does; labels go with their points.
    */
    Q_PROPERTY(int maximumPoints READ maximumPoints WRITE setMaximumPoints NOTIFY maximumPointsChanged)
public:
    enum PointStyle : int { psPoint = 0, psSquare = 1, psCircle = 2 };

    PointSeries();
    explicit PointSeries(PointStyle style);
    ~PointSeries() override;

    using ChartSeries::addXY;
    void addXY(double x, double y) override;
    void addXY(double x, double y, const QString &label);
    const QPointF &pt(int i) const;

    int maximumPoints() const;
    void setMaximumPoints(int count);
    /*!
        Drops the oldest points whose x is less than \a x, as
        LineSeries::removeBefore() does, and returns how many went.
    */
    Q_INVOKABLE int removeBefore(double x);

    void clear() override;
    seriesType type() override;
    int pointsCount() override;
    QString dataAxisString() override;
    QList<QVariant> point(int i) override;

    int size() const;
    void setSize(int n);
    bool vectorRendering() const;
    void setVectorRendering(bool on);
    void setColor(QColor c) override;
    void setFillColor(QColor c) override;

    void draw(QPainter *painter) override;
    QIcon icon(int size) override;
    QString tooltip(const QPoint &pos) override;

    PointSeriesPrivate *d;

signals:
    void maximumPointsChanged(int maximumPoints);

protected:
    int appendPoints(const double *x, const double *y, int stride, int count) override;

private:
    // Summaries and the point limit after a single point was stored.
    void stored(double x, double y);
    void dropOldest(int count, tavrin::BlockBounds pending);
};

#endif // POINTSERIES_H
