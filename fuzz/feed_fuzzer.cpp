// libFuzzer entry: every input is a document put through the feed parser; a
// broken promise aborts the run with the reason, and the input is kept as a reproducer.
#include "FeedFuzzCheck.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "feed_fuzzer";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);

    const QString fault =
        FeedFuzzCheck::Feed(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!fault.isEmpty()) {
        std::fprintf(stderr, "feed fault: %s\n", qPrintable(fault));
        std::abort();
    }
    return 0;
}
