#ifndef BARSERIES_P_H
#define BARSERIES_P_H

#include "barseries.h"

#include <QPointF>
#include <QVector>

class BarSeriesPrivate
{
public:
    QVector<QPointF> points;
    // Pixels; there is no setter.
    double barWidth = 15.0;
};

#endif // BARSERIES_P_H
