// The chart's side of the exports and of the settings file: what is written
// is gathered here and handed to the writers, which know no widget.
#include "chartwidget.h"
#include "chartwidget_p.h"

#include "axis.h"
#include "chartseries.h"
#include "exportfile_p.h"
#include "exporttable_p.h"
#include "imagewriter_p.h"
#include "legend_p.h"
#include "settingsfile_p.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QPicture>

#ifdef TAVRIN_HAVE_PRINTSUPPORT
#include <QPrinter>
#endif

ExportTable ChartWidgetPrivate::exportTable() const
{
    ExportTable table;
    table.xDatetime = axes.bottom()->isDatetime();
    table.yDatetime = axes.left()->isDatetime();
    for (ChartSeries *series : seriesMap) {
        if (!series || !series->isVisible())
            continue;
        ExportColumns e;
        e.name = series->name();
        e.columnNames = series->dataAxisString().split(QLatin1Char(';'), Qt::KeepEmptyParts);
        e.rows = series->pointsCount();
        e.row = [series](int r) { return series->point(r); };
        table.blocks.append(e);
    }
    return table;
}

void ChartWidgetPrivate::paintChart(QPainter *painter)
{
    painter->save();
    drawTitleAndAxes(painter);
    // Only a legend the user can see belongs in the picture.
    if (legend.d->visible)
        legend.render(painter, legend.pos(), QRegion(),
                      QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter->translate(plotRect.topLeft());
    drawSeries(painter, true);
    painter->restore();
}

bool ChartWidgetPrivate::writeCsv(const QString &fileName, QString *error)
{
    const ExportTable table = exportTable();
    return ExportFile::write(fileName, QIODevice::WriteOnly | QIODevice::Text,
                             [&table](QIODevice *device) { return ::writeCsv(device, table); },
                             error);
}

bool ChartWidgetPrivate::writeXml(const QString &fileName, QString *error)
{
    const ExportTable table = exportTable();
    return ExportFile::write(
        fileName, QIODevice::WriteOnly | QIODevice::Text,
        [&table](QIODevice *device) { return writeSpreadsheetXml(device, table); }, error);
}

bool ChartWidgetPrivate::writeSvg(const QString &fileName, QString *error)
{
    return ExportFile::write(fileName, QIODevice::WriteOnly | QIODevice::Text,
                             [this](QIODevice *device) {
                                 return ::writeSvg(device, q->size(), antialiasing,
                                                   [this](QPainter *p) { paintChart(p); });
                             },
                             error);
}

bool ChartWidgetPrivate::writePdf(const QString &fileName, QString *error)
{
    return ExportFile::write(fileName, QIODevice::WriteOnly,
                             [this](QIODevice *device) {
                                 return ::writePdf(device, q->size(), antialiasing,
                                                   [this](QPainter *p) { paintChart(p); });
                             },
                             error);
}

bool ChartWidgetPrivate::writeImage(const QString &fileName, QString *error)
{
    return saveImage(fileName, 1.0, nullptr, -1, error);
}

bool ChartWidgetPrivate::saveImage(const QString &fileName, qreal scale, const char *format,
                                   int quality, QString *error)
{
    QByteArray imageFormat(format);
    if (imageFormat.isEmpty())
        imageFormat = QFileInfo(fileName).suffix().toLatin1();
    if (imageFormat.isEmpty())
        imageFormat = "png";
    imageFormat = imageFormat.toLower();
    if (!QImageWriter::supportedImageFormats().contains(imageFormat)) {
        if (error)
            *error = tr("Images cannot be written in the format %1.")
                         .arg(QString::fromLatin1(imageFormat));
        return false;
    }
    const QImage image = q->toImage(scale);
    if (image.isNull()) {
        if (error)
            *error = tr("The chart is too small or too large for an image.");
        return false;
    }
    return ExportFile::write(fileName, QIODevice::WriteOnly,
                             [&](QIODevice *device) {
                                 return ::writeImage(device, image, imageFormat, quality);
                             },
                             error);
}

bool ChartWidget::exportCsv(const QString &fileName)
{
    return d->writeCsv(fileName, nullptr);
}

bool ChartWidget::exportXml(const QString &fileName)
{
    return d->writeXml(fileName, nullptr);
}

bool ChartWidget::exportSvg(const QString &fileName)
{
    return d->writeSvg(fileName, nullptr);
}

bool ChartWidget::exportPdf(const QString &fileName)
{
    return d->writePdf(fileName, nullptr);
}

QImage ChartWidget::toImage(qreal scale)
{
    if (!(scale > 0) || size().isEmpty())
        return QImage();
    return paintImage(size(), scale, palette().color(QPalette::Window), d->antialiasing,
                      [this](QPainter *p) { d->paintChart(p); });
}

bool ChartWidget::exportImage(const QString &fileName, qreal scale, const char *format, int quality)
{
    return d->saveImage(fileName, scale, format, quality, nullptr);
}

bool ChartWidget::print(QPrinter *printer)
{
#ifdef TAVRIN_HAVE_PRINTSUPPORT
    if (!printer || size().isEmpty())
        return false;
    // The chart measures its texts at screen resolution; recorded at that
    // resolution first, it keeps its proportions at the printer's.
    QPicture picture;
    {
        QPainter recorder(&picture);
        if (d->antialiasing)
            recorder.setRenderHint(QPainter::Antialiasing, true);
        d->paintChart(&recorder);
    }
    QPainter painter;
    if (!painter.begin(printer))
        return false;
    if (d->antialiasing)
        painter.setRenderHint(QPainter::Antialiasing, true);
    // The whole chart on the page, centred, its proportions kept.
    const QRectF page = printer->pageLayout().paintRectPixels(printer->resolution());
    const qreal s = qMin(page.width() / width(), page.height() / height());
    painter.translate((page.width() - s * width()) / 2, (page.height() - s * height()) / 2);
    // drawPicture() itself scales from the picture's resolution to the
    // printer's.
    painter.scale(s * picture.logicalDpiX() / printer->logicalDpiX(),
                  s * picture.logicalDpiY() / printer->logicalDpiY());
    painter.drawPicture(0, 0, picture);
    return painter.end();
#else
    Q_UNUSED(printer)
    return false;
#endif
}

bool ChartWidget::copyToClipboard()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QImage image = toImage();
    if (!clipboard || image.isNull())
        return false;
    clipboard->setImage(image);
    return true;
}

