#include "testmain.h"
#include "testutil.h"

#include <axes.h>
#include <axis.h>
#include <axis_p.h>
#include <boxandwhiskersseries.h>
#include <boxandwhiskersseries_p.h>
#include <chartwidget.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <limits>

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

struct Frame {
    Axis x{Axis::atBottom};
    Axis y{Axis::atLeft};
    Frame(double x0, double x1, double y0, double y1, int w = 300, int h = 200)
    {
        x.setRange(x0, x1);
        y.setRange(y0, y1);
        x.d->setLength(w);
        y.d->setLength(h);
    }
    QPoint pixel(double vx, double vy) const { return QPoint(int(x.pointToPixel(vx)), int(y.pointToPixel(vy))); }
};

QImage render(ChartSeries &s, int w = 300, int h = 200)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    s.draw(&p);
    return img;
}

bool blank(const QImage &img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)))
                return false;
    return true;
}

QList<double> doubles(const QList<QVariant> &row)
{
    QList<double> out;
    for (const QVariant &v : row) {
        if (v.userType() != QMetaType::Double)
            return {};
        out << v.toDouble();
    }
    return out;
}

} // namespace

class TestBoxAndWhiskersSeries : public QObject
{
    Q_OBJECT
private slots:
    void rows_data();
    void rows();
    void pointAddedPerWhiskerEnd();
    void clearKeepsCandlesForReceivers();
    void candlePixels();
    void medianMarkerFollowsFill_data();
    void medianMarkerFollowsFill();
    void drawnOrNot_data();
    void drawnOrNot();
    void farWhiskersStayOnScreen();
    void tooltip_data();
    void tooltip();
    void icon();
    void lookAtIt();
};

void TestBoxAndWhiskersSeries::rows_data()
{
    QTest::addColumn<int>("how");
    QTest::addColumn<QList<double>>("row");
    QTest::newRow("addCandle") << 0 << QList<double>{5, 3, 1, 9, 2, 4};
    QTest::newRow("addXY: five equal values") << 1 << QList<double>{5, 3, 3, 3, 3, 3};
    QTest::newRow("date-time") << 2 << QList<double>{1704164645, 3, 1, 9, 2, 4};
    QTest::newRow("invalid date-time") << 3 << QList<double>{4294967295.0, 3, 1, 9, 2, 4};
}

void TestBoxAndWhiskersSeries::rows()
{
    QFETCH(int, how);
    QFETCH(QList<double>, row);
    BoxAndWhiskersSeries s;
    switch (how) {
    case 0: s.addCandle(5, 3, 1, 9, 2, 4); break;
    case 1: s.addXY(5, 3); break;
    case 2: s.addCandle(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC), 3, 1, 9, 2, 4); break;
    case 3: s.addCandle(QDateTime(), 3, 1, 9, 2, 4); break;
    }
    QCOMPARE(s.type(), ChartSeries::stBoxAndWhiskers);
    QCOMPARE(s.dataAxisString(), QStringLiteral("X;Y1;Y2;Y3;Y4;Y5"));
    QCOMPARE(s.pointsCount(), 1);
    QCOMPARE(doubles(s.point(0)), row);
    QVERIFY(s.point(-1).isEmpty());
    QVERIFY(s.point(1).isEmpty());
    QCOMPARE(s.metaObject()->className(), "BoxAndWhiskersSeries");
}

void TestBoxAndWhiskersSeries::pointAddedPerWhiskerEnd()
{
    BoxAndWhiskersSeries s;
    QSignalSpy spy(&s, &ChartSeries::pointAdded);
    // Quartiles outside the whiskers do not widen the bounds.
    s.addCandle(2, 5, 1, 9, 0, 12);
    s.addXY(QDateTime(), 4); // the inherited overloads still reach addXY
    QCOMPARE(spy.count(), 4);
    QCOMPARE(spy.at(0), (QList<QVariant>{2.0, 1.0}));
    QCOMPARE(spy.at(1), (QList<QVariant>{2.0, 9.0}));
    QCOMPARE(spy.at(2), (QList<QVariant>{4294967295.0, 4.0}));
    QCOMPARE(s.minY(), 1.0);
    QCOMPARE(s.maxY(), 9.0);
    QCOMPARE(s.maxX(), 4294967295.0);
}

