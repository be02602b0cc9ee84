#include "testmain.h"
#include "fixtures.h"

#include <lineseries_p.h>
#include <pointseries_p.h>

#include <QElapsedTimer>
#include <QPointer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QThread>
#include <functional>
#include <sys/mman.h>

using namespace tavrintest;

namespace {

// Rows and bounds as text, so NaN compares equal to NaN (and a bound's
// zero shows its sign, which the axes pass on to their labels).
QString dump(ChartSeries *s)
{
    QStringList out;
    for (int i = 0; i < s->pointsCount(); ++i)
        for (const QVariant &v : s->point(i))
            out << v.toString();
    for (double v : {s->minX(), s->minY(), s->maxX(), s->maxY()})
        out << (v == 0 && std::signbit(v) ? QStringLiteral("-0") : QString::number(v, 'g', 17));
    return out.join(',');
}

QString boundsOf(ChartSeries *s) { return dump(s).section(',', -4); }

QString boundsOf(const QVector<QPointF> &pts)
{
    LineSeries ref;
    for (const QPointF &p : pts)
        ref.addXY(p.x(), p.y());
    return boundsOf(&ref);
}

// Ascending x with a wandering y: the extremes lie anywhere in the list.
QVector<QPointF> walk(int n, quint32 seed)
{
    QRandomGenerator rng(seed);
    QVector<QPointF> pts;
    double y = 0;
    for (int i = 0; i < n; ++i)
        pts << QPointF(i * 0.001, y += rng.bounded(2.0) - 1.0);
    return pts;
}

// Each date-time entry point, reduced to the x it stores.
const QMap<QString, std::function<double(const QDateTime &)>> entries{
    {"addXY", [](const QDateTime &t) { LineSeries s; s.addXY(t, 1.0); return s.points().at(0).x(); }},
    {"candle", [](const QDateTime &t) { BoxAndWhiskersSeries s; s.addCandle(t, 2, 1, 3, 1.5, 2.5);
         return s.point(0).at(0).toDouble(); }},
    {"band", [](const QDateTime &t) { HighLowSeries s; s.addPoint(t, 1, 2); return s.point(0).at(0).toDouble(); }},
    {"gantt bar", [](const QDateTime &t) { GanttSeries s; s.addBar(t, t.addSecs(60), 1, QColor(), QString());
         return s.point(0).at(0).toDouble(); }},
    {"gantt addXY", [](const QDateTime &t) { GanttSeries s; s.addXY(t, 1); return s.point(0).at(1).toDouble(); }},
    {"marker line", [](const QDateTime &t) { return VLine(t, Qt::red, 1).x(); }},
};

} // namespace

class TestBulk : public QObject
{
    Q_OBJECT
private slots:
    void sameAsPerPoint_data();
    void sameAsPerPoint();
    void renders_data();
    void renders();
    void removedInOwnCall_data();
    void removedInOwnCall();
    void kindBlocks();
    void refusedBlocks_data();
    void refusedBlocks();
    void window_data();
    void window();
    void limitSignals_data();
    void limitSignals();
    void streamingDetails();
    void modelCheck_data();
    void modelCheck();
    void summaries_data();
    void summaries();
    void farEndsAreCut_data();
    void farEndsAreCut();
    void dateTimes_data();
    void dateTimes();
    void stampedMarkers_data();
    void stampedMarkers();
};

void TestBulk::sameAsPerPoint_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVector<QPointF>>("points");
    // Long enough for the copy that works four points at a time and its
    // tail: bounds on zeros whose sign changes along the block (the first
    // one met counts), on infinities, and beside points with a NaN.
    QVector<QPointF> zeros[2], holes = walk(41, 3), infinite = walk(23, 4);
    for (int flip = 0; flip < 2; ++flip)
        for (int i = 0; i < 39; ++i) {
            const double zx = ((i / 5) + flip) % 2 ? 0.0 : -0.0, zy = ((i / 7) + flip) % 2 ? -0.0 : 0.0;
            zeros[flip] << QPointF(i % 5 ? i : zx, i % 7 == 3 ? zy : -i - 1);
        }
    holes[6] = {NaN, 1e9};
    holes[13] = {-1e9, NaN};
    holes[40] = {NaN, NaN};
    infinite[2] = {qInf(), 0};
    infinite[17] = {-qInf(), -qInf()};
    for (int k = 0; k < kKinds; ++k) {
        QTest::addRow("%s, plain", kindName(k)) << k << QVector<QPointF>{{1, 5}, {2, -3}, {0.5, 7}, {4, 4}};
        QTest::addRow("%s, NaN holes", kindName(k)) << k << QVector<QPointF>{{1, NaN}, {NaN, 2}, {3, 9}, {-2, 1}};
        QTest::addRow("%s, only NaN", kindName(k)) << k << QVector<QPointF>{{NaN, 1}, {2, NaN}};
        QTest::addRow("%s, signed zeros", kindName(k)) << k << zeros[0];
        QTest::addRow("%s, signed zeros flipped", kindName(k)) << k << zeros[1];
        QTest::addRow("%s, long with holes", kindName(k)) << k << holes;
        QTest::addRow("%s, infinities", kindName(k)) << k << infinite;
        // Big enough to bypass the cache on the way in.
        if (k == kLine || k == kPoint || k == kBar)
            QTest::addRow("%s, large", kindName(k)) << k << walk(20003, 6);
    }
}

