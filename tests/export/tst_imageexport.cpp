// PNG, PDF, print and clipboard exports of the chart, and the context-menu
// entries that offer them.
#include "fixtures.h"
#include "testmain.h"
#include "fixtures.h"

#include <axes.h>
#include <axis.h>
#include <chartwidget_p.h>
#include <legend.h>
#include <pointseries.h>

#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTranslator>
#include <QSvgRenderer>

#ifdef TAVRIN_HAVE_PRINTSUPPORT
#include <QPrinter>
#endif

#include <cmath>

using namespace tavrintest;

namespace {

void fillChart(ChartWidget &w)
{
    w.setTitle(QStringLiteral("Export"));
    auto *line = lineOf({{0, 0}, {4, 3}, {8, 1}, {10, 4}}, QStringLiteral("Line"));
    line->setColor(Qt::blue);
    w.addSeries(line);
    auto *points = new PointSeries;
    points->setName(QStringLiteral("Points"));
    points->setColor(Qt::red);
    points->addXY(2, 2);
    points->addXY(6, 1);
    w.addSeries(points);
    w.legend()->setVisible(true);
    w.resize(400, 260);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.setAutoScale(false);
    w.setAutoScale(true);
}

QString outputFile(const QString &name)
{
    return tavrintest::outputDir() + QLatin1Char('/') + name;
}

// The text poppler reads from a PDF; null when pdftotext is not installed.
QString pdfText(const QString &file)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        return QString();
    QProcess p;
    p.start(pdftotext, {file, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The SVG as Qt's renderer draws it on white.
QImage drawSvg(const QByteArray &svg, const QSize &size)
{
    QSvgRenderer renderer(svg);
    QImage drawn(size, QImage::Format_ARGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    renderer.render(&painter);
    painter.end();
    return drawn;
}

// Pixels of `area` that `tinted` accepts.
int countTinted(const QImage &img, const QRect &area, bool (*tinted)(QRgb))
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += tinted(img.pixel(x, y));
    return n;
}

QStringList actionTexts(const ChartWidget &w)
{
    QStringList texts;
    for (QAction *a : w.actions())
        texts << a->text();
    return texts;
}

QStringList imageEntries()
{
    QStringList texts{QStringLiteral("Save as image ..."), QStringLiteral("Save in pdf ...")};
#ifdef TAVRIN_HAVE_PRINTSUPPORT
    texts << QStringLiteral("Print ...");
#endif
    texts << QStringLiteral("Copy to clipboard");
    return texts;
}

} // namespace

class TestImageExport : public QObject
{
    Q_OBJECT
private slots:
    void imageMatchesScreen();
    void imageAtOtherSize_data();
    void imageAtOtherSize();
    void imageFormats_data();
    void imageFormats();
    void imageFailures_data();
    void imageFailures();
    void pdf();
    void print();
    void clipboard();
    void exportsLeaveScreenAlone();
    void defaultMenu();
    void imageExportActions();
    void germanEntries();
    void bigLineSeriesSvg();
    void legendIconsAsVectors_data();
    void legendIconsAsVectors();

private:
    QTemporaryDir dir;
};

// At scale 1 the picture is the widget as it is on screen, pixel for pixel.
void TestImageExport::imageMatchesScreen()
{
    ChartWidget w;
    fillChart(w);
    const QImage screen = tavrintest::grabImage(&w).convertToFormat(QImage::Format_RGB32);
    const QImage image = w.toImage().convertToFormat(QImage::Format_RGB32);
    image.save(outputFile(QStringLiteral("imageexport-1x.png")));
    QCOMPARE(image.size(), w.size());
    QCOMPARE(image, screen);
}

void TestImageExport::imageAtOtherSize_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("autoScale");
    QTest::newRow("larger") << QSize(800, 500) << true;
    QTest::newRow("smaller") << QSize(300, 200) << true;
    QTest::newRow("larger, zoomed") << QSize(900, 300) << false;
}

// Another size lays the chart out anew for the picture: the plot fills it,
// the legend sits at its edge, texts keep their size; and the widget's own
// layout is exactly as before.
void TestImageExport::imageAtOtherSize()
{
    QFETCH(QSize, size);
    QFETCH(bool, autoScale);
    ChartWidget w;
    fillChart(w);
    if (!autoScale)
        w.axes()->bottom()->setRange(1, 9);
    const QRect plot = w.d->plotRect;
    const double bottomMin = w.axes()->bottom()->min(), leftMax = w.axes()->left()->max();
    const QImage screen = w.toImage();
    const QImage image = w.toImage(size, 1.0);
    image.save(outputFile(QStringLiteral("imageexport-%1x%2.png").arg(size.width()).arg(size.height())));
    QCOMPARE(image.size(), size);
    QCOMPARE(w.d->plotRect, plot);
    QCOMPARE(w.axes()->bottom()->min(), bottomMin);
    QCOMPARE(w.axes()->left()->max(), leftMax);
    QCOMPARE(w.toImage(), screen);

    // The blue line spans the plot of the picture, not that of the widget.
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    int minX = size.width(), maxX = -1;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            if (rgb.pixel(x, y) == qRgb(0, 0, 255)) {
                minX = qMin(minX, x);
                maxX = qMax(maxX, x);
            }
    const int legendWidth = w.legend()->width();
    // The plot takes all the width gained; the label band may differ by a
    // few pixels with the ticks of the new size.
    const int plotWidth = plot.width() + size.width() - w.width();
    // Data from 0 to 10 fill it but for the 20-pixel pad at each end.
    if (autoScale)
        QVERIFY2(qAbs((maxX - minX) - (plotWidth - 41)) <= 6,
                 qPrintable(QStringLiteral("%1..%2 for %3").arg(minX).arg(maxX).arg(plotWidth)));
    // Nothing of the series outside the plot, as on screen.
    const QRect outside(0, 0, size.width() - legendWidth, size.height());
    const QRect imagePlot(plot.left(), plot.top(), plotWidth, size.height() - (w.height() - plot.height()));
    int strays = 0;
    for (int y = outside.top(); y <= outside.bottom(); ++y)
        for (int x = outside.left(); x <= outside.right(); ++x)
            strays += !imagePlot.contains(x, y) && rgb.pixel(x, y) == qRgb(0, 0, 255);
    QCOMPARE(strays, 0);
    // The legend at the picture's right edge: its red marker icon too.
    const QRect legendArea(size.width() - legendWidth, 0, legendWidth, size.height());
    QVERIFY(tavrintest::countColor(rgb, qRgb(255, 0, 0), legendArea) > 3);
}

void TestImageExport::imageFormats_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<QByteArray>("readAs");
    QTest::newRow("png by suffix") << "a.png" << QByteArray() << 1.0 << QByteArray("png");
    QTest::newRow("png, no suffix") << "plain" << QByteArray() << 1.0 << QByteArray("png");
    QTest::newRow("upper-case suffix") << "b.PNG" << QByteArray() << 2.0 << QByteArray("png");
    QTest::newRow("jpeg by suffix") << "c.jpg" << QByteArray() << 1.5 << QByteArray("jpg");
    QTest::newRow("bmp named, other suffix") << "d.img" << QByteArray("bmp") << 1.0 << QByteArray("bmp");
}

