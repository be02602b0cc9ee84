#include "exportfile_p.h"

#include "chartwidget.h"
#include "chartwidget_p.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

ExportFile::ExportFile(const QString &fileName)
    : saveFile(fileName), directFile(fileName), dev(&saveFile)
{
    const QFileInfo info(fileName);
    // Renaming a temporary file over a device node would replace the device
    // with a plain file; and QSaveFile has no useful text for a directory.
    if (info.exists() && !info.isFile())
        dev = &directFile;
    // A file the user may write in a folder where no temporary file can be
    // made is still written, only without the safety net.
    saveFile.setDirectWriteFallback(true);
}

bool ExportFile::open(QIODevice::OpenMode mode)
{
    if (dev->open(mode))
        return true;
    error = dev->errorString();
    return false;
}

bool ExportFile::finish(bool written)
{
    const bool flushed = dev->flush();
    if (!written || !flushed || dev->error() != QFileDevice::NoError) {
        error = dev->errorString();
        // The temporary file of a cancelled QSaveFile goes with the object.
        if (dev == &saveFile)
            saveFile.cancelWriting();
        else
            directFile.close();
        return false;
    }
    if (dev == &saveFile) {
        if (!saveFile.commit()) {
            error = saveFile.errorString();
            return false;
        }
        return true;
    }
    directFile.close();
    if (directFile.error() != QFileDevice::NoError) {
        error = directFile.errorString();
        return false;
    }
    return true;
}

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
