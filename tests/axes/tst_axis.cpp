#include "testmain.h"

#include <axis.h>
#include <axis_p.h>

#include <QDateTime>
#include <QFontMetrics>
#include <QTest>

#include <cmath>
#include <limits>

static const double NaN = std::numeric_limits<double>::quiet_NaN();

class TestAxis : public QObject
{
    Q_OBJECT
private slots:
    void update_data();
    void update();
    void transform_data();
    void transform();
    void marginConverges();
    void rangeSetters();
    void resetAndLock();
    void ticks_data();
    void ticks();
    void datetimeTicks_data();
    void datetimeTicks();
    void customLabels();
    void datetimeLabels();
};

void TestAxis::update_data()
{
    QTest::addColumn<bool>("ranged"); // starts as 0..10
    QTest::addColumn<bool>("lock");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("result");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");

    QTest::newRow("first 5") << false << false << 5.0 << true << 5 - 1e-9 << 5 + 1e-9;
    QTest::newRow("first 0") << false << false << 0.0 << true << -0.01 << 0.01;
    QTest::newRow("first NaN") << false << false << NaN << false << NaN << NaN;
    QTest::newRow("inside") << true << false << 5.0 << false << 0.0 << 10.0;
    QTest::newRow("NaN") << true << false << NaN << false << 0.0 << 10.0;
    QTest::newRow("below") << true << false << -3.0 << true << -3.0 << 10.0;
    QTest::newRow("above") << true << false << 12.0 << true << 0.0 << 12.0;
    QTest::newRow("locked above") << true << true << 100.0 << true << 0.0 << 10.0;
    QTest::newRow("locked first") << false << true << 5.0 << true << NaN << NaN;
}

void TestAxis::update()
{
    QFETCH(bool, ranged);
    QFETCH(bool, lock);
    QFETCH(double, value);
    QFETCH(bool, result);
    QFETCH(double, min);
    QFETCH(double, max);

    Axis axis(Axis::atBottom);
    axis.d->setLength(500);
    if (ranged)
        axis.setRange(0, 10);
    axis.setScaleLock(lock);
    const double scale = axis.d->scale;
    const double offset = axis.d->offset;

    QCOMPARE(axis.update(value), result);
    QCOMPARE(axis.d->rawMin, min);
    QCOMPARE(axis.d->rawMax, max);
    if (!result) {
        QCOMPARE(axis.d->scale, scale);
        QCOMPARE(axis.d->offset, offset);
    }
}

void TestAxis::transform_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("zeroPixel");
    QTest::newRow("bottom") << int(Axis::atBottom) << 20.0;
    QTest::newRow("left") << int(Axis::atLeft) << 479.0;
}

void TestAxis::transform()
{
    QFETCH(int, type);
    QFETCH(double, zeroPixel);

    Axis axis{Axis::AxisType(type)};
    QCOMPARE(axis.pixelToPoint(100), 0.0);
    QCOMPARE(axis.pixelDeltaToPoint(100), 0.0);
    QCOMPARE(axis.pointDeltaToPixel(1), 0.0);

    axis.reset();
    axis.setRange(0, 10);
    axis.d->setLength(500);
    QCOMPARE(axis.d->length, 499.0);
    QCOMPARE(axis.pointToPixel(0), zeroPixel);
    // The low end of the data sits pad pixels inside the axis' low end.
    QCOMPARE(axis.pointToPixel(axis.min()), type == Axis::atLeft ? 499.0 : 0.0);
    QVERIFY(axis.pointDeltaToPixel(1) > 0);
    QCOMPARE(axis.pixelToPoint(axis.pointToPixel(3.7)), 3.7);
    QCOMPARE(axis.pixelDeltaToPoint(axis.pointDeltaToPixel(2.5)), 2.5);

    // Same extent again: nothing moves.
    const double scale = axis.d->scale;
    axis.d->setLength(500);
    QCOMPARE(axis.d->scale, scale);
}

