#include "fixtures.h"
#include "testmain.h"

#include <QCheckBox>
#include <QChildEvent>
#include <QLayout>
#include <QMutex>
#include <QSet>
#include <QThread>
#include <atomic>

using namespace tavrintest;

namespace {

// Records, on the GUI thread, each check box that lands in the legend, so a
// worker can ask without touching widgets itself.
class BoxRecorder : public QObject
{
public:
    QMutex mutex;
    QSet<ChartSeries *> seen;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::ChildAdded)
            if (auto *box = qobject_cast<QCheckBox *>(static_cast<QChildEvent *>(e)->child())) {
                QMutexLocker lock(&mutex);
                seen.insert(box->property("series name").value<ChartSeries *>());
            }
        return false;
    }
};

} // namespace

class TestLegendThreads : public QObject
{
    Q_OBJECT
private slots:
    void workersEachWaitForTheirOwnBox();
};

// Workers hand series to the legend at once; each call returns only once
// that series' own box exists.
void TestLegendThreads::workersEachWaitForTheirOwnBox()
{
    const int workers = 8, perWorker = 12;
    ChartWidget w;
    showChart(w);
    BoxRecorder recorder;
    w.legend()->widget()->installEventFilter(&recorder);
    std::vector<std::unique_ptr<LineSeries>> all;
    for (int i = 0; i < workers * perWorker; ++i) {
        all.push_back(std::make_unique<LineSeries>());
        all.back()->setName(QStringLiteral("s%1").arg(i));
    }
    std::atomic<int> gate{workers}, missing{0}, finished{0};
    std::vector<std::unique_ptr<QThread>> threads;
    for (int t = 0; t < workers; ++t) {
        threads.emplace_back(QThread::create([&, t] {
            // All start together, so their hand-overs overlap.
            for (--gate; gate > 0;)
                QThread::yieldCurrentThread();
            for (int k = 0; k < perWorker; ++k) {
                LineSeries *s = all[size_t(t * perWorker + k)].get();
                w.legend()->addSeries(s);
                QMutexLocker lock(&recorder.mutex);
                missing += recorder.seen.contains(s) ? 0 : 1;
            }
            ++finished;
        }));
        threads.back()->start();
    }
    QTRY_VERIFY_WITH_TIMEOUT(finished == workers, 30000);
    for (auto &t : threads)
        t->wait();
    QCOMPARE(missing.load(), 0);
    // Exactly one box per series, each pointing back at it.
    QLayout *layout = w.legend()->widget()->layout();
    QCOMPARE(layout->count(), workers * perWorker);
    QSet<ChartSeries *> linked;
    for (int i = 0; i < layout->count(); ++i) {
        auto *box = qobject_cast<QCheckBox *>(layout->itemAt(i)->widget());
        auto *s = box->property("series name").value<ChartSeries *>();
        QCOMPARE(box->text(), s->name());
        linked.insert(s);
    }
    QCOMPARE(linked.size(), workers * perWorker);
    w.legend()->widget()->removeEventFilter(&recorder);
}

TAVRIN_TEST(TestLegendThreads)
#include "tst_legendthreads.moc"
