#include "testmain.h"
#include "fixtures.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The Qt 6 build against the Qt 5 build of the same sources: what a host can
// see must not depend on the Qt it links. Runs where both builds exist (the
// Qt 5 one in TAVRIN_QT5_BUILD_DIR, build/ by default).
class CrossQtTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void sameFiles_data();
    void sameFiles();

private:
    struct Build {
        QString tool, out;
    };
    bool run(const QString &program, const QStringList &args, const QStringList &env = {},
             QByteArray *output = nullptr);
    void write(const Build &b, const QString &sub, const QStringList &env);

    QTemporaryDir m_tmp;
    Build m_qt5, m_qt6;
};

bool CrossQtTest::run(const QString &program, const QStringList &args, const QStringList &env,
                      QByteArray *output)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const QString &kv : env)
        e.insert(kv.section(QLatin1Char('='), 0, 0), kv.section(QLatin1Char('='), 1));
    p.setProcessEnvironment(e);
    p.start(program, args);
    if (!p.waitForFinished(240000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning("%s %s failed", qPrintable(program), qPrintable(args.join(QLatin1Char(' '))));
        return false;
    }
    if (output)
        *output = p.readAllStandardOutput();
    return true;
}

void CrossQtTest::write(const Build &b, const QString &sub, const QStringList &env)
{
    QVERIFY(run(b.tool, {QStringLiteral("write"), QDir(b.out).filePath(sub)}, env));
}

void CrossQtTest::initTestCase()
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0) || !defined(TAVRIN_QT5_BUILD_DIR)
    QSKIP("the Qt 6 build compares itself with the Qt 5 build");
#else
    const QString qt5 = QStringLiteral(TAVRIN_QT5_BUILD_DIR);
    m_qt5.tool = qt5 + QStringLiteral("/tests/tavrin_crossqt");
    m_qt6.tool = QStringLiteral(TAVRIN_CROSSQT_TOOL);
    if (!QFile::exists(m_qt5.tool))
        QSKIP(qPrintable(QStringLiteral("no Qt 5 build in %1 (./scripts/test makes one)").arg(qt5)));
    QVERIFY(m_tmp.isValid());
    m_qt5.out = m_tmp.filePath(QStringLiteral("qt5"));
    m_qt6.out = m_tmp.filePath(QStringLiteral("qt6"));
    const QStringList c = {QStringLiteral("LC_ALL=C"), QStringLiteral("LANGUAGE=")};
    const QStringList de = {QStringLiteral("LC_ALL=de_DE.UTF-8"), QStringLiteral("LANG=de_DE.UTF-8"),
                            QStringLiteral("LANGUAGE=de")};
    for (Build *b : {&m_qt5, &m_qt6}) {
        write(*b, QStringLiteral("C"), c);
        write(*b, QStringLiteral("de"), de);
    }
#endif
}

void CrossQtTest::sameFiles_data()
{
    QTest::addColumn<QString>("file");
    for (const char *locale : {"C", "de"})
        for (const char *name : {"default.tn", "styled.tn", "data.csv", "data.xml", "menu.txt"})
            QTest::newRow(qPrintable(QStringLiteral("%1/%2").arg(QLatin1String(locale), QLatin1String(name))))
                << QStringLiteral("%1/%2").arg(QLatin1String(locale), QLatin1String(name));
}

// Identical settings bytes also mean that each build reads the other's
// file as it reads its own, which its own round-trip tests check.
void CrossQtTest::sameFiles()
{
    QFETCH(QString, file);
    const QByteArray qt5 = tavrintest::readAll(QDir(m_qt5.out).filePath(file));
    QVERIFY(QFile::exists(QDir(m_qt5.out).filePath(file)) && !qt5.isEmpty());
    QCOMPARE(tavrintest::readAll(QDir(m_qt6.out).filePath(file)), qt5);
}

TAVRIN_TEST(CrossQtTest)
#include "tst_crossqt.moc"
