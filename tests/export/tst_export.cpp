// CSV and spreadsheet exports and the settings file: the bytes they write
// and what they refuse; how every export fails; the context menu's German
// translation.
#include "fixtures.h"
#include "testmain.h"

#include <numbertext_p.h>
#include <pieseries.h>
#include <histogramseries.h>

#include <QAction>
#include <QDataStream>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#ifdef TAVRIN_HAVE_PRINTSUPPORT
#include <QPrinter>
#endif
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtEndian>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace tavrintest;

namespace {


// The rows of a sheet in short: cells joined by ',', "@n " in front of a
// cell that names its column, " +n" after a cell spanning n more columns,
// "!" where type and style do not belong together.
QStringList sheetRows(const QByteArray &xml)
{
    QStringList rows, cells;
    QString prefix, style, merge;
    QXmlStreamReader r(xml);
    while (r.readNext() != QXmlStreamReader::Invalid && !r.atEnd()) {
        const QXmlStreamAttributes a = r.attributes();
        if (r.name() == QLatin1String("Row"))
            r.isStartElement() ? cells.clear() : rows.append(cells.join(QLatin1Char(',')));
        if (r.isStartElement() && r.name() == QLatin1String("Cell")) {
            prefix = a.hasAttribute(QLatin1String("ss:Index")) ? QStringLiteral("@%1 ").arg(a.value(QLatin1String("ss:Index"))) : QString();
            style = a.value(QLatin1String("ss:StyleID")).toString();
            merge = a.hasAttribute(QLatin1String("ss:MergeAcross")) ? QStringLiteral(" +%1").arg(a.value(QLatin1String("ss:MergeAcross"))) : QString();
        } else if (r.isStartElement() && r.name() == QLatin1String("Data")) {
            const bool text = a.value(QLatin1String("ss:Type")) == QLatin1String("String");
            cells << prefix + (style == QLatin1String(text ? "tn-center" : "") ? "" : "!") + r.readElementText() + merge;
        }
    }
    return rows << r.errorString();
}

using Writer = bool (*)(ChartWidget &, const QString &);
bool csv(ChartWidget &w, const QString &f) { return w.exportCsv(f); }
bool xml(ChartWidget &w, const QString &f) { return w.exportXml(f); }
bool svgFile(ChartWidget &w, const QString &f) { return w.exportSvg(f); }
bool pdf(ChartWidget &w, const QString &f) { return w.exportPdf(f); }
bool png(ChartWidget &w, const QString &f) { return w.exportImage(f, QSize(), 1.0, "png"); }
bool settings(ChartWidget &w, const QString &f) { return w.save(ChartWidget::dfBinary, f); }
#ifdef TAVRIN_HAVE_PRINTSUPPORT
bool printed(ChartWidget &w, const QString &f)
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(f);
    return w.print(&printer);
}
#endif

QString settingsOf(const ChartWidget &w)
{
    return QStringLiteral("%1 %2 %3 %4 %5").arg(w.d->autoScale).arg(w.d->drawingLock).arg(w.d->title.isNull())
        .arg(w.d->title, w.d->titleFont.toString());
}

// A widget whose settings differ from every default.
void makeDistinct(ChartWidget &w)
{
    w.d->autoScale = false;
    w.d->drawingLock = true;
    w.d->title = QStringLiteral("Before");
    w.d->titleFont = QFont(QStringLiteral("Liberation Serif"), 13);
}

// Makes `name` a device of its own like /dev/full (character device 1,7),
// so that a faulty save can replace nothing outside the test's folder.
// Returns why it could not, or an empty string.
QString makeFullDevice(const QString &name)
{
    if (geteuid() != 0)
        return QStringLiteral("making a device needs root");
    const QByteArray n = QFile::encodeName(name);
    ::unlink(n.constData());
    if (::mknod(n.constData(), S_IFCHR | 0600, makedev(1, 7)) != 0)
        return QStringLiteral("mknod: ") + QString::fromLocal8Bit(std::strerror(errno));
    // A folder on a file system mounted nodev holds the device but opens none.
    const int fd = ::open(n.constData(), O_WRONLY);
    if (fd < 0)
        return QStringLiteral("the device does not open here: ") + QString::fromLocal8Bit(std::strerror(errno));
    const bool full = ::write(fd, "x", 1) < 0 && errno == ENOSPC;
    ::close(fd);
    return full ? QString() : QStringLiteral("the device is not full");
}

