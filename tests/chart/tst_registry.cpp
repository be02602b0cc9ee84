#include "chartfixtures.h"
#include "testmain.h"
#include "testutil.h"

#include <axes.h>
#include <axis.h>
#include <chartseries_p.h>
#include <legend.h>
#include <vline.h>

#include <QCheckBox>
#include <QPointer>
#include <QSignalSpy>
#include <cmath>

class TestRegistry : public QObject
{
    Q_OBJECT
private slots:
    void idsAreSmallestFreeAndReused();
    void reAddingReturnsExistingId();
    void explicitIdInUseIsIgnored();
    void nullSeriesGivesZero();
    void defaultNames_data();
    void defaultNames();
    void colourCycle();
    void ownColourKeepsCycle();
    void clearRestartsCycleKeepsSettings();
    void lookUpAndList();
    void removeDeletesAtOnce();
    void clearDeletesLaterAndDetaches();
    void removedLastSeriesLeavesScreen();
    void addVLineIds();
    void enableTooltipOnRegistered();
    void createObject();
    void chartVersion();
};

void TestRegistry::idsAreSmallestFreeAndReused()
{
    ChartWidget w;
    QCOMPARE(w.addSeries(new LineSeries), 1);
    QCOMPARE(w.addSeries(new LineSeries), 2);
    QCOMPARE(w.addSeries(new LineSeries), 3);
    w.removeSeries(2);
    QCOMPARE(w.addSeries(new LineSeries), 2);
    QCOMPARE(w.addSeries(new LineSeries), 4);
}

void TestRegistry::reAddingReturnsExistingId()
{
    ChartWidget w;
    auto *s = new LineSeries;
    w.addSeries(new LineSeries);
    QCOMPARE(w.addSeries(s), 2);
    QCOMPARE(w.addSeries(s), 2);
    QCOMPARE(w.seriesList().size(), 2);
    QCOMPARE(w.legend()->findChildren<QCheckBox *>().size(), 2);
}

void TestRegistry::explicitIdInUseIsIgnored()
{
    ChartWidget w;
    w.addSeries(new LineSeries, 5);
    LineSeries s;
    s.setName(QStringLiteral("mine"));
    w.addSeries(&s, 5);
    QVERIFY(w.series(5) != &s);
    QCOMPARE(s.name(), QStringLiteral("mine"));
    QCOMPARE(s.color(), QColor(Qt::black));
    QVERIFY(s.ChartSeries::d->autoColor);
    QVERIFY(s.xAxis() == nullptr);
    // Ids below 1 are allowed in the explicit form.
    auto *neg = new LineSeries;
    w.addSeries(neg, -3);
    QCOMPARE(w.series(-3), neg);
    QCOMPARE(w.seriesList().first(), neg);
}

void TestRegistry::nullSeriesGivesZero()
{
    ChartWidget w;
    QCOMPARE(w.addSeries(nullptr), 0);
    w.addSeries(nullptr, 3);
    QCOMPARE(w.addVLine(nullptr), 0);
    QVERIFY(w.seriesList().isEmpty());
    QVERIFY(w.series(0) == nullptr);
    w.removeSeries(42); // unknown id: nothing happens
}

void TestRegistry::defaultNames_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unnamed") << QString() << 3 << QStringLiteral("Series 3");
    QTest::newRow("named") << QStringLiteral("Pressure") << 3 << QStringLiteral("Pressure");
    QTest::newRow("unnamed id 12") << QString() << 12 << QStringLiteral("Series 12");
}

void TestRegistry::defaultNames()
{
    QFETCH(QString, given);
    QFETCH(int, id);
    QFETCH(QString, expected);
    ChartWidget w;
    auto *s = new LineSeries;
    s->setName(given);
    w.addSeries(s, id);
    QCOMPARE(s->name(), expected);
    const auto boxes = w.legend()->findChildren<QCheckBox *>();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first()->text(), expected);
}