// Blocks store the rows and reach the bounds of the same points added one by
// one, in both call forms, with one pointsAdded per block and no pointAdded.
void TestBulk::sameAsPerPoint()
{
    QFETCH(int, kind);
    QFETCH(QVector<QPointF>, points);
    QScopedPointer<ChartSeries> single(makeSeries(kind)), pairs(makeSeries(kind)), arrays(makeSeries(kind));
    QVector<double> xs, ys{99}; // the longer array's extra value is ignored
    for (const QPointF &p : points) {
        single->addXY(p.x(), p.y());
        xs << p.x();
        ys.insert(ys.size() - 1, p.y());
    }
    QSignalSpy added(pairs.data(), &ChartSeries::pointsAdded), one(pairs.data(), &ChartSeries::pointAdded);
    pairs->addPoints(points.mid(0, 1));
    pairs->addPoints(points.mid(1));
    pairs->addPoints(QVector<QPointF>());
    arrays->addPoints(xs, ys);
    QCOMPARE(one.count(), 0);
    QCOMPARE(added.count(), 2);
    QCOMPARE(added.at(1), (QList<QVariant>{1, points.size() - 1}));
    QCOMPARE(dump(pairs.data()), dump(single.data()));
    QCOMPARE(dump(arrays.data()), dump(single.data()));
    // On axes, bars reach half their width beyond their x either way.
    Frame frame(-50, 50, -50, 50);
    QScopedPointer<ChartSeries> onAxes(makeSeries(kind)), blockOnAxes(makeSeries(kind));
    onAxes->setAxis(&frame.x, &frame.y);
    blockOnAxes->setAxis(&frame.x, &frame.y);
    for (const QPointF &p : points)
        onAxes->addXY(p.x(), p.y());
    blockOnAxes->addPoints(points);
    QCOMPARE(dump(blockOnAxes.data()), dump(onAxes.data()));
}

void TestBulk::renders_data()
{
    QTest::addColumn<QVector<QPointF>>("block");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("draws");
    QTest::newRow("widens") << QVector<QPointF>{{20, 1}, {30, -50}, {40, 60}} << false << 0 << 1;
    QTest::newRow("inside") << QVector<QPointF>{{2, 1}, {3, 2}} << false << 0 << 0;
    // Only along x, so the plot keeps its size and nothing else renders.
    QTest::newRow("widens, locked") << QVector<QPointF>{{20, 1}, {30, 5}} << true << 0 << 0;
    // Wider labels shrink the plot: its new image stays empty until the
    // lock's release renders.
    QTest::newRow("shrinks the plot, locked") << QVector<QPointF>{{20, -123456}} << true << 0 << 0;
    QTest::newRow("strip chart") << QVector<QPointF>{{100, 1}, {101, 2}, {110, 5}} << false << 2 << 1;
}

// However many points a block holds, the chart renders at most once for it;
// a window of kept points narrows the axes too.
void TestBulk::renders()
{
    QFETCH(QVector<QPointF>, block);
    QFETCH(bool, locked);
    QFETCH(int, limit);
    QFETCH(int, draws);
    ChartWidget w;
    auto *s = new CountingSeries;
    s->setMaximumPoints(limit);
    s->addPoints(QVector<QPointF>{{0, 0}, {10, 10}});
    w.addSeries(s);
    showChart(w, 500, 300);
    w.setDrawingLock(locked);
    const int before = s->draws;
    const QSize plotBefore = w.d->plotRect.size();
    s->addPoints(block);
    QApplication::processEvents();
    QCOMPARE(s->draws - before, draws);
    QCOMPARE(s->pointsCount(), limit ? limit : 2 + block.size());
    QCOMPARE(w.axes()->bottom()->min() > 50, limit > 0);
    if (locked) {
        const bool resized = w.d->plotRect.size() != plotBefore;
        QCOMPARE(resized, QByteArray(QTest::currentDataTag()).startsWith("shrinks"));
        QCOMPARE(inked(plotImage(w)).isEmpty(), resized);
        w.setDrawingLock(false);
        QCOMPARE(s->draws - before, draws + 1);
        QVERIFY(!inked(plotImage(w)).isEmpty());
    }
}