void TestBoxAndWhiskersSeries::clearKeepsCandlesForReceivers()
{
    BoxAndWhiskersSeries s;
    s.addCandle(2, 5, 1, 9, 3, 7);
    int seen = -1;
    bool boundsReset = false;
    connect(&s, &ChartSeries::cleared, this, [&] {
        seen = s.pointsCount();
        boundsReset = std::isnan(s.minX());
    });
    s.clear();
    QCOMPARE(seen, 1);
    QVERIFY(boundsReset);
    QCOMPARE(s.pointsCount(), 0);
}

void TestBoxAndWhiskersSeries::candlePixels()
{
    Frame f(0, 10, 0, 10);
    BoxAndWhiskersSeries s;
    s.setAxis(&f.x, &f.y);
    s.addCandle(5, 5, 2, 8, 4, 6);
    const QImage img = render(s);

    const int L = int(f.x.pointToPixel(5 - f.x.pixelDeltaToPoint(6) / 2));
    const int X = int(f.x.pointToPixel(5));
    const int top = int(f.y.pointToPixel(6));
    const int bottom = top + int(f.y.pointDeltaToPixel(2));
    const int yMax = int(f.y.pointToPixel(8));
    const int yMin = int(f.y.pointToPixel(2));
    const QRgb black = qRgb(0, 0, 0), red = qRgb(255, 0, 0);

    QCOMPARE(img.pixel(X, (yMax + top) / 2), black);    // whisker above the box
    QCOMPARE(img.pixel(X, (bottom + yMin) / 2), black); // and below it
    QCOMPARE(img.pixel(L + 1, yMax), black);             // caps, box width
    QCOMPARE(img.pixel(L + 5, yMin), black);
    QVERIFY(!qAlpha(img.pixel(L + 8, yMin)));
    QCOMPARE(img.pixel(L, top + 3), black);              // box outline
    QCOMPARE(img.pixel(X, top + 3), red);                // the box covers the whisker
    const int my = int(f.y.pointToPixel(5) - 3);
    QCOMPARE(img.pixel(L + 3, my + 3), qRgb(0, 255, 255)); // median marker
}

void TestBoxAndWhiskersSeries::medianMarkerFollowsFill_data()
{
    QTest::addColumn<QColor>("fill");
    QTest::addColumn<QColor>("marker");
    QTest::newRow("default red") << QColor() << QColor(Qt::cyan);
    QTest::newRow("blue") << QColor(Qt::blue) << QColor(Qt::yellow);
    // The chart's fourth palette colour: a fixed cyan marker would vanish.
    QTest::newRow("cyan") << QColor(Qt::cyan) << QColor(Qt::red);
    QTest::newRow("translucent grey") << QColor(0x40, 0x40, 0x40, 100) << QColor(0xbf, 0xbf, 0xbf);
}

void TestBoxAndWhiskersSeries::medianMarkerFollowsFill()
{
    QFETCH(QColor, fill);
    QFETCH(QColor, marker);
    Frame f(0, 10, 0, 10);
    BoxAndWhiskersSeries s;
    s.setAxis(&f.x, &f.y);
    if (fill.isValid())
        s.setFillColor(fill);
    s.addCandle(5, 5, 1, 9, 2, 8);
    const QImage img = render(s);
    const int L = int(f.x.pointToPixel(5 - f.x.pixelDeltaToPoint(6) / 2));
    const int my = int(f.y.pointToPixel(5) - 3);
    QCOMPARE(img.pixel(L + 3, my + 3), marker.rgb());
    if (s.fillColor().alpha() == 255)
        QCOMPARE(img.pixel(L + 3, int(f.y.pointToPixel(7))), s.fillColor().rgb());
    QCOMPARE(s.d->medianMarker.size(), QSize(7, 7));
}

