#include "settingsfile_p.h"

#include <QDataStream>
#include <QIODevice>
#include <QFontMetrics>
#include <QtEndian>
#include <cmath>

namespace {

// Files are written and read with the stream version of Qt 5.15, whatever
// Qt the library is built with: the Qt 5 and Qt 6 builds then write the same
// bytes and read each other's files. The font check below walks the QFont
// record of exactly this version.
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_5_15;

// Settings files are tiny; anything larger is not one of ours.
constexpr qint64 kMaxFontRecord = 64 * 1024;

// Walks a QDataStream string in `data` from `pos` without reading it.
bool skipString(const QByteArray &data, int &pos)
{
    if (data.size() - pos < 4)
        return false;
    const quint32 bytes = qFromBigEndian<quint32>(data.constData() + pos);
    pos += 4;
    if (bytes == 0xffffffffu)
        return true;
    if ((bytes & 1) || bytes > quint32(data.size() - pos))
        return false;
    pos += int(bytes);
    return true;
}

// A title font from a file is drawn at every paint: absurd sizes or
// spacings would make the glyph cache allocate without bound.
bool fontIsSane(const QFont &font)
{
    // Either a point size or a pixel size, each in a range a title can use.
    const double points = font.pointSizeF();
    const int pixels = font.pixelSize();
    const bool byPoints = std::isfinite(points) && points >= 1 && points <= 1000;
    const bool byPixels = pixels >= 1 && pixels <= 1500;
    if (!(byPoints && pixels == -1) && !(byPixels && points == -1))
        return false;
    if (font.stretch() < 0 || font.stretch() > 4000)
        return false;
    const double letter = font.letterSpacing(), word = font.wordSpacing();
    if (!std::isfinite(letter) || !std::isfinite(word) || std::abs(letter) > 1000
        || std::abs(word) > 1000)
        return false;
    const int height = QFontMetrics(font).height();
    return height > 0 && height <= 2000;
}

// A QFont is read with a list reserve() sized by a count taken from the file,
// so a corrupt count would allocate gigabytes before the read fails. Check
// every length in the record against the data first.
bool fontRecordFits(const QByteArray &data)
{
    int pos = 0;
    if (!skipString(data, pos) || !skipString(data, pos)) // family, style name
        return false;
    // Point size, pixel size, hint, strategy, char set, weight, bits,
    // stretch, extended bits, letter and word spacing, hinting, capital.
    pos += 8 + 4 + 19;
    if (data.size() - pos < 4)
        return false;
    const quint32 families = qFromBigEndian<quint32>(data.constData() + pos);
    pos += 4;
    if (families > quint32(data.size() - pos) / 4)
        return false;
    for (quint32 i = 0; i < families; ++i)
        if (!skipString(data, pos))
            return false;
    return true;
}

// Reads a string only when the file holds as many bytes as its count claims.
bool readString(QDataStream &in, QString *out)
{
    QIODevice *device = in.device();
    const QByteArray head = device->peek(4);
    if (head.size() < 4)
        return false;
    const quint32 bytes = qFromBigEndian<quint32>(head.constData());
    if (bytes != 0xffffffffu && ((bytes & 1) || bytes > quint64(device->bytesAvailable() - 4)))
        return false;
    in >> *out;
    return in.status() == QDataStream::Ok;
}

} // namespace

bool writeSettings(QIODevice *device, const ChartSettings &settings)
{
    QDataStream out(device);
    out.setVersion(kStreamVersion);
    out << settings.version;
    // The registry in the stream's map layout, highest id first; the reader
    // skips it.
    out << qint32(settings.registry.size());
    for (auto it = settings.registry.constEnd(); it != settings.registry.constBegin();) {
        --it;
        out << qint32(it.key()) << it.value();
    }
    out << settings.autoScale << settings.drawingLock << settings.title << settings.titleFont;
    return out.status() == QDataStream::Ok;
}

bool readSettings(QIODevice *device, const QString &expectedVersion, ChartSettings *settings)
{
    QDataStream in(device);
    in.setVersion(kStreamVersion);

    QString version;
    if (!readString(in, &version) || version != expectedVersion)
        return false;

    qint32 count = 0;
    in >> count;
    if (in.status() != QDataStream::Ok || count < 0 || qint64(count) * 5 > device->bytesAvailable())
        return false;
    // Id (qint32) and presence (bool) of every entry.
    if (in.skipRawData(count * 5) != count * 5)
        return false;

    // Everything goes into temporaries: a file that ends early or is corrupt
    // must leave the caller's settings as they were.
    bool newAutoScale = false;
    bool newDrawingLock = false;
    QString newTitle;
    QFont newFont;
    in >> newAutoScale >> newDrawingLock;
    if (in.status() != QDataStream::Ok || !readString(in, &newTitle))
        return false;
    if (device->bytesAvailable() > kMaxFontRecord)
        return false;
    const QByteArray fontRecord = device->readAll();
    if (!fontRecordFits(fontRecord))
        return false;
    QDataStream fontIn(fontRecord);
    fontIn.setVersion(kStreamVersion);
    fontIn >> newFont;
    if (fontIn.status() != QDataStream::Ok || !fontIsSane(newFont))
        return false;

    settings->version = version;
    settings->autoScale = newAutoScale;
    settings->drawingLock = newDrawingLock;
    settings->title = newTitle;
    settings->titleFont = newFont;
    return true;
}
