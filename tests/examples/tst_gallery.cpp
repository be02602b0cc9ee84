#include "testmain.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

// Runs the demo the way ./scripts/demo does without a display and checks
// that every tab came out as a picture of a chart.
class GalleryTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void printsEveryFile();
    void tab_data();
    void tab();

private:
    static QStringList keys()
    {
        return {QStringLiteral("live"), QStringLiteral("scatter"), QStringLiteral("minmax"),
                QStringLiteral("bars"), QStringLiteral("boxwhiskers"), QStringLiteral("highlow"),
                QStringLiteral("gantt"), QStringLiteral("million"), QStringLiteral("dark")};
    }

    QTemporaryDir m_tmp;
    QString m_dir;
    QStringList m_printed;
};

void GalleryTest::initTestCase()
{
    QVERIFY(m_tmp.isValid());
    // A folder the demo must create itself.
    m_dir = m_tmp.filePath(QStringLiteral("gallery/images"));
    QProcess demo;
    demo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    demo.setProcessEnvironment(env);
    demo.start(QStringLiteral(TAVRIN_DEMO_PATH), {QStringLiteral("--gallery"), m_dir});
    QVERIFY2(demo.waitForFinished(240000), "the demo did not finish its gallery");
    QCOMPARE(demo.exitStatus(), QProcess::NormalExit);
    QCOMPARE(demo.exitCode(), 0);
    m_printed = QString::fromLocal8Bit(demo.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void GalleryTest::printsEveryFile()
{
    QStringList expected;
    for (const QString &key : keys())
        expected << QDir(m_dir).filePath(key + QStringLiteral(".png"))
                 << QDir(m_dir).filePath(key + QStringLiteral(".svg"));
    QCOMPARE(m_printed, expected);
}

void GalleryTest::tab_data()
{
    QTest::addColumn<QString>("key");
    for (const QString &key : keys())
        QTest::newRow(qPrintable(key)) << key;
}

void GalleryTest::tab()
{
    QFETCH(QString, key);
    const QString base = QDir(m_dir).filePath(key);

    QImage png(base + QStringLiteral(".png"));
    QVERIFY2(!png.isNull(), "PNG missing or unreadable");
    QCOMPARE(png.size(), QSize(800, 500));
    png = png.convertToFormat(QImage::Format_RGB32);

    // A blank or broken chart is one flat colour, or only the greys of the
    // background, axes and text; the data is drawn in colour. The legend on
    // the right has coloured icons even for empty series: count left of it.
    QHash<QRgb, int> histogram;
    int coloured = 0;
    for (int y = 0; y < png.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(png.constScanLine(y));
        for (int x = 0; x < png.width(); ++x) {
            ++histogram[line[x]];
            if (x < png.width() * 3 / 4 && QColor(line[x]).hsvSaturation() > 100)
                ++coloured;
        }
    }
    int dominant = 0;
    for (int n : qAsConst(histogram))
        dominant = qMax(dominant, n);
    const int total = png.width() * png.height();
    QVERIFY2(histogram.size() >= 16, qPrintable(QStringLiteral("only %1 colours").arg(histogram.size())));
    QVERIFY2(dominant < total * 95 / 100, "one colour covers almost the whole image");
    QVERIFY2(coloured > 200, qPrintable(QStringLiteral("only %1 coloured pixels").arg(coloured)));

    QSvgRenderer svg(base + QStringLiteral(".svg"));
    QVERIFY2(svg.isValid(), "SVG missing or invalid");
    // The generator states its size in millimetres; only the shape is ours.
    const QSize svgSize = svg.defaultSize();
    QVERIFY(svgSize.width() > 0);
    QVERIFY(qAbs(double(svgSize.width()) / svgSize.height() - 800.0 / 500) < 0.01);
}

TAVRIN_TEST(GalleryTest)
#include "tst_gallery.moc"
