#pragma once

#include "platform/Document.h"

class CKestrinNewsReaderView;
class CLeftView;

// Holds no data: it is where the frame's commands find the two views.
class CKestrinNewsReaderDoc : public Document
{
public:
    bool OnNewDocument() override;
    void Serialize(QDataStream& archive, bool storing) override;

    // Set by each view in its initial update; not owned.
    CKestrinNewsReaderView* m_pBrowserView = nullptr;
    CLeftView* m_pTreeView = nullptr;
};
