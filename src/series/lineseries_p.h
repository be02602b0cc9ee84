#ifndef LINESERIES_P_H
#define LINESERIES_P_H

#include "lineseries.h"
#include "seriesdata_p.h"

class LineSeriesPrivate : public tavrin::PointStream
{
public:
    explicit LineSeriesPrivate(LineSeries *series) : PointStream(series) {}

    // Handed out for out-of-range operator[]; reset before each use so a
    // write through it never shows up in a later read.
    QPointF dummy;
};

#endif // LINESERIES_P_H
