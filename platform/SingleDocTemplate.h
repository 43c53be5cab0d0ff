// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QString>

#include <functional>
#include <memory>

class Document;
class FrameWindow;

// One document shown in one frame. Opening a file (or a new one) re-uses both and runs
// the views' initial updates again.
class SingleDocTemplate
{
public:
    using DocumentFactory = std::function<std::unique_ptr<Document>()>;
    using FrameFactory = std::function<std::unique_ptr<FrameWindow>()>;

    enum DocStringIndex
    {
        WindowTitle,
        DocName,
        FileNewName,
        FilterName,
        FilterExt,
        RegFileTypeId,
        RegFileTypeName
    };

    // docString: the template's newline-separated fields.
    SingleDocTemplate(QString docString, DocumentFactory documentFactory,
                      FrameFactory frameFactory);
    ~SingleDocTemplate();

    // Empty path: a new document. Returns nullptr when the document or its frame failed.
    Document* OpenDocumentFile(const QString& path, bool makeVisible = true);

    [[nodiscard]] QString GetDocString(DocStringIndex index) const;
    [[nodiscard]] Document* document() const { return m_document.get(); }
    [[nodiscard]] FrameWindow* frame() const { return m_frame.get(); }

private:
    QString m_docString;
    DocumentFactory m_documentFactory;
    FrameFactory m_frameFactory;
    // The frame goes first: its views refer to the document.
    std::unique_ptr<Document> m_document;
    std::unique_ptr<FrameWindow> m_frame;
};
