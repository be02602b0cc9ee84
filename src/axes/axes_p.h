#ifndef AXES_P_H
#define AXES_P_H

#include "axis.h"

class TAVRIN_EXPORT AxesPrivate
{
public:
    // Declared left first: the bottom axis is destroyed before the left one.
    // The right axis came later and goes first.
    Axis left{Axis::atLeft};
    Axis bottom{Axis::atBottom};
    Axis right{Axis::atRight};
};

#endif // AXES_P_H
