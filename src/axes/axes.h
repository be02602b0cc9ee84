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
    \brief The left and bottom Axis of one chart, with the operations the
    chart applies to both at once.

    A host reaches the chart's pair through ChartWidget::axes() and its axes
    through left() and bottom(); the chart owns the pair, and the pair owns
    both axes, which live as long as it does. Most members serve the chart's
    own layout, scaling and painting; a host mostly uses left(), bottom() and
    setGridColor().

    Use it on the GUI thread only.
*/
class TAVRIN_EXPORT Axes : public QObject
{
    Q_OBJECT
public:
    /*!
        Constructs the pair, with no parent and both axes reset. When
        \a chart has a slot \c on_axis_changed(), both axes'
        Axis::axisChanged() signals are connected to it; \a chart may be null.
    */
    explicit Axes(QObject *chart = nullptr);
    /*!
        Destroys the pair and both axes.
    */
    ~Axes() override;

    /*!
        Returns the vertical axis left of the plot, the y axis of every series.
    */
    Axis *left() const;
    /*!
        Returns the horizontal axis under the plot, the x axis of every series.
    */
    Axis *bottom() const;

    /*!
        Gives both axes the plot area's \a size in pixels: the bottom axis its
        width, the left axis its height. The chart calls it when its plot area
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
        Recomputes the ticks of both axes.
    */
    void adjust();
    /*!
        Recomputes the value-to-pixel transform of both axes.
    */
    void updateTransformData();
    /*!
        Returns whether both axes have a range.
    */
    bool isValid() const;
    /*!
        Resets both axes (Axis::reset()).
    */
    void reset();
    /*!
        Sets the grid colour of both axes to \a color (default: white).
    */
    void setGridColor(QColor color);
    /*!
        Draws the left and then the bottom axis with \a painter along the
        plot rectangle \a plot, with grid lines when \a grid is true
        (Axis::draw()).
    */
    void draw(QPainter *painter, QRect *plot, bool grid);
    /*!
        Moves both ranges by the pixel displacement \a d: the bottom axis by
        its x component, the left axis by its y component, each converted at
        its own axis' scale. A positive component moves that range towards
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
