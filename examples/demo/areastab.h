#ifndef DEMO_AREASTAB_H
#define DEMO_AREASTAB_H

class ChartWidget;

namespace demo {

// Stacked areas of a day's power sources under a stepped set-point.
ChartWidget *areasChart();

} // namespace demo

#endif // DEMO_AREASTAB_H
