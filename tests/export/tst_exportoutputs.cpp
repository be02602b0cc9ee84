// The exports beyond the byte-exact tables: text the sheet must carry,
// pictures at any size and scale, PDF, print, clipboard, the menu entries
// that offer them, and vector SVG.
#include "fixtures.h"
#include "testmain.h"

#include <exporttable_p.h>
#include <imagewriter_p.h>

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QFileDialog>
#include <QImageWriter>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTimer>
#include <QXmlStreamReader>

#ifdef TAVRIN_HAVE_PRINTSUPPORT
#include <QPrinter>
#endif

using namespace tavrintest;

namespace {

ExportTable tableOf(const QString &name, const QStringList &columns, const QList<QList<QVariant>> &rows)
{
    ExportTable table;
    table.blocks << ExportColumns{name, columns, int(rows.size()), [rows](int r) { return rows.value(r); }};
    return table;
}

QString utf16(std::initializer_list<ushort> units) { return QString(reinterpret_cast<const QChar *>(units.begin()), int(units.size())); }

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
    showChart(w, 400, 260);
    w.setAutoScale(false);
    w.setAutoScale(true);
}

QString outputFile(const QString &name) { return outputDir() + QLatin1Char('/') + name; }

template <typename Pred> int countTinted(const QImage &img, const QRect &area, Pred tinted)
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

// A host's series with an icon of its own, which only it knows how to draw.
struct OwnIconSeries : LineSeries {
    OwnIconSeries() { setName(QStringLiteral("Own")); addXY(1, 1); }
    QIcon icon(int size) override { QPixmap pm(size, size); pm.fill(Qt::magenta); return QIcon(pm); }
};

} // namespace

class TestExportOutputs : public QObject
{
    Q_OBJECT
private slots:
    void xmlCarriesEveryText_data();
    void xmlCarriesEveryText();
    void logicalPixels();
    void imageAtSize_data();
    void imageAtSize();
    void imageFiles_data();
    void imageFiles();
    void pdfPrintClipboard();
    void menu();
    void menuDialogs_data();
    void menuDialogs();
    void svgVectors();
    void colorMapOneImage();

private:
    QTemporaryDir dir;
};

void TestExportOutputs::xmlCarriesEveryText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QString fffd(QChar(QChar::ReplacementCharacter));
    QTest::newRow("markup, tab, newline") << QStringLiteral("a<b & \"c\"\t\n") << QStringLiteral("a<b & \"c\"\t\n");
    QTest::newRow("U+0001, U+000B, NUL") << utf16({'a', 0x1, 'b', 0xb, 0x0}) << "a" + fffd + "b" + fffd + fffd;
    QTest::newRow("lone high surrogate") << utf16({'a', 0xd83d, 'b'}) << "a" + fffd + "b";
    QTest::newRow("lone low surrogate") << utf16({0xde00, 'b'}) << fffd + "b";
    QTest::newRow("high surrogate at end") << utf16({'a', 0xd83d}) << "a" + fffd;
    QTest::newRow("U+FFFE, U+FFFF") << utf16({0xfffe, 'x', 0xffff}) << fffd + "x" + fffd;
    QTest::newRow("pair, U+FFFD, U+E000, U+D7FF, umlauts kept")
        << utf16({0xd83d, 0xde00, 0xfffd, 0xe000, 0xd7ff, 0xf6, 0xb5}) << utf16({0xd83d, 0xde00, 0xfffd, 0xe000, 0xd7ff, 0xf6, 0xb5});
}

// Series name, column name and a text cell all go through a real parser.
void TestExportOutputs::xmlCarriesEveryText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(writeSpreadsheetXml(&buffer, tableOf(text, {QStringLiteral("X"), text}, {{1.5, text}})));
    QXmlStreamReader reader(buffer.data());
    QStringList cells;
    while (!reader.atEnd())
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("Data"))
            cells << reader.readElementText();
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    QCOMPARE(cells, (QStringList{expected, QStringLiteral("X"), expected, QStringLiteral("1.5"), expected}));
}

