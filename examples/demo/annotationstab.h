#ifndef DEMO_ANNOTATIONSTAB_H
#define DEMO_ANNOTATIONSTAB_H

#include <QWidget>

class ChartWidget;
class LineItem;
class LineSeries;
class QLabel;

namespace demo {

// A recorded signal with a threshold, an alarm band, a note at its largest
// peak and two cursors the user drags; beside the chart, what the cursors
// read.
class AnnotationsTab : public QWidget
{
    Q_OBJECT
public:
    explicit AnnotationsTab(QWidget *parent = nullptr);
    ChartWidget *chart() const { return m_chart; }

private slots:
    void updateReadout();

private:
    ChartWidget *m_chart;
    LineSeries *m_signals[2];
    LineItem *m_cursors[2];
    QLabel *m_readout;
};

} // namespace demo

#endif // DEMO_ANNOTATIONSTAB_H
