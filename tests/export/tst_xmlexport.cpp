#include "exportfixtures.h"
#include "testmain.h"

#include <axes.h>
#include <axis.h>

#include <QDateTime>
#include <QXmlStreamReader>

namespace {

const QByteArray kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><?mso-application progid=\"Excel.Sheet\"?>"
    "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\""
    " xmlns:o=\"urn:schemas-microsoft-com:office:office\""
    " xmlns:x=\"urn:schemas-microsoft-com:office:excel\""
    " xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\""
    " xmlns:html=\"http://www.w3.org/TR/REC-html40\">"
    "<Styles><Style ss:ID=\"tn-center\"><Alignment ss:Horizontal=\"Center\" ss:Vertical=\"Bottom\"/></Style>"
    "<Style ss:ID=\"tn-datetime\"><NumberFormat ss:Format=\"DD/MM/YYYY HH:MM:SS\"/></Style></Styles>"
    "<Worksheet ss:Name=\"Sheet1\"><Table>";

// The rows of the sheet in a compact form: cells joined by ',', a cell as
// its text, with "@n " in front when it names its column, "dt " for a
// date-time and " +n" after it when it spans n more columns. A cell whose
// type and style do not belong together is marked with "!".
QStringList sheetRows(const QByteArray &xml)
{
    QStringList rows;
    QXmlStreamReader r(xml);
    QStringList cells;
    QString cell;
    QString style;
    while (!r.atEnd()) {
        r.readNext();
        const QXmlStreamAttributes a = r.attributes();
        if (r.isStartElement() && r.name() == QLatin1String("Row")) {
            cells.clear();
        } else if (r.isEndElement() && r.name() == QLatin1String("Row")) {
            rows << cells.join(QLatin1Char(','));
        } else if (r.isStartElement() && r.name() == QLatin1String("Cell")) {
            cell.clear();
            if (a.hasAttribute(QLatin1String("ss:Index")))
                cell = QLatin1Char('@') + a.value(QLatin1String("ss:Index")).toString() + QLatin1Char(' ');
            style = a.value(QLatin1String("ss:StyleID")).toString();
            if (a.hasAttribute(QLatin1String("ss:MergeAcross")))
                style += QLatin1Char(' ') + a.value(QLatin1String("ss:MergeAcross")).toString();
        } else if (r.isStartElement() && r.name() == QLatin1String("Data")) {
            const QString type = a.value(QLatin1String("ss:Type")).toString();
            const QString merge = style.section(QLatin1Char(' '), 1);
            const QString styleId = style.section(QLatin1Char(' '), 0, 0);
            const bool fits = (type == QLatin1String("String") && styleId == QLatin1String("tn-center"))
                || (type == QLatin1String("DateTime") && styleId == QLatin1String("tn-datetime"))
                || (type == QLatin1String("Number") && styleId.isEmpty());
            if (!fits)
                cell += QLatin1Char('!');
            if (type == QLatin1String("DateTime"))
                cell += QLatin1String("dt ");
            cell += r.readElementText();
            if (!merge.isEmpty())
                cell += QLatin1String(" +") + merge;
            cells << cell;
        }
    }
    if (r.hasError())
        rows << QStringLiteral("parse error: ") + r.errorString();
    return rows;
}

} // namespace

class TestXmlExport : public QObject
{
    Q_OBJECT
private slots:
    void workedExampleBytes();
    void layout_data();
    void layout();
    void datetimeCells_data();
    void datetimeCells();
    void escaping();

private:
    QByteArray exported(ChartWidget &w)
    {
        const QString file = dir.filePath(QStringLiteral("sheet.xml"));
        if (!w.exportXml(file))
            return QByteArray("<export failed>");
        return readAll(file);
    }

    QTemporaryDir dir;
};

void TestXmlExport::workedExampleBytes()
{
    ChartWidget w;
    setups::longerFirst(w);
    const QByteArray expected = kHead
        + "<Row><Cell ss:StyleID=\"tn-center\" ss:MergeAcross=\"1\"><Data ss:Type=\"String\">A</Data></Cell>"
          "<Cell ss:StyleID=\"tn-center\" ss:MergeAcross=\"1\"><Data ss:Type=\"String\">B</Data></Cell></Row>"
          "<Row><Cell ss:StyleID=\"tn-center\"><Data ss:Type=\"String\">X</Data></Cell>"
          "<Cell ss:StyleID=\"tn-center\"><Data ss:Type=\"String\">Y</Data></Cell>"
          "<Cell ss:StyleID=\"tn-center\"><Data ss:Type=\"String\">X</Data></Cell>"
          "<Cell ss:StyleID=\"tn-center\"><Data ss:Type=\"String\">Y</Data></Cell></Row>"
          "<Row><Cell><Data ss:Type=\"Number\">1</Data></Cell><Cell><Data ss:Type=\"Number\">10</Data></Cell>"
          "<Cell><Data ss:Type=\"Number\">5</Data></Cell><Cell><Data ss:Type=\"Number\">0.5</Data></Cell></Row>"
          "<Row><Cell><Data ss:Type=\"Number\">2</Data></Cell><Cell><Data ss:Type=\"Number\">20</Data></Cell></Row>"
          "<Row><Cell><Data ss:Type=\"Number\">3</Data></Cell><Cell><Data ss:Type=\"Number\">30</Data></Cell></Row>"
          "<Row/></Table></Worksheet></Workbook>\n";
    QCOMPARE(exported(w), expected);
}

