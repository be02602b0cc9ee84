// Charts of a group: one x range through every gesture and call, each
// chart rendered once per gesture, the crosshair's x everywhere, aligned
// plot areas and members that go away at any moment.
#include "fixtures.h"
#include "testmain.h"

#include <axis_p.h>
#include <chartgroup.h>

#include <QDateTime>
#include <QPointer>
#include <QSignalSpy>
#include <QVBoxLayout>

#include <cmath>
#include <memory>

using namespace tavrintest;

namespace {

// Three charts stacked in one 600 x 900 column, linked. Chart i has x data
// from 100 i to 1000 + 500 i and five-digit y labels, so that the layout
// holds still while the ranges move.
struct Column {
    QWidget window;
    ChartWidget *w[3];
    CountingSeries *s[3];
    ChartGroup group;
    explicit Column(bool link = true)
    {
        auto *layout = new QVBoxLayout(&window);
        for (int i = 0; i < 3; ++i) {
            w[i] = new ChartWidget;
            s[i] = new CountingSeries;
            for (int k = 0; k <= 100; ++k)
                s[i]->addXY(100 * i + k * (9 + 5 * i), 10000 + k * 100);
            w[i]->addSeries(s[i]);
            w[i]->setWheelZoom(true);
            w[i]->setDoubleClickReset(true);
            layout->addWidget(w[i]);
        }
        window.resize(600, 900);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qWarning("column not exposed");
        QApplication::processEvents();
        if (link)
            for (ChartWidget *c : w)
                group.addChart(c);
        QApplication::processEvents();
    }
    QRectF plot(int i) const { return w[i]->plotArea(); }
    QPoint mid(int i) const { return w[i]->plotArea().center(); }
    // The x range chart i draws, from its pixels.
    QPair<double, double> range(int i) const
    {
        const Axis *x = w[i]->axes()->bottom();
        return {x->pixelToPoint(0), x->pixelToPoint(x->d->length)};
    }
    bool same(int i, int j) const
    {
        const double span = range(j).second - range(j).first;
        return std::fabs(range(i).first - range(j).first) <= span * 1e-9
            && std::fabs(range(i).second - range(j).second) <= span * 1e-9;
    }
    bool sameRange() const { return same(0, 1) && same(0, 2); }
    QVector<int> draws() const { return {s[0]->draws, s[1]->draws, s[2]->draws}; }
};

} // namespace

class TestGroup : public QObject
{
    Q_OBJECT

private slots:
    void gestures_data()
    {
        QTest::addColumn<int>("gesture");
        QTest::addColumn<int>("source");
        const char *names[] = {"band", "pan", "wheel", "zoomBack", "double-click", "reverse band", "setRange"};
        for (int g = 0; g < 7; ++g)
            for (int src : {0, 2})
                QTest::addRow("%s on %d", names[g], src) << g << src;
    }
    void gestures()
    {
        QFETCH(int, gesture);
        QFETCH(int, source);
        Column c;
        // Chart 2's top axis is its own: only a gesture made there moves it.
        Axis *top = c.w[2]->axes()->top();
        LineSeries *onTop = lineOf({QPointF(0, 10000), QPointF(50, 20000)});
        onTop->setAxis(top, c.w[2]->axes()->left());
        c.w[2]->addSeries(onTop);
        QApplication::processEvents();
        QVERIFY(c.sameRange());
        ChartWidget &w = *c.w[source];
        const QPoint m = c.mid(source);
        if (gesture == 3 || gesture == 4 || gesture == 5) // something to go back from
            drag(w, Qt::LeftButton, m - QPoint(100, 50), m + QPoint(50, 50));
        QApplication::processEvents();
        const auto before = c.range(0);
        const double topBefore = top->pixelToPoint(0);
        const QVector<int> draws = c.draws();
        switch (gesture) {
        case 0: drag(w, Qt::LeftButton, m - QPoint(100, 50), m + QPoint(50, 50)); break;
        case 1: drag(w, Qt::MiddleButton, m, m + QPoint(80, 10)); break;
        case 2: wheel(w, m + QPoint(40, 0)); break;
        case 3: QVERIFY(w.zoomBack()); break;
        case 4: QTest::mouseDClick(&w, Qt::LeftButton, Qt::NoModifier, m); break;
        case 5: drag(w, Qt::LeftButton, m + QPoint(50, 50), m - QPoint(50, 50)); break;
        case 6:
            w.setAutoScale(false);
            w.axes()->bottom()->setRange(300, 400);
            w.repaint();
            break;
        }
        QApplication::processEvents();
        QVERIFY(c.range(0) != before);
        QVERIFY2(c.sameRange(), "the members show one x range");
        QCOMPARE(top->pixelToPoint(0) != topBefore, source == 2 && gesture != 6);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(c.s[i]->draws, draws[i] + 1);
        if (gesture >= 3 && gesture <= 5) {
            // Back to automatic scaling: the union of the members' data.
            QVERIFY(c.range(0).first <= 0);
            QVERIFY(c.range(0).second >= 200 + 100 * 19);
        }
    }