bool isCharDevice(const QString &name)
{
    struct stat st;
    return ::lstat(QFile::encodeName(name).constData(), &st) == 0 && S_ISCHR(st.st_mode);
}

template <typename... T> QByteArray streamed(const T &...values)
{
    QByteArray b;
    QDataStream out(&b, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_5_15); // the settings file's version on every Qt
    (void)std::initializer_list<int>{(out << values, 0)...};
    return b;
}


} // namespace

Q_DECLARE_METATYPE(Writer)

class TestExport : public QObject
{
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void spreadsheetBytes();
    void cells_data();
    void cells();
    void numbersAsVariant_data();
    void numbersAsVariant();
    void failures_data();
    void failures();
    void settingsFile();
    void settingsRefused_data();
    void settingsRefused();
    void translatorFromSystemLocale();
    void systemLocaleChild();

private:
    QString path(const char *name) { return dir.filePath(QString::fromLatin1(name)); }
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
    QTest::newRow("shorter series first") << 1 << QByteArray("A(X);A(Y);B(X);B(Y)\n5;0.5;1;10\n;;2;20\n;;3;30\n")
                                          << QStringList{"A +1,B +1", "X,Y,X,Y", "5,0.5,1,10", "@3 2,20", "@3 3,30", ""};
    QTest::newRow("hidden series left out") << 2 << QByteArray("A(X);A(Y);B(X);B(Y)\n5;0.5;1;10\n")
                                            << QStringList{"A +1,B +1", "X,Y,X,Y", "5,0.5,1,10", ""};
    // An empty series keeps a block as wide as its column names.
    QTest::newRow("series without points") << 3 << QByteArray("E(X);E(Y);A(X);A(Y)\n;;5;0.5\n")
                                           << QStringList{"E +1,A +1", "X,Y,X,Y", "@3 5,0.5", ""};
    QTest::newRow("nothing visible") << 4 << QByteArray() << QStringList{"", "", ""};
    // A colour map: one row per cell, row 0 first, the cell's centre and value.
    QTest::newRow("colour map cells") << 5 << QByteArray("M(X);M(Y);M(Z);A(X);A(Y)\n0.5;10.5;1;5;0.5\n1.5;10.5;nan\n0.5;11.5;3\n1.5;11.5;4\n")
                                      << QStringList{"M +2,A +1", "X,Y,Z,X,Y", "0.5,10.5,1,5,0.5", "1.5,10.5,!nan", "0.5,11.5,3", "1.5,11.5,4", ""};
    // A pie: a row per slice, label, value and share of the counted whole.
    QTest::newRow("pie slices") << 6 << QByteArray("P(Label);P(Value);P(Percentage)\n\"a;b\";1;25\n;3;75\nbad;nan;nan\n")
                                << QStringList{"P +2", "Label,Value,Percentage", "!a;b,1,25", "!,3,75", "!bad,!nan,!nan", ""};
    // A histogram: a row per bin, its edges and count; NaN is not binned.
    QTest::newRow("histogram bins") << 7 << QByteArray("G(X1);G(X2);G(Y)\n1;2;1\n2;3;2\n3;4;1\n")
                                    << QStringList{"G +2", "X1,X2,Y", "1,2,1", "2,3,2", "3,4,1", ""};
}