void TestImageExport::imageFormats()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFETCH(qreal, scale);
    QFETCH(QByteArray, readAs);
    if (!QImageWriter::supportedImageFormats().contains(readAs))
        QSKIP("Qt has no writer for this format here");
    ChartWidget w;
    fillChart(w);
    const QString file = dir.filePath(name);
    QVERIFY(w.exportImage(file, QSize(), scale, format.isEmpty() ? nullptr : format.constData()));
    QImage read;
    QVERIFY(read.load(file, readAs.constData()));
    QCOMPARE(read.size(), w.size() * scale);
    if (scale == 2.0) {
        read.save(outputFile(QStringLiteral("imageexport-2x.png")));
        // Twice as sharp, not twice as large: the title keeps its place.
        const QImage half = read.scaled(w.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QVERIFY(tavrintest::countColor(half, qRgb(0, 0, 255)) > 0);
    }
}

void TestImageExport::imageFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<qreal>("scale");
    QTest::newRow("unknown format") << "a.png" << QByteArray("no-such-format") << 1.0;
    QTest::newRow("unknown suffix") << "a.nosuch" << QByteArray() << 1.0;
    QTest::newRow("zero scale") << "a.png" << QByteArray() << 0.0;
    QTest::newRow("negative scale") << "a.png" << QByteArray() << -1.0;
    QTest::newRow("NaN scale") << "a.png" << QByteArray() << qreal(std::nan(""));
    QTest::newRow("too large") << "a.png" << QByteArray() << 1000.0;
    QTest::newRow("missing folder") << "missing/a.png" << QByteArray() << 1.0;
}

