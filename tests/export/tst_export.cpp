// CSV, spreadsheet and SVG exports and the settings file: the bytes they
// write, what they refuse, and how they fail.
#include "fixtures.h"
#include "testmain.h"

#include <numbertext_p.h>

#include <QDataStream>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtEndian>
#include <cstring>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace tavrintest;

namespace {

// A series with free column names and rows, for the row contract as the
// exports read it.
class TableSeries : public ChartSeries
{
public:
    TableSeries(const QString &name, const QString &columns, const QList<QList<double>> &rows = {})
        : columns(columns), rows(rows)
    {
        setName(name);
    }
    void draw(QPainter *) override {}
    seriesType type() override { return stLine; }
    int pointsCount() override { return rows.size(); }
    QString dataAxisString() override { return columns; }
    QList<QVariant> point(int i) override
    {
        QList<QVariant> values;
        for (double v : rows.value(i))
            values << QVariant(v);
        return values;
    }
    QIcon icon(int) override { return QIcon(); }
    QString columns;
    QList<QList<double>> rows;
};

void setup(ChartWidget &w, int which)
{
    switch (which) {
    case 0: // longer series first
        w.addSeries(lineOf({{1, 10}, {2, 20}, {3, 30}}, "A"));
        w.addSeries(lineOf({{5, 0.5}}, "B"));
        break;
    case 1: // shorter series first
        w.addSeries(lineOf({{5, 0.5}}, "A"));
        w.addSeries(lineOf({{1, 10}, {2, 20}, {3, 30}}, "B"));
        break;
    case 2: { // hidden series between
        w.addSeries(lineOf({{1, 10}}, "A"));
        w.addSeries(lineOf({{7, 70}, {8, 80}}, "H"));
        w.series(2)->setVisible(false);
        w.addSeries(lineOf({{2, 20}}, "B"));
        break;
    }
    case 3: // series without points first
        w.addSeries(new TableSeries("E", "X;Y"));
        w.addSeries(lineOf({{1, 10}, {2, 20}}, "A"));
        break;
    case 4: // nothing visible
        w.addSeries(lineOf({{7, 70}}, "H"));
        w.series(1)->setVisible(false);
        break;
    default: // three columns
        w.addSeries(new TableSeries("G", "X1;X2;Y", {{1, 2.5, -3}}));
    }
}

// The rows of a sheet in short: cells joined by ',', "@n " in front of a
// cell that names its column, "dt " for a date-time, " +n" after a cell
// spanning n more columns, "!" where type and style do not belong together.
QStringList sheetRows(const QByteArray &xml)
{
    QStringList rows, cells;
    QString cell, style;
    QXmlStreamReader r(xml);
    while (!r.atEnd()) {
        r.readNext();
        const QXmlStreamAttributes a = r.attributes();
        if (r.isStartElement() && r.name() == QLatin1String("Row")) {
            cells.clear();
        } else if (r.isEndElement() && r.name() == QLatin1String("Row")) {
            rows << cells.join(QLatin1Char(','));
        } else if (r.isStartElement() && r.name() == QLatin1String("Cell")) {
            cell = a.hasAttribute(QLatin1String("ss:Index")) ? QStringLiteral("@%1 ").arg(a.value(QLatin1String("ss:Index"))) : QString();
            style = a.value(QLatin1String("ss:StyleID")).toString();
            if (a.hasAttribute(QLatin1String("ss:MergeAcross")))
                style += QLatin1Char(' ') + a.value(QLatin1String("ss:MergeAcross"));
        } else if (r.isStartElement() && r.name() == QLatin1String("Data")) {
            const QString type = a.value(QLatin1String("ss:Type")).toString();
            const QString id = style.section(QLatin1Char(' '), 0, 0), merge = style.section(QLatin1Char(' '), 1);
            const bool fits = (type == QLatin1String("String") && id == QLatin1String("tn-center"))
                || (type == QLatin1String("DateTime") && id == QLatin1String("tn-datetime"))
                || (type == QLatin1String("Number") && id.isEmpty());
            cell += QLatin1String(fits ? "" : "!") + QLatin1String(type == QLatin1String("DateTime") ? "dt " : "")
                + r.readElementText() + (merge.isEmpty() ? QString() : QLatin1String(" +") + merge);
            cells << cell;
        }
    }
    if (r.hasError())
        rows << QStringLiteral("parse error: ") + r.errorString();
    return rows;
}

using Writer = bool (*)(ChartWidget &, const QString &);
bool csv(ChartWidget &w, const QString &f) { return w.exportCsv(f); }
bool xml(ChartWidget &w, const QString &f) { return w.exportXml(f); }
bool svgFile(ChartWidget &w, const QString &f) { return w.exportSvg(f); }
bool settings(ChartWidget &w, const QString &f) { return w.save(ChartWidget::dfBinary, f); }

// A chart whose every output is far larger than a few kilobytes.
void fillLarge(ChartWidget &w)
{
    w.setTitle(QString(3000, QLatin1Char('T')));
    auto *line = new LineSeries;
    for (int i = 0; i < 2000; ++i)
        line->addXY(i, i % 7);
    w.addSeries(line);
    w.resize(300, 200);
}

struct Settings {
    bool autoScale, drawingLock;
    QString title;
    QFont font;
    bool operator==(const Settings &o) const
    {
        return autoScale == o.autoScale && drawingLock == o.drawingLock && title == o.title
            && title.isNull() == o.title.isNull() && font == o.font;
    }
};

Settings settingsOf(const ChartWidget &w) { return {w.d->autoScale, w.d->drawingLock, w.d->title, w.d->titleFont}; }

// A widget whose settings differ from every default.
void makeDistinct(ChartWidget &w)
{
    w.d->autoScale = false;
    w.d->drawingLock = true;
    w.d->title = QStringLiteral("Before");
    w.d->titleFont = QFont(QStringLiteral("Liberation Serif"), 13);
}

template <typename... T> QByteArray streamed(const T &...values)
{
    QByteArray b;
    QDataStream out(&b, QIODevice::WriteOnly);
    (void)std::initializer_list<int>{(out << values, 0)...};
    return b;
}

} // namespace

