#include "testmain.h"

#include <chartwidget.h>
#include <legend.h>
#include <lineseries.h>

#include <QApplication>
#include <QAtomicInt>
#include <QCheckBox>
#include <QChildEvent>
#include <QLayout>
#include <QMutex>
#include <QSet>
#include <QTest>
#include <QThread>
#include <memory>
#include <vector>

namespace {

// Records, on the GUI thread, each check box that lands in the legend, so a
// worker can ask without touching widgets itself.
class BoxRecorder : public QObject
{
public:
    bool contains(ChartSeries *s)
    {
        QMutexLocker lock(&mutex);
        return seen.contains(s);
    }
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::ChildAdded) {
            QObject *child = static_cast<QChildEvent *>(e)->child();
            if (auto *box = qobject_cast<QCheckBox *>(child)) {
                QMutexLocker lock(&mutex);
                seen.insert(box->property("series name").value<ChartSeries *>());
            }
        }
        return false;
    }

private:
    QMutex mutex;
    QSet<ChartSeries *> seen;
};

class Worker : public QThread
{
public:
    ChartWidget *chart = nullptr;
    BoxRecorder *recorder = nullptr;
    QAtomicInt *gate = nullptr;
    QList<LineSeries *> series;
    QList<bool> boxFound;
    bool onWorkerThread = false;

protected:
    void run() override
    {
        onWorkerThread = QThread::currentThread() != QCoreApplication::instance()->thread();
        // All workers start together, so their hand-overs overlap.
        gate->fetchAndAddOrdered(-1);
        while (gate->loadAcquire() > 0)
            QThread::yieldCurrentThread();
        for (LineSeries *s : qAsConst(series)) {
            chart->legend()->addSeries(s);
            boxFound << recorder->contains(s);
        }
    }
};

} // namespace

class TestLegendThreads : public QObject
{
    Q_OBJECT
private slots:
    void workersEachWaitForTheirOwnBox();
};

void TestLegendThreads::workersEachWaitForTheirOwnBox()
{
    const int workerCount = 8;
    const int perWorker = 12;
    ChartWidget w;
    w.resize(600, 400);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    BoxRecorder recorder;
    w.legend()->widget()->installEventFilter(&recorder);

    // The series belong to the GUI thread, as registered series would.
    std::vector<std::unique_ptr<LineSeries>> all;
    QAtomicInt gate(workerCount);
    std::vector<std::unique_ptr<Worker>> workers;
    for (int i = 0; i < workerCount; ++i) {
        auto worker = std::make_unique<Worker>();
        worker->chart = &w;
        worker->recorder = &recorder;
        worker->gate = &gate;
        for (int k = 0; k < perWorker; ++k) {
            all.push_back(std::make_unique<LineSeries>());
            all.back()->setName(QStringLiteral("w%1 s%2").arg(i).arg(k));
            worker->series << all.back().get();
        }
        workers.push_back(std::move(worker));
    }
    for (auto &worker : workers)
        worker->start();

    // The GUI thread keeps its event loop running until all are done.
    auto allFinished = [&] {
        for (auto &worker : workers)
            if (!worker->isFinished())
                return false;
        return true;
    };
    QTRY_VERIFY_WITH_TIMEOUT(allFinished(), 30000);

    for (int i = 0; i < workerCount; ++i) {
        const Worker &worker = *workers[i];
        QVERIFY(worker.onWorkerThread);
        QCOMPARE(worker.boxFound.size(), perWorker);
        for (int k = 0; k < perWorker; ++k)
            QVERIFY2(worker.boxFound[k], qPrintable(QStringLiteral("worker %1 returned before the box of its series %2 existed").arg(i).arg(k)));
    }

    // Exactly one box per series, each pointing back at it.
    QLayout *layout = w.legend()->widget()->layout();
    QCOMPARE(layout->count(), workerCount * perWorker);
    QSet<ChartSeries *> linked;
    for (int i = 0; i < layout->count(); ++i) {
        auto *box = qobject_cast<QCheckBox *>(layout->itemAt(i)->widget());
        QVERIFY(box);
        auto *s = box->property("series name").value<ChartSeries *>();
        QCOMPARE(box->text(), s->name());
        linked.insert(s);
    }
    QCOMPARE(linked.size(), workerCount * perWorker);

    // The boxes work like any other.
    auto *first = qobject_cast<QCheckBox *>(layout->itemAt(0)->widget());
    first->click();
    QVERIFY(!first->property("series name").value<ChartSeries *>()->isVisible());

    w.legend()->widget()->removeEventFilter(&recorder);
}

TAVRIN_TEST(TestLegendThreads)
#include "tst_legendthreads.moc"
