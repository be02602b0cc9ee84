// Shortcuts taken for speed must not change the result: each is compared
// with the plain way it replaces, on random data.
#include "fixtures.h"
#include "testmain.h"

#include <QRandomGenerator>

using namespace tavrintest;

namespace {

// Every segment on its own, as the line must look.
QImage renderEverySegment(LineSeries &s, QSize size)
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setPen(QPen(QBrush(s.color()), 1));
    const QRectF box(s.xAxis()->min(), s.yAxis()->min(), s.xAxis()->span(), s.yAxis()->span());
    const QList<QPointF> &pts = s.points();
    for (int i = 1; i < pts.size(); ++i) {
        const QPointF a = pts.at(i - 1), b = pts.at(i);
        if (std::isnan(a.x()) || std::isnan(a.y()) || std::isnan(b.x()) || std::isnan(b.y()))
            continue;
        QRectF seg(a, QSizeF(b.x() - a.x(), b.y() - a.y()));
        seg.setWidth(seg.width() == 0 ? 0.01 : seg.width());
        seg.setHeight(seg.height() == 0 ? 0.01 : seg.height());
        if (box.intersects(seg))
            p.drawLine(int(s.xAxis()->pointToPixel(a.x())), int(s.yAxis()->pointToPixel(a.y())),
                       int(s.xAxis()->pointToPixel(b.x())), int(s.yAxis()->pointToPixel(b.y())));
    }
    return img;
}

// Values that put the fuzzy equality to work: both zeros, values around the
// 1e-12 zero tolerance, pairs on either side of the relative tolerance.
QVector<double> trickyValues()
{
    QVector<double> v = {0.0, -0.0, 1e-13, -1e-13, 1e-12, -1e-12, 1.0000001e-12, 2e-12, 3e-12, 5e-324,
                         1e-300, 1, -1, 1e300, NaN, Inf, -Inf, std::numeric_limits<double>::max()};
    for (double base : {1.0, 3.7, -2.5, 1e-3, 1e8, 1e-11, 7e-12}) {
        for (double k : {-4.0, -1.0000001, -1.0, -0.9999999, 0.5, 0.9999999, 1.0, 1.0000001, 3.9})
            v << base * (1 + k * 1e-12);
        v << base << std::nextafter(base, Inf) << std::nextafter(base, -Inf);
    }
    return v;
}

} // namespace

class TestOracles : public QObject
{
    Q_OBJECT
private slots:
    void lineColumns_data();
    void lineColumns();
    void barsOnWholePixels_data();
    void barsOnWholePixels();
    void duplicateIndex_data();
    void duplicateIndex();
};

void TestOracles::lineColumns_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QRectF>("view");
    const QRectF all(0, -120, 20000, 240);
    QTest::newRow("random") << 0 << all;
    QTest::newRow("sorted dense") << 1 << all;
    QTest::newRow("unsorted") << 2 << all;
    QTest::newRow("NaN holes") << 3 << all;
    QTest::newRow("zoomed") << 1 << QRectF(5000, -40, 300, 60);
    QTest::newRow("flat runs") << 4 << all;
}

// Segments inside one pixel column are merged into the run they cover.
void TestOracles::lineColumns()
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
        case 3: y = rng.bounded(50) == 0 ? NaN : std::sin(i / 300.0) * 90; break;
        default: y = (i / 700) % 3 * 30.0; break;
        }
        s.addXY(x, y);
    }
    const QImage merged = render(s, QSize(400, 250));
    const QImage plain = renderEverySegment(s, QSize(400, 250));
    QCOMPARE(merged, plain);
}

void TestOracles::barsOnWholePixels_data()
{
    QTest::addColumn<int>("seed");
    QTest::addColumn<int>("penWidth");
    QTest::addColumn<QRectF>("view");
    QTest::addColumn<int>("fillAlpha");
    // Fractional scales put bar edges between pixels; the zoomed views leave
    // bars reaching off the image; opaque fills let hidden bars be skipped.
    const QRectF all(-3.3, -117, 130.7, 241.3), zoomed(40.2, -20.7, 11.1, 61.9);
    QTest::newRow("fractional, pen 1") << 1 << 1 << all << 180;
    QTest::newRow("fractional, pen 0") << 2 << 0 << all << 180;
    QTest::newRow("flat bars") << 3 << 1 << QRectF(0, -5000, 100, 10000) << 180;
    QTest::newRow("zoomed") << 4 << 1 << zoomed << 180;
    QTest::newRow("wide pen") << 5 << 3 << all << 180;
    QTest::newRow("opaque, pen 0") << 7 << 0 << all << 255;
    QTest::newRow("opaque, zoomed") << 8 << 1 << zoomed << 255;
    QTest::newRow("opaque, dense") << 9 << 1 << QRectF(0, -130, 127, 260) << 255;
}

