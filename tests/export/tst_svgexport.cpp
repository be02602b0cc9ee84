#include "exportfixtures.h"
#include "testmain.h"
#include "testutil.h"

#include <chartwidget_p.h>
#include <legend.h>
#include <pointseries.h>

#include <QPainter>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSvgRenderer>

// Pixels close to a pure colour; the renderer smooths lines into their
// neighbours.
static int countLike(const QImage &image, Qt::GlobalColor color, const QRect &area = QRect())
{
    const QColor c(color);
    const QRect r = area.isNull() ? image.rect() : area.intersected(image.rect());
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (qAbs(p.red() - c.red()) < 80 && qAbs(p.green() - c.green()) < 80 && qAbs(p.blue() - c.blue()) < 80)
                ++n;
        }
    return n;
}

class TestSvgExport : public QObject
{
    Q_OBJECT
private slots:
    void sizeAndContent_data();
    void sizeAndContent();
    void pointSeriesSettingRestored();

private:
    QTemporaryDir dir;
};

void TestSvgExport::sizeAndContent_data()
{
    QTest::addColumn<bool>("legendShown");
    QTest::newRow("legend shown") << true;
    QTest::newRow("legend hidden") << false;
}

void TestSvgExport::sizeAndContent()
{
    QFETCH(bool, legendShown);
    ChartWidget w;
    w.setTitle(QStringLiteral("Chart"));
    LineSeries *line = namedLine(QStringLiteral("Zebra"), {{0, 0}, {10, 100}});
    line->setColor(Qt::red);
    w.addSeries(line);
    LineSeries *hidden = namedLine(QStringLiteral("Hidden"), {{0, 100}, {10, 0}});
    hidden->setColor(Qt::blue);
    w.addSeries(hidden);
    hidden->setVisible(false);
    w.legend()->setVisible(legendShown);
    w.resize(420, 310);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QApplication::processEvents();

    const QString file = dir.filePath(QStringLiteral("chart.svg"));
    QVERIFY(w.exportSvg(file));
    const QByteArray svg = readAll(file);
    QVERIFY(svg.contains("<svg"));
    QCOMPARE(svg.contains(">Zebra<"), legendShown);

    // The size is stated in millimetres at the SVG pixel's 96 dots per inch
    // and the view box is the widget's rectangle, so viewers open the image
    // at the widget's pixel size.
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("<svg width=\"([0-9.]+)mm\" height=\"([0-9.]+)mm\""))
            .match(QString::fromUtf8(svg));
    QVERIFY(size.hasMatch());
    QCOMPARE(qRound(size.captured(1).toDouble() / 25.4 * 96), w.width());
    QCOMPARE(qRound(size.captured(2).toDouble() / 25.4 * 96), w.height());
    QVERIFY(svg.contains(QStringLiteral("viewBox=\"0 0 %1 %2\"").arg(w.width()).arg(w.height()).toUtf8()));

    // Rendered at its own default size one user unit is one pixel, so the
    // image lines up with the widget.
    QSvgRenderer renderer(svg);
    QVERIFY(renderer.isValid());
    QImage image(renderer.defaultSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    image.save(tavrintest::outputDir() + QStringLiteral("/svgexport-%1.png")
                   .arg(legendShown ? QStringLiteral("legend") : QStringLiteral("nolegend")));

    // The series is drawn where the screen shows it; the hidden one is not
    // drawn at all. Outside the plot only the legend's icon may be red.
    const QRect plot = w.d->plotRect;
    QCOMPARE(countLike(image, Qt::blue, plot), 0);
    QVERIFY(countLike(image, Qt::red, plot) > 100);
    const int redOutside = countLike(image, Qt::red) - countLike(image, Qt::red, plot);
    if (legendShown)
        QCOMPARE(countLike(image, Qt::red, w.legend()->geometry()), redOutside);
    else
        QCOMPARE(redOutside, 0);
}

void TestSvgExport::pointSeriesSettingRestored()
{
    ChartWidget w;
    auto *points = new PointSeries(PointSeries::psSquare);
    points->setColor(Qt::red);
    points->setVectorRendering(false);
    for (int i = 0; i < 20; ++i)
        points->addXY(i, i * i);
    w.addSeries(points);
    w.resize(300, 200);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QApplication::processEvents();

    QSignalSpy refreshes(points, SIGNAL(refresh()));
    const QString file = dir.filePath(QStringLiteral("points.svg"));
    QVERIFY(w.exportSvg(file));
    QCOMPARE(refreshes.count(), 0);
    QVERIFY(!points->vectorRendering());
    QVERIFY(!points->signalsBlocked());
    QVERIFY(readAll(file).contains("#ff0000"));
}

TAVRIN_TEST(TestSvgExport)
#include "tst_svgexport.moc"
