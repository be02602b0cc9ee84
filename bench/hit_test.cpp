// Times ChartWidget::pointAt() on a shown chart of a million sorted points
// (a line and a scatter), at pointer positions spread over the plot.
//
// The first lookup builds the block summaries unless a rendering did (a line
// series summarises as it draws; a chart with click, hover or selection
// turned on has every line and point series summarised after a rendering):
// it is reported on its own, and the "hovered" rows follow the pointer.
// Each later position is looked up three times: the worst single lookup
// (wall clock) includes whatever the machine did meanwhile, so the worst of
// the per-position fastest, and the worst in thread CPU time, are given
// too; on a busy machine a lookup of tens of microseconds is now and then
// descheduled for a whole time slice (milliseconds), which only the wall
// clock sees. Page faults during the timed lookups are counted.
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
#include <ctime>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace {

qint64 threadNs()
{
#ifdef CLOCK_THREAD_CPUTIME_ID
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
#else
    return 0;
#endif
}

long pageFaults()
{
#ifdef Q_OS_UNIX
    rusage u;
    getrusage(RUSAGE_SELF, &u);
    return u.ru_minflt + u.ru_majflt;
#else
    return 0;
#endif
}

double us(qint64 ns)
{
    return ns / 1000.0;
}

void run(const char *name, ChartSeries *series, int count, bool hovered)
{
    QVector<double> x(count), y(count);
    for (int i = 0; i < count; ++i) {
        x[i] = i * 0.001;
        // A slow wave with noise of a few pixels, as a sampled signal looks.
        y[i] = std::sin(i * 1e-5) * 100 + (i % 7) * 0.5;
    }
    series->addPoints(x, y);
    ChartWidget chart;
    if (hovered)
        QObject::connect(&chart, &ChartWidget::pointHovered, [](int, int) {});
    chart.addSeries(series);
    chart.resize(1000, 600);
    chart.show();
    QApplication::processEvents();
    chart.repaint();
    QElapsedTimer t;
    t.start();
    chart.pointAt(QPoint(500, 300));
    const qint64 first = t.nsecsElapsed();

    QVector<qint64> wall, fastest, cpu;
    int hits = 0;
    const long faults = pageFaults();
    for (int px = 60; px < 960; px += 3) {
        for (int py = 40; py < 560; py += 52) {
            qint64 best = -1;
            for (int rep = 0; rep < 3; ++rep) {
                const qint64 c0 = threadNs();
                t.start();
                const bool hit = chart.pointAt(QPoint(px, py)).isValid();
                const qint64 ns = t.nsecsElapsed();
                cpu.append(threadNs() - c0);
                if (rep == 0) {
                    wall.append(ns);
                    hits += hit;
                }
                best = best < 0 ? ns : std::min(best, ns);
            }
            fastest.append(best);
        }
    }
    const long faulted = pageFaults() - faults;
    std::sort(wall.begin(), wall.end());
    std::sort(fastest.begin(), fastest.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("%-16s %8d points  first %7.1f us  %5d lookups (%d hits)  median %6.1f us  99th %6.1f us"
                "  worst %7.1f us  worst of fastest %6.1f us  worst cpu %6.1f us  page faults %ld\n",
                name, count, us(first), int(wall.size()), hits, us(wall.at(wall.size() / 2)),
                us(wall.at(wall.size() * 99 / 100)), us(wall.last()), us(fastest.last()), us(cpu.last()), faulted);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000000;
    run("line", new LineSeries, count, false);
    run("scatter", new PointSeries, count, false);
    run("line, hovered", new LineSeries, count, true);
    run("scatter, hovered", new PointSeries, count, true);
    return 0;
}
