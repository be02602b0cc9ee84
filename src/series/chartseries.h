#ifndef CHARTSERIES_H
#define CHARTSERIES_H

#include "tavrin_global.h"

#include <QColor>
#include <QDateTime>
#include <QIcon>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QTime>
#include <QVariant>

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

    Q_INVOKABLE void addXY(const QDateTime &x, double y);
    Q_INVOKABLE void addXY(const QTime &x, double y);

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

protected:
    // Widens the bounds by (x, y) and tells the owning chart when they grew.
    void updateBounds(double x, double y);

private:
    Q_DISABLE_COPY(ChartSeries)
};

Q_DECLARE_METATYPE(ChartSeries *)

#endif // CHARTSERIES_H