// Pictures are painted in logical pixels.
void TestExportOutputs::logicalPixels()
{
    const auto paint = [](QPainter *p) { p->fillRect(QRect(10, 5, 20, 10), Qt::red); };
    const QImage image = paintImage(QSize(40, 30), 2, Qt::white, false, paint);
    QCOMPARE(image.devicePixelRatio(), 2.0);
    QCOMPARE(inked(image.convertToFormat(QImage::Format_RGB32), qRgb(255, 255, 255)), QRect(20, 10, 40, 20));
    QVERIFY(paintImage(QSize(0, 30), 1, Qt::white, false, paint).isNull());
    // Refused before any size is rounded to int.
    for (qreal scale : {qreal(Inf), qreal(1e300), qreal(NaN), qreal(-2)})
        QVERIFY(paintImage(QSize(100, 100), scale, Qt::white, false, paint).isNull());
}

void TestExportOutputs::imageAtSize_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("autoScale");
    QTest::newRow("widget's") << QSize() << true;
    QTest::newRow("larger") << QSize(800, 500) << true;
    QTest::newRow("smaller") << QSize(300, 200) << true;
    QTest::newRow("larger, zoomed") << QSize(900, 300) << false;
}

// At its own size the picture is the screen, pixel for pixel. Another size
// lays the chart out anew for the picture (plot fills it, legend at its
// edge) and leaves the widget's layout exactly as it was.
void TestExportOutputs::imageAtSize()
{
    QFETCH(QSize, size);
    QFETCH(bool, autoScale);
    ChartWidget w;
    fillChart(w);
    if (!autoScale)
        w.axes()->bottom()->setRange(1, 9);
    const QRect plot = w.d->plotRect;
    // Zoomed, the screen is redrawn from the event loop; the picture is not.
    const QImage screen = (size.isValid() ? w.toImage() : grabImage(&w)).convertToFormat(QImage::Format_RGB32);
    const QImage image = w.toImage(size, 1.0).convertToFormat(QImage::Format_RGB32);
    if (!size.isValid()) {
        QCOMPARE(image, screen);
        return;
    }
    QCOMPARE(image.size(), size);
    QCOMPARE(w.d->plotRect, plot);
    QCOMPARE(w.toImage().convertToFormat(QImage::Format_RGB32), screen);

    // The plot takes all the width gained (the label band may differ by a
    // few pixels); the blue line spans it but for the 20-pixel pads and
    // nothing of it is outside.
    const int legendWidth = w.legend()->width();
    const int plotWidth = plot.width() + size.width() - w.width();
    const QRect imagePlot(plot.left(), plot.top(), plotWidth, size.height() - (w.height() - plot.height()));
    int minX = size.width(), maxX = -1, strays = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width() - legendWidth; ++x)
            if (image.pixel(x, y) == qRgb(0, 0, 255)) {
                minX = qMin(minX, x);
                maxX = qMax(maxX, x);
                strays += !imagePlot.contains(x, y);
            }
    QCOMPARE(strays, 0);
    if (autoScale)
        QVERIFY2(qAbs((maxX - minX) - (plotWidth - 41)) <= 6, qPrintable(QStringLiteral("%1..%2").arg(minX).arg(maxX)));
    // The legend at the picture's right edge: its red marker icon too.
    QVERIFY(countColor(image, qRgb(255, 0, 0), QRect(size.width() - legendWidth, 0, legendWidth, size.height())) > 3);
}

void TestExportOutputs::imageFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<QByteArray>("readAs"); // empty: the export must fail
    const QByteArray none;
    QTest::newRow("png by suffix") << "a.png" << none << QSize() << 1.0 << QByteArray("png");
    QTest::newRow("png, no suffix") << "plain" << none << QSize() << 1.0 << QByteArray("png");
    QTest::newRow("upper-case suffix") << "b.PNG" << none << QSize() << 2.0 << QByteArray("png");
    QTest::newRow("chosen size") << "s.png" << none << QSize(300, 200) << 2.0 << QByteArray("png");
    QTest::newRow("jpeg by suffix") << "c.jpg" << none << QSize() << 1.5 << QByteArray("jpg");
    QTest::newRow("bmp named, other suffix") << "d.img" << QByteArray("bmp") << QSize() << 1.0 << QByteArray("bmp");
    QTest::newRow("unknown format") << "a.png" << QByteArray("no-such-format") << QSize() << 1.0 << none;
    QTest::newRow("unknown suffix") << "a.nosuch" << none << QSize() << 1.0 << none;
    QTest::newRow("zero scale") << "a.png" << none << QSize() << 0.0 << none;
    QTest::newRow("NaN scale") << "a.png" << none << QSize() << qreal(NaN) << none;
    QTest::newRow("too large") << "a.png" << none << QSize() << 1000.0 << none;
}