Q_DECLARE_METATYPE(Writer)

namespace QTest {
template <> inline char *toString(const Settings &s)
{
    return qstrdup(qPrintable(QStringLiteral("autoScale %1, lock %2, title \"%3\", font %4")
                                  .arg(s.autoScale).arg(s.drawingLock).arg(s.title, s.font.toString())));
}
} // namespace QTest

class TestExport : public QObject
{
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void spreadsheetBytes();
    void datetimeColumns_data();
    void datetimeColumns();
    void names_data();
    void names();
    void numbersAsVariant_data();
    void numbersAsVariant();
    void svgImage_data();
    void svgImage();
    void unwritablePath_data();
    void unwritablePath();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
    void settingsBytes();
    void settingsRoundTrip_data();
    void settingsRoundTrip();
    void settingsRefused_data();
    void settingsRefused();
    void everyTruncationRefused();

private:
    QTemporaryDir dir;
};

void TestExport::layout_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("sheet");
    QTest::newRow("longer series first") << 0 << QByteArray("A(X);A(Y);B(X);B(Y)\n1;10;5;0.5\n2;20\n3;30\n")
                                         << QStringList{"A +1,B +1", "X,Y,X,Y", "1,10,5,0.5", "2,20", "3,30", ""};
    // Every value stays under its own header when an earlier series runs out.
    QTest::newRow("shorter series first")
        << 1 << QByteArray("A(X);A(Y);B(X);B(Y)\n5;0.5;1;10\n;;2;20\n;;3;30\n")
        << QStringList{"A +1,B +1", "X,Y,X,Y", "5,0.5,1,10", "@3 2,20", "@3 3,30", ""};
    QTest::newRow("hidden series left out") << 2 << QByteArray("A(X);A(Y);B(X);B(Y)\n1;10;2;20\n")
                                            << QStringList{"A +1,B +1", "X,Y,X,Y", "1,10,2,20", ""};
    // An empty series keeps a block as wide as its column names.
    QTest::newRow("series without points") << 3 << QByteArray("E(X);E(Y);A(X);A(Y)\n;;1;10\n;;2;20\n")
                                           << QStringList{"E +1,A +1", "X,Y,X,Y", "@3 1,10", "@3 2,20", ""};
    QTest::newRow("nothing visible") << 4 << QByteArray() << QStringList{"", "", ""};
    QTest::newRow("three columns") << 5 << QByteArray("G(X1);G(X2);G(Y)\n1;2.5;-3\n")
                                   << QStringList{"G +2", "X1,X2,Y", "1,2.5,-3", ""};
}

