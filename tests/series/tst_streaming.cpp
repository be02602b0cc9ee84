#include "testmain.h"

#include <axes.h>
#include <axis.h>
#include <chartwidget.h>
#include <lineseries.h>
#include <pointseries.h>
#include <pointseries_p.h>

#include <QApplication>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <functional>

namespace {

// Line and point series share the streaming calls; this reaches both alike.
struct Stream {
    std::function<void(int)> setLimit;
    std::function<int(double)> removeBefore;
    std::function<QPointF(int)> at;
};

Stream streamOf(ChartSeries *s)
{
    if (auto *l = qobject_cast<LineSeries *>(s))
        return {[l](int n) { l->setMaximumPoints(n); }, [l](double x) { return l->removeBefore(x); },
                [l](int i) { return l->points().at(i); }};
    auto *p = qobject_cast<PointSeries *>(s);
    return {[p](int n) { p->setMaximumPoints(n); }, [p](double x) { return p->removeBefore(x); },
            [p](int i) { return p->pt(i); }};
}

ChartSeries *make(bool line)
{
    return line ? static_cast<ChartSeries *>(new LineSeries) : new PointSeries;
}

// Distinct points in ascending x with a wandering y, so the bounds move as
// old points go: the extremes lie anywhere in the list.
QVector<QPointF> walk(int n, quint32 seed)
{
    QRandomGenerator rng(seed);
    QVector<QPointF> pts;
    double y = 0;
    for (int i = 0; i < n; ++i) {
        y += rng.bounded(2.0) - 1.0;
        pts << QPointF(i * 0.001, y);
    }
    return pts;
}

void expectBoundsOf(ChartSeries *s, const QVector<QPointF> &kept)
{
    double x0 = kept.first().x(), x1 = x0, y0 = kept.first().y(), y1 = y0;
    for (const QPointF &p : kept) {
        x0 = qMin(x0, p.x());
        x1 = qMax(x1, p.x());
        y0 = qMin(y0, p.y());
        y1 = qMax(y1, p.y());
    }
    QCOMPARE(s->minX(), x0);
    QCOMPARE(s->maxX(), x1);
    QCOMPARE(s->minY(), y0);
    QCOMPARE(s->maxY(), y1);
}

} // namespace

class TestStreaming : public QObject
{
    Q_OBJECT
private slots:
    void limit_data();
    void limit();
    void removeBefore_data();
    void removeBefore();
    void limitSignals();
    void editedPointsAreSeen();
    void labelsFollowTheirPoints();
    void chartFollows();
};

void TestStreaming::limit_data()
{
    QTest::addColumn<bool>("line");
    QTest::addColumn<int>("block"); // 0: one point per call
    QTest::addColumn<int>("limit");
    for (bool line : {true, false}) {
        const char *k = line ? "line" : "point";
        QTest::addRow("%s, per point", k) << line << 0 << 700;
        QTest::addRow("%s, blocks of 50", k) << line << 50 << 700;
        QTest::addRow("%s, blocks larger than the limit", k) << line << 900 << 700;
        QTest::addRow("%s, limit of one", k) << line << 37 << 1;
    }
}

// Only the newest points stay, and the bounds are those of what stays.
void TestStreaming::limit()
{
    QFETCH(bool, line);
    QFETCH(int, block);
    QFETCH(int, limit);
    QScopedPointer<ChartSeries> s(make(line));
    const Stream st = streamOf(s.data());
    st.setLimit(limit);
    const QVector<QPointF> pts = walk(5000, 7);
    for (int i = 0; i < pts.size();) {
        if (block == 0) {
            s->addXY(pts.at(i).x(), pts.at(i).y());
            ++i;
        } else {
            s->addPoints(pts.mid(i, block));
            i = qMin(i + block, pts.size());
        }
        if (i % 997 < qMax(block, 1)) {
            const int kept = qMin(i, limit);
            QCOMPARE(s->pointsCount(), kept);
            expectBoundsOf(s.data(), pts.mid(i - kept, kept));
        }
    }
    QCOMPARE(s->pointsCount(), limit);
    QCOMPARE(st.at(0), pts.at(pts.size() - limit));
    expectBoundsOf(s.data(), pts.mid(pts.size() - limit));
}

void TestStreaming::removeBefore_data()
{
    QTest::addColumn<bool>("line");
    QTest::addColumn<double>("cut");
    QTest::addColumn<int>("removed");
    for (bool line : {true, false}) {
        const char *k = line ? "line" : "point";
        QTest::addRow("%s, nothing older", k) << line << -1.0 << 0;
        QTest::addRow("%s, exact x stays", k) << line << 0.3 << 300;
        QTest::addRow("%s, between points", k) << line << 1.2345 << 1235;
        QTest::addRow("%s, everything", k) << line << 1e9 << 2000;
    }
}

