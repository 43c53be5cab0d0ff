// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "SingleDocTemplate.h"

#include "Document.h"
#include "FrameWindow.h"

SingleDocTemplate::SingleDocTemplate(QString docString, DocumentFactory documentFactory,
                                     FrameFactory frameFactory)
    : m_docString(std::move(docString)), m_documentFactory(std::move(documentFactory)),
      m_frameFactory(std::move(frameFactory))
{}

SingleDocTemplate::~SingleDocTemplate()
{
    m_frame.reset();
    m_document.reset();
}

QString SingleDocTemplate::GetDocString(DocStringIndex index) const
{
    return m_docString.section(QLatin1Char('\n'), index, index);
}

Document* SingleDocTemplate::OpenDocumentFile(const QString& path, bool makeVisible)
{
    const bool created = !m_document;
    if (created)
        m_document = m_documentFactory();
    auto fail = [&]() -> Document* {
        if (created) {
            m_frame.reset();
            m_document.reset();
        }
        return nullptr;
    };
    if (!m_document)
        return nullptr;
    if (!m_frame) {
        m_frame = m_frameFactory();
        if (!m_frame)
            return fail();
        m_frame->SetTitleSuffix(GetDocString(WindowTitle));
        if (!m_frame->LoadFrame(m_document.get()))
            return fail();
    }
    const bool ok = path.isEmpty() ? m_document->OnNewDocument() : m_document->OnOpenDocument(path);
    if (!ok)
        return fail();
    m_frame->InitialUpdateFrame(m_document.get(), makeVisible);
    return m_document.get();
}
