// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CXmlNode.h"

#include "CXmlDocumentState.h"
#include "CXmlNodeList.h"
#include "CXmlTestSeam.h"

#include <libxml/tree.h>

#include <cstdint>
#include <new>
#include <utility>
#include <vector>

namespace {
// A node's handle count lives in the engine's spare per-node pointer, so that every
// handle to a node agrees on it however the handle was obtained.
std::uintptr_t HandleCount(const xmlNode* node)
{
    return reinterpret_cast<std::uintptr_t>(node->_private);
}

void SetHandleCount(xmlNode* node, std::uintptr_t count)
{
    node->_private = reinterpret_cast<void*>(count);
}

bool IsDocument(const xmlNode* node)
{
    return node->type == XML_DOCUMENT_NODE || node->type == XML_HTML_DOCUMENT_NODE;
}

// Nodes that may stand among an element's children.
bool IsChildKind(const xmlNode* node)
{
    switch (node->type) {
    case XML_ELEMENT_NODE:
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_ENTITY_REF_NODE:
    case XML_PI_NODE:
    case XML_COMMENT_NODE:
        return true;
    default:
        return false;
    }
}

[[noreturn]] void ThrowWrongKind(const QString& operation)
{
    throw xml::_com_error(
        xml::E_FAIL, QStringLiteral("%1 is not possible on a node of this type").arg(operation));
}

// Frees a node that belongs to no tree. Descendants that still have handles are cut loose
// first and live on as trees of their own.
void FreeDetached(xmlNodePtr root)
{
    std::vector<xmlNodePtr> kept;
    CXmlDocumentState::VisitTree(root, [&](xmlNodePtr node) {
        if (node != root && HandleCount(node) > 0) {
            kept.push_back(node);
            return false;
        }
        return true;
    });
    for (xmlNodePtr node : kept)
        xmlUnlinkNode(node);
    xmlFreeNode(root);
    CXmlTestSeam::CountFreedNode();
}

// Takes every child out of node; children nobody holds are freed.
void RemoveAllChildren(xmlNodePtr node)
{
    while (xmlNodePtr child = node->children) {
        xmlUnlinkNode(child);
        if (HandleCount(child) == 0)
            FreeDetached(child);
    }
}

// The engine merges adjacent text nodes when it links them, freeing one of them; linking by
// hand keeps every node that a handle may refer to.
void LinkLast(xmlNodePtr parent, xmlNodePtr child)
{
    child->parent = parent;
    child->next = nullptr;
    child->prev = parent->last;
    if (parent->last)
        parent->last->next = child;
    else
        parent->children = child;
    parent->last = child;
}

// Characters outside XML 1.0's Char production would make the saved file unreadable.
bool IsStorableInXml(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            ++i;
            continue;
        }
        const bool allowed = unit == 0x9 || unit == 0xA || unit == 0xD ||
                             (unit >= 0x20 && unit <= 0xD7FF) || (unit >= 0xE000 && unit <= 0xFFFD);
        if (!allowed)
            return false;
    }
    return true;
}
} // namespace

CXmlNode::CXmlNode(_xmlNode* node) noexcept : m_pNode(node)
{
    AddRef();
}

CXmlNode::CXmlNode(const CXmlNode& other) noexcept : m_pNode(other.m_pNode)
{
    AddRef();
}

CXmlNode::CXmlNode(CXmlNode&& other) noexcept : m_pNode(std::exchange(other.m_pNode, nullptr)) {}

CXmlNode& CXmlNode::operator=(const CXmlNode& other) noexcept
{
    if (m_pNode != other.m_pNode) {
        other.AddRef();
        Release();
        m_pNode = other.m_pNode;
    }
    return *this;
}

CXmlNode& CXmlNode::operator=(CXmlNode&& other) noexcept
{
    if (this != &other) {
        Release();
        m_pNode = std::exchange(other.m_pNode, nullptr);
    }
    return *this;
}

CXmlNode::~CXmlNode()
{
    Release();
}

void CXmlNode::AddRef() const noexcept
{
    if (!m_pNode)
        return;
    // The document node is owned by its state, which every handle keeps alive.
    if (IsDocument(m_pNode)) {
        CXmlDocumentState::Of(m_pNode).AddRef();
        return;
    }
    const std::uintptr_t count = HandleCount(m_pNode);
    if (count == 0)
        CXmlDocumentState::Of(m_pNode).AddRef();
    SetHandleCount(m_pNode, count + 1);
}

void CXmlNode::Release() noexcept
{
    xmlNodePtr node = std::exchange(m_pNode, nullptr);
    if (!node)
        return;
    CXmlDocumentState& state = CXmlDocumentState::Of(node);
    if (!IsDocument(node)) {
        const std::uintptr_t count = HandleCount(node) - 1;
        SetHandleCount(node, count);
        if (count > 0)
            return;
        if (!node->parent)
            FreeDetached(node);
    }
    state.Release();
}

_xmlNode* CXmlNode::Checked() const
{
    if (!m_pNode)
        throw xml::_com_error(xml::E_POINTER);
    return m_pNode;
}

