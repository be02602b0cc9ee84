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
#include <QSet>
#include <QTranslator>
#include <functional>

using namespace tavrintest;

namespace {

// Answers the modal dialogs that open while an action runs: each new one is
// handed to `answer`, which must close it.
class ModalAnswerer : public QObject
{
public:
    explicit ModalAnswerer(std::function<void(QWidget *)> answer) : answer(std::move(answer))
    {
        timer.setInterval(20);
        connect(&timer, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            // Marked rather than remembered: a later dialog may reuse the address.
            if (!modal || modal->property("answered").toBool())
                return;
            modal->setProperty("answered", true);
            ++seen;
            this->answer(modal);
        });
        timer.start();
    }
    int seen = 0;

private:
    std::function<void(QWidget *)> answer;
    QTimer timer;
};

// Types the name as a user would and presses Save. selectFile() alone does
// not reach the name field when the dialog is already in that directory.
void typeFileName(QFileDialog *dialog, const QString &fileName)
{
    auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QVERIFY(edit);
    edit->setText(fileName);
    static_cast<QDialog *>(dialog)->accept(); // QFileDialog::accept is protected
}

QAction *action(ChartWidget &w, int i)
{
    return w.actions().value(i);
}

QString qmFile()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/tavrin_de.qm");
}

} // namespace

class TestContextMenu : public QObject
{
    Q_OBJECT
private slots:
    void actions();
    void fileDialogAnswered_data();
    void fileDialogAnswered();
    void cancelledDialogDoesNothing();
    void errorBox();
    void germanTranslation();
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
    for (QAction *a : w.actions()) {
        texts << a->text();
        QCOMPARE(a->parent(), &w);
    }
    QCOMPARE(texts, (QStringList{"Save in Excel-xml ...", "Save in csv ...", "Save in svg ..."}));
    QSet<qint64> icons;
    for (QAction *a : w.actions()) {
        const QImage image = a->icon().pixmap(32, 32).toImage();
        QCOMPARE(image.size(), QSize(32, 32));
        QVERIFY(image.hasAlphaChannel());
        icons.insert(image.cacheKey());
    }
    QCOMPARE(icons.size(), 3);
}

void TestContextMenu::fileDialogAnswered_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QByteArray>("start");
    QTest::newRow("spreadsheet") << 0 << QStringLiteral("xml files(*.xml)") << QByteArray("<?xml");
    QTest::newRow("csv") << 1 << QStringLiteral("csv files(*.csv)") << QByteArray("A(X);A(Y)");
    QTest::newRow("svg") << 2 << QStringLiteral("svg files(*.svg)") << QByteArray("<?xml");
}

void TestContextMenu::fileDialogAnswered()
{
    QFETCH(int, index);
    QFETCH(QString, filter);
    QFETCH(QByteArray, start);
    ChartWidget w;
    w.resize(300, 200);
    w.addSeries(lineOf({{1, 2}}, QStringLiteral("A")));
    // No extension: the name is used exactly as the dialog returns it.
    const QString file = dir.filePath(QStringLiteral("chosen-%1").arg(index));
    QString title;
    QStringList filters;
    ModalAnswerer answerer([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        typeFileName(dialog, file);
    });
    action(w, index)->trigger();
    QCOMPARE(answerer.seen, 1);
    QCOMPARE(title, QStringLiteral("Specify the file to save"));
    QCOMPARE(filters, QStringList{filter});
    QVERIFY(readAll(file).startsWith(start));
}

void TestContextMenu::cancelledDialogDoesNothing()
{
    ChartWidget w;
    w.addSeries(lineOf({{1, 2}}, QStringLiteral("A")));
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);
    ModalAnswerer answerer([](QWidget *modal) {
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
    });
    for (int i = 0; i < 3; ++i)
        action(w, i)->trigger();
    QCOMPARE(answerer.seen, 3); // three dialogs, no message box
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), before);
}

void TestContextMenu::errorBox()
{
    ChartWidget w;
    w.addSeries(lineOf({{1, 2}}, QStringLiteral("A")));
    const QString file = dir.filePath(QStringLiteral("missing/dir/out.csv"));
    QString boxTitle;
    QString boxText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    ModalAnswerer answerer([&](QWidget *modal) {
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            typeFileName(dialog, file);
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            boxTitle = box->windowTitle();
            boxText = box->text();
            icon = box->icon();
            buttons = box->standardButtons();
            box->button(QMessageBox::Ok)->click();
        } else {
            modal->close();
        }
    });
    action(w, 1)->trigger();
    QCOMPARE(answerer.seen, 2);
    QCOMPARE(boxTitle, QStringLiteral("Error"));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(!boxText.isEmpty());
    QVERIFY(!QFileInfo::exists(file));
}

void TestContextMenu::germanTranslation()
{
    QVERIFY2(QFileInfo::exists(qmFile()), qPrintable(qmFile()));
    QTranslator translator;
    QVERIFY(translator.load(qmFile()));
    QCoreApplication::installTranslator(&translator);
    ChartWidget w;
    QStringList texts;
    for (QAction *a : w.actions())
        texts << a->text();
    w.addSeries(lineOf({{1, 1}}));
    const QString sheet = dir.filePath(QStringLiteral("de.xml"));
    const bool exported = w.exportXml(sheet);
    QCoreApplication::removeTranslator(&translator);

    QCOMPARE(texts, (QStringList{"Als Excel-XML speichern ...", "Als CSV speichern ...", "Als SVG speichern ..."}));
    QCOMPARE(w.series(1)->name(), QStringLiteral("Reihe 1"));
    QVERIFY(exported);
    QVERIFY(readAll(sheet).contains("<Worksheet ss:Name=\"Tabelle1\">"));
}

// Runs systemLocaleChild in a German-speaking copy of this program, so the
// chart itself has to find and install the translation next to it.
void TestContextMenu::translatorFromSystemLocale()
{
    QVERIFY2(QFileInfo::exists(qmFile()), qPrintable(qmFile()));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
    env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("de"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("-class"), QStringLiteral("TestContextMenu"), QStringLiteral("systemLocaleChild")});
    QVERIFY(child.waitForFinished(60000));
    const QByteArray output = child.readAllStandardOutput() + child.readAllStandardError();
    QVERIFY2(child.exitCode() == 0, output.constData());
    QVERIFY2(output.contains("PASS   : TestContextMenu::systemLocaleChild"), output.constData());
}

void TestContextMenu::systemLocaleChild()
{
    if (QLocale::system().language() != QLocale::German)
        QSKIP("runs in the German child of translatorFromSystemLocale");
    const int before = qApp->findChildren<QTranslator *>().size();
    ChartWidget first;
    ChartWidget second;
    ChartWidget third;
    // One translator serves every chart of the application.
    QCOMPARE(qApp->findChildren<QTranslator *>().size(), before + 1);
    QCOMPARE(third.actions().value(1)->text(), QStringLiteral("Als CSV speichern ..."));
}

TAVRIN_TEST(TestContextMenu)
#include "tst_contextmenu.moc"
