#ifndef LEGEND_P_H
#define LEGEND_P_H

#include "legend.h"
#include "legendowner_p.h"

#include <QObject>
#include <QSemaphore>

class QCheckBox;

// Exported so that white-box tests and tools can reach the layout hooks.
class TAVRIN_EXPORT LegendPrivate : public QObject
{
    Q_OBJECT
public:
    explicit LegendPrivate(Legend *q);
    ~LegendPrivate() override;

    bool event(QEvent *e) override;
    void adjustGeometry();
    // Where the legend, at its current size, sits in a chart of that size.
    QPoint positionIn(const QSize &chart) const;
    void refreshBoxes();
    void clear();

    // Installs an empty layout for the current placement.
    void installLayout();
    void requestPlotAreaUpdate();
    QCheckBox *createCheckBox(ChartSeries *series);
    // The series a check box of the legend stands for, or null.
    static ChartSeries *seriesOfBox(const QObject *box);

    int placement = -1;
    Legend *q;
    QSemaphore semaphore;
    int eventType;
    bool visible = false;
    LegendOwner *owner = nullptr;

private slots:
    void on_series_change_visible(bool on);
    void on_series_name_changed();
};

#endif // LEGEND_P_H
