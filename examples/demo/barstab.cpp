#include "barstab.h"
#include "demotabs.h"

#include <axes.h>
#include <axis.h>
#include <barseries.h>
#include <chartwidget.h>

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLocale>
#include <QVBoxLayout>

namespace demo {

BarsTab::BarsTab(QWidget *parent)
    : QWidget(parent), m_chart(newChart(QString(), tr("Month"), QString())), m_variant(new QComboBox), m_labels(new QCheckBox(tr("Value labels")))
{
    m_variant->addItem(tr("Grouped: two years side by side"));
    m_variant->addItem(tr("Stacked: one year's income by source"));
    auto *controls = new QHBoxLayout;
    controls->addWidget(m_variant);
    controls->addWidget(m_labels);
    controls->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addLayout(controls);
    layout->addWidget(m_chart, 1);
    connect(m_variant, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &BarsTab::showVariant);
    connect(m_labels, &QCheckBox::toggled, this, &BarsTab::showLabels);
    const QLocale c = QLocale::c();
    for (int m = 1; m <= 12; ++m)
        m_chart->axes()->bottom()->setCustomLabel(m, c.monthName(m, QLocale::ShortFormat));
    showVariant(0);
}

void BarsTab::showVariant(int variant)
{
    m_chart->setDrawingLock(true);
    m_chart->clear();
    m_bars.clear();
    if (variant == 0) {
        for (BarSeries *s : cashFlowBars()) {
            m_chart->addSeries(s);
            m_bars.append(s);
        }
        m_chart->setTitle(tr("Net cash flow per month"));
        m_chart->axes()->left()->setTitle(tr("Cash flow (k€)"));
    } else {
        static const double product[] = {20, 22, 18, 25, 27, 30, 24, 21, 28, 31, 33, 38};
        static const double services[] = {8, 9, 11, 10, 12, 12, 9, 8, 13, 14, 15, 17};
        static const double refunds[] = {-3, -2, -6, -4, -2, -5, -7, -3, -2, -4, -3, -6};
        const double *values[] = {product, services, refunds};
        const char *names[] = {QT_TR_NOOP("Products"), QT_TR_NOOP("Services"), QT_TR_NOOP("Refunds")};
        BarSeries *below = nullptr;
        for (int k = 0; k < 3; ++k) {
            auto *s = new BarSeries;
            s->setName(tr(names[k]));
            s->setColor(demo::palette(k).darker(120));
            s->setFillColor(demo::palette(k));
            s->setBarWidthUnit(BarSeries::DataUnits);
            s->setBarWidth(0.6);
            // Refunds hang below zero on their own: negative parts stack
            // apart from the positive ones.
            s->setStackedOn(below);
            for (int m = 1; m <= 12; ++m)
                s->addXY(m, values[k][m - 1]);
            below = s;
            m_chart->addSeries(s);
            m_bars.append(s);
        }
        m_chart->setTitle(tr("Income per month by source"));
        m_chart->axes()->left()->setTitle(tr("Income (k€)"));
    }
    showLabels(m_labels->isChecked());
    m_chart->setDrawingLock(false);
    m_chart->setAutoScale(false);
    m_chart->setAutoScale(true);
}

void BarsTab::showLabels(bool on)
{
    for (BarSeries *bars : qAsConst(m_bars))
        if (bars)
            bars->setValueLabelsVisible(on);
    m_chart->repaint();
}

} // namespace demo
