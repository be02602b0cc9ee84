#include "exporttable_p.h"
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

// XML 1.0 cannot carry control characters other than tab and line breaks,
// lone surrogates, U+FFFE and U+FFFF; the writer would give up on the whole
// document. Such characters become U+FFFD, everything else stays as it is.
QString xmlSafe(const QString &text)
{
    const int n = text.size();
    const QChar *c = text.constData();
    auto bad = [c, n](int i, int *length) {
        const ushort u = c[i].unicode();
        *length = 1;
        if (u < 0x20)
            return u != 0x9 && u != 0xa && u != 0xd;
        if (u < 0xd800)
            return false;
        if (QChar::isHighSurrogate(u)) {
            if (i + 1 < n && c[i + 1].isLowSurrogate()) {
                *length = 2;
                return false;
            }
            return true;
        }
        return QChar::isLowSurrogate(u) || u == 0xfffe || u == 0xffff;
    };
    int i = 0, length = 1;
    for (; i < n; i += length)
        if (bad(i, &length))
            break;
    if (i == n)
        return text;
    QString safe = text;
    for (; i < n; i += length)
        if (bad(i, &length))
            safe[i] = QChar(QChar::ReplacementCharacter);
    return safe;
}

void writeTextCell(QXmlStreamWriter &xml, const QString &text, int mergeAcross)
{
    xml.writeStartElement(QStringLiteral("Cell"));
    xml.writeAttribute(QStringLiteral("ss:StyleID"), kCenterStyle);
    if (mergeAcross > 0)
        xml.writeAttribute(QStringLiteral("ss:MergeAcross"), QString::number(mergeAcross));
    xml.writeStartElement(QStringLiteral("Data"));
    xml.writeAttribute(QStringLiteral("ss:Type"), QStringLiteral("String"));
    xml.writeCharacters(xmlSafe(text));
    xml.writeEndElement();
    xml.writeEndElement();
}

} // namespace

bool writeSpreadsheetXml(QIODevice *device, const ExportTable &table)
{
    QXmlStreamWriter xml(device);
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
    xml.writeAttribute(QStringLiteral("ss:Name"), xmlSafe(QObject::tr("Sheet1")));
    xml.writeStartElement(QStringLiteral("Table"));

    // Width of each block of columns. A block without rows still has its
    // column names in the sheet, so it is as wide as those; otherwise the
    // blocks after it would sit under the wrong names.
    QVector<int> widths;
    int rows = 0;
    xml.writeStartElement(QStringLiteral("Row"));
    for (const ExportColumns &e : table.blocks) {
        const int values = e.row(0).size();
        const int width = values > 0 ? values : (e.rows > 0 ? 0 : e.columnNames.size());
        widths.append(width);
        rows = qMax(rows, e.rows);
        writeTextCell(xml, e.name, width - 1);
    }
    xml.writeEndElement();

    xml.writeStartElement(QStringLiteral("Row"));
    for (const ExportColumns &e : table.blocks)
        for (const QString &c : e.columnNames)
            writeTextCell(xml, c, 0);
    xml.writeEndElement();

    for (int r = 0; r <= rows; ++r) {
        xml.writeStartElement(QStringLiteral("Row"));
        int column = 1;
        bool gap = false;
        for (int i = 0; i < table.blocks.size(); ++i) {
            const ExportColumns &e = table.blocks.at(i);
            if (r < e.rows) {
                const QList<QVariant> values = e.row(r);
                for (int k = 0; k < values.size(); ++k) {
                    const bool datetime = e.isDatetime(k);
                    const QVariant &v = values.at(k);
                    xml.writeStartElement(QStringLiteral("Cell"));
                    if (gap) {
                        // Names the column of the first cell after a block
                        // that has run out and left its columns empty.
                        xml.writeAttribute(QStringLiteral("ss:Index"), QString::number(column));
                        gap = false;
                    }
                    if (datetime) {
                        xml.writeAttribute(QStringLiteral("ss:StyleID"), kDatetimeStyle);
                        // A date-time without a text of its own leaves the
                        // cell empty.
                        const QString text = exportDateTimeText(v);
                        if (!text.isEmpty()) {
                            xml.writeStartElement(QStringLiteral("Data"));
                            xml.writeAttribute(QStringLiteral("ss:Type"), QStringLiteral("DateTime"));
                            xml.writeCharacters(text);
                            xml.writeEndElement();
                        }
                    } else {
                        // NaN and infinities are no numbers to a spreadsheet:
                        // they keep their CSV text as a String.
                        // A text (a slice's label) is a String too.
                        const bool number = v.userType() == QMetaType::Double ? std::isfinite(v.toDouble())
                                                                             : v.userType() != QMetaType::QString;
                        xml.writeStartElement(QStringLiteral("Data"));
                        xml.writeAttribute(QStringLiteral("ss:Type"), number ? QStringLiteral("Number") : QStringLiteral("String"));
                        // Numbers are plain ASCII; anything else a series
                        // hands over may hold characters XML cannot carry.
                        xml.writeCharacters(v.userType() == QMetaType::Double
                                                ? tavrin::numberText(v.toDouble())
                                                : xmlSafe(tavrin::numberText(v)));
                        xml.writeEndElement();
                    }
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
    return !xml.hasError();
}
