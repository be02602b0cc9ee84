#include "exportfile_p.h"

#include <QFileInfo>

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

bool ExportFile::write(const QString &fileName, QIODevice::OpenMode mode,
                       const std::function<bool(QIODevice *)> &writer, QString *error)
{
    ExportFile file(fileName);
    if (file.open(mode) && file.finish(writer(file.device())))
        return true;
    if (error)
        *error = file.errorString();
    return false;
}
