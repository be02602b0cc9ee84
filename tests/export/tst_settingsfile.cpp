#include "exportfixtures.h"
#include "testmain.h"

#include <axis.h>
#include <chartwidget_p.h>

#include <QDataStream>
#include <QFileInfo>
#include <QtEndian>

namespace {

struct Settings
{
    bool autoScale;
    bool drawingLock;
    QString title;
    QFont font;
    bool operator==(const Settings &o) const
    {
        return autoScale == o.autoScale && drawingLock == o.drawingLock && title == o.title
            && title.isNull() == o.title.isNull() && font == o.font;
    }
};

Settings settingsOf(const ChartWidget &w)
{
    return {w.d->autoScale, w.d->drawingLock, w.d->title, w.d->titleFont};
}

char *toString(const Settings &s)
{
    return qstrdup(QStringLiteral("autoScale %1, lock %2, title \"%3\", font %4")
                       .arg(s.autoScale).arg(s.drawingLock).arg(s.title, s.font.toString())
                       .toUtf8().constData());
}

// A widget whose settings differ from every default.
void makeDistinct(ChartWidget &w)
{
    w.d->autoScale = false;
    w.d->drawingLock = true;
    w.d->title = QStringLiteral("Before");
    w.d->titleFont = QFont(QStringLiteral("Liberation Serif"), 13);
}

QByteArray qtString(const QString &s)
{
    QByteArray b;
    QDataStream out(&b, QIODevice::WriteOnly);
    out << s;
    return b;
}

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT
private slots:
    void bytes();
    void roundTrip_data();
    void roundTrip();
    void loadRendersNothing();
    void refused_data();
    void refused();
    void everyTruncationRefused();
    void saveWithWrongFormatLeavesFile();

private:
    QString path(const char *name) { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

void TestSettingsFile::bytes()
{
    ChartWidget w;
    w.addSeries(new TableSeries("a", "X"));
    w.addSeries(new TableSeries("b", "X"), 7);
    w.setTitle(QStringLiteral("Hi"));
    QVERIFY(w.save(ChartWidget::dfBinary, path("bytes.tn")));

    QByteArray font;
    QDataStream fontOut(&font, QIODevice::WriteOnly);
    fontOut.setVersion(QDataStream::Qt_5_15);
    fontOut << QFont(QStringLiteral("Arial"), 8);
    const QByteArray expected = QByteArray::fromHex("0000000c" "0074006e00200031002e0030") // "tn 1.0"
        + QByteArray::fromHex("00000002" "0000000701" "0000000101")                    // registry, highest id first
        + QByteArray::fromHex("01" "00")                                               // autoScale, drawingLock
        + QByteArray::fromHex("00000004" "00480069")                                   // "Hi"
        + font;
    QCOMPARE(readAll(path("bytes.tn")).toHex(), expected.toHex());
}

void TestSettingsFile::roundTrip_data()
{
    QTest::addColumn<bool>("autoScale");
    QTest::addColumn<bool>("drawingLock");
    QTest::addColumn<QString>("title");
    QTest::newRow("defaults") << true << false << QString();
    QTest::newRow("line feed") << false << true << QStringLiteral("first\nsecond\r\nthird\r");
    QTest::newRow("empty, not null") << true << true << QStringLiteral("");
    QTest::newRow("non-latin") << false << false << QStringLiteral("\u0413\u0440\u0430\u0444\u0438\u043a \u00b0C");
}

void TestSettingsFile::roundTrip()
{
    QFETCH(bool, autoScale);
    QFETCH(bool, drawingLock);
    QFETCH(QString, title);
    ChartWidget source;
    source.addSeries(new TableSeries("a", "X"));
    source.d->autoScale = autoScale;
    source.d->drawingLock = drawingLock;
    source.d->title = title;
    source.d->titleFont = QFont(QStringLiteral("Liberation Mono"), 11, QFont::Bold, true);
    QVERIFY(source.save(ChartWidget::dfBinary, path("trip.tn")));

    ChartWidget target;
    makeDistinct(target);
    QVERIFY(target.load(ChartWidget::dfBinary, path("trip.tn")));
    QCOMPARE(settingsOf(target), settingsOf(source));
}

void TestSettingsFile::loadRendersNothing()
{
    ChartWidget source;
    QVERIFY(source.save(ChartWidget::dfBinary, path("plain.tn"))); // autoScale on, lock off

    ChartWidget w;
    w.resize(300, 200);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto *line = namedLine("L", {{0, 0}, {10, 10}});
    w.addSeries(line);
    QApplication::processEvents();
    w.setDrawingLock(true);
    w.d->autoScale = false;
    line->addXY(1000, 1000); // outside the range: a rescale would widen it
    const double rangeMax = w.d->axes.bottom()->max();
    const QImage before = w.d->pixmap.toImage();

    QVERIFY(w.load(ChartWidget::dfBinary, path("plain.tn")));
    QApplication::processEvents();
    QVERIFY(w.d->autoScale);
    QVERIFY(!w.d->drawingLock);
    QCOMPARE(w.d->axes.bottom()->max(), rangeMax);
    QCOMPARE(w.d->pixmap.toImage(), before);
}

void TestSettingsFile::refused_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QByteArray>("contents");

    ChartWidget w;
    w.setTitle(QStringLiteral("Title"));
    const QString file = dir.filePath(QStringLiteral("valid.tn"));
    QVERIFY(w.save(ChartWidget::dfBinary, file));
    const QByteArray valid = readAll(file);
    const int titleAt = qtString(ChartWidget::chartVersion).size() + 4 + 2;

    QTest::newRow("wrong format") << 1 << valid;
    QTest::newRow("wrong version") << 0 << qtString(QStringLiteral("tn 2.0")) + valid.mid(16);
    QTest::newRow("empty file") << 0 << QByteArray();
    QTest::newRow("not a data stream") << 0 << QByteArray("tn 1.0\nautoScale=true\n");

    // Counts that claim more than the file holds must fail before anything
    // is allocated for them.
    QByteArray hostile = valid;
    qToBigEndian<quint32>(0x7ffffffe, hostile.data() + titleAt);
    QTest::newRow("title length 2^31") << 0 << hostile;
    hostile = valid;
    qToBigEndian<quint32>(0x7fffffff, hostile.data() + 16);
    QTest::newRow("registry count 2^31") << 0 << hostile;
    hostile = valid;
    qToBigEndian<quint32>(0x7fffffff, hostile.data() + hostile.size() - 4); // font's family list
    QTest::newRow("font family count 2^31") << 0 << hostile;
    hostile = valid;
    qToBigEndian<quint32>(0x1001, hostile.data() + titleAt);
    QTest::newRow("odd title length") << 0 << hostile;

    // Title fonts that every paint would have to render at absurd sizes.
    auto withFont = [](const QFont &font) {
        QByteArray b;
        QDataStream out(&b, QIODevice::WriteOnly);
        out << ChartWidget::chartVersion << qint32(0) << true << false << QStringLiteral("T") << font;
        return b;
    };
    QFont huge(QStringLiteral("Arial"));
    huge.setPointSizeF(1e9);
    QTest::newRow("font of 1e9 points") << 0 << withFont(huge);
    QFont hugePixels(QStringLiteral("Arial"));
    hugePixels.setPixelSize(1 << 24);
    QTest::newRow("font of 2^24 pixels") << 0 << withFont(hugePixels);
    QFont spaced(QStringLiteral("Arial"), 8);
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, 1e12);
    QTest::newRow("letter spacing 1e12") << 0 << withFont(spaced);
    // Found by fuzzing: a denormal point size with a pixel size of about
    // -10^9, whose negative line height made the plot taller than the widget.
    QTest::newRow("fuzzed point and pixel size") << 0 << QByteArray::fromBase64(
        "AAAADAB0AG4AIAAxAC4AMAAAAAABAAAAAAr//lT/aQD/AAACAAAAAAAAAABAAAAkAAAAQKSkpKQAAAAALP//AAAAAAAAAAAAAAAAAAAAAAAAAAIAAAAAAAAAAEA=");
    QTest::newRow("fuzzed negative pixel size") << 0 << QByteArray::fromBase64(
        "AAAADAB0AG4AIAAxAC4AMAAAAAABAAAAAAoAVABp/v///wAAAAAAAAAAAAAAAMPDw8PDw8PDw8MAJAAAAAAAAP///////////wEAAAAAAAAM////////////////////////////////////////////////////////////////////////////////APgAAAAAAAAAAAAAAAD+////AAAAAAAAAHQAbABl");
    // Found by fuzzing: a font record whose size fields decode to a glyph
    // image of petabytes.
    QTest::newRow("fuzzed font") << 0 << QByteArray::fromBase64(
        "AAAADAB0AG4AIAAxAC4AMAAAAAABAAAAAAoAVABp/v///wAAAAAAAAAAAAAAAAAAAADvJOkAAAAAAQAAAAAKAFQAaf7///8AAAAAAAAAAAAAAAAAAAAAJA==");
}

