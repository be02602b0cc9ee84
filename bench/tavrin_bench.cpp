// Times the library on the workloads hosts care about at large sizes:
// full replots of line, marker and bar series (aliased, and antialiased as
// most hosts have them), live appending under the refresh timer, panning,
// filling series and the file exports, and the series image at device
// pixel ratios 1 and 2 (W6_dense). Prints one table of medians.
//
//   tavrin_bench [--quick] [--only name,name,...] [--reps N]
//
// Names: W1_line, W1_line_aa, W1_area (the plain line and the same line
// filled to its baseline, timed side by side), W2_scatter, W2_scatter_aa, W3_bars, W6_dense,
// W4_live_append, W5_pan, fill, export, memory, and the colour-map ones
// of colormap_workloads.h (W6_colormap, W6_colormap_pan, W7_waterfall,
// W7_feed; their memory figure comes with "memory").
//
// The workload "memory" prints the heap bytes per point that a filled line
// series of a million points holds, with the Qt version: Qt 5's QList keeps
// every QPointF in a block of its own, Qt 6's keeps them in one array.
//
// --quick divides every size by 100, for a smoke test.
// The data is x = 0..n-1, y = sin(x / 1000) * 100 + uniform noise of +-10,
// from a seeded generator, so every run draws the same picture.

#include <axes.h>
#include <axis.h>
#include <barseries.h>
#include <chartwidget.h>
#include <chartwidget_p.h>
#include <lineseries.h>
#include <pointseries.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <vector>

