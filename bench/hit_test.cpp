// Times ChartWidget::pointAt() on a shown chart of a million sorted points
// (a line and a scatter), at pointer positions spread over the plot: the
// median, the 99th percentile and the worst single lookup, after the first (which builds the
// block summaries once).
//
//   hit_test [count]      (default 1000000)

#include <chartwidget.h>
#include <lineseries.h>
#include <pointseries.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

void run(const char *name, ChartSeries *series, int count)
{
    QVector<double> x(count), y(count);
    for (int i = 0; i < count; ++i) {
        x[i] = i * 0.001;
        // A slow wave with noise of a few pixels, as a sampled signal looks.
        y[i] = std::sin(i * 1e-5) * 100 + (i % 7) * 0.5;
    }
    series->addPoints(x, y);
    ChartWidget chart;
    chart.addSeries(series);
    chart.resize(1000, 600);
    chart.show();
    QApplication::processEvents();
    chart.repaint();
    chart.pointAt(QPoint(500, 300));

    QVector<qint64> ns;
    int hits = 0;
    QElapsedTimer t;
    for (int px = 60; px < 960; px += 3) {
        for (int py = 40; py < 560; py += 52) {
            t.start();
            hits += chart.pointAt(QPoint(px, py)).isValid();
            ns.append(t.nsecsElapsed());
        }
    }
    std::sort(ns.begin(), ns.end());
    std::printf("%-8s %8d points  %5d lookups (%d hits)  median %6.1f us  99th %6.1f us  worst %7.1f us\n",
                name, count, int(ns.size()), hits, ns.at(ns.size() / 2) / 1000.0,
                ns.at(ns.size() * 99 / 100) / 1000.0, ns.last() / 1000.0);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000000;
    run("line", new LineSeries, count);
    run("scatter", new PointSeries, count);
    return 0;
}
