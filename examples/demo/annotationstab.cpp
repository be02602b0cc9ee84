#include "annotationstab.h"
#include "demotabs.h"

#include <axes.h>
#include <axis.h>
#include <chartwidget.h>
#include <legend.h>
#include <lineitem.h>
#include <lineseries.h>
#include <rangeitem.h>
#include <textitem.h>

#include <QHBoxLayout>
#include <QLabel>

#include <cmath>

namespace demo {

// Ten seconds of two vibration sensors at 200 samples per second: a
// decaying ring with a knock at 6.2 s that the first sensor takes harder.
static double reading(int sensor, double t)
{
    const double ring = std::exp(-0.25 * t) * std::sin(2 * M_PI * 1.3 * t);
    const double knock = std::exp(-std::pow((t - 6.2) / 0.08, 2)) * (sensor == 0 ? 1.25 : 0.55);
    const double hum = 0.02 * std::sin(2 * M_PI * 23 * t + sensor) + 0.01 * std::sin(2 * M_PI * 57 * t);
    return (sensor == 0 ? 1.0 : 0.7) * ring + knock + hum;
}

AnnotationsTab::AnnotationsTab(QWidget *parent)
    : QWidget(parent),
      m_chart(newChart(tr("Vibration after a knock"), tr("Time (s)"), tr("Acceleration (g)"))),
      m_readout(new QLabel)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_chart, 1);
    layout->addWidget(m_readout);
    m_readout->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_readout->setTextFormat(Qt::RichText);
    m_readout->setMinimumWidth(190);
    m_readout->setMargin(8);

    double peakT = 0, peak = -1e9;
    for (int s = 0; s < 2; ++s) {
        auto *series = new LineSeries;
        series->setName(s == 0 ? tr("Sensor A") : tr("Sensor B"));
        series->setColor(demo::palette(s));
        series->setWidth(1);
        for (int i = 0; i <= 2000; ++i) {
            const double t = i / 200.0, v = reading(s, t);
            series->addXY(t, v);
            if (s == 0 && v > peak) {
                peak = v;
                peakT = t;
            }
        }
        m_signals[s] = series;
        m_chart->addSeries(series);
    }

    const double alarm = 0.8;
    auto *band = new RangeItem(Qt::Horizontal, alarm, 2.0, QColor(214, 39, 40, 40));
    m_chart->addItem(band);
    auto *threshold = new LineItem(Qt::Horizontal, alarm, QColor(214, 39, 40), 1);
    threshold->setPen(QPen(QColor(214, 39, 40), 1, Qt::DashLine));
    threshold->setLabel(tr("alarm %1 g").arg(alarm));
    m_chart->addItem(threshold);

    auto *note = new TextItem(tr("largest peak\n%1 g at %2 s").arg(peak, 0, 'f', 2).arg(peakT, 0, 'f', 2));
    // Items leave the axes alone, so the note goes where the data already
    // makes room: right of the peak, inside the band.
    note->setAnchor(QPointF(peakT + 1.0, peak - 0.1));
    note->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    note->setBoxBrush(QColor(255, 255, 255, 200));
    note->setBoxPen(QPen(QColor(120, 120, 120)));
    note->setColor(QColor(40, 40, 40));
    note->setArrowTarget(QPointF(peakT, peak));
    m_chart->addItem(note);

    const double at[2] = {1.0, 3.0};
    for (int c = 0; c < 2; ++c) {
        auto *cursor = new LineItem(Qt::Vertical, at[c], demo::palette(4 + c), 1);
        cursor->setLabel(c == 0 ? QStringLiteral("C1") : QStringLiteral("C2"));
        cursor->setMovable(true);
        connect(cursor, &LineItem::valueChanged, this, &AnnotationsTab::updateReadout);
        m_cursors[c] = cursor;
        m_chart->addItem(cursor);
    }
    updateReadout();
}

void AnnotationsTab::updateReadout()
{
    const double x1 = m_cursors[0]->value(), x2 = m_cursors[1]->value();
    const auto number = [](double v) {
        return std::isnan(v) ? QStringLiteral("–") : QString::number(v, 'f', 3);
    };
    QString text = QStringLiteral("<b>%1</b><br>").arg(tr("Cursors (drag them)"));
    text += QStringLiteral("C1: %1 s<br>C2: %2 s<br>%3: %4 s<br><br>")
                .arg(number(x1), number(x2), tr("C2 − C1"), number(x2 - x1));
    for (LineSeries *s : m_signals)
        text += QStringLiteral("<b>%1</b><br>C1: %2 g<br>C2: %3 g<br><br>")
                    .arg(s->name().toHtmlEscaped(), number(s->valueAt(x1)), number(s->valueAt(x2)));
    m_readout->setText(text);
}

} // namespace demo