// A failed export returns false and leaves an existing file as it was.
void TestImageExport::imageFailures()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFETCH(qreal, scale);
    ChartWidget w;
    fillChart(w);
    const QString file = dir.filePath(name);
    const bool existing = QFileInfo(file).dir().exists();
    if (existing)
        QVERIFY(writeAll(file, "old"));
    QVERIFY(!w.exportImage(file, QSize(), scale, format.isEmpty() ? nullptr : format.constData()));
    if (existing)
        QCOMPARE(readAll(file), QByteArray("old"));
    else
        QVERIFY(!QFileInfo::exists(file));
}

// The PDF is vectors: its page is the widget's size and, rendered back by
// poppler where it is installed, it shows the chart as on screen.
void TestImageExport::pdf()
{
    ChartWidget w;
    fillChart(w);
    const QString file = outputFile(QStringLiteral("imageexport.pdf"));
    QVERIFY(w.exportPdf(file));
    const QByteArray data = readAll(file);
    QVERIFY(data.startsWith("%PDF-"));
    QVERIFY(data.contains("/MediaBox [0 0 300.000000 195.000000]"));
    QVERIFY(!data.contains("/Subtype /Image /Width 400")); // not one big picture
    QVERIFY(!w.exportPdf(dir.filePath(QStringLiteral("missing/a.pdf"))));
    const QString text = pdfText(file);
    if (!text.isNull())
        for (const char *t : {"Export", "Line", "Points", "3.5", "10"})
            QVERIFY2(text.contains(QLatin1String(t)), qPrintable(text));

    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        QSKIP("pdftoppm is not installed");
    const QString base = outputFile(QStringLiteral("imageexport-pdf"));
    QCOMPARE(QProcess::execute(pdftoppm, {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("96"),
                                          QStringLiteral("-singlefile"), file, base}),
             0);
    const QImage back(base + QStringLiteral(".png"));
    QCOMPARE(back.size(), w.size());
    // The blue line and the red markers are where the screen has them.
    const QImage screen = tavrintest::grabImage(&w);
    const QRect plot = w.d->plotRect;
    auto near = [](QRgb a, QRgb b) {
        return qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b)) < 60;
    };
    int blue = 0, matched = 0;
    for (int y = plot.top(); y <= plot.bottom(); ++y)
        for (int x = plot.left(); x <= plot.right(); ++x)
            if (screen.pixel(x, y) == qRgb(0, 0, 255)) {
                ++blue;
                // One pixel of slack for the rasterisers' different rounding.
                bool found = false;
                for (int dy = -1; dy <= 1 && !found; ++dy)
                    for (int dx = -1; dx <= 1 && !found; ++dx)
                        found = near(back.pixel(qBound(0, x + dx, back.width() - 1),
                                                qBound(0, y + dy, back.height() - 1)),
                                     qRgb(0, 0, 255));
                matched += found;
            }
    QVERIFY(blue > 50);
    QVERIFY2(matched >= blue * 9 / 10, qPrintable(QStringLiteral("%1 of %2").arg(matched).arg(blue)));
}

void TestImageExport::print()
{
    ChartWidget w;
    fillChart(w);
    QVERIFY(!w.print(nullptr));
#ifdef TAVRIN_HAVE_PRINTSUPPORT
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString file = outputFile(QStringLiteral("imageexport-print.pdf"));
    printer.setOutputFileName(file);
    QVERIFY(w.print(&printer));
    const QByteArray data = readAll(file);
    QVERIFY(data.startsWith("%PDF-"));
    QVERIFY(data.contains("/Type /Page"));
    // Texts keep their size relative to the chart, so all of them are on
    // the page.
    const QString text = pdfText(file);
    if (!text.isNull())
        for (const char *t : {"Export", "Line", "Points", "3.5", "10"})
            QVERIFY2(text.contains(QLatin1String(t)), qPrintable(text));
#else
    QSKIP("built without Qt's print support");
#endif
}

