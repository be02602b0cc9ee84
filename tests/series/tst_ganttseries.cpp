#include "testmain.h"
#include "testutil.h"

#include <axes.h>
#include <axis.h>
#include <axis_p.h>
#include <chartwidget.h>
#include <ganttseries.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <limits>

namespace {

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

struct Bar {
    double x1, x2, y;
    QColor color;
    QString label;
};

} // namespace

Q_DECLARE_METATYPE(QList<Bar>)

class TestGanttSeries : public QObject
{
    Q_OBJECT
private slots:
    void rows();
    void boundsFromRowPosition();
    void rowPixels();
    void drawnOrNot_data();
    void drawnOrNot();
    void tooltip_data();
    void tooltip();
    void icon();
    void lookAtIt();
};

void TestGanttSeries::rows()
{
    GanttSeries s;
    s.addBar(1, 4, 2, Qt::blue, QStringLiteral("build"));
    s.addXY(7, 3);
    s.addXY(QDateTime(), 5);
    QCOMPARE(s.type(), ChartSeries::stGantt);
    QCOMPARE(s.dataAxisString(), QStringLiteral("X1;X2;Y"));
    QCOMPARE(s.pointsCount(), 3);
    // Colour and label are not part of the row.
    QCOMPARE(s.point(0), (QList<QVariant>{1.0, 4.0, 2.0}));
    QCOMPARE(s.point(1), (QList<QVariant>{7.0, 7.0, 3.0}));
    QCOMPARE(s.point(2), (QList<QVariant>{4294967295.0, 4294967295.0, 5.0}));
    QCOMPARE(s.point(0).at(0).userType(), int(QMetaType::Double));
    QVERIFY(s.point(-1).isEmpty());
    QVERIFY(s.point(3).isEmpty());
    QCOMPARE(s.metaObject()->className(), "ChartSeries");
}

void TestGanttSeries::boundsFromRowPosition()
{
    GanttSeries s;
    QSignalSpy added(&s, &ChartSeries::pointAdded);
    s.addBar(1, 4, 2, QColor(), QString());
    QCOMPARE(added.count(), 2);
    QCOMPARE(added.at(0), (QList<QVariant>{1.0, 2.0}));
    QCOMPARE(added.at(1), (QList<QVariant>{4.0, 2.0}));
    QCOMPARE(s.minY(), 2.0);
    QCOMPARE(s.maxY(), 2.0);
    QCOMPARE(s.maxX(), 4.0);
}