void TestXmlExport::layout_data()
{
    QTest::addColumn<ChartSetup>("setup");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("longer series first")
        << ChartSetup(setups::longerFirst)
        << QStringList{"A +1,B +1", "X,Y,X,Y", "1,10,5,0.5", "2,20", "3,30", ""};
    QTest::newRow("shorter series first")
        << ChartSetup(setups::shorterFirst)
        << QStringList{"A +1,B +1", "X,Y,X,Y", "5,0.5,1,10", "@3 2,20", "@3 3,30", ""};
    QTest::newRow("hidden series left out")
        << ChartSetup(setups::hiddenBetween) << QStringList{"A +1,B +1", "X,Y,X,Y", "1,10,2,20", ""};
    // The empty series keeps a block as wide as its column names, so A's
    // name, column names and values stay above each other.
    QTest::newRow("series without points")
        << ChartSetup(setups::emptyFirst)
        << QStringList{"E +1,A +1", "X,Y,X,Y", "@3 1,10", "@3 2,20", ""};
    QTest::newRow("nothing visible") << ChartSetup(setups::nothingVisible) << QStringList{"", "", ""};
    QTest::newRow("three columns")
        << ChartSetup(setups::threeColumns) << QStringList{"G +2", "X1,X2,Y", "1,2.5,-3", ""};
}

void TestXmlExport::layout()
{
    QFETCH(ChartSetup, setup);
    QFETCH(QStringList, rows);
    ChartWidget w;
    setup(w);
    const QByteArray xml = exported(w);
    QVERIFY2(xml.startsWith(kHead), xml.left(kHead.size()).constData());
    QVERIFY(!xml.contains('\n') || xml.indexOf('\n') == xml.size() - 1);
    QCOMPARE(sheetRows(xml), rows);
}

void TestXmlExport::datetimeCells_data()
{
    QTest::addColumn<bool>("xdt");
    QTest::addColumn<bool>("ydt");
    QTest::addColumn<QString>("row");
    const QDateTime a(QDate(2021, 3, 4), QTime(5, 6, 7));
    const QDateTime c(QDate(2030, 7, 1), QTime(0, 0, 1));
    const QString at = QStringLiteral("dt 2021-03-04T05:06:07.000");
    const QString ct = QStringLiteral("dt 2030-07-01T00:00:01.000");
    const QString an = QString::number(a.toSecsSinceEpoch());
    const QString cn = QString::number(c.toSecsSinceEpoch());
    QTest::newRow("numbers") << false << false << QStringList{an, an, cn}.join(',');
    QTest::newRow("bottom axis") << true << false << QStringList{at, at, cn}.join(',');
    QTest::newRow("left axis") << false << true << QStringList{an, an, ct}.join(',');
    QTest::newRow("both axes") << true << true << QStringList{at, at, ct}.join(',');
}

void TestXmlExport::datetimeCells()
{
    QFETCH(bool, xdt);
    QFETCH(bool, ydt);
    QFETCH(QString, row);
    ChartWidget w;
    w.axes()->bottom()->setDatetime(xdt);
    w.axes()->left()->setDatetime(ydt);
    const double a = QDateTime(QDate(2021, 3, 4), QTime(5, 6, 7)).toSecsSinceEpoch();
    const double c = QDateTime(QDate(2030, 7, 1), QTime(0, 0, 1)).toSecsSinceEpoch();
    w.addSeries(new TableSeries("T", "X;X2;Y", {{a, a, c}}));
    QCOMPARE(sheetRows(exported(w)), (QStringList{"T +2", "X,X2,Y", row, ""}));
}

void TestXmlExport::escaping()
{
    ChartWidget w;
    w.addSeries(namedLine(QStringLiteral("a<b & \"c\" \u00e4"), {{1, 2}}));
    w.addSeries(new TableSeries(QStringLiteral("t"), QStringLiteral("X;<Y>"), {{3, 4}}));
    const QByteArray xml = exported(w);
    QVERIFY(xml.contains("<Data ss:Type=\"String\">a&lt;b &amp; &quot;c&quot; \xc3\xa4</Data>"));
    QVERIFY(xml.contains("<Data ss:Type=\"String\">&lt;Y&gt;</Data>"));
    QCOMPARE(sheetRows(xml).mid(0, 2),
             (QStringList{QStringLiteral("a<b & \"c\" \u00e4 +1,t +1"), QStringLiteral("X,Y,X,<Y>")}));
}

TAVRIN_TEST(TestXmlExport)
#include "tst_xmlexport.moc"
