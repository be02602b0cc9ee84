#include "chartwidget.h"
#include "chartwidget_p.h"

#include "exportfile_p.h"
#include "legend_p.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

bool ChartWidgetPrivate::writeSvg(const QString &fileName, QString *error)
{
    ExportFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        if (error)
            *error = file.errorString();
        return false;
    }

    // The generator reports nothing about its output device, so the image is
    // made in memory and written out where the errors can be seen.
    QBuffer image;
    image.open(QIODevice::WriteOnly | QIODevice::Text);
    {
        QSvgGenerator generator;
        generator.setOutputDevice(&image);
        generator.setSize(q->size());
        // 96 dots per inch is the SVG pixel: viewers then open the image at
        // the widget's pixel size, with text at its on-screen size.
        generator.setResolution(96);
        generator.setViewBox(QRect(QPoint(0, 0), q->size()));
        QPainter painter(&generator);
        if (antialiasing)
            painter.setRenderHint(QPainter::Antialiasing, true);
        drawTitleAndAxes(&painter);
        // Only a legend the user can see belongs in the picture.
        if (legend.d->visible)
            legend.render(&painter, legend.pos(), QRegion(),
                          QWidget::DrawWindowBackground | QWidget::DrawChildren);
        painter.translate(plotRect.topLeft());
        drawSeries(&painter, true);
    }

    const QByteArray &data = image.data();
    const bool written = file.device()->write(data) == data.size();
    if (!file.finish(written)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool ChartWidget::exportSvg(const QString &fileName)
{
    return d->writeSvg(fileName, nullptr);
}

void ChartWidgetPrivate::on_context_save_svg()
{
    runInteractiveExport(this, tr("svg files(*.svg)"), &ChartWidgetPrivate::writeSvg);
}
