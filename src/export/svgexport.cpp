#include "chartwidget.h"
#include "chartwidget_p.h"

bool ChartWidgetPrivate::writeSvg(const QString &, QString *)
{
    return false;
}

bool ChartWidget::exportSvg(const QString &fileName)
{
    return d->writeSvg(fileName, nullptr);
}

void ChartWidgetPrivate::on_context_save_svg()
{
}
