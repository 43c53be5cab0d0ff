// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CKestrinNewsReaderDoc.h"

bool CKestrinNewsReaderDoc::OnNewDocument()
{
    return Document::OnNewDocument();
}

void CKestrinNewsReaderDoc::Serialize(QDataStream&, bool)
{
    // The document stores and loads nothing.
}