void TestStreaming::removeBefore()
{
    QFETCH(bool, line);
    QFETCH(double, cut);
    QFETCH(int, removed);
    QScopedPointer<ChartSeries> s(make(line));
    const QVector<QPointF> pts = walk(2000, 11);
    s->addPoints(pts);
    QSignalSpy spy(s.data(), &ChartSeries::pointsRemoved);
    QCOMPARE(streamOf(s.data()).removeBefore(cut), removed);
    QCOMPARE(spy.count(), removed ? 1 : 0);
    QCOMPARE(s->pointsCount(), 2000 - removed);
    if (removed < 2000)
        expectBoundsOf(s.data(), pts.mid(removed));
    else
        QVERIFY(std::isnan(s->minX()) && std::isnan(s->maxY()));
    // A NaN x ends the run of older points.
    LineSeries holed;
    holed.addPoints(QVector<QPointF>{{1, 1}, {qQNaN(), 2}, {0, 3}});
    QCOMPARE(holed.removeBefore(5), 1);
}

void TestStreaming::limitSignals()
{
    LineSeries s;
    QSignalSpy changed(&s, &LineSeries::maximumPointsChanged);
    QSignalSpy removed(&s, &ChartSeries::pointsRemoved);
    QSignalSpy added(&s, &ChartSeries::pointsAdded);
    s.addPoints(walk(10, 1));
    s.setMaximumPoints(4);
    s.setMaximumPoints(4);
    s.setMaximumPoints(-3); // no limit
    QCOMPARE(changed.count(), 2);
    QCOMPARE(s.maximumPoints(), 0);
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.at(0).at(0).toInt(), 6);
    s.setMaximumPoints(5);
    s.addPoints(walk(3, 2));
    // The block's rows are the last three, after two old ones went.
    QCOMPARE(added.last(), (QList<QVariant>{2, 3}));
    QCOMPARE(removed.last().at(0).toInt(), 2);
}

// Points changed through a reference the series handed out are not in any
// summary it kept: dropping old points must look at the points themselves.
void TestStreaming::editedPointsAreSeen()
{
    LineSeries s;
    s.addPoints(walk(3000, 5));
    s.removeBefore(0.1); // summaries now exist
    s.points()[2000] = QPointF(2.0, 1e6);
    s[2500].setY(-1e6);
    // Drop enough to take a bound with it, so the bounds are worked out again.
    s.removeBefore(1.0);
    QCOMPARE(s.maxY(), 1e6);
    QCOMPARE(s.minY(), -1e6);
}

void TestStreaming::labelsFollowTheirPoints()
{
    PointSeries s;
    s.setMaximumPoints(3);
    for (int i = 0; i < 6; ++i)
        s.addXY(i, i, QStringLiteral("p%1").arg(i));
    s.addXY(6, 6);
    s.addXY(7, 7, QStringLiteral("p7"));
    QCOMPARE(s.pointsCount(), 3);
    // (5, 5), (6, 6) unlabelled, (7, 7)
    QCOMPARE(s.pt(0), QPointF(5, 5));
    QCOMPARE(s.d->labels, (QMap<int, QString>{{0, "p5"}, {2, "p7"}}));
    // A point equal to a kept one is still refused; a dropped one may come again.
    s.addXY(6, 6);
    QCOMPARE(s.pt(0), QPointF(5, 5));
    s.addXY(4, 4);
    QCOMPARE(s.pointsCount(), 3);
    QCOMPARE(s.pt(2), QPointF(4, 4));
    QCOMPARE(s.d->labels, (QMap<int, QString>{{1, "p7"}}));
}

// A strip chart: the axes follow the window of kept points.
void TestStreaming::chartFollows()
{
    ChartWidget w;
    auto *s = new LineSeries;
    s->setMaximumPoints(100);
    w.addSeries(s);
    w.resize(400, 300);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    for (int block = 0; block < 20; ++block) {
        QVector<QPointF> pts;
        for (int i = 0; i < 50; ++i)
            pts << QPointF(block * 50 + i, std::sin(i));
        s->addPoints(pts);
    }
    QApplication::processEvents();
    Axis *x = w.axes()->bottom();
    QVERIFY2(x->min() > 850 && x->min() <= 900, qPrintable(QString::number(x->min())));
    QVERIFY(x->max() >= 999);
}

TAVRIN_TEST(TestStreaming)
#include "tst_streaming.moc"
