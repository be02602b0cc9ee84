#include "testmain.h"
#include "fixtures.h"

#include <axes.h>
#include <axis.h>

#include <QDateTime>
#include <QTemporaryDir>
#include <QTest>

// Date-time columns hold seconds with milliseconds and may lie before 1970;
// both exports write such a value as the local instant it stands for.
using namespace tavrintest;

class TestDateTimeExport : public QObject
{
    Q_OBJECT
private slots:
    void values_data();
    void values();

private:
    QTemporaryDir dir;
};

void TestDateTimeExport::values_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("text");
    const QDateTime t(QDate(2021, 3, 4), QTime(5, 6, 7));
    const double whole = t.toMSecsSinceEpoch() / 1000.0;
    // The form whole seconds always had.
    QTest::newRow("whole second") << whole
                                  << QDateTime::fromSecsSinceEpoch(qint64(whole), Qt::LocalTime).toString(Qt::ISODate) + ".000";
    QTest::newRow("milliseconds") << whole + 0.25 << QStringLiteral("2021-03-04T05:06:07.250");
    QTest::newRow("one millisecond") << whole + 0.001 << QStringLiteral("2021-03-04T05:06:07.001");
    const QDateTime early(QDate(1969, 7, 20), QTime(20, 17, 40, 500));
    QTest::newRow("before 1970") << early.toMSecsSinceEpoch() / 1000.0
                                 << QStringLiteral("1969-07-20T20:17:40.500");
    const QDateTime old(QDate(1900, 1, 1), QTime(0, 0));
    QTest::newRow("1900") << old.toMSecsSinceEpoch() / 1000.0 << QStringLiteral("1900-01-01T00:00:00.000");
}

void TestDateTimeExport::values()
{
    QFETCH(double, seconds);
    QFETCH(QString, text);
    ChartWidget w;
    w.axes()->bottom()->setDatetime(true);
    w.addSeries(new TableSeries("T", "X;Y", {{seconds, 1}}));

    const QString csv = dir.filePath(QStringLiteral("dt.csv"));
    QVERIFY(w.exportCsv(csv));
    QCOMPARE(QString::fromUtf8(readAll(csv)), QStringLiteral("T(X);T(Y)\n%1;1\n").arg(text));

    const QString xml = dir.filePath(QStringLiteral("dt.xml"));
    QVERIFY(w.exportXml(xml));
    const QByteArray cell = "<Data ss:Type=\"DateTime\">" + text.toLatin1() + "</Data>";
    QVERIFY2(readAll(xml).contains(cell), cell.constData());
}

TAVRIN_TEST(TestDateTimeExport)
#include "tst_datetimeexport.moc"
