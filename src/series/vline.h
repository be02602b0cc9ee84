#ifndef VLINE_H
#define VLINE_H

#include "tavrin_global.h"

#include <QColor>
#include <QDateTime>
#include <QObject>

class QPainter;
class Axis;
class VLinePrivate;

/*!
    \class VLine
    \brief A vertical marker line at one x value, across the whole height of
    the plot.

    A host creates it with a colour and a width and registers it with
    ChartWidget::addVLine(), which gives it the chart's axes and takes it
    over: the chart deletes it on ChartWidget::removeVLine(),
    ChartWidget::clear() or its own destruction. Marker lines are
    drawn over all series and have no legend entry. A line outside the
    bottom axis' visible range is not drawn.

    Use it on the GUI thread only.
*/
class TAVRIN_EXPORT VLine : public QObject
{
    Q_OBJECT
public:
    /*!
        Constructs a line at \a x, drawn in \a color, \a width pixels wide.
    */
    VLine(double x, const QColor &color, int width);
    /*!
        Builds a line at \a x as seconds since 1970-01-01T00:00:00 UTC with
        the milliseconds kept (negative before 1970; an invalid date-time
        gives 4294967295).
    */
    VLine(const QDateTime &x, const QColor &color, int width);
    /*!
        Destroys the line. A registered line belongs to its chart: do not
        delete it yourself.
    */
    ~VLine() override;

    /*!
        Returns the line's x value.
    */
    double x() const;
    /*!
        Sets the axes that place the line: \a x horizontal, \a y vertical. The
        line does not own them; ChartWidget::addVLine() sets the chart's
        bottom and left axis.
    */
    void setAxis(Axis *x, Axis *y);
    /*!
        Returns the horizontal axis; null until the line is registered.
    */
    Axis *xAxis() const;
    /*!
        Returns the vertical axis; null until the line is registered.
    */
    Axis *yAxis() const;
    /*!
        Draws the line with \a painter, whose origin is the plot area's
        top-left corner, from the bottom to the top of the vertical axis'
        visible range. Draws nothing without axes or when x lies outside the
        horizontal axis' visible range.
    */
    void draw(QPainter *painter);

    /*!
        The line's private implementation; not part of the API a host uses.
    */
    VLinePrivate *d;

private:
    Q_DISABLE_COPY(VLine)
};

#endif // VLINE_H
