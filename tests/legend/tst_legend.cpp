// The legend's boxes, placements and limits, and the room the plot leaves it.
#include "fixtures.h"
#include "testmain.h"

#include <legend_p.h>

#include <QBoxLayout>
#include <QCheckBox>
#include <QMetaEnum>
#include <QPointer>
#include <QScrollBar>

using namespace tavrintest;

namespace {

// The check boxes in the order of the legend's layout.
QList<QCheckBox *> boxesOf(Legend *legend)
{
    QList<QCheckBox *> boxes;
    QLayout *layout = legend->widget()->layout();
    for (int i = 0; layout && i < layout->count(); ++i)
        if (auto *box = qobject_cast<QCheckBox *>(layout->itemAt(i)->widget()))
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

bool isSide(Legend::Placement p) { return p <= Legend::plLeftInverted; }

QSize frameExtra(Legend *legend)
{
    const QMargins m = legend->contentsMargins();
    return QSize(m.left() + m.right(), m.top() + m.bottom());
}

LineSeries *addNamed(ChartWidget &w, const QString &name)
{
    LineSeries *s = lineOf({{0, 0}, {1, 1}}, name);
    w.addSeries(s);
    return s;
}

void placements()
{
    QTest::addColumn<Legend::Placement>("placement");
    const QMetaEnum e = QMetaEnum::fromType<Legend::Placement>();
    for (int i = 0; i < e.keyCount(); ++i)
        QTest::newRow(e.key(i)) << Legend::Placement(e.value(i));
}

} // namespace

Q_DECLARE_METATYPE(Legend::Placement)

class TestLegend : public QObject
{
    Q_OBJECT
private slots:
    void emptyGeometry_data() { placements(); }
    void emptyGeometry();
    void placementKeepsBoxes();
    void limits_data();
    void limits();
    void placed_data() { placements(); }
    void placed();
    void visibility();
    void boxes();
    void deletedSeriesTakesItsBoxes();
    void copy();
};

void TestLegend::emptyGeometry()
{
    QFETCH(Legend::Placement, placement);
    ChartWidget w;
    showChart(w);
    Legend *legend = w.legend();
    QCOMPARE(legend->placement(), Legend::plRight);
    legend->setPlacement(placement);
    QCOMPARE(legend->size(), QSize(58, 28) + frameExtra(legend));
    // After a series came and went: the start size, still in place.
    addNamed(w, QStringLiteral("a"));
    w.clear();
    QCOMPARE(legend->placement(), placement);
    QCOMPARE(legend->size(), QSize(50, 20));
    QVERIFY(boxesOf(legend).isEmpty());
}

// Moving the legend keeps the same boxes in order, stacked along its edge
// or across it, and the plot gives room on the new edge instead.
void TestLegend::placementKeepsBoxes()
{
    ChartWidget w;
    showChart(w, 1200, 700);
    Legend *legend = w.legend();
    legend->setVisible(true);
    for (const char *name : {"alpha", "beta", "gamma"})
        addNamed(w, QString::fromLatin1(name));
    const QList<QCheckBox *> boxes = boxesOf(legend);
    const QList<Legend::Placement> order = {Legend::plTop, Legend::plRightInverted, Legend::plBottomInverted,
                                            Legend::plLeft, Legend::plBottom, Legend::plTopInverted,
                                            Legend::plLeftInverted, Legend::plRight};
    for (Legend::Placement p : order) {
        const QRect plotBefore = w.d->plotRect;
        const Legend::Placement from = legend->placement();
        legend->setProperty("placement", QVariant::fromValue(p));
        QCOMPARE(legend->placement(), p);
        QCOMPARE(boxesOf(legend), boxes);
        const bool column = isSide(p) != bool(p % 2);
        QCOMPARE(bool(qobject_cast<QVBoxLayout *>(legend->widget()->layout())), column);
        if ((from >> 1) != (p >> 1))
            QVERIFY(w.d->plotRect != plotBefore);
    }
    // The same placement again recomputes nothing.
    legend->resize(10, 10);
    legend->setPlacement(Legend::plRight);
    QCOMPARE(legend->size(), QSize(10, 10));
}

void TestLegend::limits_data()
{
    QTest::addColumn<Legend::Placement>("placement");
    QTest::addColumn<QSize>("chartSize");
    QTest::addColumn<int>("seriesCount");
    QTest::addColumn<bool>("widthCut");
    QTest::addColumn<bool>("heightCut");
    QTest::newRow("fits") << Legend::plRight << QSize(600, 400) << 3 << false << false;
    QTest::newRow("right column cut to H-30") << Legend::plRight << QSize(600, 200) << 20 << false << true;
    QTest::newRow("top row cut to W-30") << Legend::plTop << QSize(400, 400) << 20 << true << false;
    QTest::newRow("side row cut to 30% of W") << Legend::plRightInverted << QSize(600, 400) << 10 << true << false;
    QTest::newRow("top column cut to 30% of H") << Legend::plTopInverted << QSize(600, 300) << 10 << false << true;
    QTest::newRow("both cut") << Legend::plLeft << QSize(150, 100) << 5 << true << true;
    QTest::newRow("side height limit 0") << Legend::plRight << QSize(600, 30) << 5 << false << false;
    QTest::newRow("side width limit 0") << Legend::plLeft << QSize(3, 400) << 1 << false << false;
}

// A legend beside the plot takes at most 30% of the width and the height
// less 30; above or below it, the reverse. A limit of 0 is no limit.
void TestLegend::limits()
{
    QFETCH(Legend::Placement, placement);
    QFETCH(QSize, chartSize);
    QFETCH(int, seriesCount);
    QFETCH(bool, widthCut);
    QFETCH(bool, heightCut);
    ChartWidget w;
    showChart(w, chartSize.width(), chartSize.height());
    Legend *legend = w.legend();
    legend->setPlacement(placement);
    for (int i = 0; i < seriesCount; ++i)
        addNamed(w, QStringLiteral("Series %1").arg(i + 1));
    const int W = chartSize.width(), H = chartSize.height();
    const QSize limit = isSide(placement) ? QSize(3 * W / 10, H - 30) : QSize(W - 30, 3 * H / 10);
    const QSize inner = legend->size() - frameExtra(legend);
    const int vBar = legend->verticalScrollBar()->sizeHint().width();
    if (widthCut)
        QCOMPARE(inner.width(), limit.width() + (heightCut ? vBar : 0));
    else if (limit.width() > 0)
        QVERIFY(inner.width() < limit.width());
    if (heightCut)
        QCOMPARE(inner.height(), limit.height());
    else if (limit.height() > 0)
        QVERIFY(inner.height() < limit.height());
}

// Centred on its edge, below the title when on top, back in place after a
// resize; the plot leaves it its width or height.
void TestLegend::placed()
{
    QFETCH(Legend::Placement, placement);
    ChartWidget w;
    w.setTitle(QStringLiteral("Title"));
    showChart(w, 601, 401); // odd, so halving has something to truncate
    Legend *legend = w.legend();
    addNamed(w, QStringLiteral("one"));
    addNamed(w, QStringLiteral("two"));
    legend->setPlacement(placement);
    const QRect bare = w.d->plotRect;
    legend->setVisible(true);
    w.resize(633, 455);
    QApplication::processEvents();
    const int W = w.width(), H = w.height(), lw = legend->width(), lh = legend->height();
    const int titleHeight = QFontMetrics(w.titleFont()).height();
    QRect plot = QRect(bare.topLeft(), bare.bottomRight() + QPoint(32, 54));
    QPoint expected;
    switch (placement >> 1) {
    case 0: expected = QPoint(W - 1 - lw, (H - lh) / 2); plot.setRight(plot.right() - lw); break;
    case 1: expected = QPoint(0, (H - lh) / 2); plot.setLeft(plot.left() + lw); break;
    case 2: expected = QPoint((W - lw) / 2, titleHeight); plot.setTop(plot.top() + lh); break;
    default: expected = QPoint((W - lw) / 2, H - 1 - lh); plot.setBottom(plot.bottom() - lh); break;
    }
    QCOMPARE(legend->pos(), expected);
    QCOMPARE(w.d->plotRect, plot);
    QCOMPARE(w.d->pixmap.size(), plot.size());
}

// The flag, not the widget, decides the room; it is updated before the
// legend shows or hides, and while the chart itself is hidden.
void TestLegend::visibility()
{
    ChartWidget w;
    showChart(w);
    addNamed(w, QStringLiteral("a"));
    Legend *legend = w.legend();
    const QRect bare = w.d->plotRect;
    struct Watcher : QObject {
        ChartWidget *chart;
        QRect atShow, atHide;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Show)
                atShow = chart->d->plotRect;
            else if (e->type() == QEvent::Hide)
                atHide = chart->d->plotRect;
            return false;
        }
    } watcher;
    watcher.chart = &w;
    legend->installEventFilter(&watcher);
    legend->setVisible(true);
    QCOMPARE(watcher.atShow.right(), bare.right() - legend->width());
    legend->setVisible(false);
    QCOMPARE(watcher.atHide, bare);
    legend->QWidget::setVisible(true);
    w.d->updatePlotArea();
    QCOMPARE(w.d->plotRect, bare);
    legend->setVisible(true);
    w.hide();
    legend->setVisible(false);
    QCOMPARE(w.d->plotRect, bare);
    legend->setVisible(true);
    QVERIFY(w.d->plotRect != bare);
    w.show();
    QVERIFY(legend->isVisible());
    legend->removeEventFilter(&watcher);
}

