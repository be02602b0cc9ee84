// The legend's boxes and placements, and the room the plot leaves it.
#include "fixtures.h"
#include "testmain.h"

#include <legend_p.h>

#include <QCheckBox>
#include <QChildEvent>
#include <QLayout>
#include <QMetaEnum>
#include <QMutex>
#include <QSet>
#include <QThread>
#include <atomic>

using namespace tavrintest;

namespace {

// The check boxes in the order of the legend's layout.
QList<QCheckBox *> boxesOf(Legend *legend)
{
    QList<QCheckBox *> boxes;
    for (int i = 0; legend->widget()->layout() && i < legend->widget()->layout()->count(); ++i)
        if (auto *box = qobject_cast<QCheckBox *>(legend->widget()->layout()->itemAt(i)->widget()))
            boxes << box;
    return boxes;
}

QStringList textsOf(Legend *legend)
{
    QStringList texts;
    for (QCheckBox *box : boxesOf(legend))
        texts << box->text();
    return texts;
}


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

Q_DECLARE_METATYPE(Legend::Placement)

class TestLegend : public QObject
{
    Q_OBJECT
private slots:
    void placed_data();
    void placed();
    void boxes();
    void workersEachWaitForTheirOwnBox();
};

void TestLegend::placed_data()
{
    QTest::addColumn<Legend::Placement>("placement");
    const QMetaEnum e = QMetaEnum::fromType<Legend::Placement>();
    for (int i = 0; i < e.keyCount(); ++i)
        if (e.value(i) < Legend::plInsetTopRight) // the edges; insets take no room
            QTest::newRow(e.key(i)) << Legend::Placement(e.value(i));
}

// Empty, the legend is 50 x 20 plus margins; shown, it sits centred on its
// edge (below the title when on top), back in place after a resize, and the
// plot leaves it its width or height. The flag decides, not the widget,
// also while the chart itself is hidden.
void TestLegend::placed()
{
    QFETCH(Legend::Placement, placement);
    ChartWidget w;
    w.setTitle(placement == Legend::plTop ? QString() : QStringLiteral("Title"));
    showChart(w, 601, 401); // odd, so halving has something to truncate
    Legend *legend = w.legend();
    legend->setPlacement(placement);
    const QMargins m = legend->contentsMargins();
    QCOMPARE(legend->size(), QSize(58 + m.left() + m.right(), 28 + m.top() + m.bottom()));
    w.addSeries(lineOf({{0, 0}, {1, 1}}, "one"));
    w.addSeries(lineOf({{0, 0}, {1, 1}}, "two"));
    const QRect bare = w.d->plotRect;
    legend->QWidget::setVisible(true);
    w.d->updatePlotArea();
    QCOMPARE(w.d->plotRect, bare);
    w.hide();
    legend->setVisible(true);
    w.show();
    w.resize(633, 455);
    QApplication::processEvents();
    const int W = w.width(), H = w.height(), lw = legend->width(), lh = legend->height();
    QRect plot = QRect(bare.topLeft(), bare.bottomRight() + QPoint(32, 54));
    QPoint expected;
    switch (placement >> 1) {
    case 0: expected = QPoint(W - 1 - lw, (H - lh) / 2); plot.setRight(plot.right() - lw); break;
    case 1: expected = QPoint(0, (H - lh) / 2); plot.setLeft(plot.left() + lw); break;
    case 2: expected = QPoint((W - lw) / 2, w.title().isEmpty() ? 0 : QFontMetrics(w.titleFont()).height()); plot.setTop(plot.top() + lh); break;
    default: expected = QPoint((W - lw) / 2, H - 1 - lh); plot.setBottom(plot.bottom() - lh); break;
    }
    QCOMPARE(legend->pos(), expected);
    QCOMPARE(w.d->plotRect, plot);
    const QSize size = legend->size();
    legend->setPlacement(Legend::Placement(placement ^ 1)); // the boxes stacked the other way
    QVERIFY(legend->size() != size);
}

// Boxes follow their series both ways, by name and visibility; a series
// without its legend flag gets none; removal takes the last box; a box
// whose unregistered series dies goes with it.
void TestLegend::boxes()
{
    ChartWidget w;
    showChart(w);
    Legend *legend = w.legend();
    auto *hidden = new LineSeries;
    hidden->setLegendVisible(false);
    w.addSeries(hidden);
    LineSeries *a = lineOf({{0, 0}}, "a"), *b = lineOf({{0, 0}}, "b");
    w.addSeries(a);
    w.addSeries(b);
    w.addSeries(new LineSeries);
    w.series(4)->setVisible(false);
    QList<QCheckBox *> boxes = boxesOf(legend);
    QCOMPARE(textsOf(legend), QStringList({"a", "b", "Series 4"}));
    QVERIFY(boxes[0]->isChecked() && !boxes[2]->isChecked());
    boxes[0]->click();
    QVERIFY(!a->isVisible() && b->isVisible());
    b->setVisible(false);
    QVERIFY(!boxes[1]->isChecked());
    legend->addSeries(a);
    a->setName(QStringLiteral("new")); // renames the first box, removal takes the last
    QCOMPARE(textsOf(legend), QStringList({"new", "b", "Series 4", "a"}));
    legend->removeSeries(a);
    w.removeSeries(2);
    QCOMPARE(textsOf(legend), QStringList({"b", "Series 4"}));
    auto *loose = new LineSeries;
    legend->addSeries(loose);
    legend->addSeries(loose);
    QCOMPARE(boxesOf(legend).size(), 4);
    boxes = boxesOf(legend);
    delete loose;
    boxes[2]->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(textsOf(legend), QStringList({"b", "Series 4"}));
    // A copy is an empty legend of its own that outlives the chart it
    // was copied from.
    auto *other = new ChartWidget;
    other->legend()->setPlacement(Legend::plTop);
    Legend copy(*other->legend());
    copy.setParent(nullptr);
    delete other;
    copy.setVisible(true);
    copy.addSeries(b);
    copy.setPlacement(Legend::plLeft);
    QCOMPARE(boxesOf(&copy).size(), 1);
}

void TestLegend::workersEachWaitForTheirOwnBox()
{
    const int workers = 8, perWorker = 12;
    ChartWidget w;
    showChart(w);
    BoxRecorder recorder;
    w.legend()->widget()->installEventFilter(&recorder);
    std::vector<std::unique_ptr<LineSeries>> all;
    for (int i = 0; i < workers * perWorker; ++i)
        all.emplace_back(lineOf({}, QString::number(i)));
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
    QCOMPARE(recorder.seen.size(), workers * perWorker); // one box per series
    QCOMPARE(boxesOf(w.legend()).size(), workers * perWorker);
    w.legend()->widget()->removeEventFilter(&recorder);
}

TAVRIN_TEST(TestLegend)
#include "tst_legend.moc"
