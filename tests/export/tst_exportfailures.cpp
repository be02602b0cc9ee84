#include "exportfixtures.h"
#include "testmain.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

using Writer = bool (*)(ChartWidget &, const QString &);

bool csv(ChartWidget &w, const QString &f) { return w.exportCsv(f); }
bool xml(ChartWidget &w, const QString &f) { return w.exportXml(f); }
bool svg(ChartWidget &w, const QString &f) { return w.exportSvg(f); }
bool settings(ChartWidget &w, const QString &f) { return w.save(ChartWidget::dfBinary, f); }

// A chart whose every output is far larger than a few kilobytes.
void fill(ChartWidget &w)
{
    w.setTitle(QString(3000, QLatin1Char('T')));
    auto *line = new LineSeries;
    for (int i = 0; i < 2000; ++i)
        line->addXY(i, i % 7);
    w.addSeries(line);
    w.resize(300, 200);
}

#ifdef Q_OS_LINUX
// Files of this process cannot grow beyond `bytes` while it lives.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        limited.rlim_cur = bytes;
        ok = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
    }
    bool ok = false;

private:
    rlimit saved;
    void (*oldHandler)(int);
};
#endif

} // namespace

Q_DECLARE_METATYPE(Writer)

class TestExportFailures : public QObject
{
    Q_OBJECT
private slots:
    void unwritablePath_data();
    void unwritablePath();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();

private:
    QTemporaryDir dir;
};

static void addWriters()
{
    QTest::addColumn<Writer>("writer");
    QTest::addColumn<QString>("target");
}

void TestExportFailures::unwritablePath_data()
{
    addWriters();
    const QString missing = dir.filePath(QStringLiteral("no/such/dir/out"));
    const QString directory = dir.path();
    const struct { const char *name; Writer w; } writers[] = {
        {"csv", csv}, {"xml", xml}, {"svg", svg}, {"settings", settings}};
    for (const auto &w : writers) {
        QTest::addRow("%s, missing directory", w.name) << w.w << missing;
        QTest::addRow("%s, directory", w.name) << w.w << directory;
        if (QFileInfo::exists(QStringLiteral("/dev/full")))
            QTest::addRow("%s, full device", w.name) << w.w << QStringLiteral("/dev/full");
    }
}

void TestExportFailures::unwritablePath()
{
    QFETCH(Writer, writer);
    QFETCH(QString, target);
    ChartWidget w;
    fill(w);
    QVERIFY(!writer(w, target));
    // The device is still a device, not a file renamed over it.
    if (target == QLatin1String("/dev/full"))
        QVERIFY(!QFileInfo(target).isFile());
}

void TestExportFailures::failedWriteKeepsOldFile_data()
{
    QTest::addColumn<Writer>("writer");
    QTest::newRow("csv") << Writer(csv);
    QTest::newRow("xml") << Writer(xml);
    QTest::newRow("svg") << Writer(svg);
    QTest::newRow("settings") << Writer(settings);
}

void TestExportFailures::failedWriteKeepsOldFile()
{
#ifndef Q_OS_LINUX
    QSKIP("needs a file size limit");
#else
    QFETCH(Writer, writer);
    const QString file = dir.filePath(QStringLiteral("old.out"));
    const QByteArray old("the old contents\n");
    QVERIFY(writeAll(file, old));
    ChartWidget w;
    fill(w);
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);
    {
        FileSizeLimit limit(2048);
        QVERIFY(limit.ok);
        QVERIFY(!writer(w, file));
    }
    QCOMPARE(readAll(file), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), before); // no temporary left behind
    // Without the limit the same export goes through and replaces the file.
    QVERIFY(writer(w, file));
    QVERIFY(readAll(file).size() > 2048);
#endif
}

TAVRIN_TEST(TestExportFailures)
#include "tst_exportfailures.moc"