void TestExport::layout()
{
    QFETCH(int, which);
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, sheet);
    ChartWidget w;
    setup(w, which);
    const QString file = dir.filePath(QStringLiteral("layout"));
    QVERIFY(writeAll(file, QByteArray(5000, 'x'))); // an existing file is replaced
    QVERIFY(w.exportCsv(file));
    QCOMPARE(readAll(file), csv);
    QVERIFY(w.exportXml(file));
    const QByteArray xmlBytes = readAll(file);
    QCOMPARE(xmlBytes.count('\n'), 1);
    QVERIFY(xmlBytes.endsWith('\n'));
    QCOMPARE(sheetRows(xmlBytes), sheet);
}

// The worked example, byte for byte.
void TestExport::spreadsheetBytes()
{
    ChartWidget w;
    setup(w, 0);
    const QString file = dir.filePath(QStringLiteral("sheet.xml"));
    QVERIFY(w.exportXml(file));
    const auto cell = [](const char *v) { return QByteArray("<Cell><Data ss:Type=\"Number\">") + v + "</Data></Cell>"; };
    const auto head = [](const char *v, bool merge) {
        return QByteArray("<Cell ss:StyleID=\"tn-center\"") + (merge ? " ss:MergeAcross=\"1\"" : "")
            + "><Data ss:Type=\"String\">" + v + "</Data></Cell>";
    };
    const QByteArray expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><?mso-application progid=\"Excel.Sheet\"?>"
        "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\""
        " xmlns:o=\"urn:schemas-microsoft-com:office:office\" xmlns:x=\"urn:schemas-microsoft-com:office:excel\""
        " xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\" xmlns:html=\"http://www.w3.org/TR/REC-html40\">"
        "<Styles><Style ss:ID=\"tn-center\"><Alignment ss:Horizontal=\"Center\" ss:Vertical=\"Bottom\"/></Style>"
        "<Style ss:ID=\"tn-datetime\"><NumberFormat ss:Format=\"DD/MM/YYYY HH:MM:SS\"/></Style></Styles>"
        "<Worksheet ss:Name=\"Sheet1\"><Table>"
        "<Row>" + head("A", true) + head("B", true) + "</Row>"
        "<Row>" + head("X", false) + head("Y", false) + head("X", false) + head("Y", false) + "</Row>"
        "<Row>" + cell("1") + cell("10") + cell("5") + cell("0.5") + "</Row>"
        "<Row>" + cell("2") + cell("20") + "</Row><Row>" + cell("3") + cell("30") + "</Row>"
        "<Row/></Table></Worksheet></Workbook>\n";
    QCOMPARE(readAll(file), expected);
}