void TestBulk::removedInOwnCall_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("call");
    QTest::newRow("line, a limit drops in addXY") << int(kLine) << 0;
    QTest::newRow("point, a limit drops in a block") << int(kPoint) << 1;
    QTest::newRow("line, removeBefore") << int(kLine) << 2;
    QTest::newRow("point, lowering the limit") << int(kPoint) << 3;
    QTest::newRow("bar, clear") << int(kBar) << 4;
    QTest::newRow("box, addXY") << int(kBox) << 0;
    QTest::newRow("gantt, a block") << int(kGantt) << 1;
    QTest::newRow("point, recoloured") << int(kPoint) << 5;
    QTest::newRow("highlow, hidden") << int(kHighLow) << 6;
}

// A host removing a series in a receiver of one of its signals has it
// deleted when the call that emitted the signal has returned, not under it.
void TestBulk::removedInOwnCall()
{
    QFETCH(int, kind);
    QFETCH(int, call);
    ChartWidget w;
    ChartSeries *s = makeSeries(kind);
    s->setProperty("maximumPoints", 2);
    s->addPoints(QVector<QPointF>{{0, 0}, {1, 1}});
    const int id = w.addSeries(s);
    QPointer<ChartSeries> alive(s);
    int removals = 0;
    auto remove = [&] {
        if (!removals++)
            w.removeSeries(id);
    };
    connect(s, &ChartSeries::pointAdded, &w, remove);
    connect(s, &ChartSeries::pointsAdded, &w, remove);
    connect(s, &ChartSeries::pointsRemoved, &w, remove);
    connect(s, &ChartSeries::cleared, &w, remove);
    connect(s, &ChartSeries::refresh, &w, remove);
    connect(s, &ChartSeries::visible, &w, remove);
    switch (call) {
    case 0: s->addXY(5, 5); break;
    case 1: s->addPoints(QVector<QPointF>{{5, 5}, {6, 6}, {7, 7}}); break;
    case 2: QMetaObject::invokeMethod(s, "removeBefore", Q_ARG(double, 0.5)); break;
    case 3: s->setProperty("maximumPoints", 1); break;
    case 4: s->clear(); break;
    case 5: s->setColor(Qt::green); break;
    default: s->setVisible(false); break;
    }
    QCOMPARE(removals, 1);
    QVERIFY(alive && !w.series(id));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!alive);
}

// The kinds' own tuples go in as blocks too, handed over by value from a
// worker; they arrive in the chart's thread as the per-item calls would.
void TestBulk::kindBlocks()
{
    LineSeries line;
    BoxAndWhiskersSeries box, boxOne;
    HighLowSeries band, bandOne;
    GanttSeries gantt, ganttOne;
    const QVector<BoxAndWhiskersSeries::Candle> candles{{1, 5, 2, 9, 4, 6}, {3, 4, -1, 7, 3, 5}};
    const QVector<HighLowSeries::HighLowPoint> pts{{1, 2, 8}, {2, 9, -4}};
    const QVector<GanttBar> bars{{0, 10, 1, Qt::red, "a"}, {5, 15, 2, QColor(), QString()}};
    for (const auto &c : candles)
        boxOne.addCandle(c.x, c.median, c.yMin, c.yMax, c.q1, c.q3);
    for (const auto &p : pts)
        bandOne.addPoint(p);
    for (const auto &b : bars)
        ganttOne.addBar(b.x1, b.x2, b.y, b.color, b.label);
    QSignalSpy s1(&box, &ChartSeries::pointsAdded), s2(&band, &ChartSeries::pointsAdded),
        s3(&gantt, &ChartSeries::pointsAdded);
    QScopedPointer<QThread> worker(QThread::create([&] {
        QMetaObject::invokeMethod(&line, "addPoints", Qt::QueuedConnection,
                                  Q_ARG(QVector<double>, (QVector<double>{1, 2, 3})),
                                  Q_ARG(QVector<double>, (QVector<double>{4, 5, 6})));
        QMetaObject::invokeMethod(&box, "addCandles", Qt::QueuedConnection,
                                  Q_ARG(QVector<BoxAndWhiskersSeries::Candle>, candles));
        QMetaObject::invokeMethod(&band, "addPoints", Qt::QueuedConnection,
                                  Q_ARG(QVector<HighLowSeries::HighLowPoint>, pts));
        QMetaObject::invokeMethod(&gantt, [&gantt, bars] { gantt.addBars(bars); }, Qt::QueuedConnection);
    }));
    worker->start();
    worker->wait();
    QTRY_COMPARE(line.pointsCount() + box.pointsCount() + band.pointsCount() + gantt.pointsCount(), 9);
    QCOMPARE((QVector<qsizetype>{s1.count(), s2.count(), s3.count()}), (QVector<qsizetype>{1, 1, 1}));
    QCOMPARE(dump(&box) + dump(&band) + dump(&gantt), dump(&boxOne) + dump(&bandOne) + dump(&ganttOne));
}

