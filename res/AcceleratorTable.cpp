// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "AcceleratorTable.h"

#include "Resource.h"

namespace {
// One entry a line, in table order.
// clang-format off
constexpr Accelerator kMainFrame[] = {
    {Qt::CTRL | Qt::Key_N, ID_FILE_NEW},
    {Qt::CTRL | Qt::Key_O, ID_FILE_OPEN},
    {Qt::CTRL | Qt::Key_S, ID_FILE_SAVE},
    {Qt::CTRL | Qt::Key_P, ID_FILE_PRINT},
    {Qt::CTRL | Qt::Key_Z, ID_EDIT_UNDO},
    {Qt::CTRL | Qt::Key_X, ID_EDIT_CUT},
    {Qt::CTRL | Qt::Key_C, ID_EDIT_COPY},
    {Qt::CTRL | Qt::Key_V, ID_EDIT_PASTE},
    {Qt::ALT | Qt::Key_Backspace, ID_EDIT_UNDO},
    {Qt::SHIFT | Qt::Key_Delete, ID_EDIT_CUT},
    {Qt::CTRL | Qt::Key_Insert, ID_EDIT_COPY},
    {Qt::SHIFT | Qt::Key_Insert, ID_EDIT_PASTE},
    {QKeyCombination(Qt::Key_F6), ID_NEXT_PANE},
    {Qt::SHIFT | Qt::Key_F6, ID_PREV_PANE},
    // Added since: keys no original entry uses.
    {Qt::CTRL | Qt::Key_K, ID_CATALOG_FIND},
    {QKeyCombination(Qt::Key_F9), ID_VIEW_HEADLINES},
    {Qt::CTRL | Qt::Key_D, ID_FAVORITES_ADD_CURRENT},
    {QKeyCombination(Qt::Key_F5), ID_BROWSE_RELOAD},
    {QKeyCombination(Qt::Key_F3), ID_BROWSE_FIND},
    {Qt::ALT | Qt::Key_Left, ID_BROWSE_BACK},
    {Qt::ALT | Qt::Key_Right, ID_BROWSE_FORWORD},
    {Qt::ALT | Qt::Key_Home, ID_BROWSE_HOME},
};

// Keys of the browser pane, active while it has the focus.
constexpr Accelerator kBrowserPane[] = {
    {Qt::CTRL | Qt::Key_Equal, ID_BROWSE_ZOOM_IN},
    {Qt::CTRL | Qt::Key_Plus, ID_BROWSE_ZOOM_IN},
    {Qt::CTRL | Qt::Key_Minus, ID_BROWSE_ZOOM_OUT},
    {Qt::CTRL | Qt::Key_0, ID_BROWSE_ZOOM_RESET},
};
// clang-format on
} // namespace

std::span<const Accelerator> AcceleratorTable::MainFrame()
{
    return kMainFrame;
}

std::span<const Accelerator> AcceleratorTable::BrowserPane()
{
    return kBrowserPane;
}
