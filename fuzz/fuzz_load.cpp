#include <chartwidget.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

namespace {
QTemporaryDir *dir = nullptr;
ChartWidget *chart = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(*argc, *argv);
    dir = new QTemporaryDir;
    chart = new ChartWidget;
    chart->resize(200, 150);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString fileName = dir->filePath(QStringLiteral("input.tn"));
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();

    // One chart for every input: a load must either succeed or leave it as
    // it was, so whatever a previous input left must still render.
    const QString title = chart->title();
    const bool autoScale = chart->autoScale();
    if (!chart->load(ChartWidget::dfBinary, fileName)) {
        if (chart->title() != title || chart->autoScale() != autoScale)
            __builtin_trap();
    }
    chart->grab();
    return 0;
}
