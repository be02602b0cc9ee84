#include "producer.h"

#include <chartseries.h>

#include <QPointF>
#include <QVector>

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
    const qint64 start = m_start.toMSecsSinceEpoch();
    QVector<QPointF> a, b;
    for (int step = 0; (m_steps < 0 || step < m_steps) && !m_stop; ++step) {
        a.resize(0);
        b.resize(0);
        for (int k = 0; k < kRate; ++k) {
            // Seconds since 1970 with the milliseconds, as the date-time axis reads them.
            const qint64 ms = start + step * 1000LL + k * 1000LL / kRate;
            const double x = ms / 1000.0;
            drift = 0.995 * drift + noise(rng) * 0.07;
            const double phase = (step + double(k) / kRate) / 60.0;
            a << QPointF(x, 21.0 + 2.5 * std::sin(phase * 0.9) + drift + noise(rng) * 0.06);
            b << QPointF(x, 17.5 + 1.8 * std::cos(phase * 0.6) - 0.5 * drift + noise(rng) * 0.06);
        }
        QMetaObject::invokeMethod(m_a, "addPoints", Qt::QueuedConnection, Q_ARG(QVector<QPointF>, a));
        QMetaObject::invokeMethod(m_b, "addPoints", Qt::QueuedConnection, Q_ARG(QVector<QPointF>, b));
        const QDateTime t = m_start.addSecs(step);
        if (t.time().second() == 0)
            emit minuteStarted(t);
        if (m_intervalMs > 0)
            msleep(m_intervalMs);
    }
}
