// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CXmlDocumentState.h"

#include <libxml/tree.h>

#include <new>

CXmlDocumentState* CXmlDocumentState::Create() noexcept
{
    xmlDocPtr doc = xmlNewDoc(BAD_CAST "1.0");
    if (!doc)
        return nullptr;
    auto* state = new (std::nothrow) CXmlDocumentState(doc);
    if (!state)
        xmlFreeDoc(doc);
    return state;
}

CXmlDocumentState& CXmlDocumentState::Of(const _xmlNode* node) noexcept
{
    return *static_cast<CXmlDocumentState*>(node->doc->_private);
}

CXmlDocumentState::CXmlDocumentState(_xmlDoc* doc) noexcept : m_pDoc(doc)
{
    m_pDoc->_private = this;
}

CXmlDocumentState::~CXmlDocumentState()
{
    for (xmlDocPtr doc : m_retired)
        xmlFreeDoc(doc);
    xmlFreeDoc(m_pDoc);
}

void CXmlDocumentState::Release() noexcept
{
    if (--m_nRefs == 0)
        delete this;
}

void CXmlDocumentState::Replace(_xmlDoc* doc)
{
    m_retired.push_back(m_pDoc);
    m_pDoc = doc;
    m_pDoc->_private = this;
    Touch();
}

void CXmlDocumentState::VisitTree(_xmlNode* root, const std::function<bool(_xmlNode*)>& visit)
{
    std::vector<xmlNodePtr> pending{root};
    while (!pending.empty()) {
        xmlNodePtr node = pending.back();
        pending.pop_back();
        if (!visit(node) || node->type == XML_ENTITY_REF_NODE)
            continue;
        // Pushed in reverse so that they come off in document order.
        for (xmlNodePtr child = node->last; child; child = child->prev)
            pending.push_back(child);
        if (node->type == XML_ELEMENT_NODE) {
            std::vector<xmlNodePtr> attributes;
            for (xmlAttrPtr attribute = node->properties; attribute; attribute = attribute->next)
                attributes.push_back(reinterpret_cast<xmlNodePtr>(attribute));
            pending.insert(pending.end(), attributes.rbegin(), attributes.rend());
        }
    }
}