namespace {

struct Data {
    std::vector<double> x, y;
    int size() const { return int(x.size()); }
};

// splitmix64: the same numbers on every compiler and libc.
Data makeData(int n)
{
    Data d;
    d.x.resize(size_t(n));
    d.y.resize(size_t(n));
    std::uint64_t s = 20240611;
    for (int i = 0; i < n; ++i) {
        std::uint64_t z = (s += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        const double u = double(z >> 11) * (1.0 / 9007199254740992.0);
        d.x[size_t(i)] = i;
        d.y[size_t(i)] = std::sin(i / 1000.0) * 100.0 + (u * 2.0 - 1.0) * 10.0;
    }
    return d;
}

struct Row {
    QString name;
    int n;
    std::vector<double> ms;
};

double msSince(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e6;
}

class Bench
{
public:
    bool quick = false;
    int reps = 15;
    QStringList only;
    std::vector<Row> rows;

    int size(int n) const { return quick ? qMax(10, n / 100) : n; }

    bool wanted(const QString &name) const
    {
        if (only.isEmpty())
            return true;
        return only.contains(name);
    }

    // Times fn reps times after one warm-up call.
    void time(const QString &name, int n, int count, const std::function<void()> &fn)
    {
        Row r{name, n, {}};
        fn();
        for (int i = 0; i < count; ++i) {
            QElapsedTimer t;
            t.start();
            fn();
            r.ms.push_back(msSince(t));
        }
        rows.push_back(r);
        std::fprintf(stderr, "%s done\n", qPrintable(name));
    }

    // Times fn once per repetition; setup runs untimed before each.
    void timeOnce(const QString &name, int n, int count, const std::function<void()> &setup,
                  const std::function<void()> &fn, const std::function<void()> &teardown)
    {
        Row r{name, n, {}};
        for (int i = 0; i < count; ++i) {
            setup();
            QElapsedTimer t;
            t.start();
            fn();
            r.ms.push_back(msSince(t));
            teardown();
        }
        rows.push_back(r);
        std::fprintf(stderr, "%s done\n", qPrintable(name));
    }

    void print() const
    {
        std::printf("| %-26s | %9s | %11s | %11s | %4s |\n", "workload", "n", "median ms",
                    "min ms", "reps");
        std::printf("|%s|%s|%s|%s|%s|\n", "----------------------------", "----------:",
                    "------------:", "------------:", "-----:");
        for (const Row &r : rows) {
            std::vector<double> v = r.ms;
            std::sort(v.begin(), v.end());
            const size_t k = v.size();
            const double median = k % 2 ? v[k / 2] : (v[k / 2 - 1] + v[k / 2]) / 2;
            std::printf("| %-26s | %9d | %11.2f | %11.2f | %4d |\n", qPrintable(r.name), r.n,
                        median, v.front(), int(k));
        }
    }
};

ChartWidget *makeChart(bool antialiased = false)
{
    auto *chart = new ChartWidget;
    chart->resize(1000, 600);
    chart->setAntialiasing(antialiased);
    chart->show();
    QCoreApplication::processEvents();
    return chart;
}

void fill(ChartSeries *s, const Data &d, int n)
{
    for (int i = 0; i < n; ++i)
        s->addXY(d.x[size_t(i)], d.y[size_t(i)]);
}

// A chart showing one series filled before it was registered, so filling
// renders nothing.
ChartWidget *chartWith(ChartSeries *s, const Data &d, int n, bool antialiased = false)
{
    ChartWidget *chart = makeChart(antialiased);
    s->setColor(QColor(0, 0, 255));
    s->setFillColor(QColor(0, 0, 255));
    fill(s, d, n);
    chart->addSeries(s);
    QCoreApplication::processEvents();
    return chart;
}

// Heap in use, small blocks and mapped large ones, over every arena.
size_t heapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

double lineBytesPerPoint(const Data &d, int n)
{
    malloc_trim(0);
    const size_t before = heapInUse();
    auto *s = new LineSeries;
    fill(s, d, n);
    const size_t after = heapInUse();
    delete s;
    return double(after - before) / n;
}

void replot(ChartWidget *chart)
{
    chart->repaint();
    QCoreApplication::processEvents();
}

// The series image as the chart renders it for a screen of the given
// density: the series layer alone, without the paint event.
void ratioReplot(Bench &b, const QString &name, ChartSeries *s, const Data &d, int n)
{
    ChartWidget *chart = chartWith(s, d, n);
    const QSize plot = chart->d->plotRect.size();
    for (qreal ratio : {1.0, 2.0}) {
        QPixmap image(plot * ratio);
        image.setDevicePixelRatio(ratio);
        b.time(QStringLiteral("%1_ratio%2").arg(name).arg(ratio), n, b.reps, [&] {
            image.fill(Qt::transparent);
            QPainter painter(&image);
            s->draw(&painter);
        });
    }
    delete chart;
}

// The same replot with a fill down to the baseline, after the plain line
// in the same run, so that the two figures compare.
void areaReplot(Bench &b, const Data &d, int n)
{
    ChartWidget *plain = chartWith(new LineSeries, d, n);
    b.time(QStringLiteral("W1_area_line"), n, b.reps, [plain] { replot(plain); });
    delete plain;
    auto *s = new LineSeries;
    s->setFillBrush(QColor(0, 0, 255, 80));
    ChartWidget *chart = chartWith(s, d, n);
    b.time(QStringLiteral("W1_area_fill"), n, b.reps, [chart] { replot(chart); });
    delete chart;
}

void lineReplot(Bench &b, const Data &d, int n, bool antialiased = false)
{
    ChartWidget *chart = chartWith(new LineSeries, d, n, antialiased);
    b.time(QLatin1String(antialiased ? "W1_line_aa" : "W1_line"), n, b.reps, [chart] { replot(chart); });
    delete chart;
}

// One point per event-loop pass, as a producer on a zero timer delivers
// them; the chart redraws at most every 50 ms. Ends when the last point is
// on screen.
double liveAppend(const Data &d, int n)
{
    ChartWidget *chart = makeChart();
    auto *s = new LineSeries;
    chart->addSeries(s);
    chart->setRefreshTimeout(50);
    QEventLoop loop;
    QTimer producer;
    producer.setInterval(0);
    int i = 0;
    QObject::connect(&producer, &QTimer::timeout, [&] {
        s->addXY(d.x[size_t(i)], d.y[size_t(i)]);
        if (++i == n) {
            producer.stop();
            loop.quit();
        }
    });
    QElapsedTimer t;
    t.start();
    producer.start();
    loop.exec();
    chart->setRefreshTimeout(-1);
    QCoreApplication::processEvents();
    chart->QWidget::repaint();
    const double ms = msSince(t);
    delete chart;
    return ms;
}

} // namespace

#include "colormap_workloads.h"

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    Bench b;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--quick"))
            b.quick = true;
        else if (args[i] == QLatin1String("--only") && i + 1 < args.size())
            b.only = args[++i].split(QLatin1Char(','), Qt::SkipEmptyParts);
        else if (args[i] == QLatin1String("--reps") && i + 1 < args.size())
            b.reps = qMax(1, args[++i].toInt());
        else {
            std::fprintf(stderr, "usage: %s [--quick] [--only name,...] [--reps N]\n", argv[0]);
            return 2;
        }
    }

    const int million = b.size(1000000);
    const Data data = makeData(million);

    if (b.wanted(QStringLiteral("W1_line"))) {
        lineReplot(b, data, b.size(100000));
        lineReplot(b, data, million);
    }

    if (b.wanted(QStringLiteral("W1_area")))
        areaReplot(b, data, million);

    if (b.wanted(QStringLiteral("W1_line_aa"))) {
        lineReplot(b, data, b.size(100000), true);
        lineReplot(b, data, million, true);
    }

    for (bool aa : {false, true}) {
        const QString name = QLatin1String(aa ? "W2_scatter_aa" : "W2_scatter");
        if (!b.wanted(name))
            continue;
        const int n = b.size(100000);
        ChartWidget *chart = chartWith(new PointSeries(PointSeries::psCircle), data, n, aa);
        b.time(name, n, b.reps, [chart] { replot(chart); });
        delete chart;
    }

    if (b.wanted(QStringLiteral("W3_bars"))) {
        const int n = b.size(10000);
        ChartWidget *chart = chartWith(new BarSeries, data, n);
        b.time(QStringLiteral("W3_bars"), n, b.reps, [chart] { replot(chart); });
        delete chart;
    }

    if (b.wanted(QStringLiteral("W6_dense"))) {
        ratioReplot(b, QStringLiteral("W6_dense_line"), new LineSeries, data, million);
        ratioReplot(b, QStringLiteral("W6_dense_scatter"), new PointSeries(PointSeries::psCircle),
                    data, b.size(100000));
        ratioReplot(b, QStringLiteral("W6_dense_bars"), new BarSeries, data, b.size(10000));
    }

    if (b.wanted(QStringLiteral("W4_live_append"))) {
        const int n = b.size(100000);
        Row r{QStringLiteral("W4_live_append"), n, {}};
        for (int i = 0; i < 3; ++i)
            r.ms.push_back(liveAppend(data, n));
        b.rows.push_back(r);
    }

    if (b.wanted(QStringLiteral("W5_pan"))) {
        ChartWidget *chart = chartWith(new LineSeries, data, million);
        chart->setAutoScale(false);
        int step = 0;
        b.time(QStringLiteral("W5_pan"), million, 2 * b.reps, [chart, &step] {
            Axis *x = chart->axes()->bottom();
            x->shift(x->pixelDeltaToPoint((step++ % 2) ? -10.0 : 10.0));
            chart->axes()->updateTransformData();
            replot(chart);
        });
        delete chart;
    }

    if (b.wanted(QStringLiteral("fill"))) {
        LineSeries *s = nullptr;
        b.timeOnce(QStringLiteral("fill_line_unregistered"), million, 5,
                   [&] { s = new LineSeries; }, [&] { fill(s, data, million); },
                   [&] { delete s; });
        ChartWidget *chart = nullptr;
        b.timeOnce(QStringLiteral("fill_line_registered"), million, 5,
                   [&] {
                       chart = makeChart();
                       s = new LineSeries;
                       chart->addSeries(s);
                       chart->setRefreshTimeout(50);
                   },
                   [&] { fill(s, data, million); },
                   [&] { delete chart; });
        PointSeries *p = nullptr;
        const int n = b.size(100000);
        b.timeOnce(QStringLiteral("fill_point_unregistered"), n, 5,
                   [&] { p = new PointSeries(PointSeries::psCircle); }, [&] { fill(p, data, n); },
                   [&] { delete p; });
    }

    if (b.wanted(QStringLiteral("export"))) {
        QTemporaryDir dir;
        ChartWidget *chart = chartWith(new LineSeries, data, million);
        const QString csv = dir.filePath(QStringLiteral("bench.csv"));
        const QString xml = dir.filePath(QStringLiteral("bench.xml"));
        b.time(QStringLiteral("export_csv"), million, 3, [&] {
            if (!chart->exportCsv(csv))
                std::fprintf(stderr, "CSV export failed\n");
        });
        b.time(QStringLiteral("export_xml"), million, 3, [&] {
            if (!chart->exportXml(xml))
                std::fprintf(stderr, "XML export failed\n");
        });
        delete chart;
    }

    // A cursor's readout asks the series for its value at every mouse move.
    double lookupMicroseconds = -1;
    if (b.wanted(QStringLiteral("value_at"))) {
        auto *s = new LineSeries;
        fill(s, data, million);
        const int lookups = 100000;
        std::vector<double> at(static_cast<size_t>(lookups));
        for (int i = 0; i < lookups; ++i)
            at[size_t(i)] = std::fmod(i * 7919.37, double(million)); // spread, not cached in order
        volatile double sink = 0;
        b.time(QStringLiteral("value_at"), lookups, b.reps, [&] {
            double sum = 0;
            for (double x : at)
                sum += s->valueAt(x);
            sink = sink + sum;
        });
        std::vector<double> v = b.rows.back().ms;
        std::sort(v.begin(), v.end());
        lookupMicroseconds = v[v.size() / 2] * 1000.0 / lookups;
        delete s;
    }
    colormap::workloads(b, [] { return makeChart(); }, replot);

    b.print();
    if (lookupMicroseconds >= 0)
        std::printf("\nvalue_at: %.3f microseconds per lookup on %d sorted points (median)\n",
                    lookupMicroseconds, million);
    if (b.wanted(QStringLiteral("memory")))
        std::printf("\nmemory: a line series of %d points holds %.1f bytes per point (Qt %s)\n", million,
                    lineBytesPerPoint(data, million), qVersion());
    return 0;
}
