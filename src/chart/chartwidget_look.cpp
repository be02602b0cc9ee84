// Fonts, colours and themes: how the chart looks as a whole.
#include "chartwidget.h"
#include "chartwidget_p.h"

#include "axis.h"
#include "axis_p.h"
#include "chartseries.h"
#include "legend_p.h"

namespace {

const QList<QColor> &darkSeriesColors()
{
    static const QList<QColor> colors{
        QColor(0x4f, 0xa3, 0xf7), QColor(0xf5, 0xa6, 0x23), QColor(0x7e, 0xd3, 0x21),
        QColor(0xe8, 0x55, 0x5a), QColor(0xb5, 0x7e, 0xdc), QColor(0x50, 0xe3, 0xc2),
        QColor(0xf8, 0xe7, 0x1c), QColor(0xff, 0x7e, 0xb6)};
    return colors;
}

QPalette darkPalette(QPalette p)
{
    const QColor window(0x1e, 0x22, 0x27), base(0x25, 0x2a, 0x30), raised(0x2c, 0x31, 0x38);
    const QColor text(0xd7, 0xda, 0xe0);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor ink = g == QPalette::Disabled ? text.darker(160) : text;
        p.setColor(g, QPalette::Window, window);
        p.setColor(g, QPalette::WindowText, ink);
        p.setColor(g, QPalette::Base, base);
        p.setColor(g, QPalette::AlternateBase, raised);
        p.setColor(g, QPalette::Text, ink);
        p.setColor(g, QPalette::Button, raised);
        p.setColor(g, QPalette::ButtonText, ink);
        p.setColor(g, QPalette::ToolTipBase, raised);
        p.setColor(g, QPalette::ToolTipText, text);
        p.setColor(g, QPalette::Highlight, QColor(0x3d, 0x6f, 0xb4));
        p.setColor(g, QPalette::HighlightedText, Qt::white);
        p.setColor(g, QPalette::Light, QColor(0x4a, 0x50, 0x58));
        p.setColor(g, QPalette::Midlight, QColor(0x3a, 0x40, 0x47));
        p.setColor(g, QPalette::Mid, QColor(0x30, 0x35, 0x3c));
        p.setColor(g, QPalette::Dark, QColor(0x16, 0x19, 0x1d));
        p.setColor(g, QPalette::Shadow, Qt::black);
    }
    return p;
}

// A clean card: white paper, dark grey ink.
QPalette lightPalette(QPalette p)
{
    const QColor paper(Qt::white), ink(0x33, 0x37, 0x3d), raised(0xf4, 0xf5, 0xf7);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor text = g == QPalette::Disabled ? ink.lighter(250) : ink;
        p.setColor(g, QPalette::Window, paper);
        p.setColor(g, QPalette::WindowText, text);
        p.setColor(g, QPalette::Base, paper);
        p.setColor(g, QPalette::AlternateBase, raised);
        p.setColor(g, QPalette::Text, text);
        p.setColor(g, QPalette::Button, raised);
        p.setColor(g, QPalette::ButtonText, text);
    }
    return p;
}

const QList<QColor> &lightSeriesColors()
{
    static const QList<QColor> colors{
        QColor(0x1f, 0x77, 0xb4), QColor(0xff, 0x7f, 0x0e), QColor(0x2c, 0xa0, 0x2c),
        QColor(0xd6, 0x27, 0x28), QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
        QColor(0xe3, 0x77, 0xc2), QColor(0x7f, 0x7f, 0x7f)};
    return colors;
}

} // namespace

QColor ChartWidgetPrivate::takeAutoColor()
{
    if (!seriesColors.isEmpty())
        return seriesColors.at(paletteIndex++ % seriesColors.size());
    int c = colorIndex;
    if (c == Qt::green)
        c = Qt::darkGreen;
    if (++colorIndex > Qt::darkYellow)
        colorIndex = Qt::color0 + 2;
    return QColor(Qt::GlobalColor(c));
}

