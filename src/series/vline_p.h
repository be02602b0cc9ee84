#ifndef VLINE_P_H
#define VLINE_P_H

#include "vline.h"

#include <QPen>

class VLinePrivate
{
public:
    double x = 0;
    QPen pen{Qt::SolidLine};
    Axis *xAxis = nullptr;
    Axis *yAxis = nullptr;
};

#endif // VLINE_P_H
