#ifndef SETTINGSFILE_P_H
#define SETTINGSFILE_P_H

#include "tavrin_global.h"

#include <QFont>
#include <QMap>
#include <QString>

class QIODevice;

// The display settings a chart keeps in its settings file.
struct ChartSettings
{
    QString version;           // the file's first record
    QMap<int, bool> registry;  // series id -> a series is there; written, never read back
    bool autoScale = false;
    bool drawingLock = false;
    QString title;
    QFont titleFont;
};

// Writes the settings to an open device; false when the stream failed.
TAVRIN_EXPORT bool writeSettings(QIODevice *device, const ChartSettings &settings);

// Reads settings written by writeSettings() whose version equals
// `expectedVersion`. On any failure (another version, a short or corrupt
// record, an unusable font) returns false and leaves `settings` untouched.
TAVRIN_EXPORT bool readSettings(QIODevice *device, const QString &expectedVersion, ChartSettings *settings);

#endif // SETTINGSFILE_P_H
