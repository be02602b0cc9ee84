#ifndef EXPORTDATA_P_H
#define EXPORTDATA_P_H

#include "chartseries.h"

#include <QDateTime>
#include <QMap>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <cmath>

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

// Local time with milliseconds, as spreadsheets read it. Whole seconds from
// 1970 to 2106 keep the unsigned count they always had; a fraction is kept
// to the millisecond, and an earlier date is written as that date.
inline QString exportDateTimeText(const QVariant &v)
{
    const double t = v.toDouble();
    const double ms = std::round(t * 1000.0);
    if ((t >= 0 && t < 4294967296.0 && t == std::trunc(t)) || !(std::fabs(ms) < 8.64e15))
        return QDateTime::fromSecsSinceEpoch(qint64(v.toUInt()), Qt::LocalTime).toString(Qt::ISODate)
            + QLatin1String(".000");
    const qint64 whole = qint64(std::floor(ms / 1000.0));
    const int frac = int(qint64(ms) - whole * 1000);
    return QDateTime::fromSecsSinceEpoch(whole, Qt::LocalTime).toString(Qt::ISODate)
        + QLatin1Char('.') + QString::number(frac).rightJustified(3, QLatin1Char('0'));
}

#endif // EXPORTDATA_P_H