CXmlNodeList CXmlNode::SelectNodes(const CXmlString& expression) const
{
    return CXmlNodeList::Select(*this, expression);
}

bool CXmlNode::IsElement() const
{
    return Checked()->type == XML_ELEMENT_NODE;
}

CXmlString CXmlNode::GetNodeName() const
{
    xmlNodePtr node = Checked();
    switch (node->type) {
    case XML_ELEMENT_NODE:
    case XML_ATTRIBUTE_NODE:
        if (node->ns && node->ns->prefix) {
            const QString prefix = CXmlString::FromUtf8(node->ns->prefix).ToQString();
            const QString local = CXmlString::FromUtf8(node->name).ToQString();
            return CXmlString(prefix + QLatin1Char(':') + local);
        }
        return CXmlString::FromUtf8(node->name);
    case XML_TEXT_NODE:
        return CXmlString(QStringLiteral("#text"));
    case XML_CDATA_SECTION_NODE:
        return CXmlString(QStringLiteral("#cdata-section"));
    case XML_COMMENT_NODE:
        return CXmlString(QStringLiteral("#comment"));
    case XML_DOCUMENT_NODE:
    case XML_HTML_DOCUMENT_NODE:
        return CXmlString(QStringLiteral("#document"));
    default:
        return CXmlString::FromUtf8(node->name);
    }
}

CXmlNodeList CXmlNode::GetChildNodes() const
{
    return CXmlNodeList::ChildrenOf(*this);
}

xml::HRESULT CXmlNode::GetChildNodes(CXmlNodeList& list) const noexcept
{
    try {
        list = GetChildNodes();
        return xml::S_OK;
    } catch (const xml::_com_error& error) {
        list.Release();
        return error.Error();
    } catch (const std::bad_alloc&) {
        list.Release();
        return xml::E_OUTOFMEMORY;
    }
}

CXmlString CXmlNode::GetText() const
{
    xmlNodePtr node = Checked();
    xmlChar* content = xmlNodeGetContent(node);
    try {
        CXmlString text = CXmlString::FromUtf8(content);
        xmlFree(content);
        return text;
    } catch (...) {
        xmlFree(content);
        throw;
    }
}

void CXmlNode::SetText(const CXmlString& text)
{
    xmlNodePtr node = Checked();
    const qsizetype length = text.Utf8Length();
    if (!IsStorableInXml(text.ToQString()))
        throw xml::_com_error(xml::E_INVALIDARG,
                              QStringLiteral("The text holds a character that XML cannot store"));
    switch (node->type) {
    case XML_ELEMENT_NODE:
    case XML_ATTRIBUTE_NODE: {
        xmlNodePtr textNode = nullptr;
        if (length > 0) {
            textNode = xmlNewDocTextLen(node->doc, text.Utf8(), int(length));
            if (!textNode)
                throw xml::_com_error(xml::E_OUTOFMEMORY);
        }
        RemoveAllChildren(node);
        if (textNode)
            LinkLast(node, textNode);
        CXmlDocumentState::Of(node).Touch();
        break;
    }
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
        xmlNodeSetContentLen(node, text.Utf8(), int(length));
        break;
    default:
        ThrowWrongKind(QStringLiteral("Setting the text"));
    }
}

CXmlNode CXmlNode::AddChild(const CXmlNode& child)
{
    xmlNodePtr parent = Checked();
    xmlNodePtr node = child.Checked();
    if (node->doc != parent->doc)
        throw xml::_com_error(xml::E_INVALIDARG,
                              QStringLiteral("The node belongs to another document"));
    if (!IsChildKind(node) || (parent->type != XML_ELEMENT_NODE && !IsDocument(parent)))
        ThrowWrongKind(QStringLiteral("Appending a child"));
    for (xmlNodePtr ancestor = parent; ancestor; ancestor = ancestor->parent) {
        if (ancestor == node)
            throw xml::_com_error(xml::E_INVALIDARG,
                                  QStringLiteral("A node cannot become its own descendant"));
    }
    if (IsDocument(parent)) {
        if (node->type != XML_ELEMENT_NODE && node->type != XML_COMMENT_NODE &&
            node->type != XML_PI_NODE)
            ThrowWrongKind(QStringLiteral("Appending text to the document"));
        const xmlNodePtr root = xmlDocGetRootElement(parent->doc);
        if (node->type == XML_ELEMENT_NODE && root && root != node)
            throw xml::_com_error(xml::E_FAIL,
                                  QStringLiteral("Only one top level element is allowed"));
    }
    xmlUnlinkNode(node);
    LinkLast(parent, node);
    CXmlDocumentState::Of(parent).Touch();
    return child;
}

CXmlNode CXmlNode::RemoveChild(const CXmlNode& child)
{
    xmlNodePtr parent = Checked();
    xmlNodePtr node = child.Checked();
    if (node->parent != parent || !IsChildKind(node))
        throw xml::_com_error(xml::E_INVALIDARG,
                              QStringLiteral("The node to remove is not a child of this node"));
    // The returned handle keeps the node until the caller lets go of it.
    CXmlNode removed(child);
    xmlUnlinkNode(node);
    CXmlDocumentState::Of(parent).Touch();
    return removed;
}
