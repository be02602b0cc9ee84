#include "testmain.h"
#include "testutil.h"

#include <axis.h>
#include <axis_p.h>
#include <lineseries.h>
#include <vline.h>

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>
#include <cmath>
#include <limits>

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

// An axis pair over fixed ranges, as a chart would set it up for a plot of
// the given pixel size.
struct Frame {
    Axis x{Axis::atBottom};
    Axis y{Axis::atLeft};
    Frame(double x0, double x1, double y0, double y1, int w = 300, int h = 200)
    {
        x.setRange(x0, x1);
        y.setRange(y0, y1);
        x.d->setLength(w);
        y.d->setLength(h);
        // The margin settles over a few recomputations, as it does in a
        // chart after layout and rescale.
        for (int i = 0; i < 4; ++i) {
            x.d->updateTransform();
            y.d->updateTransform();
        }
    }
};

QImage render(ChartSeries &s, int w = 300, int h = 200, bool aa = false)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, aa);
    s.draw(&p);
    return img;
}

// The plain way: every segment on its own, as the picture must look.
QImage renderEverySegment(LineSeries &s, int w = 300, int h = 200, bool aa = false)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, aa);
    p.setPen(QPen(QBrush(s.color()), 1));
    const QRectF box(s.xAxis()->min(), s.yAxis()->min(), s.xAxis()->span(), s.yAxis()->span());
    const QList<QPointF> &pts = s.points();
    for (int i = 1; i < pts.size(); ++i) {
        const QPointF a = pts.at(i - 1), b = pts.at(i);
        if (std::isnan(a.x()) || std::isnan(a.y()) || std::isnan(b.x()) || std::isnan(b.y()))
            continue;
        QRectF seg(a, QSizeF(b.x() - a.x(), b.y() - a.y()));
        if (seg.width() == 0)
            seg.setWidth(0.01);
        if (seg.height() == 0)
            seg.setHeight(0.01);
        if (!box.intersects(seg))
            continue;
        p.drawLine(int(s.xAxis()->pointToPixel(a.x())), int(s.yAxis()->pointToPixel(a.y())),
                   int(s.xAxis()->pointToPixel(b.x())), int(s.yAxis()->pointToPixel(b.y())));
    }
    return img;
}

int colouredPixels(const QImage &img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)))
                ++n;
    return n;
}

} // namespace

class TestLineSeries : public QObject
{
    Q_OBJECT
private slots:
    void rowContract();
    void addMid();
    void changePointAndIndexing();
    void substract_data();
    void substract();
    void icon();
    void drawing_data();
    void drawing();
    void mergedColumnsMatchEverySegment_data();
    void mergedColumnsMatchEverySegment();
    void hugeValuesDoNotOverflow();
    void vline_data();
    void vline();
};

void TestLineSeries::rowContract()
{
    LineSeries s;
    QCOMPARE(s.type(), ChartSeries::stLine);
    QCOMPARE(s.dataAxisString(), QStringLiteral("X;Y"));
    s.addXY(1.5, 2.5);
    s.addPoint(QPointF(3, NaN));
    QCOMPARE(s.pointsCount(), 2);
    const QList<QVariant> row = s.point(0);
    QCOMPARE(row.size(), 2);
    QCOMPARE(row.at(0).userType(), int(QMetaType::Double));
    QCOMPARE(row.at(0).toDouble(), 1.5);
    QCOMPARE(row.at(1).toDouble(), 2.5);
    QVERIFY(std::isnan(s.point(1).at(1).toDouble()));
    QVERIFY(s.point(-1).isEmpty());
    QVERIFY(s.point(2).isEmpty());
    // A copy is a new, empty series.
    LineSeries copy(s);
    QCOMPARE(copy.pointsCount(), 0);
}

void TestLineSeries::addMid()
{
    LineSeries s;
    s.addXY(5, 2);
    s.addXY(6, 4);
    s.addXY(5, 4);
    s.addMid(5, 10);
    QCOMPARE(s.points(), (QList<QPointF>{{5, 2}, {6, 4}, {5, 7}}));
    QCOMPARE(s.maxY(), 7.0);
    s.addMid(7, 1);
    QCOMPARE(s.points(), (QList<QPointF>{{5, 2}, {6, 4}, {5, 7}}));
    QCOMPARE(s.pointsCount(), 3);
}

