// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "PermissionChecks.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
// The capabilities that let root ignore permissions; both sit in the first word.
constexpr unsigned kOverrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

// Turns the given effective capabilities off or back on; they stay permitted throughout.
unsigned Switch(unsigned bits, bool on)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0)
        return 0;
    const unsigned changed = (on ? ~data[0].effective : data[0].effective) & bits;
    data[0].effective = on ? data[0].effective | changed : data[0].effective & ~changed;
    return syscall(SYS_capset, &header, data) == 0 ? changed : 0;
}
} // namespace

PermissionChecks::PermissionChecks() : m_nDropped(Switch(kOverrides, false)) {}

PermissionChecks::~PermissionChecks()
{
    Switch(m_nDropped, true);
}