void TestBulk::refusedBlocks_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("held");
    QTest::addColumn<int>("count");
    const int max = std::numeric_limits<int>::max();
    for (int k = 0; k < kKinds; ++k)
        QTest::addRow("%s, empty", kindName(k)) << k << 0 << max;
    for (int k : {kLine, kPoint, kBar}) {
        QTest::addRow("%s, past the int range", kindName(k)) << k << 1 << max;
        QTest::addRow("%s, past 2 GiB", kindName(k)) << k << 1 << max / 16;
    }
}

// A block that cannot fit is refused before anything is allocated: the
// series stays as it was and says nothing but a warning. The arrays are
// that long, and are never read.
void TestBulk::refusedBlocks()
{
    QFETCH(int, kind);
    QFETCH(int, held);
    QFETCH(int, count);
    const size_t bytes = size_t(count) * sizeof(double);
    void *zeros = mmap(nullptr, bytes, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    QVERIFY(zeros != MAP_FAILED);
    const auto *z = static_cast<const double *>(zeros);
    QScopedPointer<ChartSeries> s(makeSeries(kind));
    if (held)
        s->addXY(1, 1);
    const QString before = dump(s.data());
    QSignalSpy added(s.data(), &ChartSeries::pointsAdded), removed(s.data(), &ChartSeries::pointsRemoved);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("does not fit")));
    s->addPoints(z, z, count);
    munmap(zeros, bytes);
    QCOMPARE(dump(s.data()), before);
    QCOMPARE(added.count() + removed.count(), 0);
}

void TestBulk::window_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("limit"); // 0: removeBefore(cut) instead
    QTest::addColumn<int>("block"); // 0: one point per call
    QTest::addColumn<double>("cut");
    QTest::addColumn<int>("removed");
    for (int k : {kLine, kPoint, kMinMax, kBar, kBox, kHighLow}) {
        QTest::addRow("%s, per point", kindName(k)) << k << 700 << 0 << 0.0 << 4300;
        QTest::addRow("%s, blocks of 50", kindName(k)) << k << 700 << 50 << 0.0 << 4300;
        QTest::addRow("%s, blocks larger than the limit", kindName(k)) << k << 700 << 900 << 0.0 << 4300;
        QTest::addRow("%s, limit of one", kindName(k)) << k << 1 << 37 << 0.0 << 4999;
        QTest::addRow("%s, nothing older", kindName(k)) << k << 0 << 5000 << -1.0 << 0;
        QTest::addRow("%s, exact x stays", kindName(k)) << k << 0 << 5000 << 0.3 << 300;
        QTest::addRow("%s, between points", kindName(k)) << k << 0 << 5000 << 1.2345 << 1235;
        QTest::addRow("%s, everything", kindName(k)) << k << 0 << 5000 << 1e9 << 5000;
    }
}

// Only the newest points stay, whether a limit or removeBefore() drops the
// oldest, and the bounds are those of what stays.
void TestBulk::window()
{
    QFETCH(int, kind);
    QFETCH(int, limit);
    QFETCH(int, block);
    QFETCH(double, cut);
    QFETCH(int, removed);
    QScopedPointer<ChartSeries> s(makeSeries(kind));
    // Earlier points, dropped on a bound and then cleared, leave no trace.
    QVector<QPointF> old = walk(1500, 3);
    old[0].ry() = 1e9;
    s->setProperty("maximumPoints", 700);
    s->addPoints(old);
    s->clear();
    QSignalSpy spy(s.data(), &ChartSeries::pointsRemoved), added(s.data(), &ChartSeries::pointsAdded),
        one(s.data(), &ChartSeries::pointAdded);
    s->setProperty("maximumPoints", limit);
    const QVector<QPointF> pts = walk(5000, 7);
    for (int i = 0; i < pts.size();) {
        if (block == 0)
            s->addXY(pts.at(i).x(), pts.at(i).y());
        else
            s->addPoints(pts.mid(i, block));
        i = qMin(i + qMax(block, 1), pts.size());
    }
    // Rows per pointAdded() of a single point: none for the kinds that only
    // widen the bounds, one per end for bands and candles.
    const int perSignal = kind == kBox || kind == kHighLow ? 2 : 1;
    const bool silent = block == 0 && (kind == kBar || kind == kMinMax);
    int returned = 0, signalled = 0, rows = silent ? 5000 : one.count() / perSignal;
    if (!limit)
        QMetaObject::invokeMethod(s.data(), "removeBefore", Q_RETURN_ARG(int, returned), Q_ARG(double, cut));
    for (const QList<QVariant> &args : spy)
        signalled += args.at(0).toInt();
    for (const QList<QVariant> &args : added)
        rows += args.at(1).toInt();
    // A host following the signals holds the rows the series holds.
    QCOMPARE(rows - signalled, 5000 - removed);
    QCOMPARE(returned, limit ? 0 : removed);
    QVERIFY(limit || spy.count() == (removed ? 1 : 0));
    QCOMPARE(s->pointsCount(), 5000 - removed);
    QCOMPARE(s->point(0).value(0).toDouble(), pts.value(removed).x());
    // Bars rise from the zero line.
    QVector<QPointF> left = pts.mid(removed);
    if (kind == kBar && !left.isEmpty())
        left << QPointF(left.first().x(), 0);
    QCOMPARE(boundsOf(s.data()), boundsOf(left));
}

