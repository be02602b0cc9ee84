// The chart's side of the exports and of the settings file: what is written
// is gathered here and handed to the writers, which know no widget.
#include "chartwidget.h"
#include "chartwidget_p.h"

#include "axis.h"
#include "axis_p.h"
#include "chartseries.h"
#include "exportfile_p.h"
#include "exporttable_p.h"
#include "imagewriter_p.h"
#include "legend_p.h"
#include "seriesicon_p.h"
#include "settingsfile_p.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIconEngine>
#include <QImageWriter>
#include <QPainter>
#include <QPaintEngine>
#include <QPicture>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>

#ifdef TAVRIN_HAVE_PRINTSUPPORT
#include <QBuffer>
#include <QPdfWriter>
#include <QPrinter>
#endif

ExportTable ChartWidgetPrivate::exportTable() const
{
    ExportTable table;
    for (ChartSeries *series : seriesMap) {
        if (!series || !series->isVisible())
            continue;
        ExportColumns e;
        // Each series' values are date-times when its own axes show them.
        const Axis *x = series->xAxis() ? series->xAxis() : axes.bottom();
        const Axis *y = series->yAxis() ? series->yAxis() : axes.left();
        e.xDatetime = x->isDatetime();
        e.yDatetime = y->isDatetime();
        e.name = series->name();
        e.columnNames = series->dataAxisString().split(QLatin1Char(';'), Qt::KeepEmptyParts);
        e.rows = series->pointsCount();
        e.row = [series](int r) { return series->point(r); };
        table.blocks.append(e);
    }
    return table;
}

namespace {

// An icon that takes its room in a style's layout and paints nothing; the
// legend's vector output paints the series' icon itself.
class RoomOnlyIconEngine : public QIconEngine
{
public:
    void paint(QPainter *, const QRect &, QIcon::Mode, QIcon::State) override {}
    QPixmap pixmap(const QSize &, QIcon::Mode, QIcon::State) override { return QPixmap(); }
    QIconEngine *clone() const override { return new RoomOnlyIconEngine; }
    void virtual_hook(int id, void *data) override
    {
        if (id == QIconEngine::IsNullHook)
            *static_cast<bool *>(data) = false;
        else
            QIconEngine::virtual_hook(id, data);
    }
};

bool paintsVectors(QPainter *painter)
{
    const QPaintEngine *engine = painter->paintEngine();
    return engine && engine->type() != QPaintEngine::Raster;
}

} // namespace

void ChartWidgetPrivate::paintLegend(QPainter *painter, const QPoint &at)
{
    const bool scrolled =
        legend.horizontalScrollBar()->isVisible() || legend.verticalScrollBar()->isVisible();
    // An inset legend's translucent box is its background; the window's
    // would cover the series.
    const QWidget::RenderFlags background =
        legend.d->isInset() ? QWidget::RenderFlags() : QWidget::DrawWindowBackground;
    if (scrolled && legend.d->isInset() && paintsVectors(painter)) {
        // Vector files keep no clipping, and with no opaque scroll bar to
        // cover them the entries scrolled out of view would show below
        // the box; it goes in as a picture, at twice the screen's density.
        QImage image(legend.size() * 2, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.scale(2, 2);
            legend.render(&p, QPoint(), QRegion(), QWidget::DrawChildren);
        }
        painter->drawImage(QRect(at, legend.size()), image);
        return;
    }
    if (!paintsVectors(painter) || scrolled) {
        legend.render(painter, at, QRegion(), background | QWidget::DrawChildren);
        return;
    }
    // Qt's widget rendering hands the check boxes' icons over as pixmaps;
    // the boxes are drawn here instead, the library's icons as vectors.
    legend.render(painter, at, QRegion(), background);
    const QList<QCheckBox *> boxes = legend.widget()->findChildren<QCheckBox *>();
    for (QCheckBox *box : boxes) {
        if (!box->isVisibleTo(&legend))
            continue;
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        option.iconSize = box->iconSize();
        option.state |= box->isChecked() ? QStyle::State_On : QStyle::State_Off;
        const QIcon icon = box->icon();
        const QList<QSize> iconSizes = icon.availableSizes();
        ChartSeries *series = LegendPrivate::seriesOfBox(box);
        // The size the series drew its icon at, which the style scales down.
        const int drawnSize = iconSizes.isEmpty() ? 0 : iconSizes.constFirst().width();
        const bool vectorIcon = drawnSize > 0 && tavrin::paintSeriesIcon(series, nullptr, drawnSize);
        option.icon = vectorIcon ? QIcon(new RoomOnlyIconEngine) : icon;
        painter->save();
        painter->translate(at + box->mapTo(&legend, QPoint(0, 0)));
        QFont font = box->font();
        QStyle *style = LegendPrivate::entryStyle(box, &option, &font);
        painter->setFont(font);
        style->drawControl(QStyle::CE_CheckBox, &option, painter, box);
        if (vectorIcon) {
            const QRect contents = style->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
            const QRect target = QStyle::alignedRect(option.direction, Qt::AlignLeft | Qt::AlignVCenter,
                                                     option.iconSize, contents);
            painter->translate(target.topLeft());
            painter->scale(qreal(target.width()) / drawnSize, qreal(target.height()) / drawnSize);
            painter->setClipRect(QRect(0, 0, drawnSize, drawnSize));
            tavrin::paintSeriesIcon(series, painter, drawnSize);
        }
        painter->restore();
    }
}

