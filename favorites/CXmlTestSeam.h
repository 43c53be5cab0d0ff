// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "ComError.h"

#include <QString>

// Lets tests make the engine fail where it practically never does, and see what it frees.
// Inactive until a test sets failures.
class CXmlTestSeam
{
public:
    struct Failures
    {
        // CreateInstance answers this status when it is a failure.
        xml::HRESULT createStatus = xml::S_OK;
        // Fetching item itemIndex of a list that itemExpression selected fails with E_FAIL.
        QString itemExpression;
        long itemIndex = -1;
        // A save's write fails with "no space left" once this many bytes are out; -1 never.
        qint64 saveFailsAfterBytes = -1;
    };

    static void SetFailures(const Failures& failures);
    [[nodiscard]] static const Failures& GetFailures();

    // Nodes freed because their last handle went while they belonged to no tree.
    [[nodiscard]] static qint64 FreedNodeCount();
    static void CountFreedNode();
};
