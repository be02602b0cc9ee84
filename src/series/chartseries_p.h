#ifndef CHARTSERIES_P_H
#define CHARTSERIES_P_H

#include "chartseries.h"
#include "chartseriesowner_p.h"

#include <QBrush>
#include <QPen>
#include <limits>

class ChartSeriesPrivate
{
public:
    QString name;
    bool visible = true;
    bool legendVisible = true;
    bool autoColor = true;
    QPen pen{QBrush(Qt::black), 1, Qt::SolidLine};
    QBrush brush{Qt::red, Qt::SolidPattern};
    Axis *xAxis = nullptr;
    Axis *yAxis = nullptr;
    ChartSeriesOwner *owner = nullptr;
    double minX = std::numeric_limits<double>::quiet_NaN();
    double maxX = std::numeric_limits<double>::quiet_NaN();
    double minY = std::numeric_limits<double>::quiet_NaN();
    double maxY = std::numeric_limits<double>::quiet_NaN();
    int tooltipMode = -1;

    void resetBounds()
    {
        minX = maxX = minY = maxY = std::numeric_limits<double>::quiet_NaN();
    }
};

#endif // CHARTSERIES_P_H