void TestBoxAndWhiskersSeries::drawnOrNot_data()
{
    QTest::addColumn<QList<double>>("candle");
    QTest::addColumn<QPointF>("probe");
    QTest::addColumn<bool>("drawn");
    QTest::addColumn<bool>("hit");
    QTest::newRow("plain") << QList<double>{5, 5, 2, 8, 4, 6} << QPointF(5, 7) << true << true;
    QTest::newRow("yMin above yMax") << QList<double>{5, 5, 8, 2, 4, 6} << QPointF(5, 3) << true << true;
    QTest::newRow("zero extent") << QList<double>{5, 5, 5, 5, 5, 5} << QPointF(5, 5) << false << false;
    QTest::newRow("left of view") << QList<double>{-5, 5, 2, 8, 4, 6} << QPointF(5, 5) << false << false;
    QTest::newRow("above view") << QList<double>{5, 25, 20, 30, 22, 28} << QPointF(5, 5) << false << false;
    QTest::newRow("NaN x") << QList<double>{NaN, 5, 2, 8, 4, 6} << QPointF(5, 5) << false << false;
    QTest::newRow("NaN whisker end") << QList<double>{5, 5, NaN, 8, 4, 6} << QPointF(5, 7) << false << false;
}

void TestBoxAndWhiskersSeries::drawnOrNot()
{
    QFETCH(QList<double>, candle);
    QFETCH(QPointF, probe);
    QFETCH(bool, drawn);
    QFETCH(bool, hit);
    Frame f(0, 10, 0, 10);
    BoxAndWhiskersSeries s;
    s.setAxis(&f.x, &f.y);
    s.addCandle(candle[0], candle[1], candle[2], candle[3], candle[4], candle[5]);
    QCOMPARE(!blank(render(s)), drawn);
    QCOMPARE(!s.tooltip(f.pixel(probe.x(), probe.y())).isEmpty(), hit);
    QCOMPARE(s.pointsCount(), 1);
    QCOMPARE(s.point(0).size(), 6);
}

void TestBoxAndWhiskersSeries::farWhiskersStayOnScreen()
{
    Frame f(0, 10, 0, 10);
    BoxAndWhiskersSeries s;
    s.setAxis(&f.x, &f.y);
    s.addCandle(5, 5, -1e300, 1e300, -1e300, 6);
    s.addCandle(8, 5, -std::numeric_limits<double>::infinity(), 9, 4, 6);
    const QImage img = render(s);
    const int X = int(f.x.pointToPixel(5));
    QCOMPARE(img.pixel(X, 0), qRgb(0, 0, 0));
    QCOMPARE(img.pixel(X + 1, img.height() - 1), qRgb(255, 0, 0)); // box reaching down off the plot
    QCOMPARE(img.pixel(int(f.x.pointToPixel(8)), img.height() - 1), qRgb(0, 0, 0));
}

void TestBoxAndWhiskersSeries::tooltip_data()
{
    QTest::addColumn<QList<double>>("candles"); // groups of six
    QTest::addColumn<QPointF>("cursor");
    QTest::addColumn<QString>("text");
    const QList<double> two{2, 5, 1, 9, 3, 7, 6, 4, 2, 8, 3, 5};
    QTest::newRow("hit")
        << two << QPointF(6, 7) << QStringLiteral("X: 6\r\nMedian: 4\r\nYmin - Ymax: 2 - 8\r\nQ1 - Q3: 3 - 5");
    QTest::newRow("whisker range counts, not only the box") << two << QPointF(2, 8.5)
                                                            << QStringLiteral("X: 2\r\nMedian: 5\r\nYmin - Ymax: 1 - 9\r\nQ1 - Q3: 3 - 7");
    QTest::newRow("beside") << two << QPointF(4, 5) << QString();
    QTest::newRow("above whisker") << two << QPointF(6, 9) << QString();
    QTest::newRow("overlap: the earlier wins")
        << QList<double>{5, 1, 0, 9, 1, 8, 5, 2, 3, 6, 4, 5} << QPointF(5, 4)
        << QStringLiteral("X: 5\r\nMedian: 1\r\nYmin - Ymax: 0 - 9\r\nQ1 - Q3: 1 - 8");
    // Candles are taken to come in ascending x: the scan gives up at the
    // first one that starts right of the cursor.
    QTest::newRow("scan stops at a later x") << QList<double>{8, 5, 1, 9, 3, 7, 2, 5, 1, 9, 3, 7} << QPointF(2, 5)
                                             << QString();
}

