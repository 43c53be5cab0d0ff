// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

// While it lives, the kernel applies file permissions to this process even when the tests
// run as root, so that a read-only file or directory really is one.
class PermissionChecks
{
public:
    PermissionChecks();
    ~PermissionChecks();
    PermissionChecks(const PermissionChecks&) = delete;
    PermissionChecks& operator=(const PermissionChecks&) = delete;

private:
    unsigned m_nDropped = 0;
};
