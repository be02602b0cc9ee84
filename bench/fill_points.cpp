// Times filling point series with many points, distinct and half repeated,
// to keep the duplicate test from growing quadratic again.
//
//   fill_points [count]      (default 100000)

#include <minmaxpointseries.h>
#include <pointseries.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QVector>

#include <cstdio>
#include <random>

namespace {

struct Sample {
    double x;
    double y;
};

// Distinct points in ascending x with noisy y, as a measuring host adds them.
QVector<Sample> distinct(int n, std::mt19937_64 &rng)
{
    std::normal_distribution<double> noise(0.0, 1.0);
    QVector<Sample> v;
    v.reserve(n);
    for (int i = 0; i < n; ++i)
        v.append({i * 0.01, 100.0 + noise(rng)});
    return v;
}

// n points of which half repeat an earlier one, exactly or within the
// fuzzy tolerance.
QVector<Sample> halfRepeated(int n, std::mt19937_64 &rng)
{
    QVector<Sample> base = distinct((n + 1) / 2, rng);
    QVector<Sample> v;
    v.reserve(n);
    for (int i = 0; v.size() < n; ++i) {
        v.append(base.at(i));
        if (v.size() < n) {
            std::uniform_int_distribution<int> pick(0, i);
            Sample s = base.at(pick(rng));
            if (i % 2)
                s.y *= 1.0 + 1e-13;
            v.append(s);
        }
    }
    return v;
}

// Distinct points all on one vertical line: every stored x is a candidate.
QVector<Sample> oneColumn(int n)
{
    QVector<Sample> v;
    v.reserve(n);
    for (int i = 0; i < n; ++i)
        v.append({5.0, i * 0.5});
    return v;
}

template<typename Series, typename Add>
void run(const char *kind, const char *data, const QVector<Sample> &samples, Add add)
{
    Series s;
    QElapsedTimer t;
    t.start();
    for (const Sample &p : samples)
        add(s, p);
    const double ms = t.nsecsElapsed() / 1e6;
    std::printf("%-18s %-14s %8d added %8d stored %9.1f ms\n", kind, data, int(samples.size()),
                s.pointsCount(), ms);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int n = argc > 1 ? qMax(1, QByteArray(argv[1]).toInt()) : 100000;

    std::mt19937_64 rng(7);
    const QVector<Sample> sets[3] = {distinct(n, rng), halfRepeated(n, rng), oneColumn(n)};
    const char *names[3] = {"distinct", "half repeated", "one column"};

    for (int i = 0; i < 3; ++i)
        run<PointSeries>("PointSeries", names[i], sets[i],
                         [](PointSeries &s, const Sample &p) { s.addXY(p.x, p.y); });
    for (int i = 0; i < 3; ++i)
        run<MinMaxPointSeries>("MinMaxPointSeries", names[i], sets[i],
                               [](MinMaxPointSeries &s, const Sample &p) {
                                   s.addPoint(p.x, p.y, p.y - 1, p.y + 1);
                               });
    return 0;
}
