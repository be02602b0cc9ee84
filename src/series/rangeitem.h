#ifndef RANGEITEM_H
#define RANGEITEM_H

#include "chartitem.h"

#include <QBrush>
#include <QPen>

class RangeItemPrivate;

/*!
    \class RangeItem
    \brief A shaded range of values: an x range across the whole height of
    the plot (Qt::Vertical, edges are vertical lines) or a y range across its
    whole width (Qt::Horizontal), with an optional border on its edges.

    The range is drawn from from() to to() in either order, cut to the
    visible part of its axis; an edge that lies out of view has no border.
    On a logarithmic axis the part at zero or below is cut off. A NaN or
    infinite end draws nothing.

    When movable, each edge in view can be dragged on its own: rangeChanged()
    follows the drag and dragFinished() comes once at the release; Escape
    puts the edge back. An edge may be dragged past the other one.
*/
class TAVRIN_EXPORT RangeItem : public ChartItem
{
    Q_OBJECT
    /*!
        \property RangeItem::from
        \brief One end of the range.
    */
    Q_PROPERTY(double from READ from WRITE setFrom NOTIFY rangeChanged)
    /*!
        \property RangeItem::to
        \brief The other end of the range.
    */
    Q_PROPERTY(double to READ to WRITE setTo NOTIFY rangeChanged)
public:
    /*!
        Constructs a range with edges of the given \a orientation from
        \a from to \a to: Qt::Vertical shades an x range, Qt::Horizontal a
        y range. It is filled with \a brush and has no border.
    */
    RangeItem(Qt::Orientation orientation, double from, double to,
              const QBrush &brush = QColor(255, 0, 0, 48));
    /*!
        Destroys the range; see ChartItem::~ChartItem().
    */
    ~RangeItem() override;

    /*!
        Returns the orientation of the edges given to the constructor.
    */
    Qt::Orientation orientation() const;
    /*!
        Returns the end given as \a from.
    */
    double from() const;
    /*!
        Returns the end given as \a to.
    */
    double to() const;
    /*!
        Sets the first end to \a value; emits rangeChanged() when it changes.
    */
    void setFrom(double value);
    /*!
        Sets the second end to \a value; emits rangeChanged() when it changes.
    */
    void setTo(double value);
    /*!
        Sets both ends, \a from and \a to; emits rangeChanged() once when
        either changes.
    */
    void setRange(double from, double to);
    /*!
        Returns the fill (default: translucent red).
    */
    QBrush brush() const;
    /*!
        Sets the fill to \a brush; Qt::NoBrush leaves only the border.
    */
    void setBrush(const QBrush &brush);
    /*!
        Returns the pen of the edges (default: Qt::NoPen, no border).
    */
    QPen pen() const;
    /*!
        Sets the pen of the two edges to \a pen.
    */
    void setPen(const QPen &pen);

    /*!
        Draws the range and its border with \a painter; see ChartItem::draw().
    */
    void draw(QPainter *painter) override;

signals:
    /*!
        Emitted when either end changes; \a from and \a to are the new ends.
    */
    void rangeChanged(double from, double to);
    /*!
        Emitted once when the user releases a drag of an edge that changed
        the range; \a from and \a to are the ends it left.
    */
    void dragFinished(double from, double to);

private:
    RangeItemPrivate *dd() const;
    friend class RangeItemPrivate;
};

#endif // RANGEITEM_H