void TestExport::layout()
{
    QFETCH(int, which);
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, sheet);
    ChartWidget w;
    const QList<QPointF> three{{1, 10}, {2, 20}, {3, 30}}, one{{5, 0.5}};
    switch (which) {
    case 0: w.addSeries(lineOf(three, "A")); w.addSeries(lineOf(one, "B")); break;
    case 1: w.addSeries(lineOf(one, "A")); w.addSeries(lineOf(three, "B")); break;
    case 2: w.addSeries(lineOf(one, "A")); w.addSeries(lineOf(three, "H")); w.addSeries(lineOf({{1, 10}}, "B")); break;
    case 3: w.addSeries(new TableSeries("E", "X;Y")); w.addSeries(lineOf(one, "A")); break;
    case 5: {
        auto *map = new ColorMapSeries;
        map->setData({1, NaN, 3, 4}, 2, 2, 0, 2, 10, 12);
        map->setName(QStringLiteral("M"));
        w.addSeries(map);
        w.addSeries(lineOf(one, "A"));
        break;
    }
    case 6: {
        auto *pie = new PieSeries;
        pie->setName(QStringLiteral("P"));
        pie->addSlices({QStringLiteral("a;b"), QString(), QStringLiteral("bad")}, {1, 3, NaN});
        w.addSeries(pie);
        break;
    }
    case 7: {
        auto *h = new HistogramSeries;
        h->setName(QStringLiteral("G"));
        h->setBinWidth(1);
        h->addValues({1, 2, 2.5, NaN, 3});
        w.addSeries(h);
        break;
    }
    default: w.addSeries(lineOf(one, "H")); // nothing visible
    }
    for (ChartSeries *s : w.seriesList())
        s->setVisible(s->name() != QLatin1String("H"));
    const QString file = path("layout");
    QVERIFY(writeAll(file, QByteArray(5000, 'x'))); // an existing file is replaced
    QVERIFY(w.exportCsv(file));
    QCOMPARE(readAll(file), csv);
    QVERIFY(w.exportXml(file));
    QCOMPARE(sheetRows(readAll(file)), sheet << QString());
}

// The worked example, byte for byte.
void TestExport::spreadsheetBytes()
{
    ChartWidget w;
    w.addSeries(lineOf({{1, 10}, {2, 20}, {3, 30}}, "A"));
    w.addSeries(lineOf({{5, 0.5}}, "B"));
    QVERIFY(w.exportXml(path("sheet.xml")));
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
        "<Worksheet ss:Name=\"Sheet1\"><Table><Row>" + head("A", true) + head("B", true) + "</Row><Row>"
        + head("X", false) + head("Y", false) + head("X", false) + head("Y", false) + "</Row><Row>" + cell("1")
        + cell("10") + cell("5") + cell("0.5") + "</Row><Row>" + cell("2") + cell("20") + "</Row><Row>" + cell("3")
        + cell("30") + "</Row><Row/></Table></Worksheet></Workbook>\n";
    QCOMPARE(readAll(path("sheet.xml")), expected);
}