void TestExport::datetimeColumns_data()
{
    QTest::addColumn<bool>("xdt");
    QTest::addColumn<bool>("ydt");
    QTest::addColumn<QString>("csv");
    QTest::addColumn<QString>("sheet");
    // Local wall-clock times, so the expectation holds in any time zone;
    // fractions of a second are rounded.
    const QString a = QString::number(QDateTime(QDate(2021, 3, 4), QTime(5, 6, 7)).toSecsSinceEpoch());
    const QString c = QString::number(QDateTime(QDate(2030, 7, 1), QTime(0, 0, 1)).toSecsSinceEpoch());
    const QString at = QStringLiteral("2021-03-04T05:06:08.000"), ct = QStringLiteral("2030-07-01T00:00:01.000");
    QTest::newRow("numbers") << false << false << a + ".75;" + c << a + ".75," + c;
    QTest::newRow("bottom axis") << true << false << at + ";" + c << "dt " + at + "," + c;
    QTest::newRow("left axis") << false << true << a + ".75;" + ct << a + ".75,dt " + ct;
    QTest::newRow("both axes") << true << true << at + ";" + ct << "dt " + at + ",dt " + ct;
}

void TestExport::datetimeColumns()
{
    QFETCH(bool, xdt);
    QFETCH(bool, ydt);
    QFETCH(QString, csv);
    QFETCH(QString, sheet);
    ChartWidget w;
    w.axes()->bottom()->setDatetime(xdt);
    w.axes()->left()->setDatetime(ydt);
    const double a = double(QDateTime(QDate(2021, 3, 4), QTime(5, 6, 7)).toSecsSinceEpoch());
    const double c = double(QDateTime(QDate(2030, 7, 1), QTime(0, 0, 1)).toSecsSinceEpoch());
    w.addSeries(new TableSeries("T", "X;Y", {{a + 0.75, c}}));
    const QString file = dir.filePath(QStringLiteral("dt"));
    QVERIFY(w.exportCsv(file));
    QCOMPARE(QString::fromLatin1(readAll(file)), "T(X);T(Y)\n" + csv + "\n");
    QVERIFY(w.exportXml(file));
    QCOMPARE(sheetRows(readAll(file)).value(2), sheet);
}

void TestExport::names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("csvHeader");
    QTest::addColumn<QByteArray>("xmlName");
    QTest::newRow("plain") << "Temp, K" << QByteArray("Temp, K(X);Temp, K(Y)") << QByteArray("Temp, K");
    QTest::newRow("separator") << "a;b" << QByteArray("\"a;b(X)\";\"a;b(Y)\"") << QByteArray("a;b");
    QTest::newRow("quote") << "say \"hi\"" << QByteArray("\"say \"\"hi\"\"(X)\";\"say \"\"hi\"\"(Y)\"")
                           << QByteArray("say &quot;hi&quot;");
    QTest::newRow("line feed") << "two\nlines" << QByteArray("\"two\nlines(X)\";\"two\nlines(Y)\"")
                               << QByteArray("two\nlines");
    QTest::newRow("carriage return") << "cr\r" << QByteArray("\"cr\r(X)\";\"cr\r(Y)\"") << QByteArray("cr\r");
    QTest::newRow("markup") << QStringLiteral("a<b & \u00e4") << QByteArray("a<b & \xc3\xa4(X);a<b & \xc3\xa4(Y)")
                            << QByteArray("a&lt;b &amp; \xc3\xa4");
}

// Names are quoted in CSV where they must be and escaped in the sheet.
void TestExport::names()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, csvHeader);
    QFETCH(QByteArray, xmlName);
    ChartWidget w;
    w.addSeries(lineOf({{1, 2}}, name));
    const QString file = dir.filePath(QStringLiteral("names"));
    QVERIFY(w.exportCsv(file));
    QCOMPARE(readAll(file), csvHeader + "\n1;2\n");
    QVERIFY(w.exportXml(file));
    QVERIFY2(readAll(file).contains("<Data ss:Type=\"String\">" + xmlName + "</Data>"), readAll(file).constData());
    QCOMPARE(sheetRows(readAll(file)).value(0), QString(name).replace(QLatin1Char('\r'), QLatin1Char('\n')) + " +1");
}

