#include "CKestrinNewsReaderDoc.h"

bool CKestrinNewsReaderDoc::OnNewDocument()
{
    return Document::OnNewDocument();
}

void CKestrinNewsReaderDoc::Serialize(QDataStream&, bool)
{
    // The document stores and loads nothing.
}
