// The context menu's commands, their dialogs, and the German translation.
#include "fixtures.h"
#include "testmain.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <functional>

using namespace tavrintest;

namespace {

// Hands each modal dialog that opens while an action runs to `answer`,
// which must close it; returns how many there were.
int answerDialogs(QAction *action, const std::function<void(QWidget *)> &answer)
{
    int seen = 0;
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        // Marked rather than remembered: a later dialog may reuse the address.
        if (!modal || modal->property("answered").toBool())
            return;
        modal->setProperty("answered", true);
        ++seen;
        answer(modal);
    });
    timer.start();
    action->trigger();
    return seen;
}

// Types the name as a user would and presses Save.
void typeFileName(QWidget *dialog, const QString &fileName)
{
    dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(fileName);
    static_cast<QDialog *>(dialog)->accept();
}


} // namespace

class TestContextMenu : public QObject
{
    Q_OBJECT
private slots:
    void actions();
    void dialogs_data();
    void dialogs();
    void translatorFromSystemLocale();
    void systemLocaleChild();

private:
    QTemporaryDir dir;
};

// Three actions in order, each with its own 32 x 32 icon.
void TestContextMenu::actions()
{
    ChartWidget w;
    QCOMPARE(w.contextMenuPolicy(), Qt::ActionsContextMenu);
    QStringList texts;
    QSet<qint64> icons;
    for (QAction *a : w.actions()) {
        texts << a->text();
        const QImage image = a->icon().pixmap(32, 32).toImage();
        QCOMPARE(image.size(), QSize(32, 32));
        QVERIFY(image.hasAlphaChannel());
        icons.insert(image.cacheKey());
    }
    QCOMPARE(texts, (QStringList{"Save in Excel-xml ...", "Save in csv ...", "Save in svg ..."}));
    QCOMPARE(icons.size(), 3);
}

void TestContextMenu::dialogs_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QByteArray>("start");
    QTest::newRow("spreadsheet") << 0 << QStringLiteral("xml files(*.xml)") << QByteArray("<?xml");
    QTest::newRow("csv") << 1 << QStringLiteral("csv files(*.csv)") << QByteArray("A(X);A(Y)");
    QTest::newRow("svg") << 2 << QStringLiteral("svg files(*.svg)") << QByteArray("<?xml");
}

// The name is used exactly as the dialog returns it; a cancelled dialog
// writes nothing; a file that cannot be written shows the "Error" box.
void TestContextMenu::dialogs()
{
    QFETCH(int, index);
    QFETCH(QString, filter);
    QFETCH(QByteArray, start);
    ChartWidget w;
    w.resize(300, 200);
    w.addSeries(lineOf({{1, 2}}, QStringLiteral("A")));
    QAction *action = w.actions().value(index);
    const QString file = dir.filePath(QStringLiteral("chosen-%1").arg(index));
    QStringList seen;
    QCOMPARE(answerDialogs(action, [&](QWidget *d) {
                 seen << d->windowTitle() << static_cast<QFileDialog *>(d)->nameFilters();
                 typeFileName(d, file);
             }), 1);
    QCOMPARE(seen, (QStringList{"Specify the file to save", filter}));
    QVERIFY(readAll(file).startsWith(start));

    const QStringList before = QDir(dir.path()).entryList(QDir::Files);
    QCOMPARE(answerDialogs(action, [](QWidget *d) { static_cast<QDialog *>(d)->reject(); }), 1);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), before);

    const QString missing = dir.filePath(QStringLiteral("missing/dir/out"));
    QString box;
    QCOMPARE(answerDialogs(action, [&](QWidget *d) {
                 if (auto *message = qobject_cast<QMessageBox *>(d)) {
                     box = message->windowTitle() + QString::number(message->icon());
                     QVERIFY(!message->text().isEmpty());
                     message->button(QMessageBox::Ok)->click();
                 } else {
                     typeFileName(d, missing);
                 }
             }), 2);
    QCOMPARE(box, QStringLiteral("Error%1").arg(int(QMessageBox::Critical)));
    QVERIFY(!QFileInfo::exists(missing));
}

// Runs systemLocaleChild in a German-speaking copy of this program, so the
// chart itself has to find and install the translation next to it.
void TestContextMenu::translatorFromSystemLocale()
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
    env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("de"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("-class"), QStringLiteral("TestContextMenu"), QStringLiteral("systemLocaleChild")});
    QVERIFY(child.waitForFinished(60000));
    const QByteArray output = child.readAllStandardOutput() + child.readAllStandardError();
    QVERIFY2(child.exitCode() == 0 && output.contains("PASS   : TestContextMenu::systemLocaleChild"), output.constData());
}

void TestContextMenu::systemLocaleChild()
{
    if (QLocale::system().language() != QLocale::German)
        QSKIP("runs in the German child of translatorFromSystemLocale");
    const int before = qApp->findChildren<QTranslator *>().size();
    ChartWidget first, second, third;
    // One translator serves every chart of the application.
    QCOMPARE(qApp->findChildren<QTranslator *>().size(), before + 1);
    QCOMPARE(third.actions().value(1)->text(), QStringLiteral("Als CSV speichern ..."));
}

TAVRIN_TEST(TestContextMenu)
#include "tst_contextmenu.moc"
