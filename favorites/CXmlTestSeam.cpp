// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CXmlTestSeam.h"

namespace {
CXmlTestSeam::Failures& failures()
{
    static CXmlTestSeam::Failures value;
    return value;
}

qint64 g_nFreedNodes = 0;
} // namespace

void CXmlTestSeam::SetFailures(const Failures& value)
{
    failures() = value;
}

const CXmlTestSeam::Failures& CXmlTestSeam::GetFailures()
{
    return failures();
}

qint64 CXmlTestSeam::FreedNodeCount()
{
    return g_nFreedNodes;
}

void CXmlTestSeam::CountFreedNode()
{
    ++g_nFreedNodes;
}
