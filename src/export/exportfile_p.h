#ifndef EXPORTFILE_P_H
#define EXPORTFILE_P_H

#include <QFile>
#include <QSaveFile>
#include <QString>

#include <functional>

// The target of an export or of the settings file. A regular file is written
// through QSaveFile, so a write that fails part-way leaves the old file as it
// was. Something else that already sits at the path (a device, a pipe) cannot
// be replaced by renaming and is written in place.
class ExportFile
{
public:
    explicit ExportFile(const QString &fileName);

    bool open(QIODevice::OpenMode mode);
    QIODevice *device() const { return dev; }

    // Makes the written data the file's contents if `written` (the writer's
    // own status) holds and the device saw no error; otherwise the data is
    // dropped. Returns whether the file now holds the complete output.
    bool finish(bool written);

    // The reason of the last failure, for the user.
    QString errorString() const { return error; }

    // Opens the file, lets `writer` write to it and finishes it; on failure
    // `error` (if given) receives the reason.
    static bool write(const QString &fileName, QIODevice::OpenMode mode,
                      const std::function<bool(QIODevice *)> &writer, QString *error);

private:
    Q_DISABLE_COPY(ExportFile)

    QSaveFile saveFile;
    QFile directFile;
    QFileDevice *dev;
    QString error;
};

#endif // EXPORTFILE_P_H
