#ifndef EXPORTTABLE_P_H
#define EXPORTTABLE_P_H

#include "tavrin_global.h"

#include <QDateTime>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <cmath>

#include <functional>

// One block of columns in an exported table: what the CSV and spreadsheet
// writers need of a visible series. Row count and column names are taken
// once, so points that arrive during the export are left out instead of
// making the rows ragged.
struct ExportColumns
{
    QString name;
    QStringList columnNames;
    int rows = 0;
    // The values of row r, one per column; an empty list past the end.
    std::function<QList<QVariant>(int)> row;
    // Whether the x and the y values of this block are date-times.
    bool xDatetime = false;
    bool yDatetime = false;

    // An x column holds x values; its name starts with 'X'.
    bool isXColumn(int column) const
    {
        return column < columnNames.size() && columnNames.at(column).startsWith(QLatin1Char('X'));
    }
    bool isDatetime(int column) const
    {
        return isXColumn(column) ? xDatetime : yDatetime;
    }
};

// What the CSV and spreadsheet writers write: the blocks side by side, in
// order.
struct ExportTable
{
    QVector<ExportColumns> blocks;
};

// Local time with milliseconds, as spreadsheets read it. Whole seconds from
// 1970 to 2106 keep the unsigned count they always had; a fraction is kept
// to the millisecond, and an earlier date is written as that date. What has
// no such text (NaN, infinities, years outside 0 to 9999) is empty, never
// some other date.
inline QString exportDateTimeText(const QVariant &v)
{
    const double t = v.toDouble();
    if (t >= 0 && t < 4294967296.0 && t == std::trunc(t))
        return QDateTime::fromSecsSinceEpoch(qint64(v.toUInt()), Qt::LocalTime).toString(Qt::ISODate)
            + QLatin1String(".000");
    const double ms = std::round(t * 1000.0);
    if (!(std::fabs(ms) < 8.64e18))
        return QString();
    const qint64 whole = qint64(std::floor(ms / 1000.0));
    const int frac = int(qint64(ms) - whole * 1000);
    const QString date = QDateTime::fromSecsSinceEpoch(whole, Qt::LocalTime).toString(Qt::ISODate);
    if (date.isEmpty())
        return date;
    return date + QLatin1Char('.') + QString::number(frac).rightJustified(3, QLatin1Char('0'));
}

// Each writes the table to an open device and returns whether everything
// was written.
TAVRIN_EXPORT bool writeCsv(QIODevice *device, const ExportTable &table);
TAVRIN_EXPORT bool writeSpreadsheetXml(QIODevice *device, const ExportTable &table);

#endif // EXPORTTABLE_P_H
