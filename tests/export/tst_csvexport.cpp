#include "exportfixtures.h"
#include "testmain.h"

#include <axes.h>
#include <axis.h>

#include <QDateTime>

class TestCsvExport : public QObject
{
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void datetimeColumns_data();
    void datetimeColumns();
    void quoting_data();
    void quoting();
    void overwritesExistingFile();

private:
    QTemporaryDir dir;
};

void TestCsvExport::layout_data()
{
    QTest::addColumn<ChartSetup>("setup");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("longer series first")
        << ChartSetup(setups::longerFirst) << QByteArray("A(X);A(Y);B(X);B(Y)\n1;10;5;0.5\n2;20\n3;30\n");
    // Every value stays under its own header when an earlier series runs out.
    QTest::newRow("shorter series first")
        << ChartSetup(setups::shorterFirst) << QByteArray("A(X);A(Y);B(X);B(Y)\n5;0.5;1;10\n;;2;20\n;;3;30\n");
    QTest::newRow("hidden series left out")
        << ChartSetup(setups::hiddenBetween) << QByteArray("A(X);A(Y);B(X);B(Y)\n1;10;2;20\n");
    QTest::newRow("series without points")
        << ChartSetup(setups::emptyFirst) << QByteArray("E(X);E(Y);A(X);A(Y)\n;;1;10\n;;2;20\n");
    QTest::newRow("nothing visible") << ChartSetup(setups::nothingVisible) << QByteArray();
    QTest::newRow("three columns") << ChartSetup(setups::threeColumns) << QByteArray("G(X1);G(X2);G(Y)\n1;2.5;-3\n");
}

void TestCsvExport::layout()
{
    QFETCH(ChartSetup, setup);
    QFETCH(QByteArray, expected);
    ChartWidget w;
    setup(w);
    const QString file = dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".csv");
    QVERIFY(w.exportCsv(file));
    QCOMPARE(readAll(file), expected);
}

void TestCsvExport::datetimeColumns_data()
{
    QTest::addColumn<bool>("xdt");
    QTest::addColumn<bool>("ydt");
    QTest::addColumn<QString>("line");
    // Local wall-clock times, so the expectation holds in any time zone.
    const QDateTime a(QDate(2021, 3, 4), QTime(5, 6, 7));
    const QDateTime b(QDate(1999, 12, 31), QTime(23, 59, 58));
    const QDateTime c(QDate(2030, 7, 1), QTime(0, 0, 1));
    QTest::newRow("numbers") << false << false
                             << QStringLiteral("%1.75;%2;%3").arg(a.toTime_t()).arg(b.toTime_t()).arg(c.toTime_t());
    QTest::newRow("bottom axis") << true << false
                                 << QStringLiteral("2021-03-04T05:06:07.750;1999-12-31T23:59:58.000;%1").arg(c.toTime_t());
    QTest::newRow("left axis") << false << true
                               << QStringLiteral("%1.75;%2;2030-07-01T00:00:01.000").arg(a.toTime_t()).arg(b.toTime_t());
    QTest::newRow("both axes") << true << true
                               << QStringLiteral("2021-03-04T05:06:07.750;1999-12-31T23:59:58.000;2030-07-01T00:00:01.000");
}

void TestCsvExport::datetimeColumns()
{
    QFETCH(bool, xdt);
    QFETCH(bool, ydt);
    QFETCH(QString, line);
    ChartWidget w;
    w.axes()->bottom()->setDatetime(xdt);
    w.axes()->left()->setDatetime(ydt);
    const QDateTime a(QDate(2021, 3, 4), QTime(5, 6, 7));
    const QDateTime b(QDate(1999, 12, 31), QTime(23, 59, 58));
    const QDateTime c(QDate(2030, 7, 1), QTime(0, 0, 1));
    // Fractions of a second are written to the millisecond.
    w.addSeries(new TableSeries("T", "X1;X2;Y", {{a.toTime_t() + 0.75, double(b.toTime_t()), double(c.toTime_t())}}));
    const QString file = dir.filePath(QStringLiteral("dt.csv"));
    QVERIFY(w.exportCsv(file));
    const QByteArray text = readAll(file);
    QCOMPARE(text, "T(X1);T(X2);T(Y)\n" + line.toLatin1() + "\n");
}

void TestCsvExport::quoting_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("header");
    QTest::newRow("plain") << QStringLiteral("Temp, K") << QByteArray("Temp, K(X);Temp, K(Y)");
    QTest::newRow("separator") << QStringLiteral("a;b") << QByteArray("\"a;b(X)\";\"a;b(Y)\"");
    QTest::newRow("quote") << QStringLiteral("say \"hi\"") << QByteArray("\"say \"\"hi\"\"(X)\";\"say \"\"hi\"\"(Y)\"");
    QTest::newRow("line feed") << QStringLiteral("two\nlines") << QByteArray("\"two\nlines(X)\";\"two\nlines(Y)\"");
    QTest::newRow("carriage return") << QStringLiteral("cr\r") << QByteArray("\"cr\r(X)\";\"cr\r(Y)\"");
}

void TestCsvExport::quoting()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, header);
    ChartWidget w;
    w.addSeries(namedLine(name, {{1, 2}}));
    const QString file = dir.filePath(QStringLiteral("quoted.csv"));
    QVERIFY(w.exportCsv(file));
    QCOMPARE(readAll(file), header + "\n1;2\n");
}

void TestCsvExport::overwritesExistingFile()
{
    const QString file = dir.filePath(QStringLiteral("existing.csv"));
    QVERIFY(writeAll(file, QByteArray(5000, 'x')));
    ChartWidget w;
    setups::longerFirst(w);
    QVERIFY(w.exportCsv(file));
    QCOMPARE(readAll(file), QByteArray("A(X);A(Y);B(X);B(Y)\n1;10;5;0.5\n2;20\n3;30\n"));
}

TAVRIN_TEST(TestCsvExport)
#include "tst_csvexport.moc"