    // Data arriving in one member, at once or through the refresh timer:
    // the group widens to the union, without a loop.
    void autoScaleUnion_data()
    {
        QTest::addColumn<int>("timeout");
        QTest::newRow("at once") << -1;
        QTest::newRow("refresh timer") << 20;
    }
    void autoScaleUnion()
    {
        QFETCH(int, timeout);
        Column c;
        c.w[1]->setRefreshTimeout(timeout);
        const QVector<int> draws = c.draws();
        c.s[1]->addXY(5000, 15000);
        QTRY_VERIFY(c.w[0]->axes()->bottom()->max() >= 5000);
        QApplication::processEvents();
        QVERIFY(c.sameRange());
        QVERIFY(c.range(0).first <= 0);
        for (int i = 0; i < 3; ++i)
            QVERIFY2(c.s[i]->draws - draws[i] <= 2, qPrintable(QString::number(c.s[i]->draws - draws[i])));
        // A zoomed member keeps its view as another's data arrives, and so do
        // the others: the gesture's range holds the group.
        QTest::qWait(timeout + 30);
        drag(*c.w[0], Qt::LeftButton, c.mid(0) - QPoint(100, 50), c.mid(0) + QPoint(50, 50));
        const auto zoomed = c.range(2);
        c.s[2]->addXY(9000, 15000);
        QTest::qWait(timeout + 30);
        QCOMPARE(c.range(2), zoomed);
        QVERIFY(c.sameRange());
    }

    void crosshair()
    {
        Column c;
        c.w[0]->setCrosshair(true);
        const QVector<int> draws = c.draws();
        const QPoint at = c.mid(0) + QPoint(37, 0);
        mouse(c.w[0], QEvent::MouseMove, Qt::NoButton, at);
        const double x = c.w[0]->mapToValue(at).x();
        for (int i = 1; i < 3; ++i)
            QCOMPARE(c.w[i]->d->linkedCrosshairX, x);
        // Drawn in the other charts at the same pixel column, and no series
        // is rendered for it.
        const QImage img = grabImage(c.w[2]);
        const int px = int(std::lround(c.w[2]->mapToPosition(QPointF(x, 15000)).x()));
        QCOMPARE(px, at.x());
        QVERIFY(countColor(img, c.w[2]->palette().color(QPalette::WindowText).rgb(), QRect(px, int(c.plot(2).top()), 1, 40)) > 5);
        QCOMPARE(c.draws(), draws);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(c.w[0], &leave);
        for (int i = 1; i < 3; ++i)
            QVERIFY(std::isnan(c.w[i]->d->linkedCrosshairX));
    }

    void alignment()
    {
        Column c;
        // Wider labels in the middle chart, a right axis in the last one.
        auto *wide = new LineSeries;
        wide->addXY(0, -2e9);
        wide->addXY(1000, 3e9);
        c.w[1]->addSeries(wide);
        auto *right = new LineSeries;
        right->addXY(0, 1);
        right->addXY(1000, 2);
        c.w[2]->addSeries(right);
        right->setAxis(c.w[2]->axes()->bottom(), c.w[2]->axes()->right());
        QApplication::processEvents();
        QCOMPARE(c.plot(0).left(), c.plot(1).left());
        QCOMPARE(c.plot(2).left(), c.plot(1).left());
        QCOMPARE(c.plot(0).right(), c.plot(2).right());
        QCOMPARE(c.plot(1).right(), c.plot(2).right());
        QVERIFY(c.sameRange());
        // Narrower labels: the group follows them.
        const int wideLeft = c.plot(0).left();
        wide->clear();
        QApplication::processEvents();
        QVERIFY(c.plot(0).left() < wideLeft);
        QCOMPARE(c.plot(0).left(), c.plot(1).left());
        QSignalSpy spy(&c.group, &ChartGroup::alignPlotAreasChanged);
        c.group.setAlignPlotAreas(false);
        c.group.setAlignPlotAreas(false);
        QCOMPARE(spy.count(), 1);
        QApplication::processEvents();
        QVERIFY(c.plot(0).right() != c.plot(2).right());
        // Leaving gives a chart its own layout back.
        c.group.setAlignPlotAreas(true);
        QApplication::processEvents();
        QCOMPARE(c.plot(0).right(), c.plot(2).right());
        c.group.removeChart(c.w[0]);
        QApplication::processEvents();
        QVERIFY(c.plot(0).right() != c.plot(2).right());
    }

