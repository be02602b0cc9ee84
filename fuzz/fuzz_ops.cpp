#include "chartops.h"

#include <QTemporaryDir>

namespace {
QTemporaryDir *outDir = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Lives for the whole run; libFuzzer never returns to main.
    new QApplication(*argc, *argv);
    outDir = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    chartops::run(data, size, outDir->path());
    return 0;
}
