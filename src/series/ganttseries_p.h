#ifndef GANTTSERIES_P_H
#define GANTTSERIES_P_H

#include "ganttseries.h"

#include <QList>

class GanttSeriesPrivate
{
public:
    QList<GanttBar> bars;
    const double barHeight = 15.0; // pixels
};

#endif // GANTTSERIES_P_H
