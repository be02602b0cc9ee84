// Context menu with the three export commands, and the library's translation.
#include "chartwidget.h"
#include "chartwidget_p.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileDialog>
#include <QIcon>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

void ChartWidgetPrivate::installTranslator()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    // One translator serves every chart of the application. The attempt is
    // remembered even when no file is there, so later charts do not search
    // the application's directory again.
    static const char kTried[] = "_tavrin_translator_tried";
    if (app->property(kTried).toBool())
        return;
    app->setProperty(kTried, true);
    auto *translator = new QTranslator(app);
    if (translator->load(QLocale::system(), QStringLiteral("tavrin"), QStringLiteral("_"),
                         QCoreApplication::applicationDirPath(), QString()))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

void ChartWidgetPrivate::createActions()
{
    struct Entry {
        const char *icon;
        const char *text;
        const char *slot;
    };
    static const Entry entries[] = {
        {":/resources/xml_export.png", QT_TR_NOOP("Save in Excel-xml ..."), SLOT(on_context_save_excel())},
        {":/resources/csv_export.png", QT_TR_NOOP("Save in csv ..."), SLOT(on_context_save_csv())},
        {":/resources/svg_export.png", QT_TR_NOOP("Save in svg ..."), SLOT(on_context_save_svg())},
    };
    for (const Entry &e : entries) {
        auto *action = new QAction(QIcon(QString::fromLatin1(e.icon)), tr(e.text), q);
        q->addAction(action);
        connect(action, SIGNAL(triggered(bool)), this, e.slot);
    }
    q->setContextMenuPolicy(Qt::ActionsContextMenu);
}
