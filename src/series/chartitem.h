#ifndef CHARTITEM_H
#define CHARTITEM_H

#include "tavrin_global.h"

#include <QObject>

class QPainter;
class Axis;
class ChartItemPrivate;

/*!
    \class ChartItem
    \brief The base of the things a host places on the plot: marker lines
    (LineItem), shaded ranges (RangeItem) and notes (TextItem).

    A host creates an item, sets it up and hands it to
    ChartWidget::addItem(), which takes it over: the chart deletes it on
    ChartWidget::removeItem(), ChartWidget::clear() or its own destruction.
    Items are placed in values of their axes: the chart's bottom axis and
    its left axis, or the right axis when the host sets it with
    setAxis(chart->axes()->bottom(), chart->axes()->right()) before or after
    registering. Logarithmic axes place them too.

    The chart draws its items in the order they were added, over the series
    and the VLine marker lines and under the zoom band and the crosshair,
    cut at the plot's edges. They are painted onto the widget at paint time,
    so a changed or dragged item renders no series. The SVG, PDF, image,
    print and clipboard exports draw them as vectors where the format has
    them. Items take no part in automatic scaling and have no legend entry.

    A position that is NaN or infinite draws nothing; the item stays
    registered and is drawn again once it has a finite position.

    Use it on the GUI thread only.
*/
class TAVRIN_EXPORT ChartItem : public QObject
{
    Q_OBJECT
    /*!
        \property ChartItem::visible
        \brief Whether the chart draws the item (default: true).
    */
    Q_PROPERTY(bool visible READ isVisible WRITE setVisible NOTIFY visibleChanged)
    /*!
        \property ChartItem::movable
        \brief Whether the user may drag the item's lines (default: false).
        \sa setMovable()
    */
    Q_PROPERTY(bool movable READ isMovable WRITE setMovable NOTIFY movableChanged)
public:
    /*!
        Destroys the item. A registered item belongs to its chart, which
        deletes it; one deleted by someone else leaves its chart's list
        first (a drag of it ends without a signal).
    */
    ~ChartItem() override;

    /*!
        Returns whether the item is drawn (default: true).
    */
    bool isVisible() const;
    /*!
        Shows or hides the item, as \a on says, and emits visibleChanged()
        when that changes. A hidden item cannot be dragged.
    */
    void setVisible(bool on);

    /*!
        Returns whether the user may drag the item (default: false).
    */
    bool isMovable() const;
    /*!
        Lets the user drag the item with the left mouse button, or not, as
        \a on says, and emits movableChanged() when that changes.

        Over a movable line of a registered item (a LineItem, the edges of
        a RangeItem) the pointer becomes a split cursor within a few pixels,
        and a left-button drag that starts there moves the line instead of
        drawing a zoom band. Escape during the drag puts it back. The chart
        turns its mouse tracking on for the cursor; it does not turn it off
        again. TextItem is never dragged.
    */
    void setMovable(bool on);

    /*!
        Sets the axes that place the item: \a x horizontal, \a y vertical.
        Returns false, changing nothing, when the item is registered and
        they are not its chart's bottom axis and its left or right axis.
        Before registration any axes are taken; ChartWidget::addItem()
        refuses an item placed on another chart's axes.
    */
    bool setAxis(Axis *x, Axis *y);
    /*!
        Returns the horizontal axis; null until the item is registered or
        given axes.
    */
    Axis *xAxis() const;
    /*!
        Returns the vertical axis; null until the item is registered or
        given axes.
    */
    Axis *yAxis() const;

    /*!
        Draws the item with \a painter, whose origin is the plot area's
        top-left corner. The chart calls it for visible items; an item
        without axes, or whose axes have no range, draws nothing.
    */
    virtual void draw(QPainter *painter) = 0;

    /*!
        The item's private implementation; not part of the API a host uses.
    */
    ChartItemPrivate *d;

signals:
    /*!
        Emitted when the item is shown or hidden; \a visible is the new state.
    */
    void visibleChanged(bool visible);
    /*!
        Emitted when movable changes to \a movable.
    */
    void movableChanged(bool movable);

protected:
    /*!
        Constructs an item that keeps its state in \a dd, which it owns;
        for the item kinds of the library.
    */
    explicit ChartItem(ChartItemPrivate *dd);

private:
    Q_DISABLE_COPY(ChartItem)
};

#endif // CHARTITEM_H