void TestGanttSeries::rowPixels()
{
    Frame f(0, 10, 0, 4);
    GanttSeries s;
    s.setAxis(&f.x, &f.y);
    s.setFillColor(Qt::green);
    s.addBar(1, 3, 2, Qt::blue, QString());
    s.addBar(4, 6, 2, QColor(), QString());     // series fill
    s.addBar(7, 9, 2, Qt::magenta, QString());
    QImage img(300, 200, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    s.draw(&p);
    // The painter keeps the last bar's brush; the series its own colour.
    QCOMPARE(p.brush().color(), QColor(Qt::magenta));
    QCOMPARE(s.fillColor(), QColor(Qt::green));
    p.end();

    const int top = int(f.y.pointToPixel(2) - 7.5);
    const int mid = top + 7;
    QCOMPARE(img.pixel(int(f.x.pointToPixel(2)), mid), qRgb(0, 0, 255));
    QCOMPARE(img.pixel(int(f.x.pointToPixel(5)), mid), qRgb(0, 255, 0));
    QCOMPARE(img.pixel(int(f.x.pointToPixel(8)), mid), qRgb(255, 0, 255));
    QCOMPARE(img.pixel(int(f.x.pointToPixel(5)), top), qRgb(0, 0, 0));      // outline, 15 px high
    QCOMPARE(img.pixel(int(f.x.pointToPixel(5)), top + 15), qRgb(0, 0, 0));
    QCOMPARE(qAlpha(img.pixel(int(f.x.pointToPixel(5)), top + 16)), 0);
    QCOMPARE(qAlpha(img.pixel(int(f.x.pointToPixel(3.5)), mid)), 0);       // gap between bars
    QCOMPARE(img.pixel(int(f.x.pointToPixel(1)), mid), qRgb(0, 0, 0));
}

void TestGanttSeries::drawnOrNot_data()
{
    QTest::addColumn<QList<double>>("bar");
    QTest::addColumn<bool>("drawn");
    QTest::addColumn<bool>("hit");
    QTest::newRow("plain") << QList<double>{2, 8, 2} << true << true;
    // Drawn normalised; the tooltip scan compares x1 alone with the cursor.
    QTest::newRow("ends exchanged") << QList<double>{8, 2, 2} << true << false;
    QTest::newRow("zero length") << QList<double>{5, 5, 2} << false << false;
    QTest::newRow("right of view") << QList<double>{12, 18, 2} << false << false;
    QTest::newRow("NaN end") << QList<double>{2, std::nan(""), 2} << false << false;
    // Reaching far beyond both sides of a zoomed view: spans the whole plot.
    QTest::newRow("far ends") << QList<double>{-1e300, 1e300, 2} << true << true;
}

void TestGanttSeries::drawnOrNot()
{
    QFETCH(QList<double>, bar);
    QFETCH(bool, drawn);
    QFETCH(bool, hit);
    Frame f(0, 10, 0, 4);
    GanttSeries s;
    s.setAxis(&f.x, &f.y);
    s.addBar(bar[0], bar[1], bar[2], QColor(), QString());
    QImage img(300, 200, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    s.draw(&p);
    p.end();
    const QPoint at = f.pixel(5, 2);
    QCOMPARE(img.pixel(at) == qRgb(255, 0, 0), drawn);
    if (bar[0] < 0)
        QVERIFY(img.pixel(1, at.y()) == qRgb(255, 0, 0) && img.pixel(298, at.y()) == qRgb(255, 0, 0));
    QCOMPARE(!s.tooltip(at).isEmpty(), hit);
    QCOMPARE(s.pointsCount(), 1);
}

void TestGanttSeries::tooltip_data()
{
    QTest::addColumn<QList<Bar>>("bars");
    QTest::addColumn<QPointF>("cursor");
    QTest::addColumn<QString>("text");
    const QList<Bar> rows{{0, 10, 1, QColor(), QString()}, {5, 15, 1, QColor(), QStringLiteral("late")}};
    QTest::newRow("null label") << rows << QPointF(3, 1) << QStringLiteral("X1: 0;X2: 10\r\nY: 1");
    QTest::newRow("overlap: the earlier wins") << rows << QPointF(7, 1) << QStringLiteral("X1: 0;X2: 10\r\nY: 1");
    QTest::newRow("label line") << rows << QPointF(12, 1) << QStringLiteral("late\r\nX1: 5;X2: 15\r\nY: 1");
    QTest::newRow("empty label keeps its line") << QList<Bar>{{0, 10, 1, QColor(), QStringLiteral("")}}
                                                << QPointF(3, 1) << QStringLiteral("\r\nX1: 0;X2: 10\r\nY: 1");
    QTest::newRow("label with a place marker") << QList<Bar>{{0, 10, 1, QColor(), QStringLiteral("%1 done")}}
                                               << QPointF(3, 1) << QStringLiteral("%1 done\r\nX1: 0;X2: 10\r\nY: 1");
    QTest::newRow("other row") << rows << QPointF(3, 2) << QString();
    // Bars are taken to come in ascending x1: a bar listed after one that
    // starts right of the cursor is not found even under the cursor.
    QTest::newRow("scan stops at a later x1")
        << QList<Bar>{{10, 14, 1, QColor(), QString()}, {0, 5, 2, QColor(), QString()}} << QPointF(3, 2) << QString();
}

void TestGanttSeries::tooltip()
{
    QFETCH(QList<Bar>, bars);
    QFETCH(QPointF, cursor);
    QFETCH(QString, text);
    Frame f(0, 16, 0, 3);
    GanttSeries s;
    s.setAxis(&f.x, &f.y);
    QCOMPARE(s.tooltip(f.pixel(cursor.x(), cursor.y())), QString());
    for (const Bar &b : bars)
        s.addBar(b.x1, b.x2, b.y, b.color, b.label);
    QCOMPARE(s.tooltip(f.pixel(cursor.x(), cursor.y())), text);
}

void TestGanttSeries::icon()
{
    GanttSeries s;
    s.setFillColor(Qt::blue);
    const QImage img = s.icon(16).pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(img.size(), QSize(16, 16));
    // Rectangle (0, 4) of width 15 and height 8: outline rows 4 and 12.
    for (int y = 0; y < 16; ++y) {
        const QRgb expected = (y == 4 || y == 12) ? qRgb(0, 0, 0) : (y > 4 && y < 12) ? qRgb(0, 0, 255) : 0;
        QCOMPARE(img.pixel(7, y), expected);
    }
    QCOMPARE(img.pixel(0, 8), qRgb(0, 0, 0));
    QCOMPARE(img.pixel(15, 8), qRgb(0, 0, 0));
}

void TestGanttSeries::lookAtIt()
{
    ChartWidget w;
    w.resize(600, 400);
    w.setTitle(QStringLiteral("Release plan"));
    Axis *rows = w.axes()->left();
    rows->setCustomLabel(1, QStringLiteral("Design"));
    rows->setCustomLabel(2, QStringLiteral("Build"));
    rows->setCustomLabel(3, QStringLiteral("Test"));
    auto *s = new GanttSeries;
    s->setName(QStringLiteral("tasks"));
    s->addBar(0, 4, 1, QColor(70, 130, 180), QStringLiteral("Sketches"));
    s->addBar(2, 9, 2, QColor(60, 179, 113), QStringLiteral("Core"));
    s->addBar(4.5, 7, 1, QColor(), QStringLiteral("Review"));
    s->addBar(8, 12, 3, QColor(218, 165, 32), QStringLiteral("Field test"));
    s->addBar(10, 14, 2, QColor(60, 179, 113), QStringLiteral("Fixes"));
    w.addSeries(s);
    w.show();
    QApplication::processEvents();
    const QImage img = tavrintest::grabImage(&w);
    QVERIFY(img.save(tavrintest::outputDir() + QStringLiteral("/gantt.png")));
    QVERIFY(tavrintest::countColor(img, qRgb(60, 179, 113)) > 200);
}

TAVRIN_TEST(TestGanttSeries)

#include "tst_ganttseries.moc"
