// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "platform/Document.h"

// Holds no data. The panes do not reach each other through it: the frame connects them.
class CKestrinNewsReaderDoc : public Document
{
public:
    bool OnNewDocument() override;
    void Serialize(QDataStream& archive, bool storing) override;
};
