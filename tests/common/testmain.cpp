#include "testmain.h"

#include <QApplication>
#include <QByteArray>
#include <QFont>
#include <QStringList>
#include <QTest>
#include <memory>

namespace tavrintest {
std::vector<std::pair<const char *, Factory>> &registry()
{
    static std::vector<std::pair<const char *, Factory>> r;
    return r;
}
} // namespace tavrintest

// Runs every registered class; `-class Name` limits the run to one of them,
// the remaining arguments go to QTest as usual.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setAttribute(Qt::AA_Use96Dpi, true);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // Qt 6's offscreen platform gives widgets a 9 pt font, Qt 5's a 12 pt
    // one; the tests size legends and layouts for the latter.
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
#endif

    QStringList args = app.arguments();
    QString only;
    int idx = args.indexOf(QStringLiteral("-class"));
    if (idx >= 0 && idx + 1 < args.size()) {
        only = args.at(idx + 1);
        args.removeAt(idx + 1);
        args.removeAt(idx);
    }

    int failures = 0;
    int ran = 0;
    for (auto &entry : tavrintest::registry()) {
        if (!only.isEmpty() && only != QLatin1String(entry.first))
            continue;
        std::unique_ptr<QObject> test(entry.second());
        failures += QTest::qExec(test.get(), args) ? 1 : 0;
        ++ran;
    }
    return failures ? 1 : (ran ? 0 : 1);
}