void TestBulk::limitSignals_data()
{
    QTest::addColumn<int>("kind");
    for (int k : {kLine, kPoint, kMinMax, kBar, kBox, kHighLow})
        QTest::newRow(kindName(k)) << k;
}

// The limit's signal only on a change, the rows it drops reported before
// it; a dropped point may come again where equal points are refused.
void TestBulk::limitSignals()
{
    QFETCH(int, kind);
    QScopedPointer<ChartSeries> s(makeSeries(kind));
    const QMetaObject *mo = s->metaObject();
    QSignalSpy changed(s.data(), mo->method(mo->indexOfSignal("maximumPointsChanged(int)")));
    QVERIFY(changed.isValid());
    QList<QPair<int, int>> removed; // rows, limit changes seen by then
    connect(s.data(), &ChartSeries::pointsRemoved, this, [&](int n) { removed << qMakePair(n, int(changed.count())); });
    s->addPoints(walk(10, 1));
    s->setProperty("maximumPoints", 10); // nothing to drop
    s->setProperty("maximumPoints", 4);
    s->setProperty("maximumPoints", 4);
    s->setProperty("maximumPoints", -3); // no limit
    QCOMPARE(changed.count(), 3);
    QCOMPARE(s->property("maximumPoints").toInt(), 0);
    QCOMPARE(removed, (QList<QPair<int, int>>{{6, 1}}));
    s->setProperty("maximumPoints", 1);
    for (double x : {100.0, 101.0, 100.0, 100.0})
        s->addXY(x, 1);
    QCOMPARE(s->pointsCount(), 1);
    QCOMPARE(s->point(0).value(0).toDouble(), 100.0);
}

void TestBulk::streamingDetails()
{
    // Labels go with their points; a point equal to a kept one is still
    // refused, a dropped one may come again.
    PointSeries p;
    QSignalSpy limit(&p, &PointSeries::maximumPointsChanged);
    p.setMaximumPoints(3);
    p.setMaximumPoints(3);
    QCOMPARE(limit.count(), 1);
    for (int i = 0; i < 6; ++i)
        p.addXY(i, i, QStringLiteral("p%1").arg(i));
    p.addXY(6, 6);
    p.addXY(7, 7, QStringLiteral("p7"));
    QCOMPARE(p.d->labels, (QMap<int, QString>{{0, "p5"}, {2, "p7"}}));
    p.addXY(6, 6);
    p.addXY(4, 4);
    QCOMPARE(p.d->labels, (QMap<int, QString>{{1, "p7"}}));
    // Dropping a point with a NaN leaves the other points in the index.
    PointSeries q;
    for (const QPointF &pt : {QPointF(NaN, 5), QPointF(3, 5), QPointF(1, 0)})
        q.addXY(pt.x(), pt.y());
    q.setMaximumPoints(2);
    q.setMaximumPoints(0);
    q.addXY(3, 5);
    QCOMPARE(q.pointsCount(), 2);

    // Dropping old points must not trust summaries of points changed
    // through the references the series hands out.
    for (bool byIndex : {false, true}) {
        LineSeries e;
        e.addPoints(walk(3000, 5));
        e.removeBefore(0.1); // summaries now exist
        (byIndex ? e[2000] : e.points()[2000]) = QPointF(2.0, 1e6);
        e.removeBefore(1.0); // takes a bound with it, so the bounds are worked out again
        QCOMPARE(e.maxY(), 1e6);
    }
}

void TestBulk::modelCheck_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("blocks"); // in twenty operations
    for (int k : {kLine, kPoint, kMinMax})
        for (quint32 seed = 1; seed <= 4; ++seed)
            for (int blocks : {5, 1}) // blocks rebuild the duplicate index, a few keep it long
                QTest::addRow("%s, seed %u, %d blocks", kindName(k), seed, blocks) << k << seed << blocks;
}

