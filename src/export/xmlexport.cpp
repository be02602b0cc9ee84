#include "chartwidget.h"
#include "chartwidget_p.h"

#include "axis.h"
#include "exportdata_p.h"
#include "exportfile_p.h"
#include "numbertext_p.h"

#include <QXmlStreamWriter>

namespace {

const QString kCenterStyle = QStringLiteral("tn-center");
const QString kDatetimeStyle = QStringLiteral("tn-datetime");

void writeStyles(QXmlStreamWriter &xml)
{
    xml.writeStartElement(QStringLiteral("Styles"));
    xml.writeStartElement(QStringLiteral("Style"));
    xml.writeAttribute(QStringLiteral("ss:ID"), kCenterStyle);
    xml.writeStartElement(QStringLiteral("Alignment"));
    xml.writeAttribute(QStringLiteral("ss:Horizontal"), QStringLiteral("Center"));
    xml.writeAttribute(QStringLiteral("ss:Vertical"), QStringLiteral("Bottom"));
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("Style"));
    xml.writeAttribute(QStringLiteral("ss:ID"), kDatetimeStyle);
    xml.writeStartElement(QStringLiteral("NumberFormat"));
    xml.writeAttribute(QStringLiteral("ss:Format"), QStringLiteral("DD/MM/YYYY HH:MM:SS"));
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
}

void writeTextCell(QXmlStreamWriter &xml, const QString &text, int mergeAcross)
{
    xml.writeStartElement(QStringLiteral("Cell"));
    xml.writeAttribute(QStringLiteral("ss:StyleID"), kCenterStyle);
    if (mergeAcross > 0)
        xml.writeAttribute(QStringLiteral("ss:MergeAcross"), QString::number(mergeAcross));
    xml.writeStartElement(QStringLiteral("Data"));
    xml.writeAttribute(QStringLiteral("ss:Type"), QStringLiteral("String"));
    xml.writeCharacters(text);
    xml.writeEndElement();
    xml.writeEndElement();
}

} // namespace

bool ChartWidgetPrivate::writeXml(const QString &fileName, QString *error)
{
    ExportFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QXmlStreamWriter xml(file.device());
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    xml.setCodec("UTF-8"); // Qt 6 writes nothing else
#endif
    xml.setAutoFormatting(false);

    xml.writeStartDocument();
    xml.writeProcessingInstruction(QStringLiteral("mso-application"),
                                   QStringLiteral("progid=\"Excel.Sheet\""));
    xml.writeStartElement(QStringLiteral("Workbook"));
    xml.writeAttribute(QStringLiteral("xmlns"), QStringLiteral("urn:schemas-microsoft-com:office:spreadsheet"));
    xml.writeAttribute(QStringLiteral("xmlns:o"), QStringLiteral("urn:schemas-microsoft-com:office:office"));
    xml.writeAttribute(QStringLiteral("xmlns:x"), QStringLiteral("urn:schemas-microsoft-com:office:excel"));
    xml.writeAttribute(QStringLiteral("xmlns:ss"), QStringLiteral("urn:schemas-microsoft-com:office:spreadsheet"));
    xml.writeAttribute(QStringLiteral("xmlns:html"), QStringLiteral("http://www.w3.org/TR/REC-html40"));
    writeStyles(xml);
    xml.writeStartElement(QStringLiteral("Worksheet"));
    xml.writeAttribute(QStringLiteral("ss:Name"), QObject::tr("Sheet1"));
    xml.writeStartElement(QStringLiteral("Table"));

    const QVector<ExportedSeries> exported = exportedSeries(seriesMap);
    // Width of each series' block of columns. A series without points still
    // has its column names in the sheet, so its block is as wide as those;
    // otherwise the series after it would sit under the wrong names.
    QVector<int> widths;
    int rows = 0;
    xml.writeStartElement(QStringLiteral("Row"));
    for (const ExportedSeries &e : exported) {
        const int values = e.series->point(0).size();
        const int width = values > 0 ? values : (e.rows > 0 ? 0 : e.columnNames.size());
        widths.append(width);
        rows = qMax(rows, e.rows);
        writeTextCell(xml, e.series->name(), width - 1);
    }
    xml.writeEndElement();

    xml.writeStartElement(QStringLiteral("Row"));
    for (const ExportedSeries &e : exported)
        for (const QString &c : e.columnNames)
            writeTextCell(xml, c, 0);
    xml.writeEndElement();

    const bool xdt = axes.bottom()->isDatetime();
    const bool ydt = axes.left()->isDatetime();
    for (int r = 0; r <= rows; ++r) {
        xml.writeStartElement(QStringLiteral("Row"));
        int column = 1;
        bool gap = false;
        for (int i = 0; i < exported.size(); ++i) {
            const ExportedSeries &e = exported.at(i);
            if (r < e.rows) {
                const QList<QVariant> values = e.series->point(r);
                for (int k = 0; k < values.size(); ++k) {
                    const bool datetime = e.isDatetime(k, xdt, ydt);
                    xml.writeStartElement(QStringLiteral("Cell"));
                    if (gap) {
                        // Names the column of the first cell after a series
                        // that has run out, which left its block empty.
                        xml.writeAttribute(QStringLiteral("ss:Index"), QString::number(column));
                        gap = false;
                    }
                    if (datetime)
                        xml.writeAttribute(QStringLiteral("ss:StyleID"), kDatetimeStyle);
                    xml.writeStartElement(QStringLiteral("Data"));
                    if (datetime) {
                        xml.writeAttribute(QStringLiteral("ss:Type"), QStringLiteral("DateTime"));
                        xml.writeCharacters(exportDateTimeText(values.at(k)));
                    } else {
                        xml.writeAttribute(QStringLiteral("ss:Type"), QStringLiteral("Number"));
                        xml.writeCharacters(tavrin::numberText(values.at(k)));
                    }
                    xml.writeEndElement();
                    xml.writeEndElement();
                }
            } else {
                gap = true;
            }
            column += widths.at(i);
        }
        xml.writeEndElement();
    }

    xml.writeEndElement(); // Table
    xml.writeEndElement(); // Worksheet
    xml.writeEndElement(); // Workbook
    xml.writeEndDocument();

    if (!file.finish(!xml.hasError())) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool ChartWidget::exportXml(const QString &fileName)
{
    return d->writeXml(fileName, nullptr);
}

void ChartWidgetPrivate::on_context_save_excel()
{
    runInteractiveExport(this, tr("xml files(*.xml)"), &ChartWidgetPrivate::writeXml);
}