void TestExport::cells_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("x");
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QByteArray>("xmlCell"); // type and text of the one cell that matters
    QTest::newRow("separator") << "a;b" << 1.0 << QByteArray("\"a;b(X)\";\"a;b(Y)\"\n1;1\n") << QByteArray("String\">a;b");
    QTest::newRow("quote") << "say \"hi\"" << 1.0 << QByteArray("\"say \"\"hi\"\"(X)\";\"say \"\"hi\"\"(Y)\"\n1;1\n")
                           << QByteArray("String\">say &quot;hi&quot;");
    QTest::newRow("markup") << QStringLiteral("a<b & \u00e4") << 1.0 << QByteArray("a<b & \xc3\xa4(X);a<b & \xc3\xa4(Y)\n1;1\n")
                            << QByteArray("String\">a&lt;b &amp; \xc3\xa4");
    // Date-time cells are written as the local instant they stand for.
    const QDateTime at(QDate(2021, 3, 4), QTime(5, 6, 7)), early(QDate(1969, 7, 20), QTime(20, 17, 40, 500));
    const struct { const char *name; double seconds; const char *text; } times[] = {
        {"whole second", at.toMSecsSinceEpoch() / 1000.0, "2021-03-04T05:06:07.000"},
        {"milliseconds", at.toMSecsSinceEpoch() / 1000.0 + 0.25, "2021-03-04T05:06:07.250"},
        {"one millisecond", at.toMSecsSinceEpoch() / 1000.0 + 0.001, "2021-03-04T05:06:07.001"},
        {"before 1970", early.toMSecsSinceEpoch() / 1000.0, "1969-07-20T20:17:40.500"},
        {"1900", QDateTime(QDate(1900, 1, 1), QTime(0, 0)).toMSecsSinceEpoch() / 1000.0, "1900-01-01T00:00:00.000"}};
    for (const auto &t : times)
        QTest::newRow(t.name) << "T" << t.seconds << "T(X);T(Y)\n" + QByteArray(t.text) + ";1\n"
                              << "DateTime\">" + QByteArray(t.text);
    // Instants without an ISO text leave the cell empty rather than name
    // another date; numbers a spreadsheet cannot read stay text.
    for (double t : {NaN, Inf, 4611686018427388.0, 1e13, 253402300800.0 + 86400 * 2, -62167219200.0 - 86400 * 2})
        QTest::addRow("date-time %g", t) << "T" << t << QByteArray("T(X);T(Y)\n;1\n") << QByteArray();
    QTest::newRow("NaN") << "N" << NaN << QByteArray("N(X);N(Y)\nnan;1\n") << QByteArray("String\">nan");
    QTest::newRow("-inf") << "N" << -Inf << QByteArray("N(X);N(Y)\n-inf;1\n") << QByteArray("String\">-inf");
}

// Names are quoted in CSV where they must be and escaped in the sheet.
void TestExport::cells()
{
    QFETCH(QString, name);
    QFETCH(double, x);
    QFETCH(QByteArray, csv);
    QFETCH(QByteArray, xmlCell);
    ChartWidget w;
    w.axes()->bottom()->setDatetime(xmlCell.startsWith("DateTime") || name == QLatin1String("T"));
    w.addSeries(lineOf({{x, 1}}, name));
    QVERIFY(w.exportCsv(path("cells")));
    QCOMPARE(readAll(path("cells")), csv);
    QVERIFY(w.exportXml(path("cells")));
    const QByteArray sheet = readAll(path("cells"));
    if (xmlCell.isEmpty())
        QVERIFY(sheet.contains("<Cell ss:StyleID=\"tn-datetime\"/>") && !sheet.contains("DateTime\">"));
    else
        QVERIFY(sheet.contains("<Data ss:Type=\"" + xmlCell + "</Data>"));
}

void TestExport::numbersAsVariant_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("edge values") << 0;
    QTest::newRow("any bit pattern") << 1;
    QTest::newRow("every magnitude") << 2;
    QTest::newRow("decimal fractions") << 3;
}

// The exports format numbers with their own formatter; the text must stay
// what QVariant::toString() gives.
void TestExport::numbersAsVariant()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // Qt 6 picks the exponent form whenever it is shorter ("1e-04"); the
    // exports keep Qt 5's text, which the cross-build test compares.
    QSKIP("the reference is Qt 5's QVariant::toString()");
