#include "testmain.h"

#include <barseries.h>
#include <boxandwhiskersseries.h>
#include <chartwidget.h>
#include <ganttseries.h>
#include <highlowseries.h>
#include <lineseries.h>
#include <minmaxpointseries.h>
#include <pointseries.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <cmath>
#include <functional>
#include <limits>

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

using Factory = std::function<ChartSeries *()>;

QMap<QString, Factory> kinds()
{
    return {
        {"line", [] { return new LineSeries; }},
        {"point", [] { return new PointSeries; }},
        {"minmax", [] { return new MinMaxPointSeries; }},
        {"bar", [] { return new BarSeries; }},
        {"box", [] { return new BoxAndWhiskersSeries; }},
        {"highlow", [] { return new HighLowSeries; }},
        {"gantt", [] { return new GanttSeries; }},
    };
}

QList<QList<QVariant>> rowsOf(ChartSeries *s)
{
    QList<QList<QVariant>> rows;
    for (int i = 0; i < s->pointsCount(); ++i)
        rows << s->point(i);
    return rows;
}

struct Bounds {
    double v[4];
    explicit Bounds(const ChartSeries *s) : v{s->minX(), s->minY(), s->maxX(), s->maxY()} {}
    bool operator==(const Bounds &o) const
    {
        for (int i = 0; i < 4; ++i)
            if (!(v[i] == o.v[i] || (std::isnan(v[i]) && std::isnan(o.v[i]))))
                return false;
        return true;
    }
};

// A line series that counts its renders.
class CountingLine : public LineSeries
{
public:
    int draws = 0;
    void draw(QPainter *painter) override
    {
        ++draws;
        LineSeries::draw(painter);
    }
};

void showChart(ChartWidget &w)
{
    w.resize(500, 300);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QApplication::processEvents();
}

} // namespace

class TestBulk : public QObject
{
    Q_OBJECT
private slots:
    void sameAsPerPoint_data();
    void sameAsPerPoint();
    void oneSignalPerBlock();
    void kindTuples();
    void renders_data();
    void renders();
    void queuedFromWorker();
};

void TestBulk::sameAsPerPoint_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QVector<QPointF>>("points");
    const QVector<QPointF> plain{{1, 5}, {2, -3}, {0.5, 7}, {4, 4}};
    const QVector<QPointF> holes{{1, NaN}, {NaN, 2}, {3, 9}, {-2, 1}};
    const QVector<QPointF> allNaN{{NaN, 1}, {2, NaN}};
    const auto all = kinds();
    for (auto it = all.cbegin(); it != all.cend(); ++it) {
        QTest::addRow("%s, plain", qPrintable(it.key())) << it.key() << plain;
        QTest::addRow("%s, NaN holes", qPrintable(it.key())) << it.key() << holes;
        QTest::addRow("%s, only NaN", qPrintable(it.key())) << it.key() << allNaN;
    }
}

// A block stores the rows and reaches the bounds that the same points
// added one by one do, in both call forms.
void TestBulk::sameAsPerPoint()
{
    QFETCH(QString, kind);
    QFETCH(QVector<QPointF>, points);
    const Factory make = kinds().value(kind);
    QScopedPointer<ChartSeries> single(make()), pairs(make()), arrays(make());
    QVector<double> xs, ys;
    for (const QPointF &p : points) {
        single->addXY(p.x(), p.y());
        xs << p.x();
        ys << p.y();
    }
    pairs->addPoints(points);
    arrays->addPoints(xs, ys + QVector<double>{99}); // the longer array's extra value is ignored
    QCOMPARE(rowsOf(pairs.data()).size(), points.size());
    for (ChartSeries *s : {pairs.data(), arrays.data()}) {
        QCOMPARE(s->pointsCount(), single->pointsCount());
        for (int i = 0; i < s->pointsCount(); ++i)
            for (int k = 0; k < s->point(i).size(); ++k) {
                const double a = s->point(i).at(k).toDouble(), b = single->point(i).at(k).toDouble();
                QVERIFY2(a == b || (std::isnan(a) && std::isnan(b)), qPrintable(QString("row %1").arg(i)));
            }
        QVERIFY(Bounds(s) == Bounds(single.data()));
    }
}

void TestBulk::oneSignalPerBlock()
{
    LineSeries s;
    s.addXY(0, 0);
    QSignalSpy added(&s, &ChartSeries::pointsAdded);
    QSignalSpy single(&s, &ChartSeries::pointAdded);
    s.addPoints(QVector<QPointF>{{1, 1}, {2, 2}, {3, 3}});
    s.addPoints(QVector<double>{4, 5}, QVector<double>{4});
    s.addPoints(QVector<QPointF>());
    QCOMPARE(single.count(), 0);
    QCOMPARE(added.count(), 2);
    QCOMPARE(added.at(0), (QList<QVariant>{1, 3}));
    QCOMPARE(added.at(1), (QList<QVariant>{4, 1}));
    QCOMPARE(s.pointsCount(), 5);
}

