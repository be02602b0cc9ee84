#ifndef HIGHLOWSERIES_P_H
#define HIGHLOWSERIES_P_H

#include "highlowseries.h"

#include <QList>
#include <QPainterPath>

class HighLowSeriesPrivate
{
public:
    QList<HighLowSeries::HighLowPoint> points;
    // Scratch path for the band, kept between draws so that its storage is
    // reused instead of regrown on every paint.
    QPainterPath band;
};

#endif // HIGHLOWSERIES_P_H
