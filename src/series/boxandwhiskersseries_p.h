#ifndef BOXANDWHISKERSSERIES_P_H
#define BOXANDWHISKERSSERIES_P_H

#include "boxandwhiskersseries.h"

#include <QBrush>
#include <QList>
#include <QPen>
#include <QPixmap>

class BoxAndWhiskersSeriesPrivate
{
public:
    QList<BoxAndWhiskersSeries::Candle> candles;
    QPen whiskerPen{QColor(Qt::black)};
    const double boxWidth = 6.0; // pixels
    QPixmap medianMarker;
    // Fill colour the marker was last built against.
    QRgb markerSource = 0;

    // A (boxWidth + 1) square disc in the inverse of `fill`, so the median
    // stands out against whatever colour the box has.
    void buildMedianMarker(const QBrush &fill);
};

#endif // BOXANDWHISKERSSERIES_P_H