void TestExport::numbersAsVariant_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("edge values") << 0;
    QTest::newRow("any bit pattern") << 1;
    QTest::newRow("every magnitude") << 2;
    QTest::newRow("few digits") << 3;
    QTest::newRow("decimal fractions") << 4;
}

// The exports format numbers with their own formatter; the text must stay
// what QVariant::toString() gives.
void TestExport::numbersAsVariant()
{
    QFETCH(int, kind);
    using L = std::numeric_limits<double>;
    QVector<double> values;
    if (kind == 0) {
        values = {0.0, -0.0, 1e-300, -1e-300, 1e300, NaN, Inf, -Inf, L::max(), L::lowest(), L::min(),
                  L::denorm_min(), 1e-5, 1e-4, 1.5e-4, 9.99e-5, 1, 10, 100, 123456, 1234567, 1e6, 1e7, 1e10,
                  1e11, 1.5e10, 12345678901.0, 1e15, 1e16, 1e17, 1e21, 1e22, 1e99, 1e100, 1.2e101, 1e-10, 0.1,
                  0.3, 1.0 / 3, -2.5, -7.25e-7, 4026.8447, 9007199254740993.0};
    } else {
        QRandomGenerator rng(99 + kind);
        for (int i = 0; i < 100000; ++i) {
            double v = 0;
            switch (kind) {
            case 1: {
                const quint64 bits = rng.generate64();
                std::memcpy(&v, &bits, sizeof v);
                break;
            }
            case 2: v = (rng.generateDouble() * 2 - 1) * std::pow(10.0, rng.bounded(-320, 309)); break;
            case 3:
                v = std::round((rng.generateDouble() * 2 - 1) * std::pow(10.0, rng.bounded(1, 18)))
                    * std::pow(10.0, rng.bounded(-30, 31));
                break;
            default: v = double(qint64(rng.generate64() >> rng.bounded(64))) / std::pow(10.0, rng.bounded(25));
            }
            values.append(v);
        }
    }
    for (double v : qAsConst(values)) {
        const QString expected = QVariant(v).toString();
        const QString text = tavrin::numberText(v);
        if (text != expected)
            QFAIL(qPrintable(QStringLiteral("%1: %2 instead of %3").arg(v, 0, 'g', 17).arg(text, expected)));
    }
    QCOMPARE(tavrin::numberText(QVariant(QStringLiteral("x;y"))), QStringLiteral("x;y"));
    QCOMPARE(tavrin::numberText(QVariant(42)), QStringLiteral("42"));
}

void TestExport::svgImage_data()
{
    QTest::addColumn<bool>("legendShown");
    QTest::newRow("legend shown") << true;
    QTest::newRow("legend hidden") << false;
}

