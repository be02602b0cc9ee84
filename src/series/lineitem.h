#ifndef LINEITEM_H
#define LINEITEM_H

#include "chartitem.h"

#include <QColor>
#include <QPen>
#include <QString>

class LineItemPrivate;

/*!
    \class LineItem
    \brief A marker line across the whole plot: a horizontal line at a y
    value (a threshold) or a vertical line at an x value (a cursor), with an
    optional label at its end; the user can drag it when it is movable.

    The line is drawn from edge to edge of the plot while its value lies in
    the visible range of its axis (ends included), and not at all otherwise.
    The label sits at the line's right end above a horizontal line and at
    the top end right of a vertical one, in the line's colour.

    VLine, the chart's older vertical marker, is unchanged; a LineItem with
    Qt::Vertical is the one to use for a cursor the user moves.

    Dragging emits valueChanged() for every change and dragFinished() once
    at the release; Escape during the drag sets the value from before the
    drag again (emitting valueChanged()) and emits no dragFinished().
*/
class TAVRIN_EXPORT LineItem : public ChartItem
{
    Q_OBJECT
    /*!
        \property LineItem::value
        \brief The marked value: y for a horizontal line, x for a vertical one.
    */
    Q_PROPERTY(double value READ value WRITE setValue NOTIFY valueChanged)
public:
    /*!
        Constructs a line of the given \a orientation (Qt::Horizontal: at a
        y value, Qt::Vertical: at an x value) at \a value, drawn with a solid
        pen of \a color, \a width pixels wide.
    */
    LineItem(Qt::Orientation orientation, double value, const QColor &color = Qt::black,
             int width = 1);
    /*!
        Destroys the line; see ChartItem::~ChartItem().
    */
    ~LineItem() override;

    /*!
        Returns the orientation given to the constructor.
    */
    Qt::Orientation orientation() const;
    /*!
        Returns the marked value.
    */
    double value() const;
    /*!
        Sets the marked value to \a value and emits valueChanged() when it
        changes (NaN counts as equal to NaN). A NaN or infinite value hides
        the line.
    */
    void setValue(double value);
    /*!
        Returns the pen the line is drawn with (default: solid, the
        constructor's colour and width).
    */
    QPen pen() const;
    /*!
        Sets the pen to \a pen: colour, width and style (Qt::DashLine, ...).
    */
    void setPen(const QPen &pen);
    /*!
        Returns the label; empty (none) by default.
    */
    QString label() const;
    /*!
        Sets the \a label drawn at the line's end; an empty text draws none.
    */
    void setLabel(const QString &label);

    /*!
        Draws the line and its label with \a painter; see ChartItem::draw().
    */
    void draw(QPainter *painter) override;

signals:
    /*!
        Emitted when the value changes to \a value, by setValue() or while
        the user drags the line.
    */
    void valueChanged(double value);
    /*!
        Emitted once when the user releases a drag that changed the value;
        \a value is where the line was left.
    */
    void dragFinished(double value);

private:
    LineItemPrivate *dd() const;
    friend class LineItemPrivate;
};

#endif // LINEITEM_H
