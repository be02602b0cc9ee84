#include "testmain.h"
#include "testutil.h"

#include <axis.h>
#include <axis_p.h>
#include <barseries.h>
#include <chartwidget.h>

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <limits>

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

// Axes showing x 0..10 and y -5..5 on 500 pixels without margin: x value v
// sits on pixel 50 v, y value v on pixel 250 - 50 v. A bar is 0.3 wide.
struct Plot {
    Axis x{Axis::atBottom};
    Axis y{Axis::atLeft};
    Plot()
    {
        x.setRange(0, 10);
        y.setRange(-5, 5);
        for (Axis *a : {&x, &y}) {
            a->d->setLength(501);
            a->d->margin = 0;
            a->d->scale = 50;
        }
        x.d->offset = 0;
        y.d->offset = 250;
    }
};

QImage render(ChartSeries &s)
{
    QImage img(501, 501, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    s.draw(&p);
    return img;
}

QRect inked(const QImage &img, QRgb background = qRgb(255, 255, 255))
{
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != background)
                r |= QRect(x, y, 1, 1);
    return r;
}

} // namespace

class tst_BarSeries : public QObject
{
    Q_OBJECT

private slots:
    void bounds_data();
    void bounds();
    void draw();
    void notDrawn_data();
    void notDrawn();
    void tooltip_data();
    void tooltip();
    void chart();
};

void tst_BarSeries::bounds_data()
{
    QTest::addColumn<int>("axis"); // 0 none, 1 with a scale, 2 without
    QTest::addColumn<QVector<QPointF>>("bars");
    QTest::addColumn<QRectF>("expected"); // minX, minY, maxX - minX, maxY - minY

    QTest::newRow("positive bar takes in 0") << 0 << QVector<QPointF>{{2, 5}} << QRectF(2, 0, 0, 5);
    QTest::newRow("negative bar takes in 0") << 0 << QVector<QPointF>{{2, -3}} << QRectF(2, -3, 0, 3);
    QTest::newRow("half bar widths") << 1 << QVector<QPointF>{{2, 5}, {4, 1}}
                                     << QRectF(1.85, 0, 2.3, 5);
    QTest::newRow("axis without a scale") << 2 << QVector<QPointF>{{2, 5}} << QRectF(2, 0, 0, 5);
    QTest::newRow("NaN bar") << 1 << QVector<QPointF>{{NaN, 5}, {3, 2}} << QRectF(2.85, 0, 0.3, 2);
}

void tst_BarSeries::bounds()
{
    QFETCH(int, axis);
    QFETCH(QVector<QPointF>, bars);
    QFETCH(QRectF, expected);

    Plot plot;
    Axis bare(Axis::atBottom), bareY(Axis::atLeft);
    BarSeries s;
    if (axis == 1)
        s.setAxis(&plot.x, &plot.y);
    else if (axis == 2)
        s.setAxis(&bare, &bareY);
    QSignalSpy added(&s, &ChartSeries::pointAdded);
    for (int round = 0; round < 2; ++round) {
        for (const QPointF &b : bars)
            s.addXY(b.x(), b.y());
        QCOMPARE(s.pointsCount(), bars.size());
        QVERIFY(qFuzzyCompare(s.minX(), expected.left()));
        QVERIFY(qFuzzyCompare(s.maxX(), expected.right()));
        QVERIFY(qFuzzyIsNull(s.minY() - expected.top()));
        QVERIFY(qFuzzyIsNull(s.maxY() - expected.bottom()));
        // Cleared, the next first bar takes in 0 again.
        s.clear();
        QCOMPARE(s.pointsCount(), 0);
        QVERIFY(std::isnan(s.minY()));
    }
    QCOMPARE(added.count(), 0);
}

void tst_BarSeries::draw()
{
    Plot plot;
    BarSeries s;
    s.setAxis(&plot.x, &plot.y);
    s.setColor(Qt::blue);
    s.addXY(5, 4);   // pixels: left 242.5, 15 wide, from 50 down to 250
    s.addXY(2, -3);  // hangs from 250 down to 400
    s.addXY(8, 1e9); // far above the plot: the whole column
    s.addXY(7, 0);   // flat: nothing
    const QImage img = render(s);

    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), white = qRgb(255, 255, 255);
    QCOMPARE(img.pixel(250, 150), red);
    QCOMPARE(img.pixel(250, 40), white);
    QCOMPARE(img.pixel(250, 260), white);
    QCOMPARE(img.pixel(235, 150), white);
    QCOMPARE(img.pixel(100, 300), red);
    QCOMPARE(img.pixel(100, 240), white);
    QCOMPARE(img.pixel(400, 0), red);
    QCOMPARE(img.pixel(400, 249), red);
    QCOMPARE(img.pixel(400, 260), white);
    QCOMPARE(img.pixel(350, 249), white);

    // Outline in the pen colour, 15 pixels plus the pen across.
    const QRect bar = inked(img.copy(200, 0, 100, 501)).translated(200, 0);
    QCOMPARE(bar.width(), 16);
    QVERIFY(qAbs(bar.center().x() - 250) <= 1);
    QCOMPARE(bar.top(), 50);
    QCOMPARE(bar.bottom(), 250);
    QCOMPARE(img.pixel(bar.left(), 150), blue);
    QCOMPARE(img.pixel(bar.right(), 150), blue);
    QCOMPARE(img.pixel(250, 50), blue);
}

