#ifndef AXES_H
#define AXES_H

#include "tavrin_global.h"

#include <QColor>
#include <QObject>
#include <QPoint>
#include <QSizeF>

class QPainter;
class QRect;
class Axis;
class AxesPrivate;

/*!
    \class Axes
    \brief The left, bottom, right and top Axis of one chart, with the
    operations the chart applies to them at once.

    A host reaches the chart's axes through ChartWidget::axes() and its axes
    through left(), bottom(), right() and top(); the chart owns the axes object, and
    it owns its axes, which live as long as it does. Most members serve the
    chart's own layout, scaling and painting; a host mostly uses left(),
    bottom(), right(), top() and setGridColor().

    The right axis is drawn, and takes its room beside the plot, only while a
    registered series uses it as its y axis; the top axis likewise takes its
    room above the plot only while a registered series uses it as its x axis.

    Use it on the GUI thread only.
*/
class TAVRIN_EXPORT Axes : public QObject
{
    Q_OBJECT
public:
    /*!
        Constructs the axes, with no parent and all of them reset. When
        \a chart has a slot \c on_axis_changed(), every axis'
        Axis::axisChanged() signal is connected to it; \a chart may be null.
    */
    explicit Axes(QObject *chart = nullptr);
    /*!
        Destroys the axes object and its axes.
    */
    ~Axes() override;

    /*!
        Returns the vertical axis left of the plot, the y axis of every series
        not put on the right axis.
    */
    Axis *left() const;
    /*!
        Returns the horizontal axis under the plot, the x axis of every series.
    */
    Axis *bottom() const;
    /*!
        Returns the vertical axis right of the plot. A series uses it after
        ChartSeries::setAxis(axes->bottom(), axes->right()); it then scales
        to those series alone, and the left axis no longer sees them. The
        chart shows it while at least one registered series uses it.
    */
    Axis *right() const;
    /*!
        Returns the horizontal axis above the plot. A series uses it after
        ChartSeries::setAxis(axes->top(), axes->left()) (or with the right
        axis); it then scales to those series alone, and the bottom axis no
        longer sees them. The chart shows it while at least one registered
        series uses it. Zoom, pan, the wheel and the zoom history move it as
        they move the bottom axis; a ChartGroup links the bottom axis only.
    */
    Axis *top() const;

    /*!
        Gives the axes the plot area's \a size in pixels: the bottom and top
        axes its width, the left and right axes its height. The chart calls it when its plot area
        changes.
    */
    void setSize(QSizeF size);
    /*!
        Widens the bottom axis to include \a x and the left axis to include
        \a y, then recomputes the ticks of both. Returns true when either
        range changed. NaN values are ignored.
    */
    bool update(double x, double y);
    /*!
        Recomputes the ticks of all axes.
    */
    void adjust();
    /*!
        Recomputes the value-to-pixel transform of all axes.
    */
    void updateTransformData();
    /*!
        Returns whether the left and the bottom axis both have a range.
    */
    bool isValid() const;
    /*!
        Resets all axes (Axis::reset()).
    */
    void reset();
    /*!
        Sets the grid colour of all axes to \a color (default: white).
    */
    void setGridColor(QColor color);
    /*!
        Draws the left and then the bottom axis with \a painter along the
        plot rectangle \a plot, with grid lines when \a grid is true
        (Axis::draw()).
    */
    void draw(QPainter *painter, QRect *plot, bool grid);
    /*!
        Moves the ranges by the pixel displacement \a d: the bottom and top
        axes by its x component, the left and right axes by its y component, each
        converted at its own axis' scale. A positive component moves that range towards
        larger values. The transforms are recomputed; the chart is not told.
    */
    void shift(QPoint d);

    /*!
        The pair's private implementation; not part of the API a host uses.
    */
    AxesPrivate *d;

private:
    Q_DISABLE_COPY(Axes)
};

#endif // AXES_H
