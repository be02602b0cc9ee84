#include "testmain.h"
#include "testutil.h"

#include <chartwidget.h>
#include <chartwidget_p.h>
#include <legend.h>
#include <legend_p.h>
#include <lineseries.h>

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QFontMetrics>
#include <QMetaEnum>
#include <QPointer>
#include <QScrollBar>
#include <QTest>

namespace {

void showChart(ChartWidget &w, int width = 600, int height = 400)
{
    w.resize(width, height);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QApplication::processEvents();
}

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

bool isColumn(Legend::Placement p)
{
    return p == Legend::plRight || p == Legend::plLeft || p == Legend::plTopInverted
        || p == Legend::plBottomInverted;
}

QSize frameExtra(Legend *legend)
{
    const QMargins m = legend->contentsMargins();
    return QSize(m.left() + m.right(), m.top() + m.bottom());
}

// Stacked size of the boxes before limits: 50 x 20 to start with, each box
// plus 2 of spacing along the stack, and 2 x (margin 2 + spacing 2) around.
QSize stackedSize(Legend *legend, bool column)
{
    int w = 50;
    int h = 20;
    for (QCheckBox *box : boxesOf(legend)) {
        const QSize s = box->sizeHint();
        if (column) {
            w = qMax(w, s.width());
            h += s.height() + 2;
        } else {
            h = qMax(h, s.height());
            w += s.width() + 2;
        }
    }
    return QSize(w + 8, h + 8);
}

LineSeries *addNamed(ChartWidget &w, const QString &name)
{
    auto *s = new LineSeries;
    s->setName(name);
    s->addXY(0, 0);
    s->addXY(1, 1);
    w.addSeries(s);
    return s;
}

} // namespace

Q_DECLARE_METATYPE(Legend::Placement)

class TestLegend : public QObject
{
    Q_OBJECT
private slots:
    void emptyGeometry_data();
    void emptyGeometry();
    void placementKeepsBoxes();
    void samePlacementDoesNothing();
    void limits_data();
    void limits();
    void position_data();
    void position();
    void plotLeavesRoom_data();
    void plotLeavesRoom();
    void plotUpdatedBeforeShowAndHide();
    void visibilityFollowsBothWays();
    void renameUpdatesFirstBox();
    void legendFlagOffGivesNoBox();
    void sameSeriesTwice();
    void deletedSeriesTakesItsBoxes();
    void copyIsWorkingEmptyLegend();
    void copyDestroyedWithChart();
};

void TestLegend::emptyGeometry_data()
{
    QTest::addColumn<Legend::Placement>("placement");
    const QMetaEnum e = QMetaEnum::fromType<Legend::Placement>();
    QVERIFY(!e.isFlag());
    QCOMPARE(e.keyCount(), 8);
    for (int i = 0; i < e.keyCount(); ++i)
        QTest::newRow(e.key(i)) << Legend::Placement(e.value(i));
}

void TestLegend::emptyGeometry()
{
    QFETCH(Legend::Placement, placement);
    ChartWidget w;
    showChart(w);
    Legend *legend = w.legend();
    QCOMPARE(legend->placement(), Legend::plRight);
    legend->setPlacement(placement);
    QCOMPARE(legend->placement(), placement);
    QCOMPARE(legend->size(), QSize(58, 28) + frameExtra(legend));

    // Still the same after a series came and went.
    addNamed(w, QStringLiteral("a"));
    w.clear();
    QCOMPARE(legend->placement(), placement);
    QCOMPARE(legend->size(), QSize(50, 20));
    QVERIFY(boxesOf(legend).isEmpty());
    QVERIFY(legend->widget()->layout());
}