namespace {

// What of an axis follows the length of the plot: put back after a picture
// laid out for another size.
class AxisLayout
{
public:
    explicit AxisLayout(AxisPrivate *axis)
        : a(axis), length(a->length), scale(a->scale), offset(a->offset), margin(a->margin),
          tickStep(a->tickStep), firstTick(a->firstTick), tickCount(a->tickCount), size(a->size),
          logTicks(a->logTicks)
    {
    }
    ~AxisLayout()
    {
        a->length = length;
        a->scale = scale;
        a->offset = offset;
        a->margin = margin;
        a->tickStep = tickStep;
        a->firstTick = firstTick;
        a->tickCount = tickCount;
        a->size = size;
        a->logTicks = logTicks;
    }

private:
    Q_DISABLE_COPY(AxisLayout)
    AxisPrivate *a;
    double length, scale, offset, margin, tickStep, firstTick;
    int tickCount, size;
    QVector<double> logTicks;
};

} // namespace

void ChartWidgetPrivate::paintChart(QPainter *painter, const QSize &size)
{
    // A themed chart's light texts need its background on paper too; the
    // default theme's files stay as they were, without one.
    if (theme != ChartWidget::thDefault)
        painter->fillRect(QRect(QPoint(0, 0), size), q->palette().color(QPalette::Window));
    if (size == q->size()) {
        paintLaidOut(painter, legend.pos());
        return;
    }
    // Laid out for the picture's size as a resize would do it, then put
    // back: the widget, its axes and its image stay as they are.
    const AxisLayout bottom(axes.bottom()->d);
    const AxisLayout left(axes.left()->d);
    const AxisLayout right(axes.right()->d);
    const AxisLayout top(axes.top()->d);
    const QRect screenPlot = plotRect;
    plotRect = plotRectIn(QRect(QPoint(0, 0), size));
    axes.setSize(QSizeF(plotRect.size()));
    // The margin of pad pixels depends on the scale it helps to set; a
    // resize settles it with the rescale that follows, this does it here.
    for (Axis *axis : {axes.bottom(), axes.left(), axes.right(), axes.top()}) {
        for (int i = 0; i < 64; ++i) {
            const double margin = axis->d->margin;
            axis->d->updateTransform();
            if (axis->d->margin == margin)
                break;
        }
    }
    axes.adjust();
    paintLaidOut(painter, legend.d->positionIn(size));
    plotRect = screenPlot;
}

void ChartWidgetPrivate::paintLaidOut(QPainter *painter, const QPoint &legendPos)
{
    painter->save();
    drawTitleAndAxes(painter);
    // Only a legend the user can see belongs in the picture.
    const bool inset = legend.d->isInset();
    if (legend.d->visible && !inset)
        paintLegend(painter, legendPos);
    painter->translate(plotRect.topLeft());
    // On screen the series are cut at the plot's edges by their image. The
    // SVG generator writes no clipping; the state change alone would only
    // add an empty group.
    if (painter->paintEngine()->type() != QPaintEngine::SVG)
        painter->setClipRect(QRect(QPoint(0, 0), plotRect.size()), Qt::IntersectClip);
    drawSeries(painter, true);
    drawItems(painter, false);
    painter->restore();
    // An inset legend floats over the series, as it does on screen.
    if (legend.d->visible && inset)
        paintLegend(painter, legendPos);
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
                                                   [this](QPainter *p) { paintChart(p, q->size()); });
                             },
                             error);
}

