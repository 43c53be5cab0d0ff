// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "DialogTemplates.h"

#include "Resource.h"

namespace {
using K = DialogControl::Kind;
using S = DialogControl::Style;

constexpr DialogControl kAbout[] = {
    {-1, K::Icon, ":/res/icons/kestrin.png", 11, 17, 21, 23, S::None},
    {-1, K::Static, "Kestrin News Reader Version 2.7.0", 40, 10, 138, 8, S::NoPrefix},
    {-1, K::Static, "Copyright (C) Kestrin Software\nwww.kestrinsoft.com/newsreader", 40, 26, 119,
     22, S::None},
    {1, K::DefPushButton, "OK", 177, 24, 50, 14, S::TabStop},
};

constexpr DialogControl kEditMyFavorite[] = {
    {1, K::DefPushButton, "New", 300, 7, 50, 14, S::TabStop},
    {2, K::PushButton, "Close", 300, 29, 50, 14, S::TabStop},
    // The list and its hint sit lower than they first did, below the search field.
    {IDC_FAVORITE_LIST, K::ListView, "", 7, 25, 289, 230, S::TabStop | S::Border | S::ReportView},
    {-1, K::Static, "Double-click to edit or delete the record", 7, 257, 294, 11, S::None},
    // Added since: after the original controls, so their order stays.
    {IDC_EDIT_FAVORITE, K::PushButton, "Edit", 300, 51, 50, 14, S::TabStop},
    {IDC_FAVORITE_SEARCH, K::Edit, "", 7, 7, 289, 14, S::TabStop | S::Border | S::AutoHScroll},
    {IDC_NEW_FOLDER, K::PushButton, "New Folder", 300, 73, 50, 14, S::TabStop},
    {IDC_MOVE_FAVORITES, K::PushButton, "Move\u2026", 300, 95, 50, 14, S::TabStop},
};

// Save and Delete both carry the default-button style.
constexpr DialogControl kAddModifyFavorite[] = {
    {1, K::DefPushButton, "Save", 184, 7, 50, 14, S::TabStop},
    {2, K::PushButton, "Cancel", 184, 53, 50, 14, S::TabStop},
    {IDC_DELETE, K::DefPushButton, "Delete", 184, 31, 50, 14, S::TabStop},
    {IDC_FAVORITE_NAME, K::Edit, "", 7, 22, 167, 14, S::TabStop | S::Border | S::AutoHScroll},
    {IDC_FAVORITE_URL, K::Edit, "", 7, 51, 167, 14, S::TabStop | S::Border | S::AutoHScroll},
    {-1, K::Static, "Newspapers, magazines Name", 7, 7, 126, 10, S::None, IDC_FAVORITE_NAME},
    {-1, K::Static, "Newspapers, magazines URL", 7, 40, 126, 10, S::None, IDC_FAVORITE_URL},
    // Added since: after the original controls, so their order stays.
    {-1, K::Static, "Folder", 7, 69, 126, 10, S::None, IDC_FAVORITE_FOLDER},
    {IDC_FAVORITE_FOLDER, K::ComboBox, "", 7, 80, 167, 14, S::TabStop},
};

constexpr DialogTemplate kTemplates[] = {
    {IDD_ABOUTBOX, "About KestrinNewsReader", 235, 53, "MS Sans Serif", 8, kAbout},
    {IDD_EDIT_MY_FAVORITE, "Edit My Favorite", 357, 275, "MS Sans Serif", 8, kEditMyFavorite},
    {IDD_ADD_MODIFY_FAVORITE, "Add/Modify My Favorite", 241, 101, "MS Sans Serif", 8,
     kAddModifyFavorite},
};
} // namespace

const DialogTemplate* DialogTemplates::Find(int id)
{
    for (const DialogTemplate& dialogTemplate : kTemplates) {
        if (dialogTemplate.id == id)
            return &dialogTemplate;
    }
    return nullptr;
}