void TestSettingsFile::refused()
{
    QFETCH(int, format);
    QFETCH(QByteArray, contents);
    const QString file = path("refused.tn");
    QVERIFY(writeAll(file, contents));
    ChartWidget w;
    makeDistinct(w);
    const Settings before = settingsOf(w);
    QVERIFY(!w.load(ChartWidget::dataFormat(format), file));
    QCOMPARE(settingsOf(w), before);
    QCOMPARE(readAll(file), contents);
}

void TestSettingsFile::everyTruncationRefused()
{
    ChartWidget source;
    source.setTitle(QStringLiteral("Cut short"));
    QVERIFY(source.save(ChartWidget::dfBinary, path("full.tn")));
    const QByteArray full = readAll(path("full.tn"));

    ChartWidget w;
    makeDistinct(w);
    const Settings before = settingsOf(w);
    for (int length = 0; length < full.size(); ++length) {
        QVERIFY(writeAll(path("cut.tn"), full.left(length)));
        if (w.load(ChartWidget::dfBinary, path("cut.tn")))
            QFAIL(qPrintable(QStringLiteral("a file cut to %1 of %2 bytes was accepted").arg(length).arg(full.size())));
        QCOMPARE(settingsOf(w), before);
    }
    QVERIFY(w.load(ChartWidget::dfBinary, path("full.tn")));
    QCOMPARE(w.d->title, QStringLiteral("Cut short"));
    QVERIFY(!w.load(ChartWidget::dfBinary, path("does-not-exist.tn")));
}

void TestSettingsFile::saveWithWrongFormatLeavesFile()
{
    ChartWidget w;
    QVERIFY(!w.save(ChartWidget::dataFormat(1), path("never.tn")));
    QVERIFY(!QFileInfo::exists(path("never.tn")));
    QVERIFY(writeAll(path("kept.tn"), "keep me"));
    QVERIFY(!w.save(ChartWidget::dataFormat(1), path("kept.tn")));
    QCOMPARE(readAll(path("kept.tn")), QByteArray("keep me"));
}

TAVRIN_TEST(TestSettingsFile)
#include "tst_settingsfile.moc"
