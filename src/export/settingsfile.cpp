#include "chartwidget.h"
#include "chartwidget_p.h"

bool ChartWidgetPrivate::saveSettings(int, const QString &)
{
    return false;
}

bool ChartWidgetPrivate::loadSettings(int, const QString &)
{
    return false;
}

bool ChartWidget::save(dataFormat format, const QString &fileName)
{
    return d->saveSettings(format, fileName);
}

bool ChartWidget::load(dataFormat format, const QString &fileName)
{
    return d->loadSettings(format, fileName);
}