void TestLineSeries::changePointAndIndexing()
{
    LineSeries s;
    s.addXY(0, 0);
    s.changePoint(1, QPointF(9, 9));
    s.changePoint(-1, QPointF(9, 9));
    QCOMPARE(s.points(), (QList<QPointF>{{0, 0}}));
    s.changePoint(0, QPointF(2, -3));
    QCOMPARE(s.points().first(), QPointF(2, -3));
    QCOMPARE(s.minY(), -3.0);
    QCOMPARE(s.maxX(), 2.0);

    s[0] = QPointF(1, 1);
    QCOMPARE(s.points().first(), QPointF(1, 1));
    // Out-of-range writes land in a scratch point that never leaks into
    // later out-of-range reads.
    s[5] = QPointF(42, 42);
    QCOMPARE(s[7], QPointF(0, 0));
    QCOMPARE(s[-1], QPointF(0, 0));
}

void TestLineSeries::substract_data()
{
    QTest::addColumn<QList<QPointF>>("other");
    QTest::addColumn<QList<QPointF>>("expected");
    const QList<QPointF> base{{0, 10}, {1, 20}, {2, 30}};
    QTest::newRow("same count") << QList<QPointF>{{7, 1}, {8, 2}, {9, 3}}
                                << QList<QPointF>{{0, 9}, {1, 18}, {2, 27}};
    QTest::newRow("other count") << QList<QPointF>{{0, 1}} << base;
}

void TestLineSeries::substract()
{
    QFETCH(QList<QPointF>, other);
    QFETCH(QList<QPointF>, expected);
    LineSeries s, o;
    for (const QPointF &p : QList<QPointF>{{0, 10}, {1, 20}, {2, 30}})
        s.addPoint(p);
    for (const QPointF &p : other)
        o.addPoint(p);
    s.substract(&o);
    s.substract(nullptr);
    QCOMPARE(s.points(), expected);
    QCOMPARE(o.points(), other);
}

void TestLineSeries::icon()
{
    LineSeries s;
    s.setColor(Qt::blue);
    const QImage img = s.icon(16).pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(img.size(), QSize(16, 16));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            QCOMPARE(qAlpha(img.pixel(x, y)) != 0, y == 8);
    QCOMPARE(img.pixel(3, 8), qRgb(0, 0, 255));
}

void TestLineSeries::drawing_data()
{
    QTest::addColumn<QList<QPointF>>("points");
    QTest::addColumn<bool>("drawsSomething");
    QTest::newRow("one point") << QList<QPointF>{{5, 5}} << false;
    QTest::newRow("flat segment") << QList<QPointF>{{1, 5}, {9, 5}} << true;
    QTest::newRow("vertical segment") << QList<QPointF>{{5, 1}, {5, 9}} << true;
    QTest::newRow("crossing, both ends outside") << QList<QPointF>{{-50, -50}, {50, 50}} << true;
    QTest::newRow("wholly outside") << QList<QPointF>{{20, 20}, {30, 40}} << false;
    QTest::newRow("NaN breaks the line") << QList<QPointF>{{1, 1}, {NaN, 5}, {9, 9}} << false;
    QTest::newRow("NaN y") << QList<QPointF>{{1, NaN}, {9, 9}} << false;
}

void TestLineSeries::drawing()
{
    QFETCH(QList<QPointF>, points);
    QFETCH(bool, drawsSomething);
    Frame f(0, 10, 0, 10);
    LineSeries s;
    s.setAxis(&f.x, &f.y);
    for (const QPointF &p : points)
        s.addPoint(p);
    QCOMPARE(colouredPixels(render(s)) > 0, drawsSomething);
    s.draw(nullptr);
}

