#ifndef DEMO_PRODUCER_H
#define DEMO_PRODUCER_H

#include <QDateTime>
#include <QThread>
#include <atomic>

class ChartSeries;

// Stands in for a measuring device: a worker thread that queues one reading
// per simulated second into each of two series. It never touches a series
// directly; the invokable addXY() runs in the GUI thread that owns them.
class Producer : public QThread
{
    Q_OBJECT
public:
    // steps < 0 runs until stop(); intervalMs is the real time per simulated
    // second (0: as fast as possible, for a reproducible picture).
    Producer(ChartSeries *a, ChartSeries *b, const QDateTime &start, int steps, int intervalMs,
             QObject *parent = nullptr);
    ~Producer() override;

    void stop();

signals:
    // Emitted from the worker at every full minute of simulated time.
    void minuteStarted(const QDateTime &at);

protected:
    void run() override;

private:
    ChartSeries *m_a;
    ChartSeries *m_b;
    QDateTime m_start;
    int m_steps;
    int m_intervalMs;
    std::atomic<bool> m_stop{false};
};

#endif // DEMO_PRODUCER_H
