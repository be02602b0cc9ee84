#include "chartwidget.h"
#include "chartwidget_p.h"

#include "axis.h"
#include "exportdata_p.h"
#include "exportfile_p.h"
#include "numbertext_p.h"

#include <QTextStream>

namespace {

// A field that holds the separator, a quote or a line break is quoted, with
// its quotes doubled; anything else is written as it is.
QString csvField(const QString &text)
{
    static const QLatin1Char specials[] = {QLatin1Char(';'), QLatin1Char('"'),
                                           QLatin1Char('\r'), QLatin1Char('\n')};
    for (QLatin1Char c : specials) {
        if (text.contains(c)) {
            QString quoted = text;
            quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
            return QLatin1Char('"') + quoted + QLatin1Char('"');
        }
    }
    return text;
}

void writeLine(QTextStream &out, QStringList &fields)
{
    while (!fields.isEmpty() && fields.constLast().isEmpty())
        fields.removeLast();
    // '\n' rather than Qt::endl, which would flush the stream on every row.
    if (!fields.isEmpty())
        out << fields.join(QLatin1Char(';')) << QLatin1Char('\n');
}

} // namespace

bool ChartWidgetPrivate::writeCsv(const QString &fileName, QString *error)
{
    ExportFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QTextStream out(file.device());

    const QVector<ExportedSeries> exported = exportedSeries(seriesMap);
    QStringList fields;
    int rows = 0;
    for (const ExportedSeries &e : exported) {
        const QString name = e.series->name();
        for (const QString &c : e.columnNames)
            fields << csvField(name + QLatin1Char('(') + c + QLatin1Char(')'));
        rows = qMax(rows, e.rows);
    }
    writeLine(out, fields);

    const bool xdt = axes.bottom()->isDatetime();
    const bool ydt = axes.left()->isDatetime();
    for (int r = 0; r < rows; ++r) {
        fields.clear();
        for (const ExportedSeries &e : exported) {
            if (r >= e.rows) {
                // Empty fields keep the later series under their own headers.
                for (int k = 0; k < e.columnNames.size(); ++k)
                    fields << QString();
                continue;
            }
            const QList<QVariant> values = e.series->point(r);
            for (int k = 0; k < values.size(); ++k) {
                const QVariant &v = values.at(k);
                fields << csvField(e.isDatetime(k, xdt, ydt) ? exportDateTimeText(v) : tavrin::numberText(v));
            }
        }
        writeLine(out, fields);
    }

    out.flush();
    if (!file.finish(out.status() == QTextStream::Ok)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool ChartWidget::exportCsv(const QString &fileName)
{
    return d->writeCsv(fileName, nullptr);
}

void ChartWidgetPrivate::on_context_save_csv()
{
    runInteractiveExport(this, tr("csv files(*.csv)"), &ChartWidgetPrivate::writeCsv);
}
