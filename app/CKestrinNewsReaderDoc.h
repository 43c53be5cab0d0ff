#pragma once

#include "platform/Document.h"

// Holds no data. The panes do not reach each other through it: the frame connects them.
class CKestrinNewsReaderDoc : public Document
{
public:
    bool OnNewDocument() override;
    void Serialize(QDataStream& archive, bool storing) override;
};