// The image is the widget at its pixel size: the visible series where the
// screen shows it, the hidden one nowhere, the legend only while shown.
void TestExport::svgImage()
{
    QFETCH(bool, legendShown);
    ChartWidget w;
    w.setTitle(QStringLiteral("Chart"));
    LineSeries *line = lineOf({{0, 0}, {10, 100}}, QStringLiteral("Zebra"));
    line->setColor(Qt::red);
    w.addSeries(line);
    LineSeries *hidden = lineOf({{0, 100}, {10, 0}}, QStringLiteral("Hidden"));
    hidden->setColor(Qt::blue);
    w.addSeries(hidden);
    hidden->setVisible(false);
    auto *points = new PointSeries(PointSeries::psSquare);
    points->setColor(QColor(0, 200, 0));
    points->addXY(5, 50);
    w.addSeries(points);
    w.legend()->setVisible(legendShown);
    showChart(w, 420, 310);
    QSignalSpy refreshes(points, &ChartSeries::refresh);
    const QString file = dir.filePath(QStringLiteral("chart.svg"));
    QVERIFY(w.exportSvg(file));
    // The points are drawn as vectors for the file only, silently.
    QCOMPARE(refreshes.count(), 0);
    QVERIFY(!points->vectorRendering() && !points->signalsBlocked());
    const QByteArray svg = readAll(file);
    QCOMPARE(svg.contains(">Zebra<"), legendShown);
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("<svg width=\"([0-9.]+)mm\" height=\"([0-9.]+)mm\"")).match(QString::fromUtf8(svg));
    QVERIFY(size.hasMatch());
    QCOMPARE(qRound(size.captured(1).toDouble() / 25.4 * 96), w.width());
    QCOMPARE(qRound(size.captured(2).toDouble() / 25.4 * 96), w.height());
    QVERIFY(svg.contains(QStringLiteral("viewBox=\"0 0 %1 %2\"").arg(w.width()).arg(w.height()).toUtf8()));

    QSvgRenderer renderer(svg);
    QImage image(renderer.defaultSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    // Pixels close to a pure colour; the renderer smooths lines.
    const auto like = [&](QColor c, const QRect &area) {
        int n = 0;
        const QRect r = area.intersected(image.rect());
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor p = image.pixelColor(x, y);
                n += qAbs(p.red() - c.red()) < 80 && qAbs(p.green() - c.green()) < 80 && qAbs(p.blue() - c.blue()) < 80;
            }
        return n;
    };
    const QRect plot = w.d->plotRect;
    QCOMPARE(like(Qt::blue, plot), 0);
    QVERIFY(like(Qt::red, plot) > 100);
    const int redOutside = like(Qt::red, image.rect()) - like(Qt::red, plot);
    QCOMPARE(redOutside, legendShown ? like(Qt::red, w.legend()->geometry()) : 0);
}

void TestExport::unwritablePath_data()
{
    QTest::addColumn<Writer>("writer");
    QTest::addColumn<QString>("target");
    const struct { const char *name; Writer w; } writers[] = {{"csv", csv}, {"xml", xml}, {"svg", svgFile}, {"settings", settings}};
    for (const auto &w : writers) {
        QTest::addRow("%s, missing directory", w.name) << w.w << dir.filePath(QStringLiteral("no/such/dir/out"));
        QTest::addRow("%s, directory", w.name) << w.w << dir.path();
        if (QFileInfo::exists(QStringLiteral("/dev/full")))
            QTest::addRow("%s, full device", w.name) << w.w << QStringLiteral("/dev/full");
    }
}

void TestExport::unwritablePath()
{
    QFETCH(Writer, writer);
    QFETCH(QString, target);
    ChartWidget w;
    fillLarge(w);
    QVERIFY(!writer(w, target));
    QVERIFY(!QFileInfo(target).isFile()); // a device stays a device
}

void TestExport::failedWriteKeepsOldFile_data()
{
    QTest::addColumn<Writer>("writer");
    QTest::newRow("csv") << Writer(csv);
    QTest::newRow("xml") << Writer(xml);
    QTest::newRow("svg") << Writer(svgFile);
    QTest::newRow("settings") << Writer(settings);
}

// A write that fails half-way (a file size limit stands in for a full disk)
// is reported and leaves the old file and no temporary behind.
void TestExport::failedWriteKeepsOldFile()
{
#ifndef Q_OS_LINUX
    QSKIP("needs a file size limit");
#else
    QFETCH(Writer, writer);
    const QString file = dir.filePath(QStringLiteral("old.out"));
    const QByteArray old("the old contents\n");
    QVERIFY(writeAll(file, old));
    ChartWidget w;
    fillLarge(w);
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 2048;
    QVERIFY(setrlimit(RLIMIT_FSIZE, &limited) == 0);
    const bool written = writer(w, file);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!written);
    QCOMPARE(readAll(file), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), before);
    QVERIFY(writer(w, file));
    QVERIFY(readAll(file).size() > 2048);
#endif
}