void TestAxis::marginConverges()
{
    Axis axis(Axis::atBottom);
    axis.setRange(0, 10);
    axis.d->setLength(500);
    QCOMPARE(axis.pointToPixel(10), 519.0);
    for (double expected : {481.97, 479.24, 479.02}) {
        axis.d->updateTransform();
        QVERIFY2(std::fabs(axis.pointToPixel(10) - expected) < 0.01,
                 qPrintable(QString::number(axis.pointToPixel(10))));
    }
}

void TestAxis::rangeSetters()
{
    Axis axis(Axis::atLeft);
    axis.setRange(0, 10);
    QCOMPARE(axis.d->tickStep, 1.0);

    // A pure pan keeps the step; a zoom recomputes it.
    axis.setRange(50, 60);
    QCOMPARE(axis.d->firstTick, 0.0);
    axis.setRange(0, 100);
    QCOMPARE(axis.d->tickStep, 10.0);
    axis.setMax(36);
    QCOMPARE(axis.d->tickStep, 5.0);
    axis.setMin(6);
    QCOMPARE(axis.d->tickStep, 2.0);
    QCOMPARE(axis.d->firstTick, 6.0);

    axis.shift(7);
    QCOMPARE(axis.min(), 13.0);
    QCOMPARE(axis.max(), 43.0);
    QCOMPARE(axis.d->firstTick, 14.0);

    // NaN never becomes part of the range.
    axis.setMin(NaN);
    axis.setMax(NaN);
    axis.setRange(NaN, 3);
    axis.shift(NaN);
    QCOMPARE(axis.min(), 13.0);
    QCOMPARE(axis.max(), 43.0);
}

void TestAxis::resetAndLock()
{
    Axis axis(Axis::atBottom);
    axis.setRange(0, 10);
    axis.d->setLength(500);
    axis.setScaleLock(true);
    axis.setRange(-5, 5);
    axis.shift(3);
    QCOMPARE(axis.d->rawMin, 0.0);
    QCOMPARE(axis.d->rawMax, 10.0);

    axis.reset();
    QVERIFY(axis.isValid());
    QVERIFY(std::isnan(axis.d->scale));
    QCOMPARE(axis.d->margin, 0.0);
    QCOMPARE(axis.d->length, 0.0);
    QCOMPARE(axis.d->tickStep, 0.0);

    axis.setScaleLock(false);
    axis.reset();
    QVERIFY(!axis.isValid());
}

void TestAxis::ticks_data()
{
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("step");
    QTest::addColumn<double>("first");

    QTest::newRow("10") << 0.0 << 10.0 << 1.0 << 0.0;
    QTest::newRow("14.1") << 0.0 << 14.1 << 2.0 << 0.0;
    QTest::newRow("35") << 0.0 << 35.0 << 2.0 << 0.0; // a seventh is exactly 5
    QTest::newRow("36") << 0.0 << 36.0 << 5.0 << 0.0;
    QTest::newRow("100") << 0.0 << 100.0 << 10.0 << 0.0;
    QTest::newRow("offset") << 3.0 << 103.0 << 10.0 << 10.0;
    QTest::newRow("negative") << -0.37 << -0.01 << 0.05 << -0.35;
}

void TestAxis::ticks()
{
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(double, step);
    QFETCH(double, first);

    Axis axis(Axis::atLeft);
    axis.setRange(min, max);
    QCOMPARE(axis.d->tickStep, step);
    QCOMPARE(axis.d->firstTick, first);
    QVERIFY(axis.d->tickCount >= 7);
    const QFontMetrics fm(QFont(QStringLiteral("Arial"), 8));
    QVERIFY(axis.size() >= fm.horizontalAdvance(axis.labelString(first)) + 5);
}

void TestAxis::datetimeTicks_data()
{
    QTest::addColumn<double>("span");
    QTest::addColumn<double>("step");

    QTest::newRow("3 days") << 3 * 86400.0 << 86400.0;
    QTest::newRow("1 hour") << 3600.0 << 600.0;
    QTest::newRow("10 minutes") << 600.0 << 60.0;
    QTest::newRow("30 seconds") << 30.0 << 2.0;
}

