#include "dashboardtab.h"

#include "demotabs.h"

#include <axes.h>
#include <axis.h>
#include <chartgroup.h>
#include <chartwidget.h>
#include <ganttseries.h>
#include <legend.h>
#include <lineseries.h>

#include <QCheckBox>
#include <QHBoxLayout>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace demo {

namespace {

constexpr int kMeanWindow = 20;   // samples, two seconds
constexpr double kThreshold = 1.2; // the signal raises an event above it

// A repeatable signal: two slow waves and a little deterministic noise.
double sample(int step)
{
    const double t = step * 0.1;
    return std::sin(t * 0.21) + 0.5 * std::sin(t * 0.047 + 1) + 0.25 * std::sin(step * 12.9898);
}

} // namespace

DashboardTab::DashboardTab(bool galleryMode, QWidget *parent)
    : QWidget(parent), m_group(new ChartGroup(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const QString titles[] = {tr("Live signal"), tr("Rolling mean (2 s)"), tr("Events above the threshold")};
    for (int i = 0; i < 3; ++i) {
        m_charts[i] = newChart(titles[i], i == 2 ? tr("Time (s)") : QString(), QString());
        m_charts[i]->legend()->setVisible(false);
        m_charts[i]->setWheelZoom(true);
        m_charts[i]->setDoubleClickReset(true);
        // A zoomed or panned view stays while the data streams on.
        m_charts[i]->setHoldView(true);
        m_charts[i]->setMinimumSize(320, 120);
        layout->addWidget(m_charts[i], 1);
    }
    m_signal = new LineSeries;
    m_signal->setName(tr("Signal"));
    m_signal->setColor(demo::palette(0));
    m_charts[0]->addSeries(m_signal);
    m_mean = new LineSeries;
    m_mean->setName(tr("Mean"));
    m_mean->setColor(demo::palette(1));
    m_charts[1]->addSeries(m_mean);
    m_events = new GanttSeries;
    m_events->setName(tr("Events"));
    m_events->setColor(demo::palette(3).darker(130));
    m_events->setFillColor(demo::palette(3));
    m_charts[2]->addSeries(m_events);
    // Every bar sits at 1: a range of its own would be a single value,
    // every tick labelled "1".
    Axis *alarms = m_charts[2]->axes()->left();
    alarms->setTitle(tr("Alarms"));
    alarms->setRange(0, 2);
    alarms->setTickStep(1);
    alarms->setScaleLock(true);
    for (ChartWidget *chart : m_charts)
        m_group->addChart(chart);

    auto *options = new QHBoxLayout;
    auto *crosshair = new QCheckBox(tr("Crosshair"));
    auto *align = new QCheckBox(tr("Align plot areas"));
    align->setChecked(m_group->alignPlotAreas());
    options->addWidget(crosshair);
    options->addWidget(align);
    options->addStretch();
    layout->addLayout(options);
    connect(crosshair, &QCheckBox::toggled, this, [this](bool on) {
        for (ChartWidget *chart : m_charts)
            chart->setCrosshair(on);
    });
    connect(align, &QCheckBox::toggled, m_group, &ChartGroup::setAlignPlotAreas);

    if (galleryMode) {
        for (ChartWidget *chart : m_charts)
            chart->setDrawingLock(true);
        for (int i = 0; i < 6000; ++i)
            addSample();
        for (ChartWidget *chart : m_charts)
            chart->setDrawingLock(false);
        return;
    }
    // Ten samples a second, rendered together five times a second.
    for (ChartWidget *chart : m_charts)
        chart->setRefreshTimeout(200);
    auto *timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &DashboardTab::addSample);
    timer->start(100);
}

void DashboardTab::addSample()
{
    const double x = m_step * 0.1;
    const double v = sample(m_step++);
    m_signal->addXY(x, v);
    m_window.append(v);
    if (m_window.size() > kMeanWindow)
        m_window.removeFirst();
    double sum = 0;
    for (double w : qAsConst(m_window))
        sum += w;
    m_mean->addXY(x, sum / m_window.size());
    if (v > kThreshold && m_eventStart < 0) {
        m_eventStart = x;
    } else if (v <= kThreshold && m_eventStart >= 0) {
        m_events->addBar(m_eventStart, x, 1, QColor(), QString());
        m_eventStart = -1;
    }
}

ChartWidget *equalScalesChart()
{
    auto *chart = newChart(QObject::tr("Equal scales: one unit is as long on both axes"),
                           QObject::tr("East (km)"), QObject::tr("North (km)"));
    chart->setWheelZoom(true);
    chart->setDoubleClickReset(true);
    auto *circle = new LineSeries;
    circle->setName(QObject::tr("Ring road"));
    circle->setColor(palette(0));
    auto *spiral = new LineSeries;
    spiral->setName(QObject::tr("Spiral"));
    spiral->setColor(palette(1));
    for (int i = 0; i <= 360; ++i) {
        const double a = i * M_PI / 180;
        circle->addXY(10 * std::cos(a), 10 * std::sin(a));
    }
    for (int i = 0; i <= 1440; ++i) {
        const double a = i * M_PI / 180, r = 0.02 * i / 3;
        spiral->addXY(4 + r * std::cos(a), 2 + r * std::sin(a));
    }
    chart->addSeries(circle);
    chart->addSeries(spiral);
    chart->setAspectRatio(1);
    return chart;
}

} // namespace demo