void TestImageExport::clipboard()
{
    ChartWidget w;
    fillChart(w);
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    QVERIFY(w.copyToClipboard());
    const QImage copied = clipboard->image();
    if (copied.isNull())
        QSKIP("the platform keeps no clipboard");
    QCOMPARE(copied.convertToFormat(QImage::Format_RGB32), w.toImage().convertToFormat(QImage::Format_RGB32));

    ChartWidget empty; // never shown, so of no size
    empty.resize(0, 0);
    QVERIFY(!empty.copyToClipboard());
}

// Exporting renders nothing on screen and changes no setting of a series.
void TestImageExport::exportsLeaveScreenAlone()
{
    ChartWidget w;
    fillChart(w);
    auto *points = static_cast<PointSeries *>(w.series(2));
    const bool vector = points->vectorRendering();
    const QImage before = w.d->pixmap.toImage();
    QSignalSpy refreshes(points, SIGNAL(refresh()));
    QVERIFY(w.exportImage(dir.filePath(QStringLiteral("s.png"))));
    QVERIFY(w.exportPdf(dir.filePath(QStringLiteral("s.pdf"))));
    QVERIFY(!w.toImage(QSize(), 3).isNull());
    QCOMPARE(refreshes.count(), 0);
    QCOMPARE(points->vectorRendering(), vector);
    QCOMPARE(w.d->pixmap.toImage(), before);
}

// A host that asks for nothing new gets the three entries of old, with the
// icons from the resources.
void TestImageExport::defaultMenu()
{
    ChartWidget w;
    QVERIFY(!w.imageExportActions());
    QCOMPARE(actionTexts(w), (QStringList{"Save in Excel-xml ...", "Save in csv ...", "Save in svg ..."}));
    const char *icons[] = {":/resources/xml_export.png", ":/resources/csv_export.png", ":/resources/svg_export.png"};
    for (int i = 0; i < 3; ++i) {
        const QImage expected(QString::fromLatin1(icons[i]));
        QCOMPARE(w.actions().at(i)->icon().pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32),
                 expected.convertToFormat(QImage::Format_ARGB32));
    }
}

void TestImageExport::imageExportActions()
{
    ChartWidget w;
    QSignalSpy changed(&w, SIGNAL(imageExportActionsChanged(bool)));
    QVERIFY(w.setProperty("imageExportActions", true));
    QVERIFY(w.imageExportActions());
    w.setImageExportActions(true);
    QCOMPARE(changed.count(), 1);
    const QStringList old{"Save in Excel-xml ...", "Save in csv ...", "Save in svg ..."};
    QCOMPARE(actionTexts(w), old + imageEntries());
    for (QAction *a : w.actions()) {
        QVERIFY(!a->icon().isNull());
        QCOMPARE(a->parent(), &w);
    }

    // The copy entry needs no dialog.
    w.resize(200, 150);
    QGuiApplication::clipboard()->clear();
    w.actions().constLast()->trigger();
    if (!QGuiApplication::clipboard()->image().isNull())
        QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(200, 150));

    w.setImageExportActions(false);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(1).at(0).toBool(), false);
    QCOMPARE(actionTexts(w), old);
    w.setImageExportActions(false);
    QCOMPARE(changed.count(), 2);
}

void TestImageExport::germanEntries()
{
    const QString qm = QCoreApplication::applicationDirPath() + QStringLiteral("/tavrin_de.qm");
    QTranslator translator;
    QVERIFY2(translator.load(qm), qPrintable(qm));
    QCoreApplication::installTranslator(&translator);
    ChartWidget w;
    w.setImageExportActions(true);
    const QStringList texts = actionTexts(w).mid(3);
    QCoreApplication::removeTranslator(&translator);
    QStringList expected{QStringLiteral("Als Bild speichern ..."), QStringLiteral("Als PDF speichern ...")};
#ifdef TAVRIN_HAVE_PRINTSUPPORT
    expected << QStringLiteral("Drucken ...");
#endif
    expected << QStringLiteral("In die Zwischenablage kopieren");
    QCOMPARE(texts, expected);
}