void TestLineSeries::mergedColumnsMatchEverySegment_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QRectF>("view");
    QTest::newRow("random") << 0 << QRectF(0, -120, 20000, 240);
    QTest::newRow("sorted dense") << 1 << QRectF(0, -120, 20000, 240);
    QTest::newRow("unsorted") << 2 << QRectF(0, -120, 20000, 240);
    QTest::newRow("NaN holes") << 3 << QRectF(0, -120, 20000, 240);
    QTest::newRow("zoomed") << 1 << QRectF(5000, -40, 300, 60);
    QTest::newRow("flat runs") << 4 << QRectF(0, -120, 20000, 240);
}

void TestLineSeries::mergedColumnsMatchEverySegment()
{
    QFETCH(int, kind);
    QFETCH(QRectF, view);
    QRandomGenerator rng(1234 + kind);
    Frame f(view.left(), view.right(), view.top(), view.bottom(), 400, 250);
    LineSeries s;
    s.setAxis(&f.x, &f.y);
    const int n = 20000;
    for (int i = 0; i < n; ++i) {
        double x = i, y = 0;
        switch (kind) {
        case 0: y = rng.bounded(200.0) - 100; break;
        case 1: y = std::sin(i / 800.0) * 100 + rng.bounded(10.0); break;
        case 2: x = rng.bounded(double(n)); y = rng.bounded(200.0) - 100; break;
        case 3: y = std::sin(i / 300.0) * 90; if (rng.bounded(50) == 0) y = NaN; break;
        case 4: y = (i / 700) % 3 * 30.0; break;
        }
        s.addXY(x, y);
    }
    const QImage merged = render(s, 400, 250);
    const QImage plain = renderEverySegment(s, 400, 250);
    if (merged != plain) {
        merged.save(tavrintest::outputDir() + QStringLiteral("/merged-%1.png").arg(kind));
        plain.save(tavrintest::outputDir() + QStringLiteral("/plain-%1.png").arg(kind));
    }
    QCOMPARE(merged, plain);
}

void TestLineSeries::hugeValuesDoNotOverflow()
{
    Frame f(0, 10, 0, 10);
    LineSeries s;
    s.setAxis(&f.x, &f.y);
    s.addXY(5, 5);
    s.addXY(5e300, -5e300);
    s.addXY(-1e18, 1e18);
    s.addXY(5, 5);
    s.addXY(std::numeric_limits<double>::infinity(), 5);
    // The segments that cross the plot are still drawn, cut where the
    // painter can take them.
    QVERIFY(colouredPixels(render(s)) > 0);

    // A level line with ends far beyond the pixel range keeps its place and
    // runs across the whole plot.
    LineSeries level;
    level.setAxis(&f.x, &f.y);
    level.addXY(-1e300, 5);
    level.addXY(1e300, 5);
    const QImage img = render(level);
    const int row = int(f.y.pointToPixel(5));
    int across = 0;
    for (int x = 0; x < img.width(); ++x)
        across += qAlpha(img.pixel(x, row)) != 0;
    QCOMPARE(across, img.width());
}

void TestLineSeries::vline_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<bool>("drawn");
    Frame f(0, 10, 0, 10);
    QTest::newRow("inside") << 5.0 << true;
    QTest::newRow("at max()") << f.x.max() << true;
    QTest::newRow("just past max()") << f.x.max() + 1e-6 << false;
    QTest::newRow("NaN") << NaN << false;
}

void TestLineSeries::vline()
{
    QFETCH(double, x);
    QFETCH(bool, drawn);
    Frame f(0, 10, 0, 10);
    VLine line(x, Qt::blue, 3);
    QImage img(300, 200, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        line.draw(&p); // no axes yet: nothing
    }
    QCOMPARE(colouredPixels(img), 0);
    line.setAxis(&f.x, &f.y);
    {
        QPainter p(&img);
        line.draw(&p);
    }
    QCOMPARE(colouredPixels(img) > 0, drawn);
    if (drawn && x == 5.0) {
        const int px = int(f.x.pointToPixel(5));
        const int mid = 100;
        QCOMPARE(tavrintest::countColor(img, qRgb(0, 0, 255), QRect(px - 3, mid, 7, 1)), 3);
    }
    QCOMPARE(VLine(QDateTime(), Qt::red, 1).x(), 4294967295.0);
}

TAVRIN_TEST(TestLineSeries)
#include "tst_lineseries.moc"
