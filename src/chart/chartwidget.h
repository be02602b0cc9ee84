#ifndef CHARTWIDGET_H
#define CHARTWIDGET_H

#include "tavrin_global.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QWidget>

class Axes;
class ChartSeries;
class ChartWidgetPrivate;
class Legend;
class VLine;

// The chart a host puts in its window: series and marker lines over a
// self-scaling pair of axes, with title, legend, zoom, pan and tooltips.
class TAVRIN_EXPORT ChartWidget : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool autoScale READ autoScale WRITE setAutoScale)
    Q_PROPERTY(QString title READ title WRITE setTitle)
public:
    enum dataFormat : int { dfBinary = 0 };

    explicit ChartWidget(QWidget *parent = nullptr);
    ~ChartWidget() override;

    Q_INVOKABLE QObject *createObject(const char *object_name);
    Q_INVOKABLE int addSeries(ChartSeries *series);
    void addSeries(ChartSeries *series, int id);
    Q_INVOKABLE int addVLine(VLine *vline);
    /*!
        Removes the marker line with the id \a vlineId and deletes it at
        once; returns false, changing nothing, when there is no such line.
        Under automatic scaling the axes are fitted again without it, so a
        strip chart can let its old marks go with its old points.
    */
    Q_INVOKABLE bool removeVLine(int vlineId);
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

    static QString chartVersion;

    ChartWidgetPrivate *d;

public slots:
    // Renders the series layer again; hides QWidget::repaint().
    void repaint();
};

#endif // CHARTWIDGET_H