// Boxes follow their series both ways, by name and visibility; a series
// without its legend flag gets none; removal takes the last box.
void TestLegend::boxes()
{
    ChartWidget w;
    showChart(w);
    Legend *legend = w.legend();
    legend->setVisible(true);
    auto *hidden = new LineSeries;
    hidden->setLegendVisible(false);
    w.addSeries(hidden);
    LineSeries *a = addNamed(w, QStringLiteral("a"));
    LineSeries *b = addNamed(w, QStringLiteral("b"));
    auto *c = new LineSeries;
    c->setVisible(false);
    w.addSeries(c);
    QList<QCheckBox *> boxes = boxesOf(legend);
    QCOMPARE(textsOf(legend), QStringList({"a", "b", "Series 4"}));
    QCOMPARE(boxes[0]->property("series name").value<ChartSeries *>(), a);
    QVERIFY(boxes[0]->isChecked() && !boxes[2]->isChecked());
    QTest::mouseClick(boxes[0], Qt::LeftButton, {}, QPoint(5, boxes[0]->height() / 2));
    QVERIFY(!a->isVisible() && b->isVisible());
    b->setVisible(false);
    QVERIFY(!boxes[1]->isChecked());
    a->setVisible(true);
    QVERIFY(boxes[0]->isChecked());

    legend->addSeries(a);
    a->setName(QStringLiteral("new"));
    QCOMPARE(textsOf(legend), QStringList({"new", "b", "Series 4", "a"}));
    const QSize size = legend->size();
    QPointer<QCheckBox> older = boxes[0], newer = boxesOf(legend).last();
    legend->removeSeries(a);
    QVERIFY(older && !newer);
    QCOMPARE(legend->size(), size); // until the next recomputation
    LineSeries stranger;
    legend->removeSeries(&stranger);
    w.removeSeries(2);
    QCOMPARE(textsOf(legend), QStringList({"b", "Series 4"}));
    hidden->setLegendVisible(true); // only counts when a series is added
    QCOMPARE(boxesOf(legend).size(), 2);
}