void TestLegend::placementKeepsBoxes()
{
    // Large enough that no placement cuts the legend.
    ChartWidget w;
    showChart(w, 1200, 700);
    Legend *legend = w.legend();
    legend->setVisible(true);
    addNamed(w, QStringLiteral("alpha"));
    addNamed(w, QStringLiteral("beta"));
    addNamed(w, QStringLiteral("gamma"));
    const QList<QCheckBox *> boxes = boxesOf(legend);
    QCOMPARE(textsOf(legend), QStringList({"alpha", "beta", "gamma"}));

    const QList<Legend::Placement> order = {
        Legend::plTop, Legend::plRightInverted, Legend::plBottomInverted, Legend::plLeft,
        Legend::plBottom, Legend::plTopInverted, Legend::plLeftInverted, Legend::plRight};
    for (Legend::Placement p : order) {
        const QRect plotBefore = w.d->plotRect;
        const Legend::Placement from = legend->placement();
        legend->setProperty("placement", QVariant::fromValue(p));
        QCOMPARE(legend->placement(), p);
        QCOMPARE(boxesOf(legend), boxes);
        QLayout *layout = legend->widget()->layout();
        if (isColumn(p))
            QVERIFY(qobject_cast<QVBoxLayout *>(layout));
        else
            QVERIFY(qobject_cast<QHBoxLayout *>(layout));
        QCOMPARE(layout->spacing(), 2);
        QCOMPARE(layout->contentsMargins(), QMargins(2, 2, 2, 2));
        QCOMPARE(legend->size(), stackedSize(legend, isColumn(p)) + frameExtra(legend));
        // Moving to another edge gives the plot room there instead.
        if ((from >> 1) != (p >> 1))
            QVERIFY(w.d->plotRect != plotBefore);
    }
}

void TestLegend::samePlacementDoesNothing()
{
    ChartWidget w;
    showChart(w);
    Legend *legend = w.legend();
    legend->setVisible(true);
    addNamed(w, QStringLiteral("a"));
    legend->setPlacement(Legend::plTop);
    QLayout *layout = legend->widget()->layout();
    const QRect geometry = legend->geometry();
    // Shrinking the legend by hand shows whether anything recomputes it.
    legend->resize(10, 10);
    legend->setPlacement(Legend::plTop);
    QCOMPARE(legend->widget()->layout(), layout);
    QCOMPARE(legend->size(), QSize(10, 10));
    legend->d->adjustGeometry();
    QCOMPARE(legend->geometry(), geometry);
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
    QTest::newRow("left column cut to H-30") << Legend::plLeft << QSize(600, 200) << 20 << false << true;
    QTest::newRow("top row cut to W-30") << Legend::plTop << QSize(400, 400) << 20 << true << false;
    QTest::newRow("bottom row cut to W-30") << Legend::plBottom << QSize(400, 400) << 20 << true << false;
    QTest::newRow("side row cut to 30% of W") << Legend::plRightInverted << QSize(600, 400) << 10 << true << false;
    QTest::newRow("top column cut to 30% of H") << Legend::plTopInverted << QSize(600, 300) << 10 << false << true;
    QTest::newRow("both cut") << Legend::plLeft << QSize(150, 100) << 5 << true << true;
    QTest::newRow("side height limit 0") << Legend::plRight << QSize(600, 30) << 5 << false << false;
    QTest::newRow("side width limit 0") << Legend::plLeft << QSize(3, 400) << 1 << false << false;
}

void TestLegend::limits()
{
    QFETCH(Legend::Placement, placement);
    QFETCH(QSize, chartSize);
    QFETCH(int, seriesCount);
    QFETCH(bool, widthCut);
    QFETCH(bool, heightCut);

    ChartWidget w;
    showChart(w, chartSize.width(), chartSize.height());
    QCOMPARE(w.size(), chartSize);
    Legend *legend = w.legend();
    legend->setPlacement(placement);
    for (int i = 0; i < seriesCount; ++i)
        addNamed(w, QStringLiteral("Series %1").arg(i + 1));

    const int W = chartSize.width();
    const int H = chartSize.height();
    const int wmax = isSide(placement) ? 3 * W / 10 : W - 30;
    const int hmax = isSide(placement) ? H - 30 : 3 * H / 10;
    const QSize stacked = stackedSize(legend, isColumn(placement));
    const int hBar = legend->horizontalScrollBar()->sizeHint().height();
    const int vBar = legend->verticalScrollBar()->sizeHint().width();

    // The row must really exercise the case it names.
    QCOMPARE(wmax != 0 && stacked.width() > wmax, widthCut);
    int w1 = widthCut ? wmax : stacked.width();
    int h1 = stacked.height() + (widthCut ? hBar : 0);
    QCOMPARE(hmax != 0 && h1 > hmax, heightCut);
    if (heightCut) {
        h1 = hmax;
        w1 += vBar;
    }
    QCOMPARE(legend->size(), QSize(w1, h1) + frameExtra(legend));
    // The width cut comes first, so the scroll bar may take the legend
    // beyond it.
    if (widthCut && heightCut)
        QVERIFY(legend->width() > wmax);
}

