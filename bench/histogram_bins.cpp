// Times binning a million values in a HistogramSeries: one block under each
// bin rule (the automatic rule selects quartiles, the others only count),
// and the same values again as single additions into fixed bins. Prints the
// median of the runs.
//
//   histogram_bins [count]      (default 1000000)

#include <histogramseries.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

double medianMs(const std::function<void()> &run)
{
    QVector<double> ms;
    for (int r = 0; r < 9; ++r) {
        QElapsedTimer t;
        t.start();
        run();
        ms << t.nsecsElapsed() / 1e6;
    }
    std::sort(ms.begin(), ms.end());
    return ms.at(ms.size() / 2);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000000;
    // Two overlapping normal distributions, as a measured signal gives.
    QRandomGenerator rng(7);
    QVector<double> values(count);
    for (int i = 0; i < count; ++i) {
        const double u = 1.0 - rng.generateDouble(), v = rng.generateDouble();
        values[i] = std::sqrt(-2 * std::log(u)) * std::cos(2 * M_PI * v) * (i % 3 ? 1.0 : 2.5) + (i % 3 ? 0 : 4);
    }
    int bins = 0;
    auto block = [&](int rule) {
        return [&, rule] {
            HistogramSeries s;
            if (rule == 1)
                s.setBinCount(100);
            else if (rule == 2)
                s.setBinWidth(0.05);
            s.addValues(values);
            bins = s.pointsCount();
        };
    };
    const double automatic = medianMs(block(0));
    const int automaticBins = bins;
    std::printf("%-34s %8d values  %6d bins  %7.2f ms\n", "one block, automatic bins", count, automaticBins, automatic);
    std::printf("%-34s %8d values  %6d bins  %7.2f ms\n", "one block, 100 bins", count, 100, medianMs(block(1)));
    const double byWidth = medianMs(block(2));
    std::printf("%-34s %8d values  %6d bins  %7.2f ms\n", "one block, width 0.05", count, bins, byWidth);
    const double single = medianMs([&] {
        HistogramSeries s;
        s.setRange(-10, 15);
        s.setBinCount(500);
        for (const double v : values)
            s.addValue(v);
        bins = s.pointsCount();
    });
    std::printf("%-34s %8d values  %6d bins  %7.2f ms\n", "single values, fixed bins", count, bins, single);
    return 0;
}
