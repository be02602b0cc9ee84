#ifndef LEGENDOWNER_P_H
#define LEGENDOWNER_P_H

#include <QFont>
#include <QRect>
#include <QString>

// What the legend needs from the chart it floats in. The chart implements
// it, so the legend code never includes the chart's headers.
class LegendOwner
{
public:
    virtual ~LegendOwner() = default;
    // The legend's extent across the plot changed.
    virtual bool updatePlotArea() = 0;
    virtual QString legendTitle() const = 0;
    virtual QFont legendTitleFont() const = 0;
    // The plot area in the chart's coordinates, which an inset legend sits in.
    virtual QRect legendPlotArea() const = 0;
};

#endif // LEGENDOWNER_P_H