#endif
    QFETCH(int, kind);
    using L = std::numeric_limits<double>;
    QVector<double> values{0.0, -0.0, 1e-300, 1e300, NaN, Inf, -Inf, L::max(), L::lowest(), L::min(), L::denorm_min(),
                           1e-5, 1e-4, 1.5e-4, 9.99e-5, 1, 10, 123456, 1234567, 1e6, 1e7, 1e10, 1.5e10, 12345678901.0,
                           1e15, 1e16, 1e17, 1e21, 1e22, 1e100, 1.2e101, 0.1, 0.3, 1.0 / 3, -7.25e-7, 9007199254740993.0};
    QRandomGenerator rng(99 + kind);
    for (int i = 0; kind && i < 100000; ++i) {
        const quint64 bits = rng.generate64();
        double v = 0;
        if (kind == 1)
            std::memcpy(&v, &bits, sizeof v);
        else if (kind == 2)
            v = (rng.generateDouble() * 2 - 1) * std::pow(10.0, rng.bounded(-320, 309));
        else
            v = double(qint64(bits >> rng.bounded(64))) / std::pow(10.0, rng.bounded(25));
        values[i % values.size()] = v;
        const QString expected = QVariant(v).toString(), text = tavrin::numberText(v);
        if (text != expected)
            QFAIL(qPrintable(QStringLiteral("%1: %2 instead of %3").arg(v, 0, 'g', 17).arg(text, expected)));
    }
    for (double v : qAsConst(values))
        QCOMPARE(tavrin::numberText(v), QVariant(v).toString());
    QCOMPARE(tavrin::numberText(QVariant(QStringLiteral("x;y"))), QStringLiteral("x;y"));
}

void TestExport::failures_data()
{
    QTest::addColumn<Writer>("writer");
    QTest::addColumn<QString>("target"); // empty: a full disk; "full": a full device
    const struct { const char *name; Writer w; } writers[] = {{"csv", csv}, {"xml", xml}, {"svg", svgFile},
                                                              {"pdf", pdf}, {"png", png}, {"settings", settings},
#ifdef TAVRIN_HAVE_PRINTSUPPORT
                                                              {"print to PDF", printed},
#endif
    };
    for (const auto &w : writers) {
        QTest::addRow("%s, missing directory", w.name) << w.w << dir.filePath(QStringLiteral("no/such/dir/out"));
        QTest::addRow("%s, full device", w.name) << w.w << QStringLiteral("full");
        QTest::addRow("%s, full disk", w.name) << w.w << QString();
    }
}

// A write that cannot be done, or fails half-way (a file size limit stands
// in for a full disk), is reported and leaves the old file, a device stays
// a device, and no temporary is left behind.
void TestExport::failures()
{
    QFETCH(Writer, writer);
    QFETCH(QString, target);
    ChartWidget w;
    w.setTitle(QString(3000, QLatin1Char('T')));
    auto *line = new LineSeries;
    for (int i = 0; i < 2000; ++i)
        line->addXY(i, i % 7);
    w.addSeries(line);
    w.resize(300, 200);
    if (target == QLatin1String("full")) {
        target = path("full");
        const QString why = makeFullDevice(target);
        if (!why.isEmpty())
            QSKIP(qPrintable(QStringLiteral("no full device of our own: ") + why));
        QVERIFY(!writer(w, target));
        QVERIFY(isCharDevice(target));
        return;
    }
    if (!target.isEmpty()) {
        QVERIFY(!writer(w, target));
        QVERIFY(!QFileInfo(target).isFile());
        return;
    }
    const QByteArray old("the old contents\n");
    QVERIFY(writeAll(path("old.out"), old));
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);
    rlimit saved, limited;
    getrlimit(RLIMIT_FSIZE, &saved);
    limited = saved;
    limited.rlim_cur = 2048;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QVERIFY(setrlimit(RLIMIT_FSIZE, &limited) == 0);
    const bool written = writer(w, path("old.out"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!written);
    QCOMPARE(readAll(path("old.out")), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), before);
    QVERIFY(writer(w, path("old.out")));
    QVERIFY(readAll(path("old.out")).size() > 2048);
}

