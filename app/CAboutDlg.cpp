// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CAboutDlg.h"

#include "res/Resource.h"

CAboutDlg::CAboutDlg(QWidget* parent) : Dialog(IDD_ABOUTBOX, parent) {}
