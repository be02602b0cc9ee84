#include "chartwidgetplugin.h"

#include <chartwidget.h>

ChartWidgetPlugin::ChartWidgetPlugin(QObject *parent)
    : QObject(parent)
{
}

QString ChartWidgetPlugin::name() const
{
    return QStringLiteral("ChartWidget");
}

QString ChartWidgetPlugin::group() const
{
    return QStringLiteral("Tavrin");
}

QString ChartWidgetPlugin::toolTip() const
{
    return tr("Chart of line, point, bar, box, band and Gantt series");
}

QString ChartWidgetPlugin::whatsThis() const
{
    return tr("A chart widget: series over self-scaling axes, with title, legend, zoom, pan and tooltips.");
}

QString ChartWidgetPlugin::includeFile() const
{
    return QStringLiteral("chartwidget.h");
}

QIcon ChartWidgetPlugin::icon() const
{
    return QIcon();
}

bool ChartWidgetPlugin::isContainer() const
{
    return false;
}

QWidget *ChartWidgetPlugin::createWidget(QWidget *parent)
{
    return new ChartWidget(parent);
}

bool ChartWidgetPlugin::isInitialized() const
{
    return m_initialized;
}

void ChartWidgetPlugin::initialize(QDesignerFormEditorInterface *)
{
    m_initialized = true;
}

QString ChartWidgetPlugin::domXml() const
{
    return QStringLiteral(
        "<ui language=\"c++\">\n"
        " <widget class=\"ChartWidget\" name=\"chartWidget\">\n"
        "  <property name=\"geometry\"><rect><x>0</x><y>0</y><width>400</width><height>260</height></rect></property>\n"
        "  <property name=\"title\"><string/></property>\n"
        "  <property name=\"autoScale\"><bool>true</bool></property>\n"
        " </widget>\n"
        "</ui>\n");
}