// The worked example's bytes; what is saved comes back, loading renders
// nothing by itself, and a file cut short anywhere is refused without a change.
void TestExport::settingsFile()
{
    ChartWidget source;
    source.addSeries(new TableSeries("a", "X"));
    source.addSeries(new TableSeries("b", "X"), 7);
    source.setTitle(QStringLiteral("first\nsecond\r\n\u0413\u0440\u0430\u0444 \u00b0C"));
    source.d->titleFont = QFont(QStringLiteral("Liberation Mono"), 1, QFont::Bold, true); // the smallest size taken
    source.d->titleFont.setFamilies({QStringLiteral("DejaVu Sans Mono")}); // walked by the font-record check too
    QVERIFY(source.save(ChartWidget::dfBinary, path("trip.tn")));
    const QByteArray bytes = readAll(path("trip.tn"));
    const QByteArray expected = QByteArray::fromHex("0000000c" "0074006e00200031002e0030") // "tn 1.0"
        + QByteArray::fromHex("00000002" "0000000701" "0000000101")                    // registry, highest id first
        + QByteArray::fromHex("01" "00")                                               // autoScale, drawingLock
        + streamed(source.title(), source.d->titleFont);
    QCOMPARE(bytes.toHex(), expected.toHex());
    ChartWidget w;
    showChart(w, 300, 200);
    auto *line = lineOf({{0, 0}, {10, 10}});
    w.addSeries(line);
    QApplication::processEvents();
    makeDistinct(w);
    line->addXY(1000, 1000); // a rescale would widen the range
    const QString before = settingsOf(w);
    const QImage image = plotImage(w);
    for (int length = 0; length < bytes.size(); ++length) {
        QVERIFY(writeAll(path("cut.tn"), bytes.left(length)));
        if (w.load(ChartWidget::dfBinary, path("cut.tn")))
            QFAIL(qPrintable(QStringLiteral("a file cut to %1 of %2 bytes was accepted").arg(length).arg(bytes.size())));
        QCOMPARE(settingsOf(w), before);
    }
    QVERIFY(w.load(ChartWidget::dfBinary, path("trip.tn")));
    QApplication::processEvents();
    QCOMPARE(settingsOf(w), settingsOf(source));
    QCOMPARE(plotImage(w), image);
}

void TestExport::settingsRefused_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QByteArray>("contents");
    ChartWidget w;
    w.setTitle(QStringLiteral("Title"));
    QVERIFY(w.save(ChartWidget::dfBinary, path("valid.tn")));
    const QByteArray valid = readAll(path("valid.tn"));
    const int titleAt = streamed(ChartWidget::chartVersion).size() + 4 + 2;
    QTest::newRow("wrong format") << 1 << valid;
    // Counts that claim more than the file holds fail before allocating.
    const struct { const char *name; int at; quint32 value; } counts[] = {
        {"title length 2^31", titleAt, 0x7ffffffe}, {"registry count 2^31", 16, 0x7fffffff},
        {"font family count 2^31", int(valid.size()) - 4, 0x7fffffff}, {"odd title length", titleAt, 0x1001}};
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
    QVERIFY(writeAll(path("refused.tn"), contents));
    ChartWidget w;
    makeDistinct(w);
    const QString before = settingsOf(w);
    QVERIFY(!w.load(ChartWidget::dataFormat(format), path("refused.tn")));
    QCOMPARE(settingsOf(w), before);
    QCOMPARE(readAll(path("refused.tn")), contents);
}


// Runs systemLocaleChild in a German-speaking copy of this program, so the
// chart itself has to find and install the translation next to it.
void TestExport::translatorFromSystemLocale()
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
    env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("de"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("-class"), QStringLiteral("TestExport"), QStringLiteral("systemLocaleChild")});
    QVERIFY(child.waitForFinished(60000));
    const QByteArray output = child.readAllStandardOutput() + child.readAllStandardError();
    QVERIFY2(child.exitCode() == 0 && output.contains("PASS   : TestExport::systemLocaleChild"), output.constData());
}

void TestExport::systemLocaleChild()
{
    if (QLocale::system().language() != QLocale::German)
        QSKIP("runs in the German child of translatorFromSystemLocale");
    const int before = qApp->findChildren<QTranslator *>().size();
    ChartWidget first, second, third;
    // One translator serves every chart of the application.
    QCOMPARE(qApp->findChildren<QTranslator *>().size(), before + 1);
    QCOMPARE(third.actions().value(1)->text(), QStringLiteral("Als CSV speichern ..."));
}

TAVRIN_TEST(TestExport)
#include "tst_export.moc"
