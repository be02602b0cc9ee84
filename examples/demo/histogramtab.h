#ifndef DEMO_HISTOGRAMTAB_H
#define DEMO_HISTOGRAMTAB_H

class ChartWidget;

namespace demo {

// Two overlaid distributions of response times as densities, so samples
// of different sizes compare; semi-transparent fills show the overlap.
ChartWidget *histogramChart();

} // namespace demo

#endif // DEMO_HISTOGRAMTAB_H
