// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "CXmlString.h"
#include "ComError.h"

struct _xmlNode;
class CXmlNodeList;

// A counted handle to one node. The node's document lives while the handle does; a node
// that belongs to no tree (removed, or created and never attached) is freed with its last
// handle. Every operation throws xml::_com_error, E_POINTER through an empty handle.
class CXmlNode
{
public:
    CXmlNode() noexcept = default;
    CXmlNode(const CXmlNode& other) noexcept;
    CXmlNode(CXmlNode&& other) noexcept;
    CXmlNode& operator=(const CXmlNode& other) noexcept;
    CXmlNode& operator=(CXmlNode&& other) noexcept;
    ~CXmlNode();

    // Lets go of the node and leaves the handle empty.
    void Release() noexcept;
    [[nodiscard]] bool IsNull() const noexcept { return m_pNode == nullptr; }
    // True when both handles refer to the same node.
    [[nodiscard]] bool IsSameNode(const CXmlNode& other) const noexcept
    {
        return m_pNode == other.m_pNode;
    }

    // The matching nodes in document order, evaluated from this node.
    [[nodiscard]] CXmlNodeList SelectNodes(const CXmlString& expression) const;
    [[nodiscard]] bool IsElement() const;
    // The qualified name of an element or attribute, "#text", "#comment" and so on otherwise.
    [[nodiscard]] CXmlString GetNodeName() const;
    // A live list: it follows children being added and removed.
    [[nodiscard]] CXmlNodeList GetChildNodes() const;
    // The same, returning the status instead of throwing; list is left empty on failure.
    [[nodiscard]] xml::HRESULT GetChildNodes(CXmlNodeList& list) const noexcept;
    // The text content of the node and everything below it.
    [[nodiscard]] CXmlString GetText() const;
    // Replaces the node's content with one text; E_INVALIDARG for characters XML cannot hold.
    void SetText(const CXmlString& text);
    // Appends child as the last child, moving it from wherever it was. Returns child.
    CXmlNode AddChild(const CXmlNode& child);
    // Takes child out of this node's children. Returns child, which now belongs to no tree.
    CXmlNode RemoveChild(const CXmlNode& child);

private:
    friend class CXmlDocument;
    friend class CXmlNodeList;
    // Reads whole lists of favorites straight from the engine's tree.
    friend class CFavoritesChange;

    // Adds a handle to node.
    explicit CXmlNode(_xmlNode* node) noexcept;
    [[nodiscard]] _xmlNode* Checked() const;
    void AddRef() const noexcept;

    _xmlNode* m_pNode = nullptr;
};
