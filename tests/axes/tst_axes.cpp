#include "testmain.h"

#include <axes.h>
#include <axis.h>
#include <axis_p.h>

#include <QTest>

#include <cmath>
#include <limits>

namespace {

class ChartStub : public QObject
{
    Q_OBJECT
public:
    int changes = 0;
private slots:
    void on_axis_changed() { ++changes; }
};

int messages = 0;
void countMessage(QtMsgType, const QMessageLogContext &, const QString &)
{
    ++messages;
}

} // namespace

class TestAxes : public QObject
{
    Q_OBJECT
private slots:
    void construction();
    void setSize();
    void update_data();
    void update();
    void adjust();
    void shift();
};

void TestAxes::construction()
{
    ChartStub chart;
    Axes axes(&chart);
    QCOMPARE(axes.left()->type(), Axis::atLeft);
    QCOMPARE(axes.bottom()->type(), Axis::atBottom);
    QVERIFY(!axes.isValid());
    emit axes.left()->axisChanged();
    emit axes.bottom()->axisChanged();
    QCOMPARE(chart.changes, 2);

    axes.left()->setRange(0, 1);
    QVERIFY(!axes.isValid());
    axes.bottom()->setRange(0, 1);
    QVERIFY(axes.isValid());
    axes.reset();
    QVERIFY(!axes.isValid());

    // A receiver without the slot is simply not connected, silently.
    messages = 0;
    QtMessageHandler old = qInstallMessageHandler(countMessage);
    QObject plain;
    { Axes other(&plain); Axes none(nullptr); }
    qInstallMessageHandler(old);
    QCOMPARE(messages, 0);
}

void TestAxes::setSize()
{
    Axes axes;
    axes.left()->setRange(0, 10);
    axes.bottom()->setRange(0, 10);
    axes.setSize(QSizeF(500, 300));
    QCOMPARE(axes.bottom()->d->length, 499.0);
    QCOMPARE(axes.left()->d->length, 299.0);
    QCOMPARE(axes.bottom()->pointToPixel(0), 20.0);
    QCOMPARE(axes.left()->pointToPixel(0), 279.0);

    const double scale = axes.left()->d->scale;
    axes.setSize(QSizeF(500, 300));
    QCOMPARE(axes.left()->d->scale, scale);
}

void TestAxes::update_data()
{
    const double NaN = std::numeric_limits<double>::quiet_NaN();
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<bool>("result");
    QTest::addColumn<double>("bottomMax");
    QTest::addColumn<double>("leftMax");

    QTest::newRow("y outside") << 5.0 << 20.0 << true << 10.0 << 20.0;
    QTest::newRow("x outside") << 30.0 << 5.0 << true << 30.0 << 10.0;
    QTest::newRow("inside") << 5.0 << 5.0 << false << 10.0 << 10.0;
    QTest::newRow("NaN") << NaN << NaN << false << 10.0 << 10.0;
}

void TestAxes::update()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(bool, result);
    QFETCH(double, bottomMax);
    QFETCH(double, leftMax);

    // Axis::update alone leaves the ticks stale; the pair refreshes them.
    Axes axes;
    axes.bottom()->update(0);
    axes.bottom()->update(10);
    axes.left()->update(0);
    axes.left()->update(10);
    QCOMPARE(axes.left()->d->tickCount, 0);

    QCOMPARE(axes.update(x, y), result);
    QCOMPARE(axes.bottom()->d->rawMax, bottomMax);
    QCOMPARE(axes.left()->d->rawMax, leftMax);
    for (Axis *axis : {axes.left(), axes.bottom()}) {
        QVERIFY(axis->d->tickCount >= 7);
        QVERIFY(axis->d->tickStep > 0);
    }
}

void TestAxes::adjust()
{
    Axes axes;
    axes.setSize(QSizeF(600, 400));
    axes.left()->update(-1);
    axes.left()->update(100);
    axes.bottom()->update(-1);
    axes.bottom()->update(1);
    axes.adjust();
    QCOMPARE(axes.left()->d->tickStep, 10.0);
    QCOMPARE(axes.bottom()->d->tickStep, 0.2);
}

void TestAxes::shift()
{
    Axes axes;
    axes.left()->setRange(0, 10);
    axes.bottom()->setRange(0, 100);
    axes.setSize(QSizeF(500, 300));
    const double dx = axes.bottom()->pixelDeltaToPoint(30);
    const double dy = axes.left()->pixelDeltaToPoint(-12);

    axes.shift(QPoint(30, -12));
    QCOMPARE(axes.bottom()->d->rawMin, dx);
    QCOMPARE(axes.bottom()->d->rawMax, 100 + dx);
    QCOMPARE(axes.left()->d->rawMin, dy);
    QCOMPARE(axes.left()->d->rawMax, 10 + dy);
    // The transform follows, so data moves across the plot by the shift.
    QCOMPARE(axes.bottom()->pointToPixel(dx), 20.0);
}

TAVRIN_TEST(TestAxes)
#include "tst_axes.moc"
