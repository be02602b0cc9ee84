#ifndef DEMO_DASHBOARDTAB_H
#define DEMO_DASHBOARDTAB_H

#include <QWidget>

class ChartGroup;
class ChartWidget;
class GanttSeries;
class LineSeries;
class QTimer;

namespace demo {

// Three charts over one time axis, linked: a live signal, its rolling mean
// and the events it raised as bars. Zoom, pan or move the crosshair in one
// and the others follow.
class DashboardTab : public QWidget
{
    Q_OBJECT
public:
    // The gallery gets ten minutes of data at once and no timer.
    explicit DashboardTab(bool galleryMode, QWidget *parent = nullptr);
    ChartWidget *chart() const { return m_charts[0]; }

private slots:
    void addSample();

private:
    ChartWidget *m_charts[3];
    ChartGroup *m_group;
    LineSeries *m_signal;
    LineSeries *m_mean;
    GanttSeries *m_events;
    QVector<double> m_window; // the last values the mean runs over
    int m_step = 0;
    double m_eventStart = -1; // where the signal crossed the threshold, -1 below it
};

// A circle and a spiral on equal scales: they stay round through zoom,
// pan, the wheel and resizing.
ChartWidget *equalScalesChart();

} // namespace demo

#endif // DEMO_DASHBOARDTAB_H
