// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CXmlNodeList.h"

#include "CXmlDocumentState.h"
#include "CXmlTestSeam.h"

#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <new>
#include <vector>

namespace {
// The reason reaches the caller through the thrown error, not the console.
void IgnoreError(void*, xmlErrorPtr) {}
} // namespace

struct CXmlNodeList::Data
{
    // The node the selection started from, or whose children a live list shows.
    CXmlNode origin;
    bool bLive = false;
    QString strExpression;
    quint64 nGeneration = 0;
    std::vector<CXmlNode> nodes;

    void Refresh()
    {
        const CXmlDocumentState& state = CXmlDocumentState::Of(origin.m_pNode);
        if (!bLive || nGeneration == state.Generation())
            return;
        nodes.clear();
        // An entity reference's children are the entity's own declaration; it has none
        // of its own.
        if (origin.m_pNode->type != XML_ENTITY_REF_NODE) {
            for (xmlNodePtr child = origin.m_pNode->children; child; child = child->next)
                nodes.push_back(CXmlNode(child));
        }
        nGeneration = state.Generation();
    }
};

CXmlNodeList::CXmlNodeList(std::shared_ptr<Data> data) noexcept : m_pData(std::move(data)) {}

CXmlNodeList CXmlNodeList::Select(const CXmlNode& context, const CXmlString& expression)
{
    xmlNodePtr node = context.Checked();
    const std::unique_ptr<xmlXPathContext, decltype(&xmlXPathFreeContext)> xpath(
        xmlXPathNewContext(node->doc), &xmlXPathFreeContext);
    if (!xpath)
        throw xml::_com_error(xml::E_OUTOFMEMORY);
    xpath->node = node;
    xpath->error = IgnoreError;

    const std::unique_ptr<xmlXPathObject, decltype(&xmlXPathFreeObject)> result(
        xmlXPathEvalExpression(expression.Utf8(), xpath.get()), &xmlXPathFreeObject);
    if (!result) {
        const QString reason =
            xpath->lastError.message
                ? CXmlString::FromUtf8(BAD_CAST xpath->lastError.message).ToQString().trimmed()
                : QStringLiteral("Invalid expression");
        throw xml::_com_error(xml::E_FAIL,
                              QStringLiteral("%1: %2").arg(expression.ToQString(), reason));
    }
    if (result->type != XPATH_NODESET)
        throw xml::_com_error(
            xml::E_FAIL, QStringLiteral("%1 does not select nodes").arg(expression.ToQString()));

    auto data = std::make_shared<Data>();
    data->origin = context;
    data->strExpression = expression.ToQString();
    if (const xmlNodeSetPtr set = result->nodesetval) {
        data->nodes.reserve(std::size_t(set->nodeNr));
        for (int i = 0; i < set->nodeNr; ++i) {
            // Namespace nodes are the selection's own copies, not nodes of the tree.
            if (set->nodeTab[i]->type != XML_NAMESPACE_DECL)
                data->nodes.push_back(CXmlNode(set->nodeTab[i]));
        }
    }
    return CXmlNodeList(std::move(data));
}

CXmlNodeList CXmlNodeList::ChildrenOf(const CXmlNode& parent)
{
    const xmlNodePtr node = parent.Checked();
    auto data = std::make_shared<Data>();
    data->origin = parent;
    data->bLive = true;
    data->nGeneration = CXmlDocumentState::Of(node).Generation() - 1;
    return CXmlNodeList(std::move(data));
}

CXmlNodeList::Data& CXmlNodeList::Checked() const
{
    if (!m_pData)
        throw xml::_com_error(xml::E_POINTER);
    return *m_pData;
}

long CXmlNodeList::GetLength() const
{
    Data& data = Checked();
    data.Refresh();
    return long(data.nodes.size());
}

CXmlNode CXmlNodeList::GetItem(long index) const
{
    CXmlNode node;
    const xml::HRESULT hr = GetItem(index, node);
    if (xml::Failed(hr))
        throw xml::_com_error(
            hr, hr == xml::E_FAIL
                    ? QStringLiteral("Item %1 of the list cannot be fetched").arg(index)
                    : QString());
    return node;
}

xml::HRESULT CXmlNodeList::GetItem(long index, CXmlNode& node) const noexcept
{
    node.Release();
    if (!m_pData)
        return xml::E_POINTER;
    try {
        m_pData->Refresh();
    } catch (const std::bad_alloc&) {
        return xml::E_OUTOFMEMORY;
    }
    const CXmlTestSeam::Failures& failures = CXmlTestSeam::GetFailures();
    if (!m_pData->bLive && index == failures.itemIndex &&
        m_pData->strExpression == failures.itemExpression)
        return xml::E_FAIL;
    if (index < 0 || std::size_t(index) >= m_pData->nodes.size())
        return xml::S_FALSE;
    node = m_pData->nodes[std::size_t(index)];
    return xml::S_OK;
}