// A line series with far more points than pixel columns becomes a few
// thousand SVG elements, not one per point, and still looks like the screen.
void TestImageExport::bigLineSeriesSvg()
{
    ChartWidget w;
    w.setAntialiasing(true);
    auto *line = new LineSeries;
    line->setColor(Qt::blue);
    for (int i = 0; i < 200000; ++i)
        line->addXY(i, std::sin(i / 3000.0) + 0.3 * std::sin(i / 7.0));
    w.addSeries(line);
    w.resize(400, 260);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.setAutoScale(false);
    w.setAutoScale(true);
    const QString file = outputFile(QStringLiteral("imageexport-big.svg"));
    QVERIFY(w.exportSvg(file));
    const QByteArray svg = readAll(file);
    const int elements = svg.count("<polyline") + svg.count("<path");
    QVERIFY2(elements < 2000, qPrintable(QString::number(elements)));

    const QImage drawn = drawSvg(svg, w.size());
    // As dark as the screen: the many segments per column saturate there too.
    const QImage screen = tavrintest::grabImage(&w);
    auto darkBlue = [](const QImage &img, const QRect &r) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += qBlue(img.pixel(x, y)) > 200 && qRed(img.pixel(x, y)) < 60;
        return n;
    };
    const int onScreen = darkBlue(screen, w.d->plotRect);
    const int inSvg = darkBlue(drawn, w.d->plotRect);
    QVERIFY2(qAbs(onScreen - inSvg) < onScreen / 10,
             qPrintable(QStringLiteral("screen %1, svg %2").arg(onScreen).arg(inSvg)));
}

namespace {

// A host's series with an icon of its own, which only it knows how to draw.
class OwnIconSeries : public LineSeries
{
public:
    QIcon icon(int size) override
    {
        QPixmap pm(size, size);
        pm.fill(Qt::magenta);
        return QIcon(pm);
    }
};

} // namespace

void TestImageExport::legendIconsAsVectors_data()
{
    QTest::addColumn<bool>("hostIcon");
    QTest::addColumn<int>("images");
    QTest::newRow("library series") << false << 0;
    QTest::newRow("host's own icon") << true << 1;
}

// The legend's check boxes and the library's icons reach SVG and PDF as
// vectors; an icon only the host can draw stays a picture.
void TestImageExport::legendIconsAsVectors()
{
    QFETCH(bool, hostIcon);
    QFETCH(int, images);
    ChartWidget w;
    fillChart(w);
    if (hostIcon) {
        auto *own = new OwnIconSeries;
        own->setName(QStringLiteral("Own"));
        own->addXY(1, 1);
        own->addXY(2, 2);
        w.addSeries(own);
        QCoreApplication::processEvents(); // the new check box shows from the event loop
    }
    const QString file = outputFile(QStringLiteral("imageexport-legend-%1.svg").arg(hostIcon));
    QVERIFY(w.exportSvg(file));
    const QByteArray svg = readAll(file);
    QCOMPARE(svg.count("<image"), images);
    for (const char *name : {">Line<", ">Points<"})
        QVERIFY(svg.contains(name));

    // Drawn back, the legend has the series' colours where the icons are.
    const QImage drawn = drawSvg(svg, w.size());
    drawn.save(outputFile(QStringLiteral("imageexport-legend-%1.png").arg(hostIcon)));
    const QRect legend = w.legend()->geometry();
    // The thin line icon is scaled down, as on screen, so it is pale.
    QVERIFY(countTinted(drawn, legend, [](QRgb p) { return qBlue(p) - qRed(p) > 40; }) > 3);
    QVERIFY(countTinted(drawn, legend, [](QRgb p) { return qRed(p) - qBlue(p) > 150; }) > 3);
    const int magenta = countTinted(drawn, legend, [](QRgb p) {
        return qRed(p) > 200 && qBlue(p) > 200 && qGreen(p) < 80;
    });
    QCOMPARE(magenta > 3, hostIcon);
}

TAVRIN_TEST(TestImageExport)
#include "tst_imageexport.moc"
