#include "exporttable_p.h"
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

bool writeCsv(QIODevice *device, const ExportTable &table)
{
    QTextStream out(device);
    QStringList fields;
    int rows = 0;
    for (const ExportColumns &e : table.blocks) {
        for (const QString &c : e.columnNames)
            fields << csvField(e.name + QLatin1Char('(') + c + QLatin1Char(')'));
        rows = qMax(rows, e.rows);
    }
    writeLine(out, fields);

    for (int r = 0; r < rows; ++r) {
        fields.clear();
        for (const ExportColumns &e : table.blocks) {
            if (r >= e.rows) {
                // Empty fields keep the later blocks under their own headers.
                for (int k = 0; k < e.columnNames.size(); ++k)
                    fields << QString();
                continue;
            }
            const QList<QVariant> values = e.row(r);
            for (int k = 0; k < values.size(); ++k) {
                const QVariant &v = values.at(k);
                fields << csvField(e.isDatetime(k)
                                       ? exportDateTimeText(v)
                                       : tavrin::numberText(v));
            }
        }
        writeLine(out, fields);
    }

    out.flush();
    return out.status() == QTextStream::Ok;
}
