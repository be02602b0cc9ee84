#ifndef CHARTWIDGET_H
#define CHARTWIDGET_H

#include "tavrin_global.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QWidget>

class Axes;
class ChartSeries;
class ChartWidgetPrivate;
class Legend;
class QPrinter;
class VLine;

// The chart a host puts in its window: series and marker lines over a
// self-scaling pair of axes, with title, legend, zoom, pan and tooltips.
class TAVRIN_EXPORT ChartWidget : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool autoScale READ autoScale WRITE setAutoScale)
    Q_PROPERTY(QString title READ title WRITE setTitle)
    Q_PROPERTY(bool imageExportActions READ imageExportActions WRITE setImageExportActions
                   NOTIFY imageExportActionsChanged)
public:
    enum dataFormat : int { dfBinary = 0 };

    explicit ChartWidget(QWidget *parent = nullptr);
    ~ChartWidget() override;

    Q_INVOKABLE QObject *createObject(const char *object_name);
    Q_INVOKABLE int addSeries(ChartSeries *series);
    void addSeries(ChartSeries *series, int id);
    Q_INVOKABLE int addVLine(VLine *vline);
    Q_INVOKABLE void removeSeries(int seriesId);
    Q_INVOKABLE ChartSeries *series(int seriesId) const;
    Q_INVOKABLE void clear();
    Q_INVOKABLE Legend *legend() const;
    Q_INVOKABLE void setAutoScale(bool autoScale = true);

    QList<ChartSeries *> seriesList() const;
    Axes *axes() const;

    QString title() const;
    void setTitle(const QString &title);
    QFont titleFont() const;

    bool autoScale() const;
    bool drawingLock() const;
    void setDrawingLock(bool lock);
    void setAntialiasing(bool on);
    void enableTooltip(bool on);
    bool tooltipEnabled() const;
    int refreshTimeout() const;
    void setRefreshTimeout(int ms);

    bool save(dataFormat format, const QString &fileName);
    bool load(dataFormat format, const QString &fileName);

    // Non-interactive exports; false (and no message) when the file cannot
    // be written.
    bool exportCsv(const QString &fileName);
    bool exportXml(const QString &fileName);
    bool exportSvg(const QString &fileName);

    /*!
        Renders the chart into an image of \a size logical pixels (the
        widget's size when \a size is invalid) times \a scale device pixels,
        with a device pixel ratio of \a scale, over the widget's window
        colour. At another size than the widget's the chart is laid out for
        that size as a resize would lay it out (more room for the plot,
        texts at their size); a \a scale of 2 gives a sharp picture for a
        high-resolution screen or a document. Series are drawn as in
        exportSvg(). Returns a null image when the size is empty, \a scale
        is not positive or the image would not fit in memory. Does not
        change what the widget shows, nor its axes.
    */
    QImage toImage(const QSize &size = QSize(), qreal scale = 1.0);

    /*!
        Writes toImage(\a size, \a scale) to \a fileName in a raster
        format Qt writes (see QImageWriter::supportedImageFormats()).
        \a format names it ("png", "jpg", "bmp", ...); when null it follows
        the file name's suffix, and is "png" when the name has none.
        \a quality is passed to QImageWriter (-1: the format's default).
        Returns false, and shows nothing, when the image cannot be made, the
        format is not writable or the file cannot be written; an existing
        file is then unchanged.
    */
    bool exportImage(const QString &fileName, const QSize &size = QSize(), qreal scale = 1.0,
                     const char *format = nullptr, int quality = -1);

    /*!
        Writes the chart to \a fileName as a one-page PDF of vector
        graphics whose page is the widget's size at 96 pixels per inch, so
        the chart prints at its on-screen size. Returns false, and shows
        nothing, when the file cannot be written.
    */
    bool exportPdf(const QString &fileName);

    /*!
        Prints the chart on one page of \a printer, scaled to fit the
        printable area with its proportions kept, as vector graphics where
        the printer takes them. The printer is set up by the caller (for
        example with QPrintDialog) and stays the caller's. Returns false
        when \a printer is null or cannot be painted on, and always when
        the library was built without Qt's print support.
    */
    bool print(QPrinter *printer);

    /*!
        Puts toImage() on the application's clipboard. Returns false when
        there is no image to copy or no clipboard.
    */
    bool copyToClipboard();

    /*!
        \property ChartWidget::imageExportActions
        Whether the context menu also offers saving as an image, saving as
        PDF, printing (where the library has Qt's print support) and copying
        to the clipboard, after the three data and SVG entries. Off by
        default, so the menu holds only those three.
    */
    bool imageExportActions() const;
    void setImageExportActions(bool on);

    static QString chartVersion;

    ChartWidgetPrivate *d;

public slots:
    // Renders the series layer again; hides QWidget::repaint().
    void repaint();

signals:
    void imageExportActionsChanged(bool on);
};

#endif // CHARTWIDGET_H