// A failed export returns false and leaves an existing file as it was.
void TestExportOutputs::imageFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFETCH(QSize, size);
    QFETCH(qreal, scale);
    QFETCH(QByteArray, readAs);
    if (!readAs.isEmpty() && !QImageWriter::supportedImageFormats().contains(readAs))
        QSKIP("Qt has no writer for this format here");
    ChartWidget w;
    fillChart(w);
    const QString file = dir.filePath(name);
    QVERIFY(writeAll(file, "old"));
    QCOMPARE(w.exportImage(file, size, scale, format.isEmpty() ? nullptr : format.constData()), !readAs.isEmpty());
    if (readAs.isEmpty()) {
        QCOMPARE(readAll(file), QByteArray("old"));
        return;
    }
    QImage read;
    QVERIFY(read.load(file, readAs.constData()));
    QCOMPARE(read.size(), (size.isValid() ? size : w.size()) * scale);
    read.setDevicePixelRatio(scale);
    if (readAs != "jpg") // lossless: the picture itself
        QCOMPARE(read.convertToFormat(QImage::Format_RGB32), w.toImage(size, scale).convertToFormat(QImage::Format_RGB32));
}

// The PDF is vectors of the widget's size, which poppler, where it is
// installed, draws back as on screen. Exports, printing and copying work on
// the side: nothing is rendered on screen, no setting of a series changes.
void TestExportOutputs::pdfPrintClipboard()
{
    ChartWidget w;
    fillChart(w);
    auto *points = static_cast<PointSeries *>(w.series(2));
    const bool vector = points->vectorRendering();
    const QImage before = w.d->pixmap.toImage();
    QSignalSpy refreshes(points, SIGNAL(refresh()));
    const QString file = outputFile(QStringLiteral("imageexport.pdf"));
    QVERIFY(w.exportPdf(file));
    const QByteArray data = readAll(file);
    QVERIFY(data.contains("/MediaBox [0 0 300.000000 195.000000]"));
    QVERIFY(!data.contains("/Subtype /Image /Width 400")); // not one big picture
    QVERIFY(!w.print(nullptr));
#ifdef TAVRIN_HAVE_PRINTSUPPORT
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(outputFile(QStringLiteral("imageexport-print.pdf")));
    QVERIFY(w.print(&printer));
    QVERIFY(readAll(printer.outputFileName()).startsWith("%PDF-") && readAll(printer.outputFileName()).contains("/Type /Page"));
#endif
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    QVERIFY(w.copyToClipboard());
    if (!clipboard->image().isNull())
        QCOMPARE(clipboard->image().convertToFormat(QImage::Format_RGB32),
                 w.toImage().convertToFormat(QImage::Format_RGB32));
    QCOMPARE(refreshes.count(), 0);
    QCOMPARE(points->vectorRendering(), vector);
    QCOMPARE(w.d->pixmap.toImage(), before);
    ChartWidget empty; // never shown, so of no size
    empty.resize(0, 0);
    QFile::remove(outputFile(QStringLiteral("empty.pdf")));
    QVERIFY(!empty.copyToClipboard() && !empty.exportPdf(outputFile(QStringLiteral("empty.pdf"))));
    QVERIFY(!QFileInfo::exists(outputFile(QStringLiteral("empty.pdf"))));

    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        QSKIP("pdftoppm is not installed");
    const QString base = outputFile(QStringLiteral("imageexport-pdf"));
    QCOMPARE(QProcess::execute(pdftoppm, {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("96"),
                                          QStringLiteral("-singlefile"), file, base}), 0);
    const QImage back(base + QStringLiteral(".png"));
    QCOMPARE(back.size(), w.size());
    // The blue line is where the screen has it, within a pixel of slack for
    // the rasterisers' different rounding.
    const QImage screen = grabImage(&w);
    int blue = 0, matched = 0;
    for (int y = w.d->plotRect.top(); y <= w.d->plotRect.bottom(); ++y)
        for (int x = w.d->plotRect.left(); x <= w.d->plotRect.right(); ++x)
            if (screen.pixel(x, y) == qRgb(0, 0, 255)) {
                ++blue;
                matched += countTinted(back, QRect(x - 1, y - 1, 3, 3).intersected(back.rect()), [](QRgb p) {
                    return qRed(p) + qGreen(p) + 255 - qBlue(p) < 60;
                }) > 0;
            }
    QVERIFY(blue > 50);
    QVERIFY2(matched >= blue * 9 / 10, qPrintable(QStringLiteral("%1 of %2").arg(matched).arg(blue)));
}

