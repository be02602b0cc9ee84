#ifndef DEMO_BARSTAB_H
#define DEMO_BARSTAB_H

#include <QList>
#include <QPointer>
#include <QWidget>

class BarSeries;
class ChartWidget;
class QCheckBox;
class QComboBox;

namespace demo {

// The bars tab: two years of cash flow side by side, or the income of one
// year stacked by source with refunds hanging below the zero line; value
// labels on demand.
class BarsTab : public QWidget
{
    Q_OBJECT
public:
    explicit BarsTab(QWidget *parent = nullptr);
    ChartWidget *chart() const { return m_chart; }

private slots:
    void showVariant(int variant);
    void showLabels(bool on);

private:
    ChartWidget *m_chart;
    QComboBox *m_variant;
    QCheckBox *m_labels;
    QList<QPointer<BarSeries>> m_bars;
};

} // namespace demo

#endif // DEMO_BARSTAB_H
