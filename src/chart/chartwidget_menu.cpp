// Context menu with the export commands and their file dialogs, and the
// library's translation.
#include "chartwidget.h"
#include "chartwidget_p.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileDialog>
#include <QIcon>
#include <QImageWriter>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#ifdef TAVRIN_HAVE_PRINTSUPPORT
#include <QPrintDialog>
#include <QPrinter>
#endif

namespace {

struct MenuEntry {
    const char *icon;
    const char *text;
    const char *slot;
};

// Asks for the file name and shows the error box when writing fails. A
// cancelled dialog does nothing.
void runInteractiveExport(ChartWidgetPrivate *d, const QString &filter,
                          bool (ChartWidgetPrivate::*write)(const QString &, QString *))
{
    const QString fileName = QFileDialog::getSaveFileName(
        d->q, ChartWidgetPrivate::tr("Specify the file to save"), QString(), filter);
    if (fileName.isNull())
        return;
    QString error;
    if (!(d->*write)(fileName, &error))
        QMessageBox::critical(d->q, ChartWidgetPrivate::tr("Error"), error, QMessageBox::Ok,
                              QMessageBox::NoButton);
}

void showError(ChartWidgetPrivate *d, const QString &text)
{
    QMessageBox::critical(d->q, ChartWidgetPrivate::tr("Error"), text, QMessageBox::Ok,
                          QMessageBox::NoButton);
}

} // namespace

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
    static const MenuEntry entries[] = {
        {":/resources/xml_export.png", QT_TR_NOOP("Save in Excel-xml ..."), SLOT(on_context_save_excel())},
        {":/resources/csv_export.png", QT_TR_NOOP("Save in csv ..."), SLOT(on_context_save_csv())},
        {":/resources/svg_export.png", QT_TR_NOOP("Save in svg ..."), SLOT(on_context_save_svg())},
    };
    for (const MenuEntry &e : entries) {
        auto *action = new QAction(QIcon(QString::fromLatin1(e.icon)), tr(e.text), q);
        q->addAction(action);
        connect(action, SIGNAL(triggered(bool)), this, e.slot);
    }
    q->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void ChartWidgetPrivate::setImageActions(bool on)
{
    if (!on) {
        qDeleteAll(imageActions);
        imageActions.clear();
        return;
    }
    static const MenuEntry entries[] = {
        {":/resources/image_export.png", QT_TR_NOOP("Save as image ..."), SLOT(on_context_save_image())},
        {":/resources/pdf_export.png", QT_TR_NOOP("Save in pdf ..."), SLOT(on_context_save_pdf())},
#ifdef TAVRIN_HAVE_PRINTSUPPORT
        {":/resources/print.png", QT_TR_NOOP("Print ..."), SLOT(on_context_print())},
#endif
        {":/resources/copy.png", QT_TR_NOOP("Copy to clipboard"), SLOT(on_context_copy())},
    };
    for (const MenuEntry &e : entries) {
        auto *action = new QAction(QIcon(QString::fromLatin1(e.icon)), tr(e.text), q);
        q->addAction(action);
        connect(action, SIGNAL(triggered(bool)), this, e.slot);
        imageActions.append(action);
    }
}

bool ChartWidget::imageExportActions() const
{
    return !d->imageActions.isEmpty();
}

void ChartWidget::setImageExportActions(bool on)
{
    if (on == imageExportActions())
        return;
    d->setImageActions(on);
    emit imageExportActionsChanged(on);
}

void ChartWidgetPrivate::on_context_save_excel()
{
    runInteractiveExport(this, tr("xml files(*.xml)"), &ChartWidgetPrivate::writeXml);
}

void ChartWidgetPrivate::on_context_save_csv()
{
    runInteractiveExport(this, tr("csv files(*.csv)"), &ChartWidgetPrivate::writeCsv);
}

void ChartWidgetPrivate::on_context_save_svg()
{
    runInteractiveExport(this, tr("svg files(*.svg)"), &ChartWidgetPrivate::writeSvg);
}

void ChartWidgetPrivate::on_context_save_image()
{
    QStringList patterns;
    for (const QByteArray &format : QImageWriter::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    const QString filter = tr("png files(*.png)") + QStringLiteral(";;")
        + tr("image files(%1)").arg(patterns.join(QLatin1Char(' ')));
    runInteractiveExport(this, filter, &ChartWidgetPrivate::writeImage);
}

void ChartWidgetPrivate::on_context_save_pdf()
{
    runInteractiveExport(this, tr("pdf files(*.pdf)"), &ChartWidgetPrivate::writePdf);
}

void ChartWidgetPrivate::on_context_print()
{
#ifdef TAVRIN_HAVE_PRINTSUPPORT
    QPrinter printer;
    QPrintDialog dialog(&printer, q);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!q->print(&printer))
        showError(this, tr("The chart could not be printed."));
#endif
}

void ChartWidgetPrivate::on_context_copy()
{
    if (!q->copyToClipboard())
        showError(this, tr("The chart could not be copied to the clipboard."));
}
