// libFuzzer target for the filter parser, the date and money conversions and
// the OFX reader.
#include "FuzzInputs.h"

#include "uikit/KelmaraApplication.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool localeSet = (useBrazilianLocale(), true);
    (void)localeSet;
    const QString broken = checkFuzzInput(data, size);
    if (!broken.isEmpty()) {
        std::fprintf(stderr, "%s\n", broken.toUtf8().constData());
        std::abort();
    }
    return 0;
}
