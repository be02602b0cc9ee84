#ifndef SERIESICON_P_H
#define SERIESICON_P_H

#include "tavrin_global.h"

#include <QBrush>
#include <QIcon>
#include <QPen>

class ChartSeries;
class QPainter;

namespace tavrin {

// The shapes of the library's legend icons.
enum class IconShape { Line, Bar, BoxAndWhiskers, Gantt, SquareMarker, RoundMarker };

// Paints `shape` into the square (0, 0, size, size) with the given pen and
// brush, as the series' icon() does.
void paintIcon(QPainter *painter, int size, IconShape shape, const QPen &pen, const QBrush &brush);

// paintIcon() into a transparent size x size pixmap: the icon() of the
// library's series kinds.
QIcon shapeIcon(int size, IconShape shape, const QPen &pen, const QBrush &brush);

// Paints the icon of `series` as vectors into the square (0, 0, size,
// size), for vector output of the legend. Only the library's own series
// classes have a known icon; for any other (a host's subclass may have its
// own icon()) this paints nothing and returns false. With a null painter it
// only tells whether it could paint.
TAVRIN_EXPORT bool paintSeriesIcon(ChartSeries *series, QPainter *painter, int size);

} // namespace tavrin

#endif // SERIESICON_P_H
