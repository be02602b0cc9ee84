#ifndef CHARTGROUP_P_H
#define CHARTGROUP_P_H

#include "chartgroup.h"

#include <QList>
#include <QtNumeric>

class ChartWidget;

class ChartGroupPrivate
{
public:
    explicit ChartGroupPrivate(ChartGroup *group) : q(group) {}

    ChartGroup *q;
    // Members leave in their destructor, so no pointer here dangles.
    QList<ChartWidget *> charts;
    bool align = true;
    // Set while the group moves its members: what they do then is the
    // group's doing and goes no further.
    bool following = false;
    bool aligning = false;
    // The x range the members show, NaN before the first one rendered.
    double lo = qQNaN(), hi = qQNaN();

    // Called by a member before it renders: a range of its own goes to the
    // others, who render it.
    void followX(ChartWidget *source);
    // The x value under a member's crosshair, NaN when it is gone.
    void followCrosshair(ChartWidget *source, double x);
    // Gives every member the widest bands; called when a member's bands may
    // have changed.
    void alignBands();
    void detach(ChartWidget *chart);
};

#endif // CHARTGROUP_P_H
