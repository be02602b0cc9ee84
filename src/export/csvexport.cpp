#include "chartwidget.h"
#include "chartwidget_p.h"

bool ChartWidgetPrivate::writeCsv(const QString &, QString *)
{
    return false;
}

bool ChartWidget::exportCsv(const QString &fileName)
{
    return d->writeCsv(fileName, nullptr);
}

void ChartWidgetPrivate::on_context_save_csv()
{
}