void TestBoxAndWhiskersSeries::tooltip()
{
    QFETCH(QList<double>, candles);
    QFETCH(QPointF, cursor);
    QFETCH(QString, text);
    Frame f(0, 10, 0, 10);
    BoxAndWhiskersSeries s;
    s.setAxis(&f.x, &f.y);
    QCOMPARE(s.tooltip(f.pixel(cursor.x(), cursor.y())), QString());
    for (int i = 0; i + 5 < candles.size(); i += 6)
        s.addCandle(candles[i], candles[i + 1], candles[i + 2], candles[i + 3], candles[i + 4], candles[i + 5]);
    QCOMPARE(s.tooltip(f.pixel(cursor.x(), cursor.y())), text);
}

void TestBoxAndWhiskersSeries::icon()
{
    BoxAndWhiskersSeries s;
    const QImage img = s.icon(16).pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(img.size(), QSize(16, 16));
    const QRgb black = qRgb(0, 0, 0);
    QCOMPARE(img.pixel(8, 2), black);  // whisker
    QCOMPARE(img.pixel(8, 14), black);
    QCOMPARE(img.pixel(4, 0), black);  // caps
    QCOMPARE(img.pixel(12, 0), black);
    QCOMPARE(img.pixel(4, 15), black);
    QCOMPARE(img.pixel(12, 15), black);
    QCOMPARE(img.pixel(4, 4), black);  // box (4, 4, 8, 8)
    QCOMPARE(img.pixel(12, 12), black);
    QCOMPARE(img.pixel(6, 6), qRgb(255, 0, 0));
    QCOMPARE(qAlpha(img.pixel(3, 1)), 0);
    QCOMPARE(qAlpha(img.pixel(13, 8)), 0);
    QCOMPARE(qAlpha(img.pixel(13, 0)), 0);
}

void TestBoxAndWhiskersSeries::lookAtIt()
{
    ChartWidget w;
    w.resize(600, 400);
    w.setTitle(QStringLiteral("Response times, one week"));
    w.axes()->bottom()->setDatetime(true);
    w.axes()->bottom()->setDatetimeFormat(QStringLiteral("ddd dd.MM"));
    auto *s = new BoxAndWhiskersSeries;
    s->setName(QStringLiteral("ms"));
    const QDateTime monday(QDate(2024, 3, 4), QTime(12, 0), Qt::LocalTime);
    const double med[7] = {40, 42, 38, 55, 47, 30, 28};
    for (int i = 0; i < 7; ++i) {
        const double m = med[i];
        s->addCandle(monday.addDays(i), m, m - 20 - i, m + 25 + 2 * i, m - 8, m + 10 + i);
    }
    w.addSeries(s);
    w.show();
    QApplication::processEvents();
    const QImage img = tavrintest::grabImage(&w);
    QVERIFY(img.save(tavrintest::outputDir() + QStringLiteral("/boxandwhiskers.png")));
    QVERIFY(tavrintest::countColor(img, s->fillColor().rgb()) > 7 * 20);
}

TAVRIN_TEST(TestBoxAndWhiskersSeries)

#include "tst_boxandwhiskersseries.moc"
