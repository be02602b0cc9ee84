#include "testmain.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

// Runs the demo the way ./scripts/demo does without a display and checks
// that every tab came out as a picture of a chart: the one place that looks
// at every kind's picture.
class GalleryTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void tab_data();
    void tab();

private:
    const QStringList keys{"live", "scatter", "minmax", "bars", "boxwhiskers", "highlow", "areas", "gantt", "million", "twoaxes", "logscale", "parts", "annotations", "waterfall", "heatmap", "dashboard", "equalscales", "histogram", "dark"};
    QTemporaryDir m_tmp;
    QString m_dir;
};

void GalleryTest::initTestCase()
{
    m_dir = m_tmp.filePath(QStringLiteral("gallery/images")); // a folder the demo must create itself
    QProcess demo;
    demo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    demo.setProcessEnvironment(env);
    demo.start(QStringLiteral(TAVRIN_DEMO_PATH), {QStringLiteral("--gallery"), m_dir});
    QVERIFY2(demo.waitForFinished(240000), "the demo did not finish its gallery");
    QCOMPARE(demo.exitCode(), 0);
    QStringList expected;
    for (const QString &key : keys)
        expected << QDir(m_dir).filePath(key + ".png") << QDir(m_dir).filePath(key + ".svg");
    QCOMPARE(QString::fromLocal8Bit(demo.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected);
}

void GalleryTest::tab_data()
{
    QTest::addColumn<QString>("key");
    for (const QString &key : keys)
        QTest::newRow(qPrintable(key)) << key;
}

// A blank or broken chart is one flat colour, or only the greys of the
// background, axes and text; the data is drawn in colour. The legend on the
// right has coloured icons even for empty series: count left of it.
void GalleryTest::tab()
{
    QFETCH(QString, key);
    const QImage png = QImage(QDir(m_dir).filePath(key + ".png")).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(png.size(), QSize(800, 500));
    QHash<QRgb, int> histogram;
    int coloured = 0, dominant = 0;
    for (int y = 0; y < png.height(); ++y)
        for (int x = 0; x < png.width(); ++x) {
            dominant = qMax(dominant, ++histogram[png.pixel(x, y)]);
            coloured += x < png.width() * 3 / 4 && QColor(png.pixel(x, y)).hsvSaturation() > 100;
        }
    QVERIFY2(dominant < png.width() * png.height() * 95 / 100, "one colour covers almost the whole image");
    QVERIFY2(coloured > 200, qPrintable(QStringLiteral("only %1 coloured pixels").arg(coloured)));
    // The generator states its size in millimetres; only the shape is ours.
    QSvgRenderer svg(QDir(m_dir).filePath(key + ".svg"));
    QVERIFY2(svg.isValid() && svg.defaultSize().width() > 0, "SVG missing or invalid");
    QVERIFY(qAbs(double(svg.defaultSize().width()) / svg.defaultSize().height() - 800.0 / 500) < 0.01);
}

TAVRIN_TEST(GalleryTest)
#include "tst_gallery.moc"
