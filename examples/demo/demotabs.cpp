#include "demotabs.h"
#include "producer.h"

#include <axes.h>
#include <axis.h>
#include <barseries.h>
#include <boxandwhiskersseries.h>
#include <chartwidget.h>
#include <ganttseries.h>
#include <highlowseries.h>
#include <legend.h>
#include <lineseries.h>
#include <minmaxpointseries.h>
#include <pieseries.h>
#include <pointseries.h>

#include <QCoreApplication>
#include <QStatusBar>
#include <QLocale>
#include <QtMath>

#include <cmath>
#include <random>

namespace demo {

static QString tr(const char *text)
{
    return QCoreApplication::translate("DemoTabs", text);
}

QColor palette(int i)
{
    static const QRgb colors[] = {0x1f77b4, 0xe8710a, 0x2a9d3a, 0xd62728, 0x8e5cc4,
                                  0x8c564b, 0xd1489f, 0x17a2b8, 0x6b6b6b, 0xb5a000};
    return QColor(colors[i % int(std::size(colors))]);
}

QDateTime galleryStart()
{
    return QDateTime(QDate(2024, 3, 4), QTime(9, 0));
}

ChartWidget *newChart(const QString &title, const QString &xTitle, const QString &yTitle)
{
    auto *chart = new ChartWidget;
    chart->setTitle(title);
    chart->axes()->bottom()->setTitle(xTitle);
    chart->axes()->left()->setTitle(yTitle);
    chart->setAntialiasing(true);
    chart->enableTooltip(true);
    chart->legend()->setPlacement(Legend::plRight);
    chart->legend()->setVisible(true);
    chart->setImageExportActions(true);
    chart->setMinimumSize(320, 200);
    return chart;
}

// Registers a whole batch with one rendering at the end.
template <typename... S>
static void addAll(ChartWidget *chart, S *...series)
{
    chart->setDrawingLock(true);
    (chart->addSeries(series), ...);
    chart->setDrawingLock(false);
    chart->repaint();
}

LiveChart liveChart()
{
    auto *chart = newChart(tr("Live data: two sensors, the last five minutes"),
                           tr("Time"), tr("Temperature (°C)"));
    chart->axes()->bottom()->setDatetime(true);
    chart->axes()->bottom()->setDatetimeFormat(QStringLiteral("hh:mm:ss"));
    // Blocks arrive from a worker; collect them for 50 ms and render once.
    // Each expiry fits the axes to the kept points, so the view follows.
    chart->setRefreshTimeout(50);

    auto *a = new LineSeries;
    a->setName(tr("Sensor A"));
    a->setColor(palette(0));
    a->setWidth(2);
    auto *b = new LineSeries;
    b->setName(tr("Sensor B"));
    b->setColor(palette(1));
    b->setWidth(2);
    // A strip chart: the oldest readings go, memory stays the same for days.
    for (LineSeries *s : {a, b})
        s->setMaximumPoints(kLiveWindowSeconds * Producer::kRate);
    addAll(chart, a, b);
    return {chart, a, b};
}

void makeTouchable(ChartWidget *chart, QStatusBar *bar)
{
    chart->setSelectionMode(ChartWidget::smRectangle);
    chart->setKeyboardNavigation(true);
    auto describe = [chart](int id, int index) {
        ChartSeries *s = chart->series(id);
        if (!s || index < 0)
            return QString();
        const QList<QVariant> row = s->point(index);
        if (row.size() < 2)
            return QString();
        return tr("%1: %2, %3").arg(s->name(), s->xAxis()->labelString(row.at(0).toDouble()),
                                     s->yAxis()->labelString(row.at(1).toDouble()));
    };
    QObject::connect(chart, &ChartWidget::pointClicked, bar,
                     [=](int id, int index) { bar->showMessage(describe(id, index)); });
    QObject::connect(chart, &ChartWidget::currentPointChanged, bar,
                     [=](int id, int index) { bar->showMessage(describe(id, index)); });
    QList<int> ids; // the demo's few series, registered from 0 on
    for (int id = 0; id < 100; ++id)
        if (chart->series(id))
            ids.append(id);
    QObject::connect(chart, &ChartWidget::selectionChanged, bar, [=] {
        int n = 0;
        for (int id : ids)
            n += chart->selectedPoints(id).size();
        bar->showMessage(QCoreApplication::translate("demo", "%n cities selected (Shift+drag selects, Escape clears)", nullptr, n));
    });
}

ChartWidget *scatterChart()
{
    auto *chart = newChart(tr("European capitals: winter and summer"),
                           tr("Mean January temperature (°C)"), tr("Mean July temperature (°C)"));
    struct City {
        const char *name;
        double jan, jul;
    };
    static const City north[] = {{"Oslo", -4.3, 16.6},      {"Stockholm", -1.6, 17.8},
                                 {"Helsinki", -4.4, 17.8},  {"Reykjavik", -0.5, 11.2},
                                 {"Copenhagen", 0.8, 17.2}, {"Tallinn", -3.6, 17.1}};
    static const City central[] = {{"Berlin", 0.6, 19.0}, {"Warsaw", -1.5, 19.0},
                                   {"Vienna", 0.3, 20.8}, {"Prague", -0.5, 19.1},
                                   {"Paris", 5.0, 20.0},  {"London", 5.2, 18.7},
                                   {"Moscow", -6.5, 18.7}, {"Budapest", 0.4, 22.1}};
    static const City south[] = {{"Madrid", 6.3, 25.6}, {"Rome", 7.5, 24.8},
                                 {"Athens", 10.0, 28.0}, {"Lisbon", 11.5, 23.0},
                                 {"Valletta", 12.8, 26.9}, {"Nicosia", 10.6, 29.2}};

    auto fill = [](PointSeries::PointStyle style, const QString &name, QColor color,
                   const City *cities, int n) {
        auto *s = new PointSeries(style);
        s->setName(name);
        s->setColor(color.darker(130));
        s->setFillColor(color);
        s->setSize(9);
        for (int i = 0; i < n; ++i)
            s->addXY(cities[i].jan, cities[i].jul, QString::fromUtf8(cities[i].name));
        return s;
    };
    auto *n = fill(PointSeries::psCircle, tr("Northern"), palette(0), north, int(std::size(north)));
    auto *c = fill(PointSeries::psSquare, tr("Central"), palette(2), central, int(std::size(central)));
    auto *s = fill(PointSeries::psCircle, tr("Southern"), palette(3), south, int(std::size(south)));
    addAll(chart, n, c, s);
    return chart;
}

ChartWidget *errorBarChart()
{
    auto *chart = newChart(tr("Dose response, mean with range of 12 subjects"),
                           tr("Dose (mg)"), tr("Response (%)"));
    auto *placebo = new MinMaxPointSeries(MinMaxPointSeries::psSquare);
    placebo->setName(tr("Placebo"));
    placebo->setColor(palette(8));
    placebo->setFillColor(palette(8));
    placebo->setSize(7);
    auto *drug = new MinMaxPointSeries(MinMaxPointSeries::psCircle);
    drug->setName(tr("Drug"));
    drug->setColor(palette(4));
    drug->setFillColor(palette(4));
    drug->setSize(8);
    for (int dose = 0; dose <= 10; ++dose) {
        const double p = 8 + 1.2 * dose * 0.3 + (dose % 3) * 0.8;
        placebo->addPoint(dose - 0.15, p, p - 4 - (dose % 2), p + 4 + (dose % 3));
        const double r = 8 + 70 / (1 + std::exp(-(dose - 5) * 0.9));
        const double spread = 5 + 9 * std::exp(-std::pow(dose - 5, 2) / 8);
        drug->addPoint(dose + 0.15, r, r - spread, r + spread * 0.8);
    }
    addAll(chart, placebo, drug);
    return chart;
}

QList<BarSeries *> cashFlowBars()
{
    static const double y2023[] = {12, 18, -6, 22, 30, 14, -11, -4, 25, 19, 28, 35};
    static const double y2024[] = {15, 21, 8, 17, 34, 26, -3, 6, 29, 31, 24, 41};
    const double *years[] = {y2023, y2024};
    QList<BarSeries *> bars;
    for (int k = 0; k < 2; ++k) {
        auto *s = new BarSeries;
        s->setName(QString::number(2023 + k));
        s->setColor(palette(k).darker(120));
        s->setFillColor(palette(k));
        // Side by side in a slot of 0.8 months, so the months stay apart.
        s->setBarWidthUnit(BarSeries::DataUnits);
        s->setBarWidth(0.8);
        s->setGroup(k, 2);
        for (int m = 1; m <= 12; ++m)
            s->addXY(m, years[k][m - 1]);
        bars.append(s);
    }
    return bars;
}

ChartWidget *boxChart()
{
    auto *chart = newChart(tr("Server response times, one week"), tr("Day"),
                           tr("Response time (ms)"));
    chart->axes()->bottom()->setDatetime(true);
    chart->axes()->bottom()->setDatetimeFormat(QStringLiteral("ddd\r\ndd.MM."));
    auto *api = new BoxAndWhiskersSeries;
    api->setName(tr("API"));
    api->setColor(palette(7).darker(140));
    api->setFillColor(palette(7));
    static const double median[] = {118, 124, 131, 127, 142, 96, 88};
    static const double iqr[] = {22, 25, 30, 24, 38, 16, 14};
    const QDateTime day0(galleryStart().date(), QTime(0, 0));
    for (int d = 0; d < 7; ++d) {
        const double m = median[d];
        api->addCandle(day0.addDays(d), m, m - 2.4 * iqr[d], m + 3.6 * iqr[d], m - iqr[d] * 0.45,
                       m + iqr[d] * 0.55);
    }
    addAll(chart, api);
    return chart;
}

ChartWidget *highLowChart()
{
    auto *chart = newChart(tr("Daily temperature range, March"), tr("Date"),
                           tr("Temperature (°C)"));
    chart->axes()->bottom()->setDatetime(true);
    chart->axes()->bottom()->setDatetimeFormat(QStringLiteral("dd.MM."));
    auto *band = new HighLowSeries;
    band->setName(tr("Low to high"));
    band->setColor(palette(2).darker(110));
    auto *mean = new LineSeries;
    mean->setName(tr("Daily mean"));
    mean->setColor(palette(3));
    mean->setWidth(2);
    std::mt19937 rng(31);
    std::normal_distribution<double> noise(0.0, 1.3);
    const QDateTime day0(QDate(2024, 3, 1), QTime(0, 0));
    for (int d = 0; d < 31; ++d) {
        const double base = 4 + d * 0.22 + 2.5 * std::sin(d / 4.0);
        const double lo = base - 3.5 + noise(rng);
        const double hi = base + 4.0 + noise(rng) + (d % 7 == 3 ? 2.5 : 0);
        const QDateTime t = day0.addDays(d);
        band->addPoint(t, lo, hi);
        mean->addXY(t, (lo + hi) / 2);
    }
    addAll(chart, band, mean);
    return chart;
}

ChartWidget *ganttChart()
{
    auto *chart = newChart(tr("Release plan"), tr("Date"), QString());
    chart->axes()->bottom()->setDatetime(true);
    chart->axes()->bottom()->setDatetimeFormat(QStringLiteral("dd.MM."));
    Axis *rows = chart->axes()->left();
    const QString tasks[] = {tr("Design"), tr("Backend"), tr("Frontend"), tr("Testing"),
                             tr("Docs"), tr("Release")};
    const int rowCount = int(std::size(tasks));
    for (int r = 0; r < rowCount; ++r)
        rows->setCustomLabel(rowCount - r, tasks[r]);

    // Finished work is grey; planned work carries the colour of its stream.
    auto *done = new GanttSeries;
    done->setName(tr("Done"));
    done->setColor(palette(8).darker(130));
    done->setFillColor(palette(8).lighter(140));
    auto *plan = new GanttSeries;
    plan->setName(tr("Planned"));
    plan->setColor(QColor(60, 60, 60));
    plan->setFillColor(palette(0));

    const QDateTime day0(galleryStart().date(), QTime(0, 0));
    auto at = [&](int day) { return double(day0.addDays(day).toSecsSinceEpoch()); };
    struct Work {
        int row, from, to;
        bool finished;
        const char *label;
    };
    static const Work work[] = {
        {0, 0, 9, true, QT_TRANSLATE_NOOP("DemoTabs", "Requirements")},
        {0, 10, 14, true, QT_TRANSLATE_NOOP("DemoTabs", "UI mock-ups")},
        {1, 7, 21, true, QT_TRANSLATE_NOOP("DemoTabs", "Storage layer")},
        {1, 22, 34, false, QT_TRANSLATE_NOOP("DemoTabs", "Sync service")},
        {2, 12, 19, true, QT_TRANSLATE_NOOP("DemoTabs", "Navigation")},
        {2, 20, 33, false, QT_TRANSLATE_NOOP("DemoTabs", "Screens")},
        {3, 24, 42, false, QT_TRANSLATE_NOOP("DemoTabs", "Regression runs")},
        {4, 30, 44, false, QT_TRANSLATE_NOOP("DemoTabs", "User guide")},
        {5, 43, 47, false, QT_TRANSLATE_NOOP("DemoTabs", "Release candidate")},
    };
    for (const Work &w : work) {
        const int y = rowCount - w.row;
        if (w.finished)
            done->addBar(at(w.from), at(w.to), y, QColor(), tr(w.label));
        else
            plan->addBar(at(w.from), at(w.to), y, palette(w.row), tr(w.label));
    }
    addAll(chart, done, plan);
    return chart;
}

ChartWidget *millionChart()
{
    auto *chart = newChart(tr("1,000,000 points to zoom and pan"),
                           tr("Sample"), tr("Amplitude"));
    auto *signal = new LineSeries;
    signal->setName(tr("Signal"));
    signal->setColor(palette(0));
    std::mt19937 rng(7);
    std::normal_distribution<double> noise(0.0, 0.08);
    const int n = 1000000;
    for (int i = 0; i < n; ++i) {
        const double x = i;
        const double y = std::sin(x / 9000.0) * (1 + 0.3 * std::sin(x / 61000.0))
                         + 0.25 * std::sin(x / 380.0) + noise(rng);
        signal->addXY(x, y);
    }
    addAll(chart, signal);
    return chart;
}

ChartWidget *twoAxesChart()
{
    auto *chart = newChart(tr("Weather station, three days"), tr("Time"),
                           tr("Temperature (°C)"));
    chart->axes()->bottom()->setDatetime(true);
    chart->axes()->bottom()->setDatetimeFormat(QStringLiteral("dd.MM. hh:mm"));
    chart->axes()->right()->setTitle(tr("Pressure (hPa)"));
    auto *temperature = new LineSeries;
    temperature->setName(tr("Temperature"));
    temperature->setColor(palette(3));
    temperature->setWidth(2);
    auto *pressure = new LineSeries;
    pressure->setName(tr("Pressure"));
    pressure->setColor(palette(0));
    pressure->setWidth(2);
    std::mt19937 rng(5);
    std::normal_distribution<double> noise(0.0, 0.15);
    const QDateTime start(galleryStart().date(), QTime(0, 0));
    for (int h = 0; h <= 72; ++h) {
        const QDateTime t = start.addSecs(h * 3600);
        temperature->addXY(t, 8 + 5 * std::sin(qDegreesToRadians(15.0 * (h - 9))) + h * 0.05 + noise(rng));
        // A front passes on the second day: the pressure falls and recovers.
        pressure->addXY(t, 1016 - 14 * std::exp(-std::pow((h - 36) / 10.0, 2)) + noise(rng));
    }
    // Set before registration, the right axis is kept; the left one then
    // scales to the temperature alone.
    pressure->setAxis(chart->axes()->bottom(), chart->axes()->right());
    addAll(chart, temperature, pressure);
    return chart;
}

// Magnitude over frequency, both logarithmic: a first-order low-pass falls
// by a decade per decade, a resonant second-order one by two, and both read
// as straight lines; the measurement includes dropouts (zero readings) that
// the log axis leaves out.
ChartWidget *logChart()
{
    auto *chart = newChart(tr("Frequency response of two low-pass filters"),
                           tr("Frequency (Hz)"), tr("Gain"));
    chart->axes()->bottom()->setLogarithmic(true);
    chart->axes()->left()->setLogarithmic(true);

    auto *rc = new LineSeries;
    rc->setName(tr("RC, 1 kHz"));
    rc->setColor(palette(0));
    rc->setWidth(2);
    auto *resonant = new LineSeries;
    resonant->setName(tr("2nd order, Q = 5"));
    resonant->setColor(palette(1));
    resonant->setWidth(2);
    // The tolerance a measured unit of the resonant filter must keep, ±3 dB.
    auto *tolerance = new HighLowSeries;
    tolerance->setName(tr("±3 dB tolerance"));
    tolerance->setColor(palette(1).lighter(130));
    auto *measured = new PointSeries(PointSeries::psCircle);
    measured->setName(tr("Measured"));
    measured->setColor(palette(3).darker(130));
    measured->setFillColor(palette(3));
    measured->setSize(6);

    const double fc = 1000.0, f0 = 3000.0, q = 5.0;
    std::mt19937 rng(11);
    std::normal_distribution<double> noise(0.0, 0.06);
    for (int i = 0; i <= 400; ++i) {
        const double f = 10.0 * std::pow(10.0, i / 100.0); // 10 Hz .. 100 kHz
        const double r = f / f0;
        rc->addXY(f, 1.0 / std::sqrt(1.0 + (f / fc) * (f / fc)));
        const double g = 1.0 / std::sqrt((1 - r * r) * (1 - r * r) + (r / q) * (r / q));
        resonant->addXY(f, g);
        if (i % 4 == 0)
            tolerance->addPoint(f, g / std::sqrt(2.0), g * std::sqrt(2.0));
        if (i % 16 == 8)
            measured->addXY(f, i % 80 == 72 ? 0.0 : g * std::exp(noise(rng)));
    }
    addAll(chart, tolerance, rc, resonant, measured);
    return chart;
}

QVector<double> gaugeReading(int step)
{
    const double user = 34 + 18 * std::sin(step / 5.0) + 6 * std::sin(step / 1.7);
    const double system = 11 + 5 * std::sin(step / 3.0 + 1);
    return {user, system, 100 - user - system};
}

// A live donut beside a pie: each takes half of the plot, and the legend
// lists their slices.
PartsChart partsChart()
{
    auto *chart = newChart(tr("CPU load (live) and disk use"), QString(), QString());
    auto *gauge = new PieSeries;
    gauge->setName(tr("CPU"));
    gauge->addSlices({tr("user"), tr("system"), tr("idle")}, gaugeReading(0));
    gauge->setSliceColor(0, palette(0));
    gauge->setSliceColor(1, palette(1));
    gauge->setSliceColor(2, QColor(0xd8, 0xd8, 0xd8));
    gauge->setHoleSize(0.6);
    gauge->setLabelContent(PieSeries::lcPercentage);
    gauge->setArea(QRectF(0, 0, 0.4, 1));
    auto *disk = new PieSeries;
    disk->setName(tr("Disk"));
    disk->addSlices({tr("photos"), tr("documents"), tr("music"), tr("code"), tr("mail"), tr("other")},
                    {212, 148, 96, 41, 17, 58});
    for (int i = 0; i < disk->sliceCount(); ++i)
        disk->setSliceColor(i, palette(i + 2));
    disk->setExploded(0, true);
    disk->setLabelPosition(PieSeries::lpOutside);
    disk->setLabelContent(PieSeries::lcLabel | PieSeries::lcPercentage);
    disk->setArea(QRectF(0.4, 0, 0.6, 1));
    addAll(chart, gauge, disk);
    return {chart, gauge};
}

} // namespace demo