bool ChartWidgetPrivate::saveSettings(int format, const QString &fileName)
{
    if (format != ChartWidget::dfBinary)
        return false;
    ChartSettings settings;
    settings.version = ChartWidget::chartVersion;
    for (auto it = seriesMap.constBegin(); it != seriesMap.constEnd(); ++it)
        settings.registry.insert(it.key(), it.value() != nullptr);
    settings.autoScale = autoScale;
    settings.drawingLock = drawingLock;
    settings.title = title;
    settings.titleFont = titleFont;
    return ExportFile::write(fileName, QIODevice::WriteOnly,
                             [&settings](QIODevice *device) {
                                 return writeSettings(device, settings);
                             },
                             nullptr);
}

bool ChartWidgetPrivate::loadSettings(int format, const QString &fileName)
{
    if (format != ChartWidget::dfBinary)
        return false;
    QFile file(fileName);
    ChartSettings settings;
    if (!file.open(QIODevice::ReadOnly)
        || !readSettings(&file, ChartWidget::chartVersion, &settings))
        return false;
    // Stored as they are: they take effect with the next rendering or scaling.
    autoScale = settings.autoScale;
    drawingLock = settings.drawingLock;
    title = settings.title;
    titleFont = settings.titleFont;
    return true;
}

bool ChartWidget::save(dataFormat format, const QString &fileName)
{
    return d->saveSettings(format, fileName);
}

bool ChartWidget::load(dataFormat format, const QString &fileName)
{
    return d->loadSettings(format, fileName);
}