void TestAxis::datetimeTicks()
{
    QFETCH(double, span);
    QFETCH(double, step);

    // Mid-afternoon local time, so a day step has to move to a midnight.
    const QDateTime start(QDate(2024, 3, 14), QTime(15, 17, 23));
    const double t0 = double(start.toSecsSinceEpoch());
    Axis axis(Axis::atBottom);
    axis.setDatetime(true);
    axis.setRange(t0, t0 + span);
    QCOMPARE(axis.d->tickStep, step);
    QVERIFY(axis.d->tickCount >= 7);
    const double first = axis.d->firstTick;
    QVERIFY(first >= t0 && first < t0 + step);
    if (step >= 86400)
        QCOMPARE(QDateTime::fromSecsSinceEpoch(qint64(first)).time(), QTime(0, 0));
    else
        QCOMPARE(std::fmod(first, step), 0.0);
}

void TestAxis::customLabels()
{
    Axis axis(Axis::atLeft);
    QCOMPARE(axis.labelString(2.0), QStringLiteral("2"));
    QCOMPARE(axis.labelString(1234567), QStringLiteral("1.23457e+06"));

    axis.setCustomLabel(1.0, QStringLiteral("one"));
    QCOMPARE(axis.labelString(1.0), QStringLiteral("one"));
    QCOMPARE(axis.labelString(2.0), QString());

    // Keys are single precision: 0.1 and its double neighbours are one entry.
    axis.setCustomLabel(0.1, QStringLiteral("a"));
    axis.setCustomLabel(std::nextafter(0.1, 1.0), QStringLiteral("b"));
    axis.setCustomLabel(std::nextafter(0.1, 0.0), QStringLiteral("c"));
    QCOMPARE(axis.d->customLabels.size(), 2);
    QCOMPARE(axis.labelString(0.1), QStringLiteral("c"));

    axis.setCustomLabel(NaN, QStringLiteral("nan"));
    axis.setCustomLabel(1e300, QStringLiteral("huge"));
    QCOMPARE(axis.labelString(1.0), QStringLiteral("one"));
    QCOMPARE(axis.labelString(NaN), QString());

    axis.clearCustomLabels();
    QCOMPARE(axis.labelString(1.0), QStringLiteral("1"));
}

void TestAxis::datetimeLabels()
{
    Axis axis(Axis::atBottom);
    const int lineHeight = QFontMetrics(QFont(QStringLiteral("Arial"), 8)).height();
    axis.d->updateSize();
    QCOMPARE(axis.size(), lineHeight + 5);

    axis.setDatetime(true);
    QCOMPARE(axis.datetimeFormat(), QStringLiteral("dd.MM.yyyy\r\nhh:mm:ss"));
    QCOMPARE(axis.d->labelLines, 2);
    QCOMPARE(axis.size(), 2 * lineHeight + 5);
    const QDateTime dt(QDate(2024, 3, 14), QTime(15, 17, 23));
    QCOMPARE(axis.labelString(double(dt.toSecsSinceEpoch()) + 0.9),
             QStringLiteral("14.03.2024\r\n15:17:23"));
    QCOMPARE(axis.labelString(std::numeric_limits<double>::infinity()), QString());

    // The format outlives the mode but is only reported while it is on.
    axis.setDatetime(false);
    QCOMPARE(axis.datetimeFormat(), QString());
    QCOMPARE(axis.labelString(2.5), QStringLiteral("2.5"));
    axis.setDatetimeFormat(QStringLiteral("hh:mm"));
    axis.setDatetime(true);
    QCOMPARE(axis.datetimeFormat(), QStringLiteral("hh:mm"));
    QCOMPARE(axis.d->labelLines, 1);

    axis.setTitle(QStringLiteral("Time"));
    QCOMPARE(axis.size(), lineHeight + 5 + QFontMetrics(axis.d->titleFont).boundingRect(QStringLiteral("Time")).height() + 2);
}

TAVRIN_TEST(TestAxis)
#include "tst_axis.moc"
