#ifndef HIGHLOWSERIES_P_H
#define HIGHLOWSERIES_P_H

#include "highlowseries.h"

#include <QBrush>
#include <QList>
#include <QPainterPath>

class HighLowSeriesPrivate
{
public:
    QList<HighLowSeries::HighLowPoint> points;
    // Scratch path for the band, kept between draws so that its storage is
    // reused instead of regrown on every paint.
    QPainterPath band;
    QBrush brush{Qt::green, Qt::Dense6Pattern};
    // The legend icon shows a brush the host chose, not the default hatch.
    bool customBrush = false;
    bool lowerLineVisible = true;
};

#endif // HIGHLOWSERIES_P_H