void TestLegend::position_data()
{
    QTest::addColumn<Legend::Placement>("placement");
    QTest::addColumn<QString>("title");
    const QMetaEnum e = QMetaEnum::fromType<Legend::Placement>();
    for (int i = 0; i < e.keyCount(); ++i) {
        const auto p = Legend::Placement(e.value(i));
        QTest::addRow("%s", e.key(i)) << p << QString();
        if (p == Legend::plTop || p == Legend::plTopInverted)
            QTest::addRow("%s titled", e.key(i)) << p << QStringLiteral("Title");
    }
}

void TestLegend::position()
{
    QFETCH(Legend::Placement, placement);
    QFETCH(QString, title);
    ChartWidget w;
    w.setTitle(title);
    // Odd sizes so that halving has something to truncate.
    showChart(w, 601, 401);
    Legend *legend = w.legend();
    legend->setVisible(true);
    addNamed(w, QStringLiteral("one"));
    addNamed(w, QStringLiteral("two"));
    legend->setPlacement(placement);
    // A resize must bring the legend back to its place on the new edges.
    w.resize(633, 455);
    QApplication::processEvents();

    const int W = w.width();
    const int H = w.height();
    const int lw = legend->width();
    const int lh = legend->height();
    const int titleHeight = title.isEmpty() ? 0 : QFontMetrics(w.titleFont()).height();
    QPoint expected;
    switch (placement) {
    case Legend::plRight:
    case Legend::plRightInverted:
        expected = QPoint(W - 1 - lw, (H - lh) / 2);
        break;
    case Legend::plLeft:
    case Legend::plLeftInverted:
        expected = QPoint(0, (H - lh) / 2);
        break;
    case Legend::plTop:
    case Legend::plTopInverted:
        expected = QPoint((W - lw) / 2, titleHeight);
        break;
    case Legend::plBottom:
    case Legend::plBottomInverted:
        expected = QPoint((W - lw) / 2, H - 1 - lh);
        break;
    }
    QCOMPARE(legend->pos(), expected);
    if (!title.isEmpty())
        QVERIFY(titleHeight > 0);
}

void TestLegend::plotLeavesRoom_data()
{
    emptyGeometry_data();
}

void TestLegend::plotLeavesRoom()
{
    QFETCH(Legend::Placement, placement);
    ChartWidget w;
    showChart(w);
    Legend *legend = w.legend();
    addNamed(w, QStringLiteral("a"));
    addNamed(w, QStringLiteral("b"));
    legend->setPlacement(placement);
    const QRect bare = w.d->plotRect;
    QVERIFY(!bare.isEmpty());

    legend->setVisible(true);
    QVERIFY(legend->isVisible());
    QRect expected = bare;
    switch (placement) {
    case Legend::plRight:
    case Legend::plRightInverted:
        expected.setRight(bare.right() - legend->width());
        break;
    case Legend::plLeft:
    case Legend::plLeftInverted:
        expected.setLeft(bare.left() + legend->width());
        break;
    case Legend::plTop:
    case Legend::plTopInverted:
        expected.setTop(bare.top() + legend->height());
        break;
    case Legend::plBottom:
    case Legend::plBottomInverted:
        expected.setBottom(bare.bottom() - legend->height());
        break;
    }
    QCOMPARE(w.d->plotRect, expected);
    QCOMPARE(w.d->pixmap.size(), expected.size());

    // A growing legend takes more room at once.
    addNamed(w, QStringLiteral("a much longer series name than the others"));
    addNamed(w, QStringLiteral("d"));
    if (isSide(placement))
        QCOMPARE(w.d->plotRect.width(), bare.width() - legend->width());
    else
        QCOMPARE(w.d->plotRect.height(), bare.height() - legend->height());

    legend->setVisible(false);
    QVERIFY(!legend->isVisible());
    QCOMPARE(w.d->plotRect, bare);

    // The flag, not the widget, decides: a legend shown behind its own back
    // takes no room.
    legend->QWidget::setVisible(true);
    QVERIFY(legend->isVisible());
    w.d->updatePlotArea();
    QCOMPARE(w.d->plotRect, bare);
    legend->setVisible(false);

    // While the chart itself is hidden the flag still moves the plot.
    legend->setVisible(true);
    w.hide();
    legend->setVisible(false);
    QCOMPARE(w.d->plotRect, bare);
    legend->setVisible(true);
    QVERIFY(w.d->plotRect != bare);
    w.show();
    QVERIFY(legend->isVisible());
}