void TestExport::settingsBytes()
{
    ChartWidget w;
    w.addSeries(new TableSeries("a", "X"));
    w.addSeries(new TableSeries("b", "X"), 7);
    w.setTitle(QStringLiteral("Hi"));
    const QString file = dir.filePath(QStringLiteral("bytes.tn"));
    QVERIFY(w.save(ChartWidget::dfBinary, file));
    const QByteArray expected = QByteArray::fromHex("0000000c" "0074006e00200031002e0030") // "tn 1.0"
        + QByteArray::fromHex("00000002" "0000000701" "0000000101")                    // registry, highest id first
        + QByteArray::fromHex("01" "00")                                               // autoScale, drawingLock
        + QByteArray::fromHex("00000004" "00480069")                                   // "Hi"
        + streamed(QFont(QStringLiteral("Arial"), 8));
    QCOMPARE(readAll(file).toHex(), expected.toHex());
    // A wrong format writes nothing and leaves an existing file alone.
    QVERIFY(!w.save(ChartWidget::dataFormat(1), file));
    QCOMPARE(readAll(file).toHex(), expected.toHex());
}

void TestExport::settingsRoundTrip_data()
{
    QTest::addColumn<bool>("autoScale");
    QTest::addColumn<bool>("drawingLock");
    QTest::addColumn<QString>("title");
    QTest::newRow("defaults") << true << false << QString();
    QTest::newRow("line feed") << false << true << QStringLiteral("first\nsecond\r\nthird\r");
    QTest::newRow("empty, not null") << true << true << QStringLiteral("");
    QTest::newRow("non-latin") << false << false << QStringLiteral("\u0413\u0440\u0430\u0444\u0438\u043a \u00b0C");
}

// What is saved comes back; loading renders nothing by itself.
void TestExport::settingsRoundTrip()
{
    QFETCH(bool, autoScale);
    QFETCH(bool, drawingLock);
    QFETCH(QString, title);
    ChartWidget source;
    source.d->autoScale = autoScale;
    source.d->drawingLock = drawingLock;
    source.d->title = title;
    source.d->titleFont = QFont(QStringLiteral("Liberation Mono"), 11, QFont::Bold, true);
    const QString file = dir.filePath(QStringLiteral("trip.tn"));
    QVERIFY(source.save(ChartWidget::dfBinary, file));

    ChartWidget w;
    showChart(w, 300, 200);
    auto *line = lineOf({{0, 0}, {10, 10}});
    w.addSeries(line);
    QApplication::processEvents();
    makeDistinct(w);
    line->addXY(1000, 1000); // a rescale would widen the range
    const double rangeMax = w.axes()->bottom()->max();
    const QImage before = plotImage(w);
    QVERIFY(w.load(ChartWidget::dfBinary, file));
    QApplication::processEvents();
    QCOMPARE(settingsOf(w), settingsOf(source));
    QCOMPARE(w.axes()->bottom()->max(), rangeMax);
    QCOMPARE(plotImage(w), before);
}