// Single points, blocks, limits, removeBefore() and clear() at random, with
// NaN, infinities and fuzzily equal values in the mix, keep the rows of a
// plain list (single marker points refused exactly when a scan of the rows
// finds them equal), bounds that
// hold every row and are each the value of a row
// or of a refused point (which widens them all the same), and a host
// following the signals counts the rows the series holds.
void TestBulk::modelCheck()
{
    QFETCH(int, kind);
    QFETCH(quint32, seed);
    QFETCH(int, blocks);
    QScopedPointer<ChartSeries> s(makeSeries(kind));
    QRandomGenerator rng(seed);
    // 1, near and nearer: each equal to the next only; values about the 1e-12
    // zero tolerance.
    const QVector<double> pool{NaN, Inf, -Inf, 0.0, -0.0, 1, 1 + 0.9e-12, 1 + 1.8e-12, 2, 3, -5, 1e300,
                               1e-12, -1e-13, 1.0000001e-12, 3e-12, 5e-324};
    auto value = [&] { return pool.at(rng.bounded(pool.size())); };
    // Odd seeds: mostly climbing x, with steps fuzzily near, which keeps the
    // newest points out of the index.
    double climb = 0;
    auto nextX = [&] {
        switch (seed % 2 ? rng.bounded(10) : 3) {
        case 0: return climb;
        case 1: return climb * (1 + (rng.generateDouble() - 0.5) * 8e-12);
        case 2: return climb - rng.bounded(3);
        case 3: return value();
        default: return climb += rng.bounded(2) ? 0.5 : climb * 5e-12;
        }
    };
    QVector<QPointF> rows, refused;
    int limit = 0, host = 0;
    bool lastRows = true; // each block's rows are the last ones
    connect(s.data(), &ChartSeries::pointsAdded, this, [&](int first, int count) {
        host += count;
        lastRows = lastRows && first + count == s->pointsCount();
    });
    connect(s.data(), &ChartSeries::pointsRemoved, this, [&](int count) { host -= count; });
    connect(s.data(), &ChartSeries::cleared, this, [&] { host = 0; });
    auto keep = [&](const QPointF &p) {
        const bool kept = kind == kLine || std::none_of(rows.cbegin(), rows.cend(), [&](const QPointF &q) { return q == p; });
        (kept ? rows : refused) << p;
        return kept;
    };
    auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
    // Bound b of coordinate c (0: x, 1: y), a lower one when sign is 1.
    auto boundOk = [&](double b, int c, double sign) {
        bool holds = true, reached = false, any = false;
        for (const QVector<QPointF> *list : {&rows, &refused})
            for (const QPointF &p : *list) {
                const double v = c ? p.y() : p.x();
                if (std::isnan(p.x()) || std::isnan(p.y()))
                    continue;
                any = any || list == &rows;
                holds = holds && (list == &refused || sign * (v - b) >= 0 || v == b);
                reached = reached || v == b;
            }
        return std::isnan(b) ? !any : holds && reached;
    };
    for (int op = 0; op < 2000; ++op) {
        int what = rng.bounded(20);
        double a = nextX(), b = value();
        // An earlier row, nudged by about the relative tolerance.
        if (!rows.isEmpty() && rng.bounded(3) == 0) {
            const QPointF q = rows.at(rng.bounded(rows.size()));
            const double k = 1 + (rng.generateDouble() - 0.5) * 4e-12;
            const bool onX = rng.bounded(2);
            a = onX ? q.x() * k : q.x();
            b = onX ? q.y() : q.y() * k;
        }
        QString step;
        if (what < 15 - blocks) {
            step = QStringLiteral("addXY(%1, %2)").arg(a, 0, 'g', 17).arg(b, 0, 'g', 17);
            host += keep(QPointF(a, b));
            s->addXY(a, b);
        } else if (what < 15) {
            QVector<QPointF> block;
            QVector<double> xs, ys;
            for (int i = rng.bounded(limit ? 2 * limit + 2 : 12); i > 0; --i) {
                xs << nextX();
                ys << value();
                block << QPointF(xs.last(), ys.last());
            }
            step = QStringLiteral("block of %1").arg(block.size());
            rows += block;
            if (what % 2)
                s->addPoints(block);
            else
                s->addPoints(xs.constData(), ys.constData(), xs.size());
        } else if (what < 17) {
            limit = rng.bounded(12);
            step = QStringLiteral("limit %1").arg(limit);
            s->setProperty("maximumPoints", limit);
        } else if (what < 19) {
            int k = 0;
            while (k < rows.size() && rows.at(k).x() < a)
                ++k;
            rows.remove(0, k);
            step = QStringLiteral("removeBefore(%1)").arg(a, 0, 'g', 17);
            int returned = -1;
            QMetaObject::invokeMethod(s.data(), "removeBefore", Q_RETURN_ARG(int, returned), Q_ARG(double, a));
            QCOMPARE(returned, k);
        } else {
            // Half the time a receiver of cleared() adds a point at once.
            step = QStringLiteral("clear, then (%1, %2)").arg(a, 0, 'g', 17).arg(b, 0, 'g', 17);
            rows.clear();
            refused.clear();
            QMetaObject::Connection refill;
            if (what % 2)
                refill = connect(s.data(), &ChartSeries::cleared, this, [&] {
                    rows << QPointF(a, b);
                    ++host;
                    s->addXY(a, b);
                });
            s->clear();
            disconnect(refill);
        }
        if (limit && rows.size() > limit)
            rows.remove(0, rows.size() - limit);
        bool ok = s->pointsCount() == rows.size() && host == rows.size() && lastRows;
        for (int i = 0; ok && i < rows.size(); ++i)
            ok = same(s->point(i).at(0).toDouble(), rows.at(i).x()) && same(s->point(i).at(1).toDouble(), rows.at(i).y());
        ok = ok && boundOk(s->minX(), 0, 1) && boundOk(s->minY(), 1, 1) && boundOk(s->maxX(), 0, -1)
            && boundOk(s->maxY(), 1, -1);
        if (!ok)
            QFAIL(qPrintable(QStringLiteral("after %1 (operation %2): %3 rows, %4 held, %5 counted by the signals; %6")
                                 .arg(step).arg(op).arg(s->pointsCount()).arg(rows.size()).arg(host).arg(dump(s.data()))));
    }
}