namespace {

// Notes the chart's plot rectangle at the moment the legend is shown or
// hidden.
class ShowHideWatcher : public QObject
{
public:
    ChartWidget *chart = nullptr;
    QRect atShow;
    QRect atHide;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Show)
            atShow = chart->d->plotRect;
        else if (e->type() == QEvent::Hide)
            atHide = chart->d->plotRect;
        return false;
    }
};

} // namespace

void TestLegend::plotUpdatedBeforeShowAndHide()
{
    ChartWidget w;
    showChart(w);
    addNamed(w, QStringLiteral("a"));
    const QRect bare = w.d->plotRect;
    ShowHideWatcher watcher;
    watcher.chart = &w;
    w.legend()->installEventFilter(&watcher);

    w.legend()->show();
    QCOMPARE(watcher.atShow.right(), bare.right() - w.legend()->width());
    QCOMPARE(w.d->plotRect, watcher.atShow);
    w.legend()->hide();
    QCOMPARE(watcher.atHide, bare);
}

void TestLegend::visibilityFollowsBothWays()
{
    ChartWidget w;
    showChart(w);
    w.legend()->setVisible(true);
    LineSeries *a = addNamed(w, QStringLiteral("a"));
    LineSeries *b = addNamed(w, QStringLiteral("b"));
    const QList<QCheckBox *> boxes = boxesOf(w.legend());
    QCOMPARE(boxes.size(), 2);
    QVERIFY(boxes[0]->isChecked() && boxes[1]->isChecked());
    QCOMPARE(boxes[0]->property("series name").value<ChartSeries *>(), a);

    QTest::mouseClick(boxes[0], Qt::LeftButton, {}, QPoint(5, boxes[0]->height() / 2));
    QVERIFY(!boxes[0]->isChecked());
    QVERIFY(!a->isVisible());
    QVERIFY(b->isVisible());

    b->setVisible(false);
    QVERIFY(!boxes[1]->isChecked());
    a->setVisible(true);
    QVERIFY(boxes[0]->isChecked());

    // A series hidden before it is added starts unchecked.
    auto *c = new LineSeries;
    c->setVisible(false);
    w.addSeries(c);
    QVERIFY(!boxesOf(w.legend()).last()->isChecked());
    QCOMPARE(boxesOf(w.legend()).last()->text(), QStringLiteral("Series 3"));
}

void TestLegend::renameUpdatesFirstBox()
{
    ChartWidget w;
    showChart(w);
    LineSeries *a = addNamed(w, QStringLiteral("old"));
    LineSeries *other = addNamed(w, QStringLiteral("other"));
    w.legend()->addSeries(a);
    QCOMPARE(textsOf(w.legend()), QStringList({"old", "other", "old"}));
    a->setName(QStringLiteral("new"));
    QCOMPARE(textsOf(w.legend()), QStringList({"new", "other", "old"}));
    other->setName(QStringLiteral("renamed"));
    QCOMPARE(textsOf(w.legend()), QStringList({"new", "renamed", "old"}));
}

void TestLegend::legendFlagOffGivesNoBox()
{
    ChartWidget w;
    showChart(w);
    auto *hidden = new LineSeries;
    hidden->setLegendVisible(false);
    w.addSeries(hidden);
    addNamed(w, QStringLiteral("shown"));
    QCOMPARE(textsOf(w.legend()), QStringList({"shown"}));
    // The flag only matters when a series is added.
    hidden->setLegendVisible(true);
    QCOMPARE(textsOf(w.legend()), QStringList({"shown"}));
    w.legend()->addSeries(hidden);
    QCOMPARE(textsOf(w.legend()), QStringList({"shown", "Series 1"}));
    w.legend()->d->clear();
}

