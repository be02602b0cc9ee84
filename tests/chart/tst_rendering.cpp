#include "chartfixtures.h"
#include "testmain.h"
#include "testutil.h"

#include <axes.h>
#include <axis.h>
#include <legend.h>
#include <vline.h>

#include <QDateTime>
#include <QFontMetrics>
#include <cmath>

class TestRendering : public QObject
{
    Q_OBJECT
private slots:
    void plotRectGeometry_data();
    void plotRectGeometry();
    void neverResizedIgnoresRepaint();
    void sizeChangeRecreatesMoveDoesNot();
    void drawingLock();
    void paintDoesNotDrawSeries();
    void framePixels();
    void tooSmallForPlot();
    void transparentImage();
    void lookAtIt();
};

void TestRendering::plotRectGeometry_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("leftTitle");
    QTest::addColumn<QString>("bottomTitle");
    QTest::newRow("bare") << QString() << QString() << QString();
    QTest::newRow("title") << QStringLiteral("Chart") << QString() << QString();
    QTest::newRow("axis titles") << QString() << QStringLiteral("Volts") << QStringLiteral("Time");
    QTest::newRow("all") << QStringLiteral("Chart") << QStringLiteral("Volts") << QStringLiteral("Time");
}

void TestRendering::plotRectGeometry()
{
    QFETCH(QString, title);
    QFETCH(QString, leftTitle);
    QFETCH(QString, bottomTitle);
    ChartWidget w;
    w.axes()->left()->setTitle(leftTitle);
    w.axes()->bottom()->setTitle(bottomTitle);
    w.setTitle(title);
    w.addSeries(lineOf({{0, 0}, {10, 100}}));
    showChart(w, 600, 400);

    const int titleHeight = title.isEmpty() ? 0 : QFontMetrics(w.titleFont()).height();
    const QRect expected(5 + w.axes()->left()->size(), 5 + titleHeight,
                         0, 0);
    const QRect r = w.d->plotRect;
    QCOMPARE(r.left(), expected.left());
    QCOMPARE(r.top(), expected.top());
    QCOMPARE(r.right(), 600 - 1 - 5);
    QCOMPARE(r.bottom(), 400 - 1 - 5 - w.axes()->bottom()->size());
    QCOMPARE(w.d->pixmap.size(), r.size());
    if (!leftTitle.isEmpty()) {
        // The label band holds the title as well.
        QVERIFY(w.axes()->left()->size() > QFontMetrics(QFont("Arial", 8)).height());
    }
}

void TestRendering::neverResizedIgnoresRepaint()
{
    ChartWidget w;
    w.repaint();
    QVERIFY(w.d->pixmap.isNull());
    QVERIFY(w.d->plotRect.isNull());
}

void TestRendering::sizeChangeRecreatesMoveDoesNot()
{
    ChartWidget w;
    auto *s = new CountingSeries;
    s->addXY(0, 0);
    s->addXY(1, 1);
    w.addSeries(s);
    showChart(w);
    const qint64 key = w.d->pixmap.cacheKey();
    int draws = s->draws;

    // Shift the plot rectangle without changing its size.
    w.d->margins = QMargins(10, 5, 0, 5);
    w.d->updatePlotArea();
    QCOMPARE(w.d->plotRect.left(), 10 + w.axes()->left()->size());
    QCOMPARE(w.d->pixmap.cacheKey(), key);
    QCOMPARE(s->draws, draws);

    w.setAutoScale(false); // keep the queued rescale out of the count
    w.resize(w.width() + 3, w.height());
    QCOMPARE(w.d->pixmap.size(), w.d->plotRect.size());
    QVERIFY(w.d->pixmap.cacheKey() != key);
    QCOMPARE(s->draws, draws + 1);
}

void TestRendering::drawingLock()
{
    ChartWidget w;
    w.addSeries(lineOf({{0, 0}, {10, 10}}));
    showChart(w);
    auto *s = new CountingSeries;
    s->addXY(1, 1);
    s->addXY(9, 9);
    // Changes that keep the plot's size render nothing under the lock.
    w.setDrawingLock(true);
    const qint64 key = w.d->pixmap.cacheKey();
    w.addSeries(s);
    s->addXY(5, 5);
    w.addVLine(new VLine(3.0, Qt::red, 1));
    w.setAutoScale(false);
    w.setAutoScale(true);
    QCOMPARE(w.d->pixmap.cacheKey(), key);
    QCOMPARE(s->draws, 0);
    // An explicit repaint still renders.
    w.repaint();
    QCOMPARE(s->draws, 1);
    // Releasing the lock renders once; setting it or releasing an unset
    // lock renders nothing.
    w.setDrawingLock(false);
    QCOMPARE(s->draws, 2);
    w.setDrawingLock(false);
    w.setDrawingLock(true);
    QCOMPARE(s->draws, 2);
    // setTitle under the lock does not even update the layout.
    const QRect before = w.d->plotRect;
    w.setTitle(QStringLiteral("Locked"));
    QCOMPARE(w.d->plotRect, before);
}

