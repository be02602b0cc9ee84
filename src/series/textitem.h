#ifndef TEXTITEM_H
#define TEXTITEM_H

#include "chartitem.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPen>
#include <QPointF>
#include <QString>

class TextItemPrivate;

/*!
    \class TextItem
    \brief A note on the plot: a text anchored at a data point or at a
    fraction of the plot area, with an optional box behind it and an
    optional arrow from the text to another data point.

    alignment() says which point of the text's box lies on the anchor: the
    default Qt::AlignCenter centres the box on it, Qt::AlignLeft |
    Qt::AlignBottom puts the box's lower left corner there (the text then
    reads to the right, above the anchor). The arrow runs from the box's
    edge to its target and ends in a head; it is drawn in the text's colour
    and not when the target lies under the box.

    The plot's edges cut a note as they cut the series, except in an SVG
    file, which keeps no clipping: there a note reaching past the plot is
    drawn whole.

    Texts are drawn on one line per line break. Beyond 10,000 characters a
    text is cut, and fonts are drawn at 1,000 pixels at most, so a hostile
    text cannot stall the chart. The note is never dragged.
*/
class TAVRIN_EXPORT TextItem : public ChartItem
{
    Q_OBJECT
public:
    /*!
        What an anchor's coordinates are: \c amData (0) values of the
        item's axes, \c amPlot (1) fractions of the plot area, (0, 0) its
        top-left and (1, 1) its bottom-right corner.
    */
    enum AnchorMode : int { amData = 0, amPlot = 1 };
    Q_ENUM(AnchorMode)

    /*!
        Constructs a note showing \a text, anchored at the plot's centre.
    */
    explicit TextItem(const QString &text = QString());
    /*!
        Destroys the note; see ChartItem::~ChartItem().
    */
    ~TextItem() override;

    /*!
        Returns the text.
    */
    QString text() const;
    /*!
        Sets the \a text.
    */
    void setText(const QString &text);
    /*!
        Returns the anchor point.
    */
    QPointF anchor() const;
    /*!
        Returns what the anchor's coordinates mean (default: amPlot).
    */
    AnchorMode anchorMode() const;
    /*!
        Anchors the note at \a point, in values of its axes when \a mode is
        amData, in fractions of the plot area when it is amPlot. A NaN or
        infinite coordinate hides the note.
    */
    void setAnchor(const QPointF &point, AnchorMode mode = amData);
    /*!
        Returns the alignment of the box on the anchor (default:
        Qt::AlignCenter).
    */
    Qt::Alignment alignment() const;
    /*!
        Sets the \a alignment of the box on the anchor; see the class
        description. The text inside the box follows the horizontal part.
    */
    void setAlignment(Qt::Alignment alignment);
    /*!
        Returns the font ("Arial" at 8 points by default).
    */
    QFont font() const;
    /*!
        Sets the \a font.
    */
    void setFont(const QFont &font);
    /*!
        Returns the colour of the text and the arrow; invalid by default,
        which draws them in the colour of the chart's texts (it follows the
        theme).
    */
    QColor color() const;
    /*!
        Sets the \a color of the text and the arrow.
    */
    void setColor(const QColor &color);
    /*!
        Returns the fill of the box behind the text (default: Qt::NoBrush).
    */
    QBrush boxBrush() const;
    /*!
        Sets the fill of the box behind the text to \a brush.
    */
    void setBoxBrush(const QBrush &brush);
    /*!
        Returns the pen of the box's frame (default: Qt::NoPen).
    */
    QPen boxPen() const;
    /*!
        Sets the pen of the box's frame to \a pen.
    */
    void setBoxPen(const QPen &pen);
    /*!
        Returns the data point the arrow points at; NaN coordinates (the
        default) mean no arrow.
    */
    QPointF arrowTarget() const;
    /*!
        Draws an arrow from the text to the data point \a target, in values
        of the item's axes; a point with a NaN coordinate removes the arrow.
    */
    void setArrowTarget(const QPointF &target);

    /*!
        Draws the box, the arrow and the text with \a painter; see ChartItem::draw().
    */
    void draw(QPainter *painter) override;

private:
    TextItemPrivate *dd() const;
};

#endif // TEXTITEM_H
