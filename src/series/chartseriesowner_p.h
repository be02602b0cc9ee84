#ifndef CHARTSERIESOWNER_P_H
#define CHARTSERIESOWNER_P_H

#include <QColor>
#include <QList>
#include <QPalette>

class ChartSeries;

// What a registered series needs from the chart that owns it. The chart
// implements it, so the series code never includes the chart's headers.
// Each hook names the series, whose own axes the chart widens.
class ChartSeriesOwner
{
public:
    virtual ~ChartSeriesOwner() = default;
    // A point widened the series' bounds.
    virtual void seriesBoundsChanged(ChartSeries *series, double x, double y) = 0;
    // A point was added; the chart may start its refresh timer.
    virtual void scheduleRefresh() = 0;
    // A block of points widened the series' bounds to contain this box.
    virtual void seriesBlockBoundsChanged(ChartSeries *series, double minX, double minY, double maxX,
                                          double maxY)
    {
        seriesBoundsChanged(series, minX, minY);
        seriesBoundsChanged(series, maxX, maxY);
    }
    // Dropped points narrowed the series' bounds.
    virtual void seriesBoundsShrunk() {}
    // The series was given other axes.
    virtual void seriesAxesChanged(ChartSeries *series) { (void)series; }
    // What the series shows changed (a pie's values, a colour map's cells or
    // colours), and with extentMoved its bounds too, to those it now holds:
    // one rendering soon covers any number of them.
    virtual void seriesContentChanged(ChartSeries *series, bool extentMoved)
    {
        (void)series;
        (void)extentMoved;
    }
    // The chart's series colours (empty when it has none) and palette, for
    // kinds that colour parts of themselves.
    virtual QList<QColor> paletteColors() const { return {}; }
    virtual QPalette chartPalette() const { return QPalette(); }
};

#endif // CHARTSERIESOWNER_P_H
