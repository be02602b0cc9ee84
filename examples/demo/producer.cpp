#include "producer.h"

#include <chartseries.h>

#include <cmath>
#include <random>

Producer::Producer(ChartSeries *a, ChartSeries *b, const QDateTime &start, int steps,
                   int intervalMs, QObject *parent)
    : QThread(parent), m_a(a), m_b(b), m_start(start), m_steps(steps), m_intervalMs(intervalMs)
{
}

Producer::~Producer()
{
    stop();
    wait();
}

void Producer::stop()
{
    m_stop = true;
}

void Producer::run()
{
    // A fixed seed keeps the gallery picture the same from run to run.
    std::mt19937 rng(20240301);
    std::normal_distribution<double> noise(0.0, 0.35);
    double drift = 0;
    for (int step = 0; (m_steps < 0 || step < m_steps) && !m_stop; ++step) {
        const QDateTime t = m_start.addSecs(step);
        drift = 0.98 * drift + noise(rng) * 0.3;
        const double phase = step / 60.0;
        const double a = 21.0 + 2.5 * std::sin(phase * 0.9) + drift + noise(rng) * 0.25;
        const double b = 17.5 + 1.8 * std::cos(phase * 0.6) - 0.5 * drift + noise(rng) * 0.25;
        QMetaObject::invokeMethod(m_a, "addXY", Qt::QueuedConnection, Q_ARG(QDateTime, t), Q_ARG(double, a));
        QMetaObject::invokeMethod(m_b, "addXY", Qt::QueuedConnection, Q_ARG(QDateTime, t), Q_ARG(double, b));
        if (t.time().second() == 0)
            emit minuteStarted(t);
        if (m_intervalMs > 0)
            msleep(m_intervalMs);
    }
}