// By default the three entries of old; the host may ask for the image
// entries after them, and take them away again.
void TestExportOutputs::menu()
{
    const QStringList old{"Save in Excel-xml ...", "Save in csv ...", "Save in svg ..."};
    ChartWidget w;
    QCOMPARE(actionTexts(w), old);
    w.setImageExportActions(true);
    QStringList added{"Save as image ...", "Save in pdf ..."};
#ifdef TAVRIN_HAVE_PRINTSUPPORT
    added << "Print ...";
#endif
    QCOMPARE(actionTexts(w), old + added << "Copy to clipboard");
    for (QAction *a : w.actions())
        QVERIFY(!a->icon().isNull());
    w.resize(200, 150);
    w.actions().constLast()->trigger(); // copying needs no dialog; a platform may keep no clipboard
    const QImage copied = QGuiApplication::clipboard()->image();
    QVERIFY(copied.isNull() || copied.size() == QSize(200, 150));
    w.setImageExportActions(false);
    QCOMPARE(actionTexts(w), old);
}

void TestExportOutputs::menuDialogs_data()
{
    QTest::addColumn<QString>("file"); // empty: the dialog is cancelled
    QTest::addColumn<bool>("written");
    QTest::newRow("cancelled") << QString() << false;
    QTest::newRow("written") << QStringLiteral("a.csv") << true;
    QTest::newRow("missing folder") << QStringLiteral("missing/a.csv") << false;
}

// A menu entry asks for the file; a file it cannot write ends in the
// "Error" box, a cancelled dialog in nothing.
void TestExportOutputs::menuDialogs()
{
    QFETCH(QString, file);
    QFETCH(bool, written);
    ChartWidget w;
    w.addSeries(lineOf({{0, 0}, {1, 1}}));
    QTemporaryDir dir;
    QString box;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        if (file.isEmpty())
            return dialog->reject();
        dialog->selectFile(dir.filePath(file));
        QTimer::singleShot(0, [&] {
            if (auto *error = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                box = error->windowTitle() + QLatin1Char(':') + error->text();
                error->accept();
            }
        });
        QMetaObject::invokeMethod(dialog, "accept");
    });
    w.actions().at(1)->trigger();
    QCOMPARE(QFile::exists(dir.filePath(file)) && !file.isEmpty(), written);
    QCOMPARE(box.startsWith(QLatin1String("Error:")), !written && !file.isEmpty());
}

