#ifndef TEXTITEM_P_H
#define TEXTITEM_P_H

#include "chartitem_p.h"
#include "textitem.h"

#include <QBrush>
#include <QFont>
#include <QPen>

class TextItemPrivate : public ChartItemPrivate
{
public:
    explicit TextItemPrivate(TextItem *item) : ChartItemPrivate(item) {}

    QString text;
    QPointF anchor{0.5, 0.5};
    TextItem::AnchorMode mode = TextItem::amPlot;
    Qt::Alignment alignment = Qt::AlignCenter;
    QFont font{QStringLiteral("Arial"), 8};
    QColor color;
    QBrush boxBrush{Qt::NoBrush};
    QPen boxPen{Qt::NoPen};
    QPointF arrowTarget{qQNaN(), qQNaN()};

    static constexpr int kMaxCharacters = 10000;
    static constexpr int kMaxFontPixels = 1000;
    // The font as drawn: no larger than kMaxFontPixels.
    QFont drawnFont() const;
    // The anchor in plot pixels; false when it has none.
    bool anchorPixel(const QRectF &plot, QPointF *at) const;
};

#endif // TEXTITEM_P_H
