#include "testmain.h"
#include "fixtures.h"

#include <axes.h>
#include <axis.h>
#include <axis_p.h>
#include <chartwidget.h>
#include <chartwidget_p.h>
#include <lineseries.h>
#include <vline.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <cmath>

namespace {

class CountedLine : public LineSeries
{
public:
    int draws = 0;
    void draw(QPainter *painter) override
    {
        ++draws;
        LineSeries::draw(painter);
    }
};

// A shown 600 x 400 chart with a line from (0, 0) to (1000, 10000) and a
// red marker line at x = 500; five-digit labels keep the axis bands steady.
struct Chart {
    ChartWidget w;
    CountedLine *line = new CountedLine;
    Chart()
    {
        line->setColor(Qt::blue);
        for (int i = 0; i <= 100; ++i)
            line->addXY(i * 10, 10000 + i * 100);
        w.addSeries(line);
        w.addVLine(new VLine(500, Qt::red, 1));
        w.resize(600, 400);
        w.show();
        if (!QTest::qWaitForWindowExposed(&w))
            qWarning("window not exposed");
        QApplication::processEvents();
    }
    QRect plot() const { return w.d->plotRect; }
    Axis *x() const { return w.axes()->bottom(); }
    Axis *y() const { return w.axes()->left(); }
    QPoint pixelOf(double vx, double vy) const
    {
        return plot().topLeft()
            + QPoint(qRound(x()->pointToPixel(vx)), qRound(y()->pointToPixel(vy)));
    }
};

// The chart's verdict on one wheel event (true: consumed), sent as a real
// event through the widget.
bool wheel(ChartWidget &w, QPoint pos, int angle, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWheelEvent event(QPointF(pos), QPointF(w.mapToGlobal(pos)), QPoint(), QPoint(0, angle),
                      Qt::NoButton, mods, Qt::NoScrollPhase, false);
    event.setAccepted(false);
    const bool consumed = w.d->eventFilter(&w, &event);
    if (!consumed)
        QApplication::sendEvent(&w, &event);
    return consumed;
}

void moveTo(ChartWidget &w, QPoint pos, Qt::MouseButtons held)
{
    QMouseEvent event(QEvent::MouseMove, pos, w.mapToGlobal(pos), Qt::NoButton, held, Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}

void drag(ChartWidget &w, Qt::MouseButton button, QPoint from, QPoint to)
{
    QTest::mousePress(&w, button, Qt::NoModifier, from);
    moveTo(w, to, button);
    QTest::mouseRelease(&w, button, Qt::NoModifier, to);
}

struct View {
    double x0, x1, y0, y1;
};

// The values at the plot's edges, as drawn.
View viewOf(const Chart &c)
{
    const double w = c.x()->d->length, h = c.y()->d->length;
    return {c.x()->pixelToPoint(0), c.x()->pixelToPoint(w), c.y()->pixelToPoint(h),
            c.y()->pixelToPoint(0)};
}

bool sameView(const View &a, const View &b)
{
    auto near = [](double p, double q) { return std::fabs(p - q) <= 1e-9 * std::max(1.0, std::fabs(p)); };
    return near(a.x0, b.x0) && near(a.x1, b.x1) && near(a.y0, b.y0) && near(a.y1, b.y1);
}

// Widget column of the red marker line along the middle row of the plot.
int redColumn(ChartWidget &w)
{
    const QImage img = tavrintest::grabImage(&w);
    const int row = w.d->plotRect.center().y();
    for (int x = w.d->plotRect.left(); x <= w.d->plotRect.right(); ++x)
        if ((img.pixel(x, row) & 0xffffff) == 0xff0000)
            return x;
    return -1;
}

} // namespace

class TestWheelZoom : public QObject
{
    Q_OBJECT
private slots:
    void defaultsPassEventsOn();
    void wheelZoomsAboutPointer_data();
    void wheelZoomsAboutPointer();
    void wheelLimits_data();
    void wheelLimits();
    void historyUndoesEachStep();
    void historyIsBounded();
    void doubleClickReset();
    void holdView_data();
    void holdView();
};

void TestWheelZoom::defaultsPassEventsOn()
{
    Chart c;
    const View before = viewOf(c);
    const int draws = c.line->draws;
    const QPoint mid = c.plot().center();
    QVERIFY(!wheel(c.w, mid, 120));
    QMouseEvent dbl(QEvent::MouseButtonDblClick, mid, c.w.mapToGlobal(mid), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QVERIFY(!c.w.d->eventFilter(&c.w, &dbl));
    QTest::mouseDClick(&c.w, Qt::LeftButton, Qt::NoModifier, mid);
    QApplication::processEvents();
    QVERIFY(sameView(viewOf(c), before));
    QCOMPARE(c.line->draws, draws);
    QVERIFY(c.w.autoScale());
    QVERIFY(!c.w.hasMouseTracking());
    QCOMPARE(c.w.zoomHistorySize(), 0);
}

void TestWheelZoom::wheelZoomsAboutPointer_data()
{
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("xZooms");
    QTest::addColumn<bool>("yZooms");
    QTest::newRow("in, both") << 120 << int(Qt::NoModifier) << true << true;
    QTest::newRow("out, both") << -240 << int(Qt::NoModifier) << true << true;
    QTest::newRow("ctrl, x only") << 120 << int(Qt::ControlModifier) << true << false;
    QTest::newRow("shift, y only") << 120 << int(Qt::ShiftModifier) << false << true;
}

void TestWheelZoom::wheelZoomsAboutPointer()
{
    QFETCH(int, angle);
    QFETCH(int, modifiers);
    QFETCH(bool, xZooms);
    QFETCH(bool, yZooms);
    Chart c;
    c.w.setWheelZoom(true);
    // The pointer on the marker line, a third of the way down the plot.
    const QPoint at(c.pixelOf(500, 0).x(), c.plot().top() + c.plot().height() / 3);
    const double vx = c.x()->pixelToPoint(at.x() - c.plot().left());
    const double vy = c.y()->pixelToPoint(at.y() - c.plot().top());
    const View before = viewOf(c);
    const int draws = c.line->draws;

    QVERIFY(wheel(c.w, at, angle, Qt::KeyboardModifiers(modifiers)));
    QApplication::processEvents();

    const View after = viewOf(c);
    const double f = std::pow(0.8, angle / 120.0);
    const double xRatio = (after.x1 - after.x0) / (before.x1 - before.x0);
    const double yRatio = (after.y1 - after.y0) / (before.y1 - before.y0);
    QVERIFY2(std::fabs(xRatio - (xZooms ? f : 1.0)) < 1e-9, qPrintable(QString::number(xRatio)));
    QVERIFY2(std::fabs(yRatio - (yZooms ? f : 1.0)) < 1e-9, qPrintable(QString::number(yRatio)));
    // The values under the pointer stay under it: the marker line at the
    // pointer is drawn there.
    QVERIFY(std::fabs(c.x()->pixelToPoint(at.x() - c.plot().left()) - vx) < 1e-6 * (before.x1 - before.x0));
    QVERIFY(std::fabs(c.y()->pixelToPoint(at.y() - c.plot().top()) - vy) < 1e-6 * (before.y1 - before.y0));
    QVERIFY(qAbs(redColumn(c.w) - at.x()) <= 1);
    QVERIFY(!c.w.autoScale());
    QCOMPARE(c.w.zoomHistorySize(), 1);
    QCOMPARE(c.line->draws, draws + 1);
}

void TestWheelZoom::wheelLimits_data()
{
    QTest::addColumn<int>("angle");
    QTest::newRow("far in") << 1200;
    QTest::newRow("far out") << -1200;
}

void TestWheelZoom::wheelLimits()
{
    QFETCH(int, angle);
    Chart c;
    c.w.setWheelZoom(true);
    const QPoint at = c.plot().center() + QPoint(37, -21);
    for (int i = 0; i < 300; ++i)
        wheel(c.w, at, angle);
    QApplication::processEvents();
    for (const Axis *a : {c.x(), c.y()}) {
        QVERIFY(std::isfinite(a->min()));
        QVERIFY(std::isfinite(a->max()));
        QVERIFY(a->min() < a->max());
        // Neighbouring pixels still have values of their own.
        QVERIFY(a->pixelToPoint(1) != a->pixelToPoint(2));
    }
}

void TestWheelZoom::historyUndoesEachStep()
{
    Chart c;
    c.w.setWheelZoom(true);
    QSignalSpy spy(&c.w, SIGNAL(zoomHistoryChanged(int)));
    const View automatic = viewOf(c);
    const QPoint mid = c.plot().center();

    drag(c.w, Qt::LeftButton, mid - QPoint(100, 60), mid + QPoint(120, 80));
    const View zoomed = viewOf(c);
    drag(c.w, Qt::MiddleButton, mid, mid + QPoint(40, 25));
    const View panned = viewOf(c);
    QVERIFY(wheel(c.w, mid, 120));
    QCOMPARE(c.w.zoomHistorySize(), 3);
    QCOMPARE(spy.count(), 3);

    QVERIFY(c.w.zoomBack());
    QVERIFY(sameView(viewOf(c), panned));
    QVERIFY(c.w.zoomBack());
    QVERIFY(sameView(viewOf(c), zoomed));
    QVERIFY(!c.w.autoScale());
    const int draws = c.line->draws;
    QVERIFY(c.w.zoomBack());
    QVERIFY(c.w.autoScale());
    QVERIFY(sameView(viewOf(c), automatic));
    QVERIFY(c.line->draws > draws);
    QCOMPARE(c.w.zoomHistorySize(), 0);
    QCOMPARE(spy.last().at(0).toInt(), 0);
    QVERIFY(!c.w.zoomBack());

    // The reset gesture empties the history as well.
    drag(c.w, Qt::LeftButton, mid, mid + QPoint(80, 60));
    QCOMPARE(c.w.zoomHistorySize(), 1);
    drag(c.w, Qt::LeftButton, mid, mid - QPoint(40, 40));
    QVERIFY(c.w.autoScale());
    QCOMPARE(c.w.zoomHistorySize(), 0);
}

void TestWheelZoom::historyIsBounded()
{
    Chart c;
    c.w.setWheelZoom(true);
    for (int i = 0; i < 60; ++i)
        wheel(c.w, c.plot().center(), i % 2 ? 120 : -120);
    QCOMPARE(c.w.zoomHistorySize(), 50);
    while (c.w.zoomBack()) {
    }
    // The oldest steps were dropped: the first one still held is a manual
    // view, so going back never reached automatic scaling.
    QVERIFY(!c.w.autoScale());
}

void TestWheelZoom::doubleClickReset()
{
    Chart c;
    c.w.setDoubleClickReset(true);
    const QPoint mid = c.plot().center();
    drag(c.w, Qt::LeftButton, mid, mid + QPoint(80, 60));
    QVERIFY(!c.w.autoScale());
    const int column = redColumn(c.w);
    // Outside the plot a double click is passed on and changes nothing.
    QMouseEvent outside(QEvent::MouseButtonDblClick, QPoint(2, 2), c.w.mapToGlobal(QPoint(2, 2)),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QVERIFY(!c.w.d->eventFilter(&c.w, &outside));
    QVERIFY(!c.w.autoScale());
    QTest::mouseDClick(&c.w, Qt::LeftButton, Qt::NoModifier, mid);
    QApplication::processEvents();
    QVERIFY(c.w.autoScale());
    QCOMPARE(c.w.zoomHistorySize(), 0);
    QVERIFY(redColumn(c.w) != column);
}

void TestWheelZoom::holdView_data()
{
    QTest::addColumn<bool>("hold");
    QTest::newRow("default: widened") << false;
    QTest::newRow("held") << true;
}

void TestWheelZoom::holdView()
{
    QFETCH(bool, hold);
    Chart c;
    c.w.setHoldView(hold);
    c.w.setRefreshTimeout(20);
    const QPoint mid = c.plot().center();
    drag(c.w, Qt::LeftButton, mid - QPoint(100, 60), mid + QPoint(100, 60));
    const View zoomed = viewOf(c);
    const int draws = c.line->draws;
    const int bluePixels = tavrintest::countColor(tavrintest::grabImage(&c.w), qRgb(0, 0, 255), c.plot());

    // One point far beyond the view, then one inside it.
    c.line->addXY(5000, 90000);
    const double inX = (zoomed.x0 + zoomed.x1) / 2, inY = (zoomed.y0 + zoomed.y1) / 2;
    c.line->addXY(inX, inY);
    QTRY_VERIFY(!c.w.d->refreshTimer.isActive());
    QApplication::processEvents();

    QVERIFY(c.line->draws > draws);
    const View after = viewOf(c);
    if (hold) {
        QVERIFY(sameView(after, zoomed));
        // The new segment into the view is on screen.
        const QImage img = tavrintest::grabImage(&c.w);
        QVERIFY(tavrintest::countColor(img, qRgb(0, 0, 255), c.plot()) > bluePixels + 20);
    } else {
        QCOMPARE(c.x()->d->rawMax, 5000.0);
        QCOMPARE(c.y()->d->rawMax, 90000.0);
    }
    QVERIFY(!c.w.autoScale());
}

TAVRIN_TEST(TestWheelZoom)
#include "tst_wheelzoom.moc"
