// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QString>

#include <functional>
#include <vector>

struct _xmlDoc;
struct _xmlNode;

// The engine documents behind the handles of one CXmlDocument. They stay alive while a
// handle to the document, to one of its nodes or to one of its lists lives.
class CXmlDocumentState
{
public:
    // Starts with an empty engine document and one reference; null when memory ran out.
    [[nodiscard]] static CXmlDocumentState* Create() noexcept;
    [[nodiscard]] static CXmlDocumentState& Of(const _xmlNode* node) noexcept;

    CXmlDocumentState(const CXmlDocumentState&) = delete;
    CXmlDocumentState& operator=(const CXmlDocumentState&) = delete;

    void AddRef() noexcept { ++m_nRefs; }
    void Release() noexcept;

    [[nodiscard]] _xmlDoc* Document() const noexcept { return m_pDoc; }
    // Makes doc the current document. The previous one is kept until the end, since
    // handles may still point into it.
    void Replace(_xmlDoc* doc);

    [[nodiscard]] const QString& ParseError() const noexcept { return m_strParseError; }
    void SetParseError(const QString& error) { m_strParseError = error; }

    // Moves on whenever a tree changes, so that live child lists know to refresh.
    [[nodiscard]] quint64 Generation() const noexcept { return m_nGeneration; }
    void Touch() noexcept { ++m_nGeneration; }

    // Visits root and everything below it, attributes included, in document order
    // (without recursion: hostile documents can be deep). Entity references are not
    // entered: their content belongs to the entity. Returning false from visit skips
    // the node's descendants.
    static void VisitTree(_xmlNode* root, const std::function<bool(_xmlNode*)>& visit);

private:
    explicit CXmlDocumentState(_xmlDoc* doc) noexcept;
    ~CXmlDocumentState();

    _xmlDoc* m_pDoc;
    std::vector<_xmlDoc*> m_retired;
    QString m_strParseError;
    long m_nRefs = 1;
    quint64 m_nGeneration = 0;
};