void TestExport::settingsRefused_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QByteArray>("contents");
    ChartWidget w;
    w.setTitle(QStringLiteral("Title"));
    const QString file = dir.filePath(QStringLiteral("valid.tn"));
    QVERIFY(w.save(ChartWidget::dfBinary, file));
    const QByteArray valid = readAll(file);
    const int titleAt = streamed(ChartWidget::chartVersion).size() + 4 + 2;
    QTest::newRow("wrong format") << 1 << valid;
    QTest::newRow("wrong version") << 0 << streamed(QStringLiteral("tn 2.0")) + valid.mid(16);
    QTest::newRow("empty file") << 0 << QByteArray();
    QTest::newRow("not a data stream") << 0 << QByteArray("tn 1.0\nautoScale=true\n");
    // Counts that claim more than the file holds fail before allocating.
    const struct { const char *name; int at; quint32 value; } counts[] = {
        {"title length 2^31", titleAt, 0x7ffffffe}, {"registry count 2^31", 16, 0x7fffffff},
        {"font family count 2^31", valid.size() - 4, 0x7fffffff}, {"odd title length", titleAt, 0x1001}};
    for (const auto &c : counts) {
        QByteArray hostile = valid;
        qToBigEndian<quint32>(c.value, hostile.data() + c.at);
        QTest::newRow(c.name) << 0 << hostile;
    }
    // Title fonts every paint would have to render at absurd sizes.
    QFont huge(QStringLiteral("Arial")), hugePixels(QStringLiteral("Arial")), spaced(QStringLiteral("Arial"), 8);
    huge.setPointSizeF(1e9);
    hugePixels.setPixelSize(1 << 24);
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, 1e12);
    for (const QFont &f : {huge, hugePixels, spaced})
        QTest::addRow("font %s", qPrintable(f.toString().left(20)))
            << 0 << streamed(ChartWidget::chartVersion, qint32(0), true, false, QStringLiteral("T"), f);
    // Found by fuzzing: a denormal point size with a pixel size of about
    // -10^9 (the plot grew taller than the widget), a huge negative pixel
    // size, and size fields that asked for a glyph image of petabytes.
    QTest::newRow("fuzzed point and pixel size") << 0 << QByteArray::fromBase64(
        "AAAADAB0AG4AIAAxAC4AMAAAAAABAAAAAAr//lT/aQD/AAACAAAAAAAAAABAAAAkAAAAQKSkpKQAAAAALP//AAAAAAAAAAAAAAAAAAAAAAAAAAIAAAAAAAAAAEA=");
    QTest::newRow("fuzzed negative pixel size") << 0 << QByteArray::fromBase64(
        "AAAADAB0AG4AIAAxAC4AMAAAAAABAAAAAAoAVABp/v///wAAAAAAAAAAAAAAAMPDw8PDw8PDw8MAJAAAAAAAAP///////////wEAAAAAAAAM////////////////////////////////////////////////////////////////////////////////APgAAAAAAAAAAAAAAAD+////AAAAAAAAAHQAbABl");
    QTest::newRow("fuzzed font") << 0 << QByteArray::fromBase64(
        "AAAADAB0AG4AIAAxAC4AMAAAAAABAAAAAAoAVABp/v///wAAAAAAAAAAAAAAAAAAAADvJOkAAAAAAQAAAAAKAFQAaf7///8AAAAAAAAAAAAAAAAAAAAAJA==");
}

// A refused file changes neither the widget nor the file.
void TestExport::settingsRefused()
{
    QFETCH(int, format);
    QFETCH(QByteArray, contents);
    const QString file = dir.filePath(QStringLiteral("refused.tn"));
    QVERIFY(writeAll(file, contents));
    ChartWidget w;
    makeDistinct(w);
    const Settings before = settingsOf(w);
    QVERIFY(!w.load(ChartWidget::dataFormat(format), file));
    QCOMPARE(settingsOf(w), before);
    QCOMPARE(readAll(file), contents);
}

void TestExport::everyTruncationRefused()
{
    ChartWidget source;
    source.setTitle(QStringLiteral("Cut short"));
    const QString full = dir.filePath(QStringLiteral("full.tn")), cut = dir.filePath(QStringLiteral("cut.tn"));
    QVERIFY(source.save(ChartWidget::dfBinary, full));
    const QByteArray bytes = readAll(full);
    ChartWidget w;
    makeDistinct(w);
    const Settings before = settingsOf(w);
    for (int length = 0; length < bytes.size(); ++length) {
        QVERIFY(writeAll(cut, bytes.left(length)));
        if (w.load(ChartWidget::dfBinary, cut))
            QFAIL(qPrintable(QStringLiteral("a file cut to %1 of %2 bytes was accepted").arg(length).arg(bytes.size())));
        QCOMPARE(settingsOf(w), before);
    }
    QVERIFY(!w.load(ChartWidget::dfBinary, dir.filePath(QStringLiteral("does-not-exist.tn"))));
    QVERIFY(w.load(ChartWidget::dfBinary, full));
    QCOMPARE(w.title(), QStringLiteral("Cut short"));
}

TAVRIN_TEST(TestExport)
#include "tst_export.moc"