    void badInput()
    {
        Column c(false);
        QSignalSpy spy(&c.group, &ChartGroup::chartsChanged);
        QVERIFY(!c.group.addChart(nullptr));
        QVERIFY(c.group.addChart(c.w[0]));
        QVERIFY(!c.group.addChart(c.w[0]));
        QVERIFY(c.group.addChart(c.w[1]));
        QCOMPARE(c.group.charts(), (QList<ChartWidget *>{c.w[0], c.w[1]}));
        QCOMPARE(c.w[0]->group(), &c.group);
        QCOMPARE(spy.count(), 2);
        // Date-time and plain x axes cannot share a range.
        c.w[2]->axes()->bottom()->setDatetime(true);
        QVERIFY(!c.group.addChart(c.w[2]));
        QVERIFY(!c.w[2]->group());
        QVERIFY(!c.group.removeChart(c.w[2]));
        // Joining another group leaves this one.
        ChartGroup other;
        QVERIFY(other.addChart(c.w[1]));
        QCOMPARE(c.group.charts(), QList<ChartWidget *>{c.w[0]});
        QCOMPARE(c.w[1]->group(), &other);
    }

    // Members and groups deleted in any order, and from inside a gesture
    // that the group is passing on.
    void destruction_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("chart first") << 0;
        QTest::newRow("group first") << 1;
        QTest::newRow("member from the source's signal") << 2;
        QTest::newRow("group from its own signal") << 3;
        QTest::newRow("source from a follower's signal") << 4;
    }
    void destruction()
    {
        QFETCH(int, how);
        Column c(false);
        auto *group = new ChartGroup;
        for (ChartWidget *w : c.w)
            group->addChart(w);
        QPointer<ChartGroup> g(group);
        QPointer<ChartWidget> w1(c.w[1]), w2(c.w[2]);
        const QPoint m = c.mid(0);
        switch (how) {
        case 0:
            delete c.w[1];
            QCOMPARE(group->charts().size(), 2);
            drag(*c.w[0], Qt::LeftButton, m - QPoint(100, 50), m + QPoint(50, 50));
            QVERIFY(c.same(0, 2));
            delete group;
            break;
        case 1:
            delete group;
            QVERIFY(!c.w[0]->group());
            drag(*c.w[0], Qt::LeftButton, m - QPoint(100, 50), m + QPoint(50, 50));
            break;
        case 2:
            QObject::connect(c.w[0], &ChartWidget::zoomHistoryChanged, c.w[1], [&] { delete c.w[1]; });
            drag(*c.w[0], Qt::LeftButton, m - QPoint(100, 50), m + QPoint(50, 50));
            QVERIFY(!w1);
            QVERIFY(c.same(0, 2));
            delete group;
            break;
        case 3:
            QObject::connect(group, &ChartGroup::chartsChanged, group, [group] { delete group; });
            delete c.w[2];
            QVERIFY(!g);
            QVERIFY(!c.w[0]->group());
            break;
        case 4:
            // A follower's series emits as it is drawn; its handler deletes
            // the chart the gesture started in.
            QObject::connect(c.w[1]->axes()->bottom(), &Axis::ticksChanged, c.w[0], [&] {
                if (c.w[0]) {
                    c.w[0]->deleteLater();
                }
            });
            drag(*c.w[0], Qt::LeftButton, m - QPoint(100, 50), m + QPoint(50, 50));
            QApplication::processEvents();
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(w2);
            delete group;
            break;
        }
        QApplication::processEvents();
        QVERIFY(!g);
    }
};

TAVRIN_TEST(TestGroup)
#include "tst_group.moc"
