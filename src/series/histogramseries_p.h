#ifndef HISTOGRAMSERIES_P_H
#define HISTOGRAMSERIES_P_H

#include "histogramseries.h"
#include "seriesdata_p.h"

#include <cmath>
#include <limits>
#include <vector>

class HistogramSeriesPrivate
{
public:
    explicit HistogramSeriesPrivate(HistogramSeries *series) : q(series) {}

    HistogramSeries *const q;

    std::vector<double> values; // finite ones, as added
    qint64 nonFinite = 0;

    HistogramSeries::BinRule rule = HistogramSeries::AutomaticBins;
    int givenCount = 0;
    double givenWidth = 0;
    bool fixedRange = false;
    double rangeLower = 0, rangeUpper = 0;
    HistogramSeries::Normalization normalization = HistogramSeries::Counts;
    // A given width too fine for the cap warns once, not at every rebin.
    bool warnedWidth = false;

    // The layout: count bins, edge(i) from lower in steps, the last edge
    // exactly upper.
    int count = 0;
    double lower = 0, step = 0, upper = 0;
    std::vector<qint64> counts;
    std::vector<double> binValues; // as drawn, after normalization
    qint64 total = 0; // values in the bins
    size_t binned = 0; // values[0, binned) are in the counts
    bool stale = true; // the layout must be built again
    bool widened = false; // equal values got a range around them
    bool wide = false; // upper - lower is past the largest double
    bool valuesStale = true; // binValues must be worked out again
    bool flushQueued = false;
    tavrin::BlockBounds published; // the bounds the chart last heard of

    double edge(int i) const
    {
        if (i >= count)
            return upper;
        return wide ? 2 * (0.5 * lower + i * (0.5 * step)) : lower + i * step;
    }
    // Steps from lower to x. Bins over more than the largest double take
    // halves, and steps too small to invert divide, so that neither
    // overflows.
    double stepsTo(double x) const
    {
        return wide ? (0.5 * x - 0.5 * lower) / (0.5 * step) : (x - lower) / step;
    }
    // A position in steps as a bin from 0 to last; NaN gives 0.
    static int binOf(double steps, int last) { return steps >= 0 ? (steps < last ? int(steps) : last) : 0; }
    // The width of count equal bins from lo to hi.
    static double stepOf(double lo, double hi, int count)
    {
        const double s = (hi - lo) / count;
        return std::isfinite(s) ? s : hi / count - lo / count;
    }

    // Brings the bins up to date with the values; readers call it.
    void sync();
    // sync(), then the bounds and the chart follow.
    void publish();
    // A single value came: binned with the next reader or from the event
    // loop, whichever is first.
    void queueFlush();
    void relayout();
    void binFrom(size_t first);
    template<bool careful>
    void binValuesFrom(size_t first, double inv);
    bool fitsLayout(double v) const;
    void normalize();
    // The bin holding x (edges as the bars are drawn), or -1.
    int binAt(double x) const;
};

#endif // HISTOGRAMSERIES_P_H
