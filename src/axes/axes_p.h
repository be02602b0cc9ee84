#ifndef AXES_P_H
#define AXES_P_H

#include "axis.h"

class TAVRIN_EXPORT AxesPrivate
{
public:
    // Declared left first: the bottom axis is destroyed before the left one.
    // The right and top axes came later and go first.
    Axis left{Axis::atLeft};
    Axis bottom{Axis::atBottom};
    Axis right{Axis::atRight};
    Axis top{Axis::atTop};
};

#endif // AXES_P_H