// The file has the widget's pixel size at 96 dots per inch. Far more points
// than pixel columns become a few SVG elements, not one per point, and look
// as dark as on screen, where the segments saturate too. The legend's check
// boxes and the library's icons are vectors; an icon only the host can draw
// stays the one picture. A hidden series shows only in the legend.
void TestExportOutputs::svgVectors()
{
    ChartWidget w;
    w.setAntialiasing(true);
    auto *big = new LineSeries;
    big->setColor(Qt::blue);
    for (int i = 0; i < 200000; ++i)
        big->addXY(i / 20000.0, std::sin(i / 3000.0) + 0.3 * std::sin(i / 7.0));
    w.addSeries(big);
    w.addSeries(new OwnIconSeries);
    LineSeries *hidden = lineOf({{0, 4}, {10, 0}}, QStringLiteral("Hidden"));
    hidden->setColor(QColor(1, 2, 3));
    w.addSeries(hidden);
    hidden->setVisible(false);
    fillChart(w);
    const QString file = outputFile(QStringLiteral("imageexport-vectors.svg"));
    QVERIFY(w.exportSvg(file));
    const QByteArray svg = readAll(file);
    QVERIFY(svg.contains("<svg width=\"105.833mm\" height=\"68.7917mm\"") && svg.contains("viewBox=\"0 0 400 260\""));
    const int elements = svg.count("<polyline") + svg.count("<path");
    QVERIFY2(elements < 2000, qPrintable(QString::number(elements)));
    QCOMPARE(svg.count("<image"), 1);
    QVERIFY(svg.contains(">Line<") && svg.contains(">Points<"));
    QImage drawn(w.size(), QImage::Format_ARGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    QSvgRenderer(svg).render(&painter);
    const auto darkBlue = [](QRgb p) { return qBlue(p) > 200 && qRed(p) < 60; };
    const int onScreen = countTinted(grabImage(&w), w.d->plotRect, darkBlue);
    const int inSvg = countTinted(drawn, w.d->plotRect, darkBlue);
    QVERIFY2(qAbs(onScreen - inSvg) < onScreen / 10, qPrintable(QStringLiteral("%1, %2").arg(onScreen).arg(inSvg)));
    // The series' colours where the legend's icons are; the thin line icon
    // is scaled down, as on screen, so it is pale.
    const QRect legend = w.legend()->geometry();
    QVERIFY(countTinted(drawn, legend, [](QRgb p) { return qBlue(p) - qRed(p) > 40; }) > 3);
    QVERIFY(countTinted(drawn, legend, [](QRgb p) { return qRed(p) - qBlue(p) > 150; }) > 3);
    QVERIFY(countTinted(drawn, legend, [](QRgb p) { return qRed(p) > 200 && qBlue(p) > 200 && qGreen(p) < 80; }) > 3);
    QVERIFY(svg.contains("#010203"));
    w.legend()->setVisible(false);
    QVERIFY(w.exportSvg(file));
    QVERIFY(!readAll(file).contains(">Line<") && !readAll(file).contains("#010203"));
}

// A map of 60,000 cells goes into SVG and PDF as one image at the output's
// resolution beside a colour scale of vectors, and the SVG shows on paper
// the colours the screen shows.
void TestExportOutputs::colorMapOneImage()
{
    ChartWidget w;
    w.resize(400, 260);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto *map = new ColorMapSeries;
    QVector<double> v;
    for (int r = 0; r < 200; ++r)
        for (int c = 0; c < 300; ++c)
            v << c + r;
    QVERIFY(map->setData(v, 300, 200, 0, 3, 0, 2));
    w.addSeries(map);
    QCoreApplication::processEvents();
    const QString file = outputFile(QStringLiteral("imageexport-colormap.svg"));
    QVERIFY(w.exportSvg(file));
    const QByteArray svg = readAll(file);
    QCOMPARE(svg.count("<image"), 1);
    QVERIFY(svg.contains("<linearGradient")); // the bar
    QVERIFY2(svg.count("<path") + svg.count("<polyline") + svg.count("<rect") < 200, svg.left(200).constData());
    QImage drawn(w.size(), QImage::Format_ARGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    QSvgRenderer(svg).render(&painter);
    painter.end();
    const QImage screen = grabImage(&w);
    for (const QPoint &at : {w.d->plotRect.center(), w.d->plotRect.topLeft() + QPoint(30, 30)}) {
        const QRgb a = screen.pixel(at), b = drawn.pixel(at);
        QVERIFY2(qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b)) < 12,
                 qPrintable(QStringLiteral("%1 %2").arg(a, 0, 16).arg(b, 0, 16)));
    }
    const QString pdf = outputFile(QStringLiteral("imageexport-colormap.pdf"));
    QVERIFY(w.exportPdf(pdf));
    const QByteArray data = readAll(pdf); // the image, and its one-bit mask
    QCOMPARE(data.count("/Subtype /Image") - data.count("/ImageMask true"), 1);
}

TAVRIN_TEST(TestExportOutputs)
#include "tst_exportoutputs.moc"
