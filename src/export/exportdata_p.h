#ifndef EXPORTDATA_P_H
#define EXPORTDATA_P_H

#include "chartseries.h"

#include <QDateTime>
#include <QMap>
#include <QStringList>
#include <QVariant>
#include <QVector>

// A visible series as the CSV and spreadsheet exports see it. Row count and
// column names are read once, so points that arrive during the export are
// left out instead of making the rows ragged.
struct ExportedSeries
{
    ChartSeries *series = nullptr;
    int rows = 0;
    QStringList columnNames;
    QVector<bool> xColumn; // per column name: does it hold x values?

    bool isDatetime(int column, bool xDatetime, bool yDatetime) const
    {
        const bool x = column < xColumn.size() && xColumn.at(column);
        return x ? xDatetime : yDatetime;
    }
};

inline QVector<ExportedSeries> exportedSeries(const QMap<int, ChartSeries *> &seriesMap)
{
    QVector<ExportedSeries> result;
    for (ChartSeries *series : seriesMap) {
        if (!series || !series->isVisible())
            continue;
        ExportedSeries e;
        e.series = series;
        e.rows = series->pointsCount();
        e.columnNames = series->dataAxisString().split(QLatin1Char(';'), Qt::KeepEmptyParts);
        for (const QString &c : qAsConst(e.columnNames))
            e.xColumn.append(c.startsWith(QLatin1Char('X')));
        result.append(e);
    }
    return result;
}

// Whole seconds only: spreadsheets read the fixed ".000" as milliseconds.
inline QString exportDateTimeText(const QVariant &v)
{
    return QDateTime::fromSecsSinceEpoch(qint64(v.toUInt())).toString(Qt::ISODate) + QLatin1String(".000");
}

#endif // EXPORTDATA_P_H
