#ifndef BARSERIES_P_H
#define BARSERIES_P_H

#include "barseries.h"
#include "seriesdata_p.h"


class BarSeriesPrivate
{
public:
    tavrin::PointBuffer points;
    // Pixels; there is no setter.
    double barWidth = 15.0;
};

#endif // BARSERIES_P_H