void tst_BarSeries::notDrawn_data()
{
    QTest::addColumn<QPointF>("bar");
    QTest::addColumn<bool>("xScale");

    QTest::newRow("zero") << QPointF(5, 0) << true;
    QTest::newRow("left of the plot") << QPointF(-0.2, 3) << true;
    QTest::newRow("NaN") << QPointF(5, NaN) << true;
    QTest::newRow("no x scale") << QPointF(5, 3) << false;
}

// Neither drawn nor found under the cursor at its foot.
void tst_BarSeries::notDrawn()
{
    QFETCH(QPointF, bar);
    QFETCH(bool, xScale);

    Plot plot;
    if (!xScale)
        plot.x.d->scale = NaN;
    BarSeries s;
    s.setAxis(&plot.x, &plot.y);
    s.addXY(bar.x(), bar.y());
    QVERIFY(inked(render(s)).isNull());
    QCOMPARE(s.tooltip(QPoint(250, 250)), QString());
    QCOMPARE(s.tooltip(QPoint(250, 249)), QString());
}

void tst_BarSeries::tooltip_data()
{
    QTest::addColumn<QVector<QPointF>>("bars");
    QTest::addColumn<QPoint>("cursor");
    QTest::addColumn<QString>("expected");

    const QVector<QPointF> one{{5, 4}};
    QTest::newRow("inside") << one << QPoint(250, 150) << "X: 5\r\nY: 4";
    QTest::newRow("above") << one << QPoint(250, 49) << "";
    QTest::newRow("beside") << one << QPoint(258, 150) << "";
    QTest::newRow("hanging bar") << QVector<QPointF>{{2, -3}} << QPoint(100, 300) << "X: 2\r\nY: -3";
    QTest::newRow("overlap: earlier wins") << QVector<QPointF>{{5, 4}, {5.1, 2}} << QPoint(252, 200)
                                           << "X: 5\r\nY: 4";
    QTest::newRow("later bar") << QVector<QPointF>{{5, 4}, {5.1, 2}} << QPoint(262, 200)
                               << "X: 5.1\r\nY: 2";
    // The scan stops at a bar that starts right of the cursor.
    QTest::newRow("out of order") << QVector<QPointF>{{8, 2}, {5, 4}} << QPoint(250, 150) << "";
}

void tst_BarSeries::tooltip()
{
    QFETCH(QVector<QPointF>, bars);
    QFETCH(QPoint, cursor);
    QFETCH(QString, expected);

    Plot plot;
    BarSeries s;
    QCOMPARE(s.tooltip(cursor), QString());
    s.setAxis(&plot.x, &plot.y);
    for (const QPointF &b : bars)
        s.addXY(b.x(), b.y());
    QCOMPARE(s.tooltip(cursor), expected);
}

void tst_BarSeries::chart()
{
    ChartWidget w;
    w.resize(600, 400);
    auto *up = new BarSeries;
    auto *mixed = new BarSeries;
    w.addSeries(up);
    w.addSeries(mixed);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    for (int i = 0; i < 12; ++i) {
        up->addXY(i, 2 + i % 5);
        mixed->addXY(i + 0.4, (i % 4) - 1.5);
    }
    w.setAutoScale(false);
    w.setAutoScale(true);
    QTest::qWait(50);
    w.repaint();
    const QImage img = tavrintest::grabImage(&w);
    img.save(tavrintest::outputDir() + QStringLiteral("/barseries.png"));

    QVERIFY(tavrintest::countColor(img, up->fillColor().rgb()) > 12 * 14 * 10);
    QVERIFY(tavrintest::countColor(img, mixed->fillColor().rgb()) > 12 * 14 * 5);
}

TAVRIN_TEST(tst_BarSeries)
#include "tst_barseries.moc"