void TestLegend::sameSeriesTwice()
{
    ChartWidget w;
    showChart(w);
    Legend *legend = w.legend();
    LineSeries *a = addNamed(w, QStringLiteral("a"));
    LineSeries *b = addNamed(w, QStringLiteral("b"));
    legend->addSeries(a);
    QList<QCheckBox *> boxes = boxesOf(legend);
    QCOMPARE(boxes.size(), 3);
    const QSize size = legend->size();

    QPointer<QCheckBox> older = boxes[0];
    QPointer<QCheckBox> newer = boxes[2];
    legend->removeSeries(a);
    QVERIFY(older);
    QVERIFY(!newer);
    QCOMPARE(boxesOf(legend), QList<QCheckBox *>({boxes[0], boxes[1]}));
    // Removal leaves the size alone until the next recomputation.
    QCOMPARE(legend->size(), size);
    legend->d->adjustGeometry();
    QVERIFY(legend->size() != size);

    // Removing a series that has no box changes nothing.
    LineSeries stranger;
    legend->removeSeries(&stranger);
    QCOMPARE(boxesOf(legend).size(), 2);

    w.removeSeries(1);
    QCOMPARE(boxesOf(legend), QList<QCheckBox *>({boxes[1]}));
    QCOMPARE(textsOf(legend), QStringList({"b"}));
    Q_UNUSED(b);
}

void TestLegend::deletedSeriesTakesItsBoxes()
{
    // A series shown in a legend without being registered with the chart
    // may die while its box is still there.
    ChartWidget w;
    showChart(w);
    Legend *legend = w.legend();
    auto *s = new LineSeries;
    s->setName(QStringLiteral("loose"));
    legend->addSeries(s);
    legend->addSeries(s);
    QList<QCheckBox *> boxes = boxesOf(legend);
    QCOMPARE(boxes.size(), 2);
    delete s;
    // Clicking a box whose series is gone must not reach the series.
    boxes[0]->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(boxesOf(legend).isEmpty());
}

void TestLegend::copyIsWorkingEmptyLegend()
{
    ChartWidget w;
    showChart(w);
    w.legend()->setPlacement(Legend::plBottom);
    addNamed(w, QStringLiteral("in chart"));
    const QRect plot = w.d->plotRect;
    LineSeries series;
    series.setName(QStringLiteral("in copy"));
    {
        Legend copy(*w.legend());
        QCOMPARE(copy.parentWidget(), static_cast<QWidget *>(&w));
        QVERIFY(copy.d && copy.d != w.legend()->d);
        QCOMPARE(copy.d->q, &copy);
        QVERIFY(copy.widget() && copy.widget() != w.legend()->widget());
        QVERIFY(boxesOf(&copy).isEmpty());
        QVERIFY(!copy.d->visible);

        copy.addSeries(&series);
        QCOMPARE(textsOf(&copy), QStringList({"in copy"}));
        QCOMPARE(textsOf(w.legend()), QStringList({"in chart"}));
        copy.setPlacement(Legend::plLeft);
        QVERIFY(qobject_cast<QVBoxLayout *>(copy.widget()->layout()));
        QCOMPARE(copy.pos().x(), 0);
        copy.setVisible(true);
        QVERIFY(copy.isVisible());
        // The chart lays out around its own legend only.
        QCOMPARE(w.d->plotRect, plot);
        series.setVisible(false);
        QVERIFY(!boxesOf(&copy).first()->isChecked());
    }
    // The copy's connections went with it.
    series.setName(QStringLiteral("renamed"));
    series.setVisible(true);
    QCOMPARE(textsOf(w.legend()), QStringList({"in chart"}));
}

void TestLegend::copyDestroyedWithChart()
{
    auto *w = new ChartWidget;
    showChart(*w);
    w->legend()->setVisible(true);
    QPointer<Legend> copy = new Legend(*w->legend());
    LineSeries series;
    copy->addSeries(&series);
    copy->show();
    delete w;
    QVERIFY(!copy);
}

TAVRIN_TEST(TestLegend)
#include "tst_legend.moc"
