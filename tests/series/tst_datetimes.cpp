#include "testmain.h"

#include <axis.h>
#include <boxandwhiskersseries.h>
#include <ganttseries.h>
#include <highlowseries.h>
#include <lineseries.h>
#include <vline.h>

#include <QDateTime>
#include <QTest>
#include <functional>

namespace {

// Each date-time entry point of the library, reduced to the x it stores.
using Entry = std::function<double(const QDateTime &)>;

QMap<QString, Entry> entries()
{
    return {
        {"addXY", [](const QDateTime &t) {
             LineSeries s;
             s.addXY(t, 1.0);
             return s.points().at(0).x();
         }},
        {"candle", [](const QDateTime &t) {
             BoxAndWhiskersSeries s;
             s.addCandle(t, 2, 1, 3, 1.5, 2.5);
             return s.point(0).at(0).toDouble();
         }},
        {"band", [](const QDateTime &t) {
             HighLowSeries s;
             s.addPoint(t, 1, 2);
             return s.point(0).at(0).toDouble();
         }},
        {"gantt start", [](const QDateTime &t) {
             GanttSeries s;
             s.addBar(t, t.addSecs(60), 1, QColor(), QString());
             return s.point(0).at(0).toDouble();
         }},
        {"gantt addXY", [](const QDateTime &t) {
             GanttSeries s;
             s.addXY(t, 1);
             return s.point(0).at(1).toDouble();
         }},
        {"marker line", [](const QDateTime &t) { return VLine(t, Qt::red, 1).x(); }},
    };
}

} // namespace

class TestDateTimes : public QObject
{
    Q_OBJECT
private slots:
    void seconds_data();
    void seconds();
    void timeOfDay();
    void axisLabels_data();
    void axisLabels();
};

void TestDateTimes::seconds_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QDateTime>("input");
    QTest::addColumn<double>("expected");
    const QDateTime whole(QDate(2021, 3, 4), QTime(5, 6, 7), Qt::UTC);
    const QDateTime late(QDate(2106, 2, 7), QTime(6, 28, 15), Qt::UTC);
    struct Case {
        const char *name;
        QDateTime input;
        double expected;
    } cases[] = {
        // Whole seconds are what they always were.
        {"whole second", whole, double(whole.toSecsSinceEpoch())},
        {"epoch", QDateTime::fromSecsSinceEpoch(0, Qt::UTC), 0.0},
        {"last unsigned second", late, 4294967295.0},
        {"milliseconds", whole.addMSecs(250), double(whole.toSecsSinceEpoch()) + 0.25},
        {"one millisecond", QDateTime::fromMSecsSinceEpoch(1, Qt::UTC), 0.001},
        {"before 1970", QDateTime(QDate(1969, 12, 31), QTime(23, 59, 59, 500), Qt::UTC), -0.5},
        {"long before", QDateTime(QDate(1900, 1, 1), QTime(0, 0), Qt::UTC), -2208988800.0},
        {"invalid", QDateTime(), 4294967295.0},
    };
    const auto all = entries();
    for (auto it = all.cbegin(); it != all.cend(); ++it)
        for (const Case &c : cases)
            QTest::addRow("%s, %s", qPrintable(it.key()), c.name) << it.key() << c.input << c.expected;
}

void TestDateTimes::seconds()
{
    QFETCH(QString, entry);
    QFETCH(QDateTime, input);
    QFETCH(double, expected);
    QCOMPARE(entries().value(entry)(input), expected);
}

void TestDateTimes::timeOfDay()
{
    LineSeries s;
    const QTime t(12, 0, 0, 125);
    s.addXY(t, 1.0);
    const QDateTime today(QDate::currentDate(), t, Qt::LocalTime);
    QCOMPARE(s.points().at(0).x(), today.toMSecsSinceEpoch() / 1000.0);
}

void TestDateTimes::axisLabels_data()
{
    QTest::addColumn<QDateTime>("input");
    QTest::addColumn<QString>("format");
    const QDateTime t(QDate(2021, 3, 4), QTime(5, 6, 7));
    QTest::newRow("whole second") << t << QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz");
    QTest::newRow("milliseconds") << t.addMSecs(875) << QStringLiteral("hh:mm:ss.zzz");
    QTest::newRow("before 1970") << QDateTime(QDate(1969, 7, 20), QTime(20, 17, 40, 1))
                                 << QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz");
    QTest::newRow("1900") << QDateTime(QDate(1900, 1, 1), QTime(12, 0)) << QStringLiteral("yyyy-MM-dd hh:mm");
}

// The axis shows the instant that went in, in local time.
void TestDateTimes::axisLabels()
{
    QFETCH(QDateTime, input);
    QFETCH(QString, format);
    Axis axis(Axis::atBottom);
    axis.setDatetime(true);
    axis.setDatetimeFormat(format);
    LineSeries s;
    s.addXY(input, 0.0);
    QCOMPARE(axis.labelString(s.points().at(0).x()), input.toString(format));
}

TAVRIN_TEST(TestDateTimes)
#include "tst_datetimes.moc"
