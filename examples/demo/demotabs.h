#ifndef DEMO_DEMOTABS_H
#define DEMO_DEMOTABS_H

#include <QColor>
#include <QDateTime>
#include <QString>

class ChartWidget;
class LineSeries;

// One chart per use of the library. Every builder returns a ready chart whose
// series are filled before they are registered, so nothing renders per point.
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
ChartWidget *errorBarChart();
ChartWidget *barChart();
ChartWidget *boxChart();
ChartWidget *highLowChart();
ChartWidget *ganttChart();
ChartWidget *millionChart();
// Two quantities with their own y axes, left and right.
ChartWidget *twoAxesChart();
ChartWidget *logChart();

// A fixed moment, so that dates in the gallery do not change between runs.
QDateTime galleryStart();

} // namespace demo

#endif // DEMO_DEMOTABS_H