void TestRegistry::colourCycle()
{
    ChartWidget w;
    const QList<Qt::GlobalColor> expected = {Qt::red, Qt::darkGreen, Qt::blue, Qt::cyan,
                                             Qt::magenta, Qt::yellow, Qt::darkRed, Qt::darkGreen,
                                             Qt::darkBlue, Qt::darkCyan, Qt::darkMagenta,
                                             Qt::darkYellow, Qt::black, Qt::white, Qt::darkGray,
                                             Qt::gray, Qt::lightGray, Qt::red};
    for (Qt::GlobalColor c : expected) {
        auto *s = new LineSeries;
        w.addSeries(s);
        QCOMPARE(s->color(), QColor(c));
        QCOMPARE(s->fillColor(), QColor(c));
    }
}

void TestRegistry::ownColourKeepsCycle()
{
    ChartWidget w;
    auto *own = new LineSeries;
    own->setColor(QColor(1, 2, 3));
    w.addSeries(own);
    QCOMPARE(own->color(), QColor(1, 2, 3));
    QCOMPARE(own->fillColor(), QColor(Qt::red)); // the default brush stays
    auto *next = new LineSeries;
    w.addSeries(next);
    QCOMPARE(next->color(), QColor(Qt::red));
}

void TestRegistry::clearRestartsCycleKeepsSettings()
{
    ChartWidget w;
    w.setTitle(QStringLiteral("T"));
    w.setAutoScale(false);
    w.setRefreshTimeout(100);
    w.enableTooltip(true);
    w.addSeries(new LineSeries);
    w.addSeries(new LineSeries);
    w.addVLine(new VLine(1.0, Qt::blue, 1));
    w.clear();
    QVERIFY(w.seriesList().isEmpty());
    QVERIFY(w.d->vlineMap.isEmpty());
    QCOMPARE(w.title(), QStringLiteral("T"));
    QVERIFY(!w.autoScale());
    QCOMPARE(w.refreshTimeout(), 100);
    QVERIFY(w.tooltipEnabled());
    QVERIFY(w.legend()->findChildren<QCheckBox *>().isEmpty());
    auto *s = new LineSeries;
    QCOMPARE(w.addSeries(s), 1);
    QCOMPARE(s->color(), QColor(Qt::red));
}

void TestRegistry::lookUpAndList()
{
    ChartWidget w;
    auto *a = new LineSeries;
    auto *b = new LineSeries;
    auto *c = new LineSeries;
    w.addSeries(b, 7);
    w.addSeries(a, 2);
    w.addSeries(c);
    QCOMPARE(w.series(2), a);
    QCOMPARE(w.series(7), b);
    QCOMPARE(w.series(1), c);
    QVERIFY(w.series(3) == nullptr);
    QCOMPARE(w.seriesList(), (QList<ChartSeries *>{c, a, b}));
}

void TestRegistry::removeDeletesAtOnce()
{
    ChartWidget w;
    QPointer<LineSeries> s = new LineSeries;
    const int id = w.addSeries(s);
    QCOMPARE(w.legend()->findChildren<QCheckBox *>().size(), 1);
    w.removeSeries(id);
    QVERIFY(s.isNull());
    QVERIFY(w.series(id) == nullptr);
    QVERIFY(w.legend()->findChildren<QCheckBox *>().isEmpty());
}

void TestRegistry::clearDeletesLaterAndDetaches()
{
    QPointer<LineSeries> s;
    QPointer<VLine> line;
    {
        ChartWidget w;
        showChart(w);
        s = new LineSeries;
        line = new VLine(3.0, Qt::blue, 1);
        w.addSeries(s);
        w.addVLine(line);
        w.clear();
        // Still alive until the event loop runs, but no longer tied to the
        // chart: adding points must not reach it.
        QVERIFY(!s.isNull());
        QVERIFY(s->ChartSeries::d->owner == nullptr);
        s->addXY(1, 2);
        s->addXY(100, 200);
        s->clear();
        QVERIFY(w.seriesList().isEmpty());
    }
    // The widget is gone; the series still must not reach it.
    if (s)
        s->addXY(5, 5);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(s.isNull());
    QVERIFY(line.isNull());
}

