// libFuzzer entry: every input is a web page put through discovery's page-head reader; a
// broken promise aborts the run with the reason, and the input is kept as a reproducer.
#include "FeedFuzzCheck.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "pagehead_fuzzer";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);

    const QString fault =
        FeedFuzzCheck::PageHead(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!fault.isEmpty()) {
        std::fprintf(stderr, "pagehead fault: %s\n", qPrintable(fault));
        std::abort();
    }
    return 0;
}
