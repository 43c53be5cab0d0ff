// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// libFuzzer entry for the feed parser (feed_fuzzer) and, built with KESTRIN_FUZZ_PAGE_HEAD,
// for discovery's page-head reader (pagehead_fuzzer): every input is a document put through
// it; a broken promise aborts the run with the reason, and the input is kept as a reproducer.
#include "FeedFuzzCheck.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "feeds_fuzzer";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);

    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
#ifdef KESTRIN_FUZZ_PAGE_HEAD
    const QString fault = FeedFuzzCheck::PageHead(input);
#else
    const QString fault = FeedFuzzCheck::Feed(input);
#endif
    if (!fault.isEmpty()) {
        std::fprintf(stderr, "fault: %s\n", qPrintable(fault));
        std::abort();
    }
    return 0;
}
