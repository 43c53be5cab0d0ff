// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <cstdint>

class SplitterWnd;

// The splitter layout record the skin engine asks the frame for. The first field is the
// engine's own; the frame fills the rest.
struct SplitInfo
{
    std::int32_t engineTag = 0;
    std::int32_t maxRows = 0;
    std::int32_t maxCols = 0;
    std::int32_t cxSplitter = 0;
    std::int32_t cySplitter = 0;
    std::int32_t cxBorderShare = 0;
    std::int32_t cyBorderShare = 0;
    std::int32_t cxSplitterGap = 0;
    std::int32_t cySplitterGap = 0;
    std::int32_t cxBorder = 0;
    std::int32_t cyBorder = 0;
    std::int32_t rows = 0;
    std::int32_t cols = 0;
    std::int32_t hasHScroll = 0;
    std::int32_t hasVScroll = 0;
    // References to the splitter's column and row information; on this platform they
    // are the splitter itself, which answers both.
    const SplitterWnd* colInfo = nullptr;
    const SplitterWnd* rowInfo = nullptr;
};

using SplitInfoCallback = int (*)(SplitInfo& info);