bool ChartWidgetPrivate::writePdf(const QString &fileName, QString *error)
{
    // A page of no size is no document, as an image of no size is none.
    if (q->size().isEmpty()) {
        if (error)
            *error = tr("The chart is too small or too large for an image.");
        return false;
    }
    return ExportFile::write(fileName, QIODevice::WriteOnly,
                             [this](QIODevice *device) {
                                 return ::writePdf(device, q->size(), antialiasing,
                                                   [this](QPainter *p) { paintChart(p, q->size()); });
                             },
                             error);
}

bool ChartWidgetPrivate::writeImage(const QString &fileName, QString *error)
{
    return saveImage(fileName, QSize(), 1.0, nullptr, -1, error);
}

bool ChartWidgetPrivate::saveImage(const QString &fileName, const QSize &size, qreal scale,
                                   const char *format, int quality, QString *error)
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
    const QImage image = q->toImage(size, scale);
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

QImage ChartWidget::toImage(const QSize &size, qreal scale)
{
    const QSize layout = size.isValid() ? size : this->size();
    if (!(scale > 0) || layout.isEmpty())
        return QImage();
    return paintImage(layout, scale, palette().color(QPalette::Window), d->antialiasing,
                      [this, layout](QPainter *p) { d->paintChart(p, layout); });
}

bool ChartWidget::exportImage(const QString &fileName, const QSize &size, qreal scale,
                              const char *format, int quality)
{
    return d->saveImage(fileName, size, scale, format, quality, nullptr);
}

#ifdef TAVRIN_HAVE_PRINTSUPPORT
// Paints the chart on one page of `device`, scaled to fit `page` (in the
// device's pixels) with its proportions kept.
static bool printOn(ChartWidgetPrivate *d, QPaintDevice *device, const QRectF &page)
{
    const QWidget *w = d->q;
    // The chart measures its texts at screen resolution; recorded at that
    // resolution first, it keeps its proportions at the device's.
    QPicture picture;
    {
        QPainter recorder(&picture);
        if (d->antialiasing)
            recorder.setRenderHint(QPainter::Antialiasing, true);
        d->paintChart(&recorder, w->size());
    }
    QPainter painter;
    if (!painter.begin(device))
        return false;
    if (d->antialiasing)
        painter.setRenderHint(QPainter::Antialiasing, true);
    // The whole chart on the page, centred.
    const qreal s = qMin(page.width() / w->width(), page.height() / w->height());
    painter.translate((page.width() - s * w->width()) / 2, (page.height() - s * w->height()) / 2);
    // drawPicture() itself scales from the picture's resolution to the
    // device's.
    painter.scale(s * picture.logicalDpiX() / device->logicalDpiX(),
                  s * picture.logicalDpiY() / device->logicalDpiY());
    painter.drawPicture(0, 0, picture);
    return painter.end();
}
#endif

bool ChartWidget::print(QPrinter *printer)
{
#ifdef TAVRIN_HAVE_PRINTSUPPORT
    if (!printer || size().isEmpty())
        return false;
    const QRectF page = printer->pageLayout().paintRectPixels(printer->resolution());
    const QString file = printer->outputFileName();
    if (printer->outputFormat() != QPrinter::PdfFormat || file.isEmpty())
        return printOn(d, printer, page);
    // A PDF printer does not say whether its file was written; the same
    // page made in memory goes through the exports' file handling, which does.
    return ExportFile::write(file, QIODevice::WriteOnly, [&](QIODevice *device) {
        QBuffer document;
        document.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&document);
            writer.setCreator(printer->creator());
            writer.setTitle(printer->docName());
            writer.setResolution(printer->resolution());
            writer.setPageLayout(printer->pageLayout());
            if (!printOn(d, &writer, page))
                return false;
        }
        return device->write(document.data()) == document.size();
    }, nullptr);
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
    gestureView = false;
    drawingLock = settings.drawingLock;
    title = settings.title;
    const bool fontChanged = titleFont != settings.titleFont;
    titleFont = settings.titleFont;
    if (fontChanged)
        emit q->titleFontChanged(titleFont);
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
