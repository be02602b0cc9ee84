#ifndef DEMO_DEMOTABS_H
#define DEMO_DEMOTABS_H

#include <QColor>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVector>

class BarSeries;
class ChartWidget;
class LineSeries;
class PieSeries;

// One chart per use of the library. Every builder returns a ready chart whose
// series are filled before they are registered, so nothing renders per point.
class QStatusBar;
namespace demo {

// Colours that stay apart from each other on white and for most readers.
QColor palette(int i);

ChartWidget *newChart(const QString &title, const QString &xTitle, const QString &yTitle);

// How much of the live data the live tab keeps and shows.
constexpr int kLiveWindowSeconds = 300;

struct LiveChart {
    ChartWidget *chart;
    LineSeries *a;
    LineSeries *b;
};
LiveChart liveChart();
ChartWidget *scatterChart();
// Clicks, rectangle selection and keyboard walking on a chart, reported in
// the status bar.
void makeTouchable(ChartWidget *chart, QStatusBar *bar);
ChartWidget *errorBarChart();
// Two years of monthly cash flow, grouped side by side.
QList<BarSeries *> cashFlowBars();
ChartWidget *boxChart();
ChartWidget *highLowChart();
ChartWidget *ganttChart();
ChartWidget *millionChart();
// Two quantities with their own y axes, left and right.
ChartWidget *twoAxesChart();
ChartWidget *logChart();
// Parts of a whole: a live load gauge (a donut whose values change in
// place) beside a pie with a pulled-out slice.
struct PartsChart {
    ChartWidget *chart;
    PieSeries *gauge;
};
PartsChart partsChart();
// The gauge's reading at a step: user, system and idle percentages.
QVector<double> gaugeReading(int step);

// A fixed moment, so that dates in the gallery do not change between runs.
QDateTime galleryStart();

} // namespace demo

#endif // DEMO_DEMOTABS_H
