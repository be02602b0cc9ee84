// Colour-map workloads of tavrin_bench, driven as the peer harness drives
// them (one grid series set with setData(), replots through repaint() and
// one event-loop pass):
//   W6_colormap      set-data + first replot, then replots of the unchanged
//                    map, for 500^2, 1000^2 and 2000^2 cells;
//   W6_colormap_pan  10 px pan steps over the 1000^2 map;
//   W7_waterfall     push one row of 1,024 into 512 rows, replot;
//   W7_feed          a worker thread queues 1,024-value rows at 1 kHz for
//                    3 s into a chart refreshing every 40 ms: the process's
//                    CPU time over the wall time, in % of one core;
//   memory           resident bytes per cell of a 2000^2 map, as the
//                    harness reads them (steady, after malloc_trim).
#pragma once

#include <colormapseries.h>

#include <QThread>

#include <ctime>
#include <fstream>
#include <unistd.h>

namespace colormap {

inline std::vector<double> grid(int columns, int rows)
{
    std::vector<double> z(size_t(columns) * size_t(rows));
    for (int r = 0; r < rows; ++r) {
        const double v = double(r) / rows;
        for (int c = 0; c < columns; ++c) {
            const double u = double(c) / columns;
            const double peak = std::exp(-((u - 0.6) * (u - 0.6) + (v - 0.4) * (v - 0.4)) * 40.0);
            z[size_t(r) * size_t(columns) + size_t(c)] = std::sin(u * 18.85) * std::cos(v * 12.57) + 2.0 * peak
                + 0.1 * ((c * 7919 + r * 104729) % 1000) / 1000.0;
        }
    }
    return z;
}

inline QVector<double> spectrum(int columns, int frame)
{
    QVector<double> row(columns);
    const double tone = 0.5 + 0.4 * std::sin(frame / 40.0);
    for (int c = 0; c < columns; ++c) {
        const double u = double(c) / columns;
        row[c] = -1.0 + 0.3 * ((c * 7919 + frame * 104729) % 1000) / 1000.0
            + 2.5 * std::exp(-(u - tone) * (u - tone) * 2000.0);
    }
    return row;
}

inline ColorMapSeries *mapOf(const std::vector<double> &z, int columns, int rows)
{
    auto *map = new ColorMapSeries;
    map->setGradient({{0.0, QColor(0, 0, 128)}, {0.35, QColor(0, 255, 255)}, {0.65, QColor(255, 255, 0)},
                      {1.0, QColor(128, 0, 0)}});
    map->setColorScaleVisible(false); // the harness draws no bar
    map->setData(QVector<double>(z.begin(), z.end()), columns, rows, 0, columns, 0, rows);
    map->setMaximumRows(rows);
    return map;
}

inline long residentKb()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

inline double cpuSeconds()
{
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

// Rows from another thread, queued by value as a host's FFT thread would.
class Feeder : public QThread
{
public:
    Feeder(ColorMapSeries *map, int columns, int seconds) : m_map(map), m_columns(columns), m_seconds(seconds) {}
    int sent = 0;

protected:
    void run() override
    {
        QElapsedTimer t;
        t.start();
        const qint64 end = qint64(m_seconds) * 1000000;
        for (qint64 next = 0; next < end; next += 1000) {
            const qint64 wait = next - t.nsecsElapsed() / 1000;
            if (wait > 0)
                QThread::usleep(static_cast<unsigned long>(wait));
            QMetaObject::invokeMethod(m_map, "addRow", Qt::QueuedConnection,
                                      Q_ARG(QVector<double>, spectrum(m_columns, sent)));
            ++sent;
        }
    }

private:
    ColorMapSeries *m_map;
    int m_columns, m_seconds;
};

template <typename BenchT, typename MakeChart, typename Replot>
void workloads(BenchT &b, MakeChart makeChart, Replot replot)
{
    const bool w6 = b.wanted(QStringLiteral("W6_colormap"));
    for (int side : {500, 1000, 2000}) {
        if (!w6 && !(side == 1000 && b.wanted(QStringLiteral("W6_colormap_pan"))))
            continue;
        const int s = b.quick ? side / 10 : side;
        const std::vector<double> z = grid(s, s);
        ChartWidget *chart = nullptr;
        ColorMapSeries *map = nullptr;
        if (w6) {
            b.timeOnce(QStringLiteral("W6_colormap_set+first_%1").arg(s), s * s, 5, [&] { chart = makeChart(); },
                       [&] {
                           map = mapOf(z, s, s);
                           chart->setDrawingLock(true);
                           chart->addSeries(map);
                           chart->setDrawingLock(false);
                           QCoreApplication::processEvents();
                       },
                       [&] { delete chart; });
        }
        chart = makeChart();
        chart->addSeries(mapOf(z, s, s));
        replot(chart);
        if (w6)
            b.time(QStringLiteral("W6_colormap_%1").arg(s), s * s, b.reps, [&] { replot(chart); });
        if (side == 1000 && b.wanted(QStringLiteral("W6_colormap_pan"))) {
            chart->setAutoScale(false);
            int step = 0;
            b.time(QStringLiteral("W6_colormap_pan"), s * s, 2 * b.reps, [&] {
                Axis *x = chart->axes()->bottom();
                x->shift(x->pixelDeltaToPoint((step++ % 2) ? -10.0 : 10.0));
                chart->axes()->updateTransformData();
                replot(chart);
            });
        }
        delete chart;
    }

    const int columns = b.quick ? 128 : 1024, rows = b.quick ? 64 : 512;
    if (b.wanted(QStringLiteral("W7_waterfall"))) {
        ChartWidget *chart = makeChart();
        auto *map = mapOf(grid(columns, rows), columns, rows);
        chart->addSeries(map);
        replot(chart);
        int frame = 0;
        b.time(QStringLiteral("W7_waterfall"), columns * rows, 120, [&] {
            map->addRow(spectrum(columns, frame++));
            replot(chart);
        });
        delete chart;
    }

    if (b.wanted(QStringLiteral("W7_feed"))) {
        ChartWidget *chart = makeChart();
        auto *map = mapOf(grid(columns, rows), columns, rows);
        chart->addSeries(map);
        chart->setRefreshTimeout(40);
        replot(chart);
        Feeder feeder(map, columns, 3);
        QElapsedTimer wall;
        const double cpu0 = cpuSeconds();
        wall.start();
        QEventLoop loop;
        QObject::connect(&feeder, &QThread::finished, &loop, &QEventLoop::quit);
        feeder.start();
        loop.exec();
        QCoreApplication::processEvents();
        const double cpu = cpuSeconds() - cpu0, secs = wall.nsecsElapsed() / 1e9;
        std::fprintf(stderr, "W7_feed: %d rows in %.2f s, %d rows shown, CPU %.1f %% of one core\n", feeder.sent,
                     secs, map->rows(), 100.0 * cpu / secs);
        b.rows.push_back({QStringLiteral("W7_feed_cpu_percent"), feeder.sent, {100.0 * cpu / secs}});
        delete chart;
    }

    if (b.wanted(QStringLiteral("memory"))) {
        const int s = b.quick ? 200 : 2000;
        const std::vector<double> z = grid(s, s);
        ChartWidget *chart = makeChart();
        malloc_trim(0);
        const long base = residentKb();
        chart->addSeries(mapOf(z, s, s));
        replot(chart);
        malloc_trim(0);
        const long steady = residentKb();
        std::printf("\nmemory: a %d x %d colour map holds %.2f resident bytes per cell\n", s, s,
                    (steady - base) * 1024.0 / (double(s) * s));
        delete chart;
    }
}

} // namespace colormap