void TestRegistry::removedLastSeriesLeavesScreen()
{
    ChartWidget w;
    showChart(w);
    auto *only = lineOf({{0, 0}, {10, 10}});
    only->setColor(Qt::blue);
    const int id = w.addSeries(only);
    QVERIFY(tavrintest::countColor(w.d->pixmap.toImage(), qRgb(0, 0, 255)) > 0);
    w.removeSeries(id);
    QCOMPARE(tavrintest::countColor(w.d->pixmap.toImage(), qRgb(0, 0, 255)), 0);

    // With automatic scaling off nothing rescales, yet the series must go.
    auto *keep = lineOf({{0, 5}, {10, 5}});
    keep->setColor(Qt::red);
    auto *gone = lineOf({{0, 0}, {10, 10}});
    gone->setColor(Qt::blue);
    w.addSeries(keep);
    const int goneId = w.addSeries(gone);
    w.setAutoScale(false);
    QVERIFY(tavrintest::countColor(w.d->pixmap.toImage(), qRgb(0, 0, 255)) > 0);
    w.removeSeries(goneId);
    QCOMPARE(tavrintest::countColor(w.d->pixmap.toImage(), qRgb(0, 0, 255)), 0);
    QVERIFY(tavrintest::countColor(w.d->pixmap.toImage(), qRgb(255, 0, 0)) > 0);

    // A host's drawing lock still holds.
    w.setDrawingLock(true);
    const QImage before = w.d->pixmap.toImage();
    w.removeSeries(w.addSeries(lineOf({{0, 0}, {10, 10}})));
    QCOMPARE(w.d->pixmap.toImage(), before);
}

void TestRegistry::addVLineIds()
{
    ChartWidget w;
    auto *a = new VLine(1.0, Qt::red, 1);
    auto *b = new VLine(2.0, Qt::red, 1);
    QCOMPARE(w.addVLine(a), 1);
    QCOMPARE(w.addVLine(b), 2);
    QCOMPARE(a->xAxis(), w.axes()->bottom());
    QCOMPARE(a->yAxis(), w.axes()->left());
    // Series ids are independent of marker line ids.
    QCOMPARE(w.addSeries(new LineSeries), 1);
}

void TestRegistry::enableTooltipOnRegistered()
{
    ChartWidget w;
    auto *before = new LineSeries;
    w.addSeries(before);
    w.enableTooltip(true);
    auto *after = new LineSeries;
    w.addSeries(after);
    QCOMPARE(before->forceTooltip(), 1);
    QCOMPARE(after->forceTooltip(), -1);
    w.enableTooltip(false);
    QCOMPARE(before->forceTooltip(), 0);
    QCOMPARE(after->forceTooltip(), 0);
}

void TestRegistry::createObject()
{
    ChartWidget w;
    QVERIFY(w.createObject("NoSuchTypeAnywhere") == nullptr);
    QVERIFY(w.createObject(nullptr) == nullptr);
    // Registered types that are not QObject classes are refused.
    QVERIFY(w.createObject("int") == nullptr);
    QVERIFY(w.createObject("QString") == nullptr);
    QVERIFY(w.createObject("ChartSeries*") == nullptr);
    qRegisterMetaType<LineSeries>("LineSeries");
    QObject *o = w.createObject("LineSeries");
    QVERIFY(o);
    QVERIFY(qobject_cast<LineSeries *>(o));
    delete o;
}

void TestRegistry::chartVersion()
{
    QCOMPARE(ChartWidget::chartVersion, QStringLiteral("tn 1.0"));
}

TAVRIN_TEST(TestRegistry)
#include "tst_registry.moc"