// The kinds' own tuples go in as blocks too, with the bounds and rows the
// per-item calls give.
void TestBulk::kindTuples()
{
    BoxAndWhiskersSeries box, boxOne;
    const QVector<BoxAndWhiskersSeries::Candle> candles{{1, 5, 2, 9, 4, 6}, {3, 4, -1, 7, 3, 5}};
    QSignalSpy boxSpy(&box, &ChartSeries::pointsAdded);
    box.addCandles(candles);
    for (const auto &c : candles)
        boxOne.addCandle(c.x, c.median, c.yMin, c.yMax, c.q1, c.q3);
    QCOMPARE(boxSpy.count(), 1);
    QCOMPARE(rowsOf(&box), rowsOf(&boxOne));
    QVERIFY(Bounds(&box) == Bounds(&boxOne));

    HighLowSeries band, bandOne;
    const QVector<HighLowSeries::HighLowPoint> pts{{1, 2, 8}, {2, 9, -4}};
    band.addPoints(pts);
    for (const auto &p : pts)
        bandOne.addPoint(p);
    QCOMPARE(rowsOf(&band), rowsOf(&bandOne));
    QVERIFY(Bounds(&band) == Bounds(&bandOne));

    GanttSeries gantt, ganttOne;
    QSignalSpy ganttSpy(&gantt, &ChartSeries::pointsAdded);
    const QVector<GanttBar> bars{{0, 10, 1, Qt::red, "a"}, {5, 15, 2, QColor(), QString()}};
    gantt.addBars(bars);
    for (const auto &b : bars)
        ganttOne.addBar(b.x1, b.x2, b.y, b.color, b.label);
    QCOMPARE(ganttSpy.count(), 1);
    QCOMPARE(rowsOf(&gantt), rowsOf(&ganttOne));
    QVERIFY(Bounds(&gantt) == Bounds(&ganttOne));
}

void TestBulk::renders_data()
{
    QTest::addColumn<QVector<QPointF>>("block");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<int>("draws");
    QTest::newRow("widens") << QVector<QPointF>{{20, 1}, {30, -50}, {40, 60}} << false << 1;
    QTest::newRow("inside") << QVector<QPointF>{{2, 1}, {3, 2}} << false << 0;
    // Only along x, so the plot keeps its size and nothing else renders.
    QTest::newRow("widens, locked") << QVector<QPointF>{{20, 1}, {30, 5}} << true << 0;
}

// However many points a block holds, the chart renders at most once for it.
void TestBulk::renders()
{
    QFETCH(QVector<QPointF>, block);
    QFETCH(bool, locked);
    QFETCH(int, draws);
    ChartWidget w;
    auto *s = new CountingLine;
    s->addXY(0, 0);
    s->addXY(10, 10);
    w.addSeries(s);
    showChart(w);
    w.setDrawingLock(locked);
    const int before = s->draws;
    s->addPoints(block);
    QCOMPARE(s->draws - before, draws);
    QCOMPARE(s->pointsCount(), 2 + block.size());
}

// A worker hands blocks over by value; they arrive in the chart's thread.
void TestBulk::queuedFromWorker()
{
    LineSeries line;
    BoxAndWhiskersSeries box;
    HighLowSeries band;
    QThread worker;
    worker.start();
    QObject producer;
    producer.moveToThread(&worker);
    QMetaObject::invokeMethod(&producer, [&] {
        QMetaObject::invokeMethod(&line, "addPoints", Qt::QueuedConnection,
                                  Q_ARG(QVector<double>, QVector<double>({1, 2, 3})),
                                  Q_ARG(QVector<double>, QVector<double>({4, 5, 6})));
        QMetaObject::invokeMethod(&line, "addPoints", Qt::QueuedConnection,
                                  Q_ARG(QVector<QPointF>, (QVector<QPointF>{{7, 8}})));
        QMetaObject::invokeMethod(&box, "addCandles", Qt::QueuedConnection,
                                  Q_ARG(QVector<BoxAndWhiskersSeries::Candle>,
                                        (QVector<BoxAndWhiskersSeries::Candle>{{1, 2, 0, 4, 1, 3}})));
        QMetaObject::invokeMethod(&band, "addPoints", Qt::QueuedConnection,
                                  Q_ARG(QVector<HighLowSeries::HighLowPoint>,
                                        (QVector<HighLowSeries::HighLowPoint>{{1, 2, 3}})));
    }, Qt::BlockingQueuedConnection);
    worker.quit();
    worker.wait();
    QTRY_COMPARE(line.pointsCount(), 4);
    QCOMPARE(line.points().last(), QPointF(7, 8));
    QTRY_COMPARE(box.pointsCount(), 1);
    QTRY_COMPARE(band.pointsCount(), 1);
    QCOMPARE(line.maxY(), 8.0);
}

TAVRIN_TEST(TestBulk)
#include "tst_bulk.moc"
