#ifndef HITTEST_P_H
#define HITTEST_P_H

#include "tavrin_global.h"

#include <QPainterPath>

class ChartSeries;

namespace tavrin {

// The outline of a shape kind's item `index` (a bar, a box, a Gantt bar,
// the part of a high-low band that belongs to a point, a pie slice, a colour
// map cell), in pixels from the plot's top-left corner; empty for the kinds
// whose items are points, and for items not drawn. The selection rings the
// shapes that have no point of their own by it.
TAVRIN_EXPORT QPainterPath itemOutline(ChartSeries *series, int index);

// Builds the block summaries a hit test of a line or a point series needs,
// if they are not there; nothing for the other kinds.
void prepareHitTest(ChartSeries *series);

} // namespace tavrin

#endif // HITTEST_P_H
