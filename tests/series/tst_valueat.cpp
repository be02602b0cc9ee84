// Reading a series' value under a cursor.

#include "testmain.h"
#include "fixtures.h"

using namespace tavrintest;

class TestValueAt : public QObject
{
    Q_OBJECT
private slots:
    void lookup_data();
    void lookup();
};

void TestValueAt::lookup_data()
{
    // index of makeSeries(); -1 - a step mode for a line series, -9 for one
    // stacked on a base that steps up from 1000 to 2000 at x = 15
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<QPointF>>("points");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("want"); // NaN: no value
    const QList<QPointF> ramp{{0, 0}, {10, 100}, {20, 0}, {30, 50}};
    QTest::newRow("between points") << -1 << ramp << 5.0 << 50.0;
    QTest::newRow("three quarters") << -1 << ramp << 27.5 << 37.5;
    QTest::newRow("at a point") << -1 << ramp << 10.0 << 100.0;
    QTest::newRow("at the first point") << -1 << ramp << 0.0 << 0.0;
    QTest::newRow("at the last point") << -1 << ramp << 30.0 << 50.0;
    QTest::newRow("before the data") << -1 << ramp << -0.001 << NaN;
    QTest::newRow("after the data") << -1 << ramp << 30.001 << NaN;
    QTest::newRow("at NaN") << -1 << ramp << NaN << NaN;
    QTest::newRow("empty") << -1 << QList<QPointF>() << 1.0 << NaN;
    QTest::newRow("one point, at it") << -1 << QList<QPointF>{{3, 7}} << 3.0 << 7.0;
    QTest::newRow("one point, beside it") << -1 << QList<QPointF>{{3, 7}} << 3.5 << NaN;
    const QList<QPointF> gap{{0, 0}, {1, 10}, {2, NaN}, {3, 30}, {4, 40}};
    QTest::newRow("across a gap") << -1 << gap << 2.5 << NaN;
    QTest::newRow("into a gap") << -1 << gap << 1.5 << NaN;
    QTest::newRow("beside a gap") << -1 << gap << 3.5 << 35.0;
    QTest::newRow("at a point next to a gap") << -1 << gap << 1.0 << 10.0;
    // Where x repeats the later point counts: the step's top.
    const QList<QPointF> step{{0, 0}, {1, 0}, {1, 5}, {2, 5}};
    QTest::newRow("at a step") << -1 << step << 1.0 << 5.0;
    QTest::newRow("after a step") << -1 << step << 1.5 << 5.0;
    // Unsorted: a segment that spans x, and nothing outside the first and
    // the last point's x.
    const QList<QPointF> back{{0, 0}, {10, 10}, {5, 20}, {20, 30}};
    QTest::newRow("unsorted, spanned once") << -1 << back << 12.5 << 25.0;
    QTest::newRow("unsorted, beyond the last point") << -1 << QList<QPointF>{{0, 0}, {10, 10}, {5, 20}} << 7.0 << NaN;
    QTest::newRow("step left, held") << -1 - LineSeries::StepLeft << ramp << 9.9 << 0.0;
    QTest::newRow("step left, at a point") << -1 - LineSeries::StepLeft << ramp << 10.0 << 100.0;
    QTest::newRow("step right, ahead") << -1 - LineSeries::StepRight << ramp << 0.1 << 100.0;
    QTest::newRow("step right, at a point") << -1 - LineSeries::StepRight << ramp << 10.0 << 100.0;
    QTest::newRow("step centre, before half") << -1 - LineSeries::StepCenter << ramp << 4.9 << 0.0;
    QTest::newRow("step centre, at half") << -1 - LineSeries::StepCenter << ramp << 5.0 << 100.0;
    QTest::newRow("step, after the data") << -1 - LineSeries::StepLeft << ramp << 31.0 << NaN;
    QTest::newRow("stacked, between") << -9 << ramp << 5.0 << 1050.0;
    // Stacked values are taken at this series' x: the line cuts the corner.
    QTest::newRow("stacked, across the base's step") << -9 << ramp << 12.5 << 1325.0;
    QTest::newRow("stacked, past the base") << -9 << ramp << 30.0 << 50.0;
    QTest::newRow("point series") << int(kPoint) << ramp << 15.0 << 50.0;
    QTest::newRow("bars have none") << int(kBar) << ramp << 10.0 << NaN;
}

void TestValueAt::lookup()
{
    QFETCH(int, kind);
    QFETCH(QList<QPointF>, points);
    QFETCH(double, x);
    QFETCH(double, want);
    std::unique_ptr<ChartSeries> s(kind < 0 ? new LineSeries : makeSeries(kind));
    LineSeries base;
    base.setStepMode(LineSeries::StepLeft);
    for (const QPointF &p : {QPointF(0, 1000), QPointF(15, 2000), QPointF(25, 2000)})
        base.addPoint(p);
    if (kind == -9)
        static_cast<LineSeries *>(s.get())->setStackedOn(&base);
    else if (kind < 0)
        static_cast<LineSeries *>(s.get())->setStepMode(LineSeries::StepMode(-1 - kind));
    for (const QPointF &p : points)
        s->addXY(p.x(), p.y());
    const double got = s->valueAt(x);
    if (std::isnan(want))
        QVERIFY2(std::isnan(got), qPrintable(QString::number(got)));
    else
        QCOMPARE(got, want);
}

TAVRIN_TEST(TestValueAt)
#include "tst_valueat.moc"