void TestRendering::paintDoesNotDrawSeries()
{
    ChartWidget w;
    auto *s = new CountingSeries;
    for (int i = 0; i < 1000000; ++i)
        s->addXY(i, i % 1000);
    w.addSeries(s);
    showChart(w);
    const int draws = s->draws;
    for (int i = 0; i < 5; ++i) {
        w.QWidget::repaint();
        w.grab();
    }
    QCOMPARE(s->draws, draws);
}

void TestRendering::framePixels()
{
    ChartWidget w;
    w.axes()->setGridColor(QColor(0, 160, 0));
    w.addSeries(lineOf({{0, 0}, {10, 10}}));
    showChart(w);
    const QImage img = tavrintest::grabImage(&w);
    const QRect r = w.d->plotRect;
    const QRgb black = qRgb(0, 0, 0);
    // The 2-pixel frame edges: left edge straddles the plot's left column,
    // bottom edge its bottom row.
    int leftBlack = 0, bottomBlack = 0;
    for (int x = r.left() - 2; x <= r.left() + 1; ++x)
        leftBlack += (img.pixel(x, r.center().y()) & 0xffffff) == (black & 0xffffff);
    for (int y = r.bottom() - 1; y <= r.bottom() + 2; ++y)
        bottomBlack += (img.pixel(r.center().x(), y) & 0xffffff) == (black & 0xffffff);
    QCOMPARE(leftBlack, 2);
    QVERIFY(bottomBlack >= 2);
    // Dashed grid lines: grid-coloured pixels along some row inside the
    // plot, with gaps between the dashes.
    const int grid = tavrintest::countColor(img, qRgb(0, 160, 0), r.adjusted(3, 3, -3, -3));
    QVERIFY(grid > 50);
    bool dashed = false;
    for (int y = r.top() + 3; y < r.bottom() - 3 && !dashed; ++y) {
        int on = 0, changes = 0;
        bool prev = false;
        for (int x = r.left() + 3; x < r.right() - 3; ++x) {
            const bool g = (img.pixel(x, y) & 0xffffff) == 0x00a000;
            on += g;
            changes += g != prev;
            prev = g;
        }
        dashed = on > r.width() / 4 && changes > 10;
    }
    QVERIFY(dashed);
}

void TestRendering::tooSmallForPlot()
{
    ChartWidget w;
    w.setTitle(QStringLiteral("Tiny"));
    auto *s = new CountingSeries;
    s->addXY(0, 0);
    s->addXY(1, 1);
    w.addSeries(s);
    showChart(w, 30, 20);
    s->draws = 0;
    QVERIFY(!w.d->plotRect.isValid());
    QVERIFY(w.d->pixmap.isNull());
    w.repaint();
    w.grab();
    QCOMPARE(s->draws, 0);
    // Growing again brings the plot back.
    w.resize(400, 300);
    QApplication::processEvents();
    QVERIFY(!w.d->pixmap.isNull());
    QVERIFY(s->draws > 0);
    // Zero and one pixel sizes survive as well.
    w.resize(0, 0);
    w.grab();
    w.resize(1, 1);
    w.grab();
}

void TestRendering::transparentImage()
{
    ChartWidget w;
    w.addSeries(lineOf({{0, 0}, {10, 10}}));
    showChart(w);
    const QImage img = w.d->pixmap.toImage();
    QCOMPARE(qAlpha(img.pixel(img.width() - 3, 2)), 0);
    w.clear();
    const QImage cleared = w.d->pixmap.toImage();
    for (int y = 0; y < cleared.height(); y += 7)
        for (int x = 0; x < cleared.width(); x += 7)
            QCOMPARE(qAlpha(cleared.pixel(x, y)), 0);
}

void TestRendering::lookAtIt()
{
    ChartWidget w;
    w.setTitle(QStringLiteral("Line voltage, one day"));
    w.axes()->bottom()->setDatetime(true);
    w.axes()->bottom()->setTitle(QStringLiteral("Time"));
    w.axes()->left()->setTitle(QStringLiteral("Volts"));
    auto *s = new LineSeries;
    s->setName(QStringLiteral("L1"));
    const uint start = QDateTime(QDate(2026, 3, 1), QTime(0, 0)).toSecsSinceEpoch();
    for (int i = 0; i <= 24 * 12; ++i)
        s->addXY(start + i * 300.0, 230 + 6 * std::sin(i / 20.0));
    w.addSeries(s);
    // A dense second series and two marker lines over the same day.
    auto *dense = new LineSeries;
    dense->setName(QStringLiteral("L2"));
    for (int i = 0; i < 100000; ++i)
        dense->addXY(start + i * 0.864, 228 + 3 * std::sin(i / 2000.0) + (i % 17) * 0.05);
    w.addSeries(dense);
    w.addVLine(new VLine(QDateTime(QDate(2026, 3, 1), QTime(6, 0)), Qt::darkMagenta, 2));
    w.addVLine(new VLine(QDateTime(QDate(2026, 3, 1), QTime(18, 30)), Qt::blue, 1));
    w.legend()->setVisible(true);
    showChart(w, 600, 400);
    const QString file = tavrintest::outputDir() + QStringLiteral("/chart-datetime.png");
    QVERIFY(w.grab().save(file));
}

TAVRIN_TEST(TestRendering)
#include "tst_rendering.moc"