// A series shown in a legend without being registered may die while its
// box is still there; clicking it then must not reach the series.
void TestLegend::deletedSeriesTakesItsBoxes()
{
    ChartWidget w;
    showChart(w);
    Legend *legend = w.legend();
    auto *s = new LineSeries;
    legend->addSeries(s);
    legend->addSeries(s);
    QList<QCheckBox *> boxes = boxesOf(legend);
    QCOMPARE(boxes.size(), 2);
    delete s;
    boxes[0]->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(boxesOf(legend).isEmpty());
}

// A copy is a working, empty legend of its own, with no say in the chart's
// layout, and goes with the chart.
void TestLegend::copy()
{
    auto *w = new ChartWidget;
    showChart(*w);
    w->legend()->setPlacement(Legend::plBottom);
    addNamed(*w, QStringLiteral("in chart"));
    const QRect plot = w->d->plotRect;
    LineSeries series;
    series.setName(QStringLiteral("in copy"));
    {
        Legend copy(*w->legend());
        QCOMPARE(copy.parentWidget(), static_cast<QWidget *>(w));
        QVERIFY(copy.d != w->legend()->d && copy.d->q == &copy);
        QVERIFY(copy.widget() && copy.widget() != w->legend()->widget());
        QVERIFY(boxesOf(&copy).isEmpty());
        copy.addSeries(&series);
        QCOMPARE(textsOf(&copy), QStringList({"in copy"}));
        QCOMPARE(textsOf(w->legend()), QStringList({"in chart"}));
        copy.setPlacement(Legend::plLeft);
        QCOMPARE(copy.pos().x(), 0);
        copy.setVisible(true);
        QCOMPARE(w->d->plotRect, plot);
        series.setVisible(false);
        QVERIFY(!boxesOf(&copy).first()->isChecked());
    }
    series.setName(QStringLiteral("renamed")); // the copy's connections went with it
    series.setVisible(true);
    QPointer<Legend> copy = new Legend(*w->legend());
    copy->addSeries(&series);
    copy->show();
    delete w;
    QVERIFY(!copy);
}

TAVRIN_TEST(TestLegend)
#include "tst_legend.moc"