void TestBulk::summaries_data()
{
    QTest::addColumn<int>("data");
    QTest::addColumn<QRectF>("view");
    QTest::addColumn<int>("limit");
    const QRectF all(0, -120, 200000, 240);
    QTest::newRow("sorted dense") << 0 << all << 0;
    QTest::newRow("NaN holes") << 1 << all << 0;
    QTest::newRow("spikes out of view") << 2 << all << 0;
    QTest::newRow("zoomed") << 0 << QRectF(50000, -60, 3000, 90) << 0;
    QTest::newRow("flat") << 3 << all << 0;
    QTest::newRow("flat, holed steps") << 5 << all << 0;
    QTest::newRow("streaming, oldest dropped") << 0 << QRectF(100000, -120, 100000, 240) << 77777;
    QTest::newRow("unsorted") << 4 << all << 0;
}

// Dense sorted data is drawn a block of points at a time from summaries; the
// picture must be the one every segment gives, also after points were
// changed through the references the series hands out.
void TestBulk::summaries()
{
    QFETCH(int, data);
    QFETCH(QRectF, view);
    QFETCH(int, limit);
    const QSize size(400, 250);
    Frame f(view.left(), view.right(), view.top(), view.bottom(), size.width(), size.height());
    LineSeries s;
    s.setAxis(&f.x, &f.y);
    s.setColor(Qt::blue);
    s.setMaximumPoints(limit);
    QRandomGenerator rng(99 + data);
    QVector<QPointF> block;
    for (int i = 0; i < 200000; ++i) {
        double y = std::sin(i / 9000.0) * 100 + rng.bounded(8.0);
        y = data == 1 && rng.bounded(400) == 0 ? NaN : data == 2 && rng.bounded(3000) == 0 ? 1e4 : y;
        y = data == 3 || data == 5 ? (i + 250) / 5000 % 3 * 30.0 : y;
        y = data == 5 && (i + 250) % 5000 == 0 ? NaN : y; // a hole at each step, mid-column
        block << QPointF(data == 4 ? i + rng.bounded(1500.0) : i, y);
        // Blocks of odd sizes and single points, so blocks of summaries
        // start anywhere in what was added.
        if (block.size() == 1 + i % 997) {
            s.addPoints(block);
            block.clear();
        } else if (i % 1777 == 0) {
            s.addXY(block.last().x(), block.last().y());
            block.removeLast();
        }
    }
    s.addPoints(block);
    const QImage first = render(s, size);
    QVERIFY(!s.d->list && s.d->summaries.isValid()); // drawn from the array, with summaries
    QCOMPARE(first, everySegment(s, Qt::blue, size));
    const int at = qBound(0, int(view.center().x() - s.minX()), s.pointsCount() - 2);
    s[at].setY(view.top() + 1);
    const QImage second = render(s, size);
    QVERIFY(second != first);
    QCOMPARE(second, everySegment(s, Qt::blue, size));
}

void TestBulk::farEndsAreCut_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("aa");
    for (int k : {kBox, kGantt, kBar, kLine})
        for (bool aa : {false, true})
            QTest::addRow("%s%s", kindName(k), aa ? ", antialiased" : "") << k << aa;
}

// Items reaching far beyond the plot are cut to what the painter can show:
// the picture is the one of an item ending just outside, drawn as fast.
// A NaN end draws nothing.
void TestBulk::farEndsAreCut()
{
    QFETCH(int, kind);
    QFETCH(bool, aa);
    Frame f(0, 100, 0, 100, 300, 200);
    QImage img[3];
    const double far[3] = {30, 1e9, NaN};
    QElapsedTimer t;
    for (int i = 0; i < 3; ++i) {
        QScopedPointer<ChartSeries> s(makeSeries(kind));
        if (auto *box = dynamic_cast<BoxAndWhiskersSeries *>(s.data()))
            box->addCandle(50, 50, -far[i], 100 + far[i], -far[i], 100 + far[i]);
        else if (auto *gantt = dynamic_cast<GanttSeries *>(s.data()))
            gantt->addBar(-far[i], 100 + far[i], 50, QColor(Qt::darkGreen), QString());
        else {
            if (kind == kLine) // straight up, then out at the top
                s->addXY(50, 50);
            s->addXY(50, 100 + far[i]);
        }
        s->setAxis(&f.x, &f.y);
        s->setFillColor(QColor(200, 80, 80));
        t.start();
        img[i] = render(*s, QSize(300, 200), aa);
        // Uncut, a box a billion pixels tall is walked scan line by scan line.
        QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
    }
    QCOMPARE(img[1], img[0]);
    QVERIFY(!inked(img[0]).isEmpty() && inked(img[2]).isEmpty());
}

