#include "chartwidget.h"
#include "chartwidget_p.h"

bool ChartWidgetPrivate::writeXml(const QString &, QString *)
{
    return false;
}

bool ChartWidget::exportXml(const QString &fileName)
{
    return d->writeXml(fileName, nullptr);
}

void ChartWidgetPrivate::on_context_save_excel()
{
}