// A clip covering the whole image changes nothing on screen but keeps the
// bars off the raster engine's integer shortcut.
void TestOracles::barsOnWholePixels()
{
    QFETCH(int, seed);
    QFETCH(int, penWidth);
    QFETCH(QRectF, view);
    QFETCH(int, fillAlpha);
    QRandomGenerator rng(seed);
    Frame f(view.left(), view.right(), view.top(), view.bottom(), 413, 287);
    BarSeries s;
    s.setAxis(&f.x, &f.y);
    s.setWidth(penWidth);
    s.setColor(QColor(10, 20, 200));
    s.setFillColor(QColor(200, 60, 10, fillAlpha));
    for (int i = 0, n = seed == 9 ? 4000 : 400; i < n; ++i)
        s.addXY(rng.bounded(127.0) + (i % 4 == 0 ? 0.5 : 0.0), rng.bounded(240.0) - 120 + (i % 7 == 0 ? 0.25 : 0.0));
    const QImage fast = render(s, QSize(413, 287));
    QImage general(413, 287, QImage::Format_ARGB32_Premultiplied);
    general.fill(Qt::transparent);
    QPainter p(&general);
    p.setClipRect(general.rect());
    s.draw(&p);
    p.end();
    QCOMPARE(fast, general);
}

void TestOracles::duplicateIndex_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<bool>("minMax");
    for (quint32 seed : {1u, 2u, 3u}) {
        QTest::addRow("points %u", seed) << seed << false;
        QTest::addRow("min-max %u", seed) << seed << true;
    }
}

// The indexed duplicate test keeps exactly what a scan of every stored
// point with QPointF's operator== keeps.
void TestOracles::duplicateIndex()
{
    QFETCH(quint32, seed);
    QFETCH(bool, minMax);
    QRandomGenerator rng(seed);
    const QVector<double> tricky = trickyValues();
    auto value = [&]() {
        switch (rng.bounded(4)) {
        case 0: return double(rng.bounded(5));
        case 1: return (rng.generateDouble() - 0.5) * 4e-12;
        default: return tricky.at(rng.bounded(tricky.size()));
        }
    };
    std::unique_ptr<ChartSeries> series(makeSeries(minMax ? kMinMax : kPoint));
    QVector<QPointF> kept;
    for (int i = 0; i < 3000; ++i) {
        QPointF p(value(), value());
        // Nudge an earlier point by about the relative tolerance.
        if (!kept.isEmpty() && rng.bounded(3) == 0) {
            const QPointF q = kept.at(rng.bounded(kept.size()));
            const double k = (rng.generateDouble() - 0.5) * 4e-12;
            p = rng.bounded(2) ? QPointF(q.x() * (1 + k), q.y()) : QPointF(q.x(), q.y() * (1 + k));
        }
        if (std::none_of(kept.cbegin(), kept.cend(), [&](const QPointF &q) { return q == p; }))
            kept << p;
        series->addXY(p.x(), p.y());
        if (series->pointsCount() != kept.size())
            QFAIL(qPrintable(QStringLiteral("after adding (%1, %2): %3 stored, full scan keeps %4")
                                 .arg(p.x(), 0, 'g', 17).arg(p.y(), 0, 'g', 17)
                                 .arg(series->pointsCount()).arg(kept.size())));
    }
    auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
    for (int i = 0; i < kept.size(); ++i) {
        const QList<QVariant> row = series->point(i);
        QVERIFY(same(row.at(0).toDouble(), kept.at(i).x()) && same(row.at(1).toDouble(), kept.at(i).y()));
    }
}

TAVRIN_TEST(TestOracles)
#include "tst_oracles.moc"
