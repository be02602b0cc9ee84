// The shortcuts taken for speed must not change what is drawn: each is
// compared with the general path it replaces.
#include "testmain.h"
#include "testutil.h"

#include <axis.h>
#include <axis_p.h>
#include <barseries.h>

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>
#include <cmath>

namespace {

struct View {
    Axis x{Axis::atBottom};
    Axis y{Axis::atLeft};
    View(double x0, double x1, double y0, double y1, int w, int h)
    {
        x.setRange(x0, x1);
        y.setRange(y0, y1);
        x.d->setLength(w);
        y.d->setLength(h);
        for (int i = 0; i < 4; ++i) {
            x.d->updateTransform();
            y.d->updateTransform();
        }
    }
};

// A clip that covers the whole image changes nothing on screen but keeps
// the series off its integer shortcut.
QImage render(ChartSeries &s, int w, int h, bool generalPath)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    if (generalPath)
        p.setClipRect(QRect(0, 0, w, h));
    s.draw(&p);
    return img;
}

} // namespace

class TestFastPaths : public QObject
{
    Q_OBJECT

private slots:
    void barsOnWholePixels_data();
    void barsOnWholePixels();
};

void TestFastPaths::barsOnWholePixels_data()
{
    QTest::addColumn<int>("seed");
    QTest::addColumn<int>("penWidth");
    QTest::addColumn<QRectF>("view");
    QTest::addColumn<int>("fillAlpha");
    // Fractional scales put bar edges everywhere between pixels; the wide
    // views leave bars of a pixel or less, the zoomed one bars reaching off
    // the image on every side.
    // Opaque colours let bars hidden behind later ones be left out.
    const QRectF all(-3.3, -117, 130.7, 241.3);
    QTest::newRow("fractional, pen 1") << 1 << 1 << all << 180;
    QTest::newRow("fractional, pen 0") << 2 << 0 << all << 180;
    QTest::newRow("flat bars") << 3 << 1 << QRectF(0, -5000, 100, 10000) << 180;
    QTest::newRow("zoomed, cut at the edges") << 4 << 1 << QRectF(40.2, -20.7, 11.1, 61.9) << 180;
    QTest::newRow("wide pen") << 5 << 3 << all << 180;
    QTest::newRow("opaque, pen 1") << 6 << 1 << all << 255;
    QTest::newRow("opaque, pen 0") << 7 << 0 << all << 255;
    QTest::newRow("opaque, zoomed") << 8 << 1 << QRectF(40.2, -20.7, 11.1, 61.9) << 255;
    QTest::newRow("opaque, dense") << 9 << 1 << QRectF(0, -130, 127, 260) << 255;
}

void TestFastPaths::barsOnWholePixels()
{
    QFETCH(int, seed);
    QFETCH(int, penWidth);
    QFETCH(QRectF, view);
    QFETCH(int, fillAlpha);
    QRandomGenerator rng(seed);
    View v(view.left(), view.right(), view.top(), view.bottom(), 413, 287);
    BarSeries s;
    s.setAxis(&v.x, &v.y);
    s.setWidth(penWidth);
    s.setColor(QColor(10, 20, 200));
    s.setFillColor(QColor(200, 60, 10, fillAlpha));
    const int count = seed == 9 ? 4000 : 400;
    for (int i = 0; i < count; ++i) {
        const double x = rng.bounded(127.0) + (i % 4 == 0 ? 0.5 : 0.0);
        const double y = rng.bounded(240.0) - 120 + (i % 7 == 0 ? 0.25 : 0.0);
        s.addXY(x, y);
    }
    const QImage fast = render(s, 413, 287, false);
    const QImage general = render(s, 413, 287, true);
    if (fast != general) {
        fast.save(tavrintest::outputDir() + QStringLiteral("/bars-fast-%1.png").arg(seed));
        general.save(tavrintest::outputDir() + QStringLiteral("/bars-general-%1.png").arg(seed));
    }
    QCOMPARE(fast, general);
}

TAVRIN_TEST(TestFastPaths)

#include "tst_fastpaths.moc"
