#ifndef CHARTSERIESOWNER_P_H
#define CHARTSERIESOWNER_P_H

// What a registered series needs from the chart that owns it. The chart
// implements it, so the series code never includes the chart's headers.
class ChartSeriesOwner
{
public:
    virtual ~ChartSeriesOwner() = default;
    // A point widened the series' bounds.
    virtual void seriesBoundsChanged(double x, double y) = 0;
    // A point was added; the chart may start its refresh timer.
    virtual void scheduleRefresh() = 0;
    // A block of points widened the series' bounds to contain this box.
    virtual void seriesBlockBoundsChanged(double minX, double minY, double maxX, double maxY)
    {
        seriesBoundsChanged(minX, minY);
        seriesBoundsChanged(maxX, maxY);
    }
    // Dropped points narrowed the series' bounds.
    virtual void seriesBoundsShrunk() {}
};

#endif // CHARTSERIESOWNER_P_H
