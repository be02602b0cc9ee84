#ifndef DEMO_PRODUCER_H
#define DEMO_PRODUCER_H

#include <QDateTime>
#include <QThread>
#include <atomic>

class ChartSeries;

// Stands in for a measuring device: a worker thread that samples two sensors
// kRate times per simulated second and queues each simulated second's
// readings as one block into each series. It never touches a series
// directly; the invokable addPoints() runs in the GUI thread that owns them.
class Producer : public QThread
{
    Q_OBJECT
public:
    static constexpr int kRate = 20;

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