// Gives the series the chart coloured itself their colours again from the
// start of the current list, in id order, as if registered now.
void ChartWidgetPrivate::recolorSeries()
{
    colorIndex = 7;
    paletteIndex = 0;
    for (ChartSeries *series : qAsConst(seriesMap)) {
        auto it = autoColors.find(series);
        if (it == autoColors.end())
            continue;
        if (series->color() != it.value()) {
            autoColors.erase(it); // the host chose a colour since
            continue;
        }
        const QColor c = takeAutoColor();
        // A marker series announces its new colour with refresh(); one
        // rendering at the end is enough.
        const bool blocked = series->blockSignals(true);
        series->setColor(c);
        series->setFillColor(c);
        series->blockSignals(blocked);
        it.value() = c;
    }
    legend.d->refreshBoxes();
}

void ChartWidgetPrivate::relayout()
{
    if (drawingLock)
        return;
    if (!updatePlotArea())
        q->repaint();
}

void ChartWidget::setTitleFont(const QFont &font)
{
    if (d->titleFont == font)
        return;
    d->titleFont = font;
    d->legend.d->adjustGeometry();
    d->relayout();
    update();
    emit titleFontChanged(font);
}

QFont ChartWidget::axisLabelFont() const
{
    return d->axes.bottom()->labelFont();
}

void ChartWidget::setAxisLabelFont(const QFont &font)
{
    d->axes.bottom()->setLabelFont(font);
    d->axes.left()->setLabelFont(font);
    d->axes.right()->setLabelFont(font);
    d->axes.top()->setLabelFont(font);
    d->relayout();
    update();
}

QFont ChartWidget::axisTitleFont() const
{
    return d->axes.bottom()->titleFont();
}

void ChartWidget::setAxisTitleFont(const QFont &font)
{
    d->axes.bottom()->setTitleFont(font);
    d->axes.left()->setTitleFont(font);
    d->axes.right()->setTitleFont(font);
    d->axes.top()->setTitleFont(font);
    d->relayout();
    update();
}

QFont ChartWidget::legendFont() const
{
    return d->legend.font();
}

void ChartWidget::setLegendFont(const QFont &font)
{
    d->legend.setFont(font);
    d->legend.d->refreshBoxes();
}

QList<QColor> ChartWidget::seriesColors() const
{
    return d->seriesColors;
}

void ChartWidget::setSeriesColors(const QList<QColor> &colors)
{
    d->seriesColors = colors;
    d->paletteIndex = 0;
}

ChartWidget::Theme ChartWidget::theme() const
{
    return d->theme;
}

void ChartWidget::setTheme(Theme theme)
{
    if (d->theme == theme || (theme != thDefault && theme != thDark && theme != thLight))
        return;
    if (d->theme == thDefault) {
        d->hostPalette = testAttribute(Qt::WA_SetPalette) ? palette() : QPalette();
        d->hostEffectivePalette = palette();
        d->hostAutoFill = autoFillBackground();
    }
    const bool dark = theme == thDark, light = theme == thLight;
    if (theme == thDefault) {
        // An empty palette hands the widget back to its parent's.
        setPalette(d->hostPalette);
        setAutoFillBackground(d->hostAutoFill);
    } else {
        setPalette(dark ? darkPalette(d->hostEffectivePalette) : lightPalette(d->hostEffectivePalette));
        setAutoFillBackground(true);
    }
    const QColor frame = dark ? QColor(0xaa, 0xb0, 0xb8) : light ? QColor(0xbd, 0xc1, 0xc6) : QColor(Qt::black);
    d->axes.setGridColor(dark ? QColor(0x3c, 0x42, 0x4a) : light ? QColor(0xe9, 0xeb, 0xee) : QColor(Qt::white));
    for (Axis *axis : {d->axes.left(), d->axes.bottom(), d->axes.right(), d->axes.top()}) {
        axis->setFrameColor(frame);
        axis->setGridStyle(light ? Qt::SolidLine : Qt::DashLine);
        axis->d->frameWidth = light ? 1 : 2;
        // A light frame would make faint labels.
        axis->d->textColor = light ? palette().color(QPalette::WindowText) : QColor();
    }
    d->seriesColors = dark ? darkSeriesColors() : light ? lightSeriesColors() : QList<QColor>();
    // The light theme titles in the widget's own font; leaving it gives the
    // title font back.
    const Theme old = d->theme;
    d->theme = theme;
    if (light)
        d->hostTitleFont = d->titleFont;
    if (light)
        setTitleFont(font());
    else if (old == thLight)
        setTitleFont(d->hostTitleFont);
    d->recolorSeries();
    repaint();
    emit themeChanged(theme);
}
