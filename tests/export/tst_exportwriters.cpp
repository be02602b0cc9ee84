// The writers on their own: a QBuffer and a description, no widget.
#include "testmain.h"

#include <exporttable_p.h>
#include <imagewriter_p.h>
#include <settingsfile_p.h>

#include <QBuffer>
#include <QPainter>
#include <QTest>
#include <QXmlStreamReader>

namespace {

ExportColumns block(const QString &name, const QStringList &columns,
                    const QList<QList<QVariant>> &rows)
{
    ExportColumns e;
    e.name = name;
    e.columnNames = columns;
    e.rows = rows.size();
    e.row = [rows](int r) { return r >= 0 && r < rows.size() ? rows.at(r) : QList<QVariant>(); };
    return e;
}

// The texts of every String and Number cell, in document order, as a real
// parser reads them; "<error>" and the parser's message if it cannot.
QStringList cellTexts(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    QStringList texts;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("Data"))
            texts << reader.readElementText();
    }
    if (reader.hasError())
        return {QStringLiteral("<error>"), reader.errorString()};
    return texts;
}

// Takes nothing: every write fails.
class FullDevice : public QIODevice
{
public:
    FullDevice() { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64) override { return -1; }
};

QString utf16(std::initializer_list<ushort> units)
{
    QString s;
    for (ushort u : units)
        s.append(QChar(u));
    return s;
}

} // namespace

class TestExportWriters : public QObject
{
    Q_OBJECT
private slots:
    void xmlCarriesEveryText_data();
    void xmlCarriesEveryText();
    void writersReadRowsOnce();
    void failingDevice_data();
    void failingDevice();
    void settingsRoundTrip();
    void settingsReaderLeavesTargetOnFailure();
    void imageWriters();
};

void TestExportWriters::xmlCarriesEveryText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QString fffd(QChar(QChar::ReplacementCharacter));
    QTest::newRow("plain") << QStringLiteral("Signal") << QStringLiteral("Signal");
    QTest::newRow("markup") << QStringLiteral("a<b & \"c\"") << QStringLiteral("a<b & \"c\"");
    QTest::newRow("tab and newline") << QStringLiteral("a\tb\nc") << QStringLiteral("a\tb\nc");
    QTest::newRow("U+0001") << utf16({'a', 0x1, 'b'}) << QStringLiteral("a") + fffd + "b";
    QTest::newRow("U+000B") << utf16({0xb}) << fffd;
    QTest::newRow("NUL") << utf16({'x', 0x0}) << QStringLiteral("x") + fffd;
    QTest::newRow("lone high surrogate") << utf16({'a', 0xd83d, 'b'}) << QStringLiteral("a") + fffd + "b";
    QTest::newRow("lone low surrogate") << utf16({0xde00, 'b'}) << fffd + "b";
    QTest::newRow("high surrogate at end") << utf16({'a', 0xd83d}) << QStringLiteral("a") + fffd;
    QTest::newRow("surrogate pair kept") << utf16({0xd83d, 0xde00}) << utf16({0xd83d, 0xde00});
    QTest::newRow("U+FFFE, U+FFFF") << utf16({0xfffe, 'x', 0xffff}) << fffd + "x" + fffd;
    QTest::newRow("U+FFFD, U+E000, U+D7FF kept") << utf16({0xfffd, 0xe000, 0xd7ff})
                                                  << utf16({0xfffd, 0xe000, 0xd7ff});
    QTest::newRow("umlauts kept") << QStringLiteral("Größe µ") << QStringLiteral("Größe µ");
}

// Series name, column name and a text cell value all go through the parser.
void TestExportWriters::xmlCarriesEveryText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    ExportTable table;
    table.blocks << block(text, {QStringLiteral("X"), text}, {{QVariant(1.5), QVariant(text)}});
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(writeSpreadsheetXml(&buffer, table));
    QCOMPARE(cellTexts(buffer.data()),
             (QStringList{expected, QStringLiteral("X"), expected, QStringLiteral("1.5"), expected}));
}

// Rows are read through the description only, once per row and writer
// (the spreadsheet also asks for row 0 to size the blocks).
void TestExportWriters::writersReadRowsOnce()
{
    QVector<int> reads;
    ExportColumns e;
    e.name = QStringLiteral("S");
    e.columnNames = QStringList{QStringLiteral("X"), QStringLiteral("Y")};
    e.rows = 3;
    e.row = [&reads](int r) {
        reads << r;
        return QList<QVariant>{QVariant(double(r)), QVariant(r * 0.5)};
    };
    ExportTable table;
    table.blocks << e;
    QBuffer csv;
    csv.open(QIODevice::WriteOnly);
    QVERIFY(writeCsv(&csv, table));
    QCOMPARE(reads, (QVector<int>{0, 1, 2}));
    QCOMPARE(csv.data(), QByteArray("S(X);S(Y)\n0;0\n1;0.5\n2;1\n"));
    reads.clear();
    QBuffer xml;
    xml.open(QIODevice::WriteOnly);
    QVERIFY(writeSpreadsheetXml(&xml, table));
    QCOMPARE(reads, (QVector<int>{0, 0, 1, 2}));
}