void TestBulk::dateTimes_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QDateTime>("input");
    QTest::addColumn<double>("expected");
    const QDateTime whole(QDate(2021, 3, 4), QTime(5, 6, 7), Qt::UTC);
    const QList<std::tuple<const char *, QDateTime, double>> cases{
        // Whole seconds are what they always were.
        {"whole second", whole, double(whole.toSecsSinceEpoch())},
        {"last unsigned second", QDateTime(QDate(2106, 2, 7), QTime(6, 28, 15), Qt::UTC), 4294967295.0},
        {"milliseconds", whole.addMSecs(250), double(whole.toSecsSinceEpoch()) + 0.25},
        {"one millisecond", QDateTime::fromMSecsSinceEpoch(1, Qt::UTC), 0.001},
        {"before 1970", QDateTime(QDate(1969, 12, 31), QTime(23, 59, 59, 500), Qt::UTC), -0.5},
        {"long before", QDateTime(QDate(1900, 1, 1), QTime(0, 0), Qt::UTC), -2208988800.0},
        {"invalid", QDateTime(), 4294967295.0},
    };
    for (auto it = entries.cbegin(); it != entries.cend(); ++it)
        for (const auto &c : cases)
            QTest::addRow("%s, %s", qPrintable(it.key()), std::get<0>(c)) << it.key() << std::get<1>(c)
                                                                           << std::get<2>(c);
}

// Every date-time entry keeps milliseconds (the axis tests show them as
// labels), and a time of day is today's.
void TestBulk::dateTimes()
{
    QFETCH(QString, entry);
    QFETCH(QDateTime, input);
    QFETCH(double, expected);
    QCOMPARE(entries.value(entry)(input), expected);
    if (entry != QLatin1String("addXY") || !input.isValid())
        return;
    LineSeries s;
    s.addXY(input.toLocalTime().time(), 1.0);
    const QDateTime today(QDate::currentDate(), input.toLocalTime().time());
    QCOMPARE(s.points().at(0).x(), today.toMSecsSinceEpoch() / 1000.0);
}

void TestBulk::stampedMarkers_data()
{
    QTest::addColumn<bool>("aa");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("square");
    QTest::addColumn<QColor>("color");
    int i = 0;
    for (qreal ratio : {1.0, 2.0, 1.5})
        for (bool aa : {false, true})
            for (int alpha : {255, 110}) {
                const int size = QVector<int>{7, 3, 10, 4}.at(i % 4);
                QTest::addRow("%s, %gx, %d px, alpha %d", aa ? "antialiased" : "aliased", ratio, size, alpha)
                    << aa << ratio << size << bool(i++ % 3 == 1) << QColor(20, 90, 200, alpha);
            }
}

// Markers the series blends into the image itself leave exactly the pixels
// QPainter would (a clip sends them through QPainter): overlapping, at
// fractional positions, across all four edges, translucent.
void TestBulk::stampedMarkers()
{
    QFETCH(bool, aa);
    QFETCH(qreal, ratio);
    QFETCH(int, size);
    QFETCH(bool, square);
    QFETCH(QColor, color);
    Frame f;
    QRandomGenerator rng(7);
    QVector<QPointF> pts;
    for (int i = 0; i <= 40; ++i)
        for (int j = 0; j <= 40; ++j)
            pts << QPointF(i * 0.25, j * 0.25) << QPointF(rng.bounded(10.0), rng.bounded(10.0));
    PointSeries s(square ? PointSeries::psSquare : PointSeries::psCircle);
    s.addPoints(pts);
    s.setAxis(&f.x, &f.y);
    s.setSize(size);
    s.setColor(color);
    s.setFillColor(color.lighter());
    QImage img[2];
    for (bool plain : {false, true}) {
        img[plain] = QImage(int(150 * ratio), int(100 * ratio), QImage::Format_ARGB32_Premultiplied);
        img[plain].setDevicePixelRatio(ratio);
        img[plain].fill(Qt::transparent);
        QPainter p(&img[plain]);
        p.setRenderHint(QPainter::Antialiasing, aa);
        p.translate(-20, -20); // the plot's corner (0, 10) at the image's
        if (plain)
            p.setClipRect(QRect(-50, -50, 500, 500));
        s.draw(&p);
        QCOMPARE(s.d->stamp.bound(), !plain);
    }
    QCOMPARE(img[0], img[1]);
}

TAVRIN_TEST(TestBulk)
#include "tst_bulk.moc"
