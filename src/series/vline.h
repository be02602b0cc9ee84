#ifndef VLINE_H
#define VLINE_H

#include "tavrin_global.h"

#include <QColor>
#include <QDateTime>
#include <QObject>

class QPainter;
class Axis;
class VLinePrivate;

// A vertical marker line at one x value, drawn across the whole plot height.
class TAVRIN_EXPORT VLine : public QObject
{
    Q_OBJECT
public:
    VLine(double x, const QColor &color, int width);
    /*!
        Builds a line at \a x as seconds since 1970-01-01T00:00:00 UTC with
        the milliseconds kept (negative before 1970; an invalid date-time
        gives 4294967295).
    */
    VLine(const QDateTime &x, const QColor &color, int width);
    ~VLine() override;

    double x() const;
    void setAxis(Axis *x, Axis *y);
    Axis *xAxis() const;
    Axis *yAxis() const;
    void draw(QPainter *painter);

    VLinePrivate *d;

private:
    Q_DISABLE_COPY(VLine)
};

#endif // VLINE_H