void TestExportWriters::failingDevice_data()
{
    QTest::addColumn<int>("writer");
    QTest::newRow("csv") << 0;
    QTest::newRow("spreadsheet") << 1;
    QTest::newRow("settings") << 2;
    QTest::newRow("svg") << 3;
    QTest::newRow("pdf") << 4;
    QTest::newRow("png") << 5;
}

// A device that takes nothing makes every writer report failure.
void TestExportWriters::failingDevice()
{
    QFETCH(int, writer);
    ExportTable table;
    table.blocks << block(QStringLiteral("S"), {QStringLiteral("X")}, {{QVariant(1.0)}});
    const auto paint = [](QPainter *p) { p->drawLine(0, 0, 10, 10); };
    FullDevice closed;
    bool ok = true;
    switch (writer) {
    case 0: ok = writeCsv(&closed, table); break;
    case 1: ok = writeSpreadsheetXml(&closed, table); break;
    case 2: ok = writeSettings(&closed, ChartSettings()); break;
    case 3: ok = writeSvg(&closed, QSize(20, 20), false, paint); break;
    case 4: ok = writePdf(&closed, QSize(20, 20), false, paint); break;
    case 5: ok = writeImage(&closed, paintImage(QSize(20, 20), 1, Qt::white, false, paint), "png", -1); break;
    }
    QVERIFY(!ok);
}

void TestExportWriters::settingsRoundTrip()
{
    ChartSettings out;
    out.version = QStringLiteral("tn 1.0");
    out.registry = {{1, true}, {4, false}};
    out.autoScale = true;
    out.drawingLock = true;
    out.title = QStringLiteral("Temperatur \u00b0C");
    out.titleFont = QFont(QStringLiteral("Liberation Sans"), 12, QFont::Bold);
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    QVERIFY(writeSettings(&buffer, out));
    buffer.seek(0);
    ChartSettings in;
    QVERIFY(readSettings(&buffer, QStringLiteral("tn 1.0"), &in));
    QCOMPARE(in.version, out.version);
    QCOMPARE(in.autoScale, true);
    QCOMPARE(in.drawingLock, true);
    QCOMPARE(in.title, out.title);
    QCOMPARE(in.titleFont, out.titleFont);
}

void TestExportWriters::settingsReaderLeavesTargetOnFailure()
{
    ChartSettings out;
    out.version = QStringLiteral("tn 1.0");
    out.title = QStringLiteral("New");
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    QVERIFY(writeSettings(&buffer, out));
    const QByteArray data = buffer.data();

    ChartSettings in;
    in.title = QStringLiteral("Old");
    buffer.seek(0);
    QVERIFY(!readSettings(&buffer, QStringLiteral("tn 2.0"), &in));
    QCOMPARE(in.title, QStringLiteral("Old"));
    // Every proper prefix of the record fails, and changes nothing.
    for (int n = 0; n < data.size(); ++n) {
        QBuffer cut;
        cut.setData(data.left(n));
        cut.open(QIODevice::ReadOnly);
        QVERIFY2(!readSettings(&cut, QStringLiteral("tn 1.0"), &in), qPrintable(QString::number(n)));
        QCOMPARE(in.title, QStringLiteral("Old"));
    }
}

void TestExportWriters::imageWriters()
{
    const auto paint = [](QPainter *p) {
        p->fillRect(QRect(10, 5, 20, 10), Qt::red);
    };
    const QImage image = paintImage(QSize(40, 30), 2, Qt::white, false, paint);
    QCOMPARE(image.size(), QSize(80, 60));
    QCOMPARE(image.devicePixelRatio(), 2.0);
    // Painted in logical pixels: the rectangle covers device pixels 20..59.
    QCOMPARE(image.pixel(20, 10), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(59, 29), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(19, 10), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(60, 29), qRgb(255, 255, 255));
    QVERIFY(paintImage(QSize(0, 30), 1, Qt::white, false, paint).isNull());
    QVERIFY(paintImage(QSize(100000, 100000), 1, Qt::white, false, paint).isNull());

    QBuffer png;
    png.open(QIODevice::WriteOnly);
    QVERIFY(writeImage(&png, image, "png", -1));
    QImage read = QImage::fromData(png.data(), "PNG").convertToFormat(QImage::Format_RGB32);
    read.setDevicePixelRatio(2);
    QCOMPARE(read, image.convertToFormat(QImage::Format_RGB32));
    QBuffer unknown;
    unknown.open(QIODevice::WriteOnly);
    QVERIFY(!writeImage(&unknown, image, "no-such-format", -1));
    QCOMPARE(unknown.size(), qint64(0));

    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QVERIFY(writePdf(&pdf, QSize(400, 300), false, paint));
    QVERIFY(pdf.data().startsWith("%PDF-"));
    // 400 x 300 pixels at 96 per inch are 300 x 225 points.
    QVERIFY(pdf.data().contains("/MediaBox [0 0 300.000000 225.000000]"));
}

TAVRIN_TEST(TestExportWriters)
#include "tst_exportwriters.moc"
