// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "CXmlNode.h"
#include "ComError.h"

#include <memory>

// A counted handle to a list of nodes: the result of a selection, or the live children of
// a node. Every operation throws xml::_com_error, E_POINTER through an empty handle.
class CXmlNodeList
{
public:
    CXmlNodeList() noexcept = default;

    void Release() noexcept { m_pData.reset(); }
    [[nodiscard]] bool IsNull() const noexcept { return m_pData == nullptr; }

    [[nodiscard]] long GetLength() const;
    // An empty node when index is outside the list.
    [[nodiscard]] CXmlNode GetItem(long index) const;
    // The same, returning the status instead of throwing: S_FALSE outside the list, a failure
    // status (node left empty) when the item cannot be fetched.
    [[nodiscard]] xml::HRESULT GetItem(long index, CXmlNode& node) const noexcept;

private:
    friend class CXmlNode;
    friend class CXmlDocument;
    struct Data;

    explicit CXmlNodeList(std::shared_ptr<Data> data) noexcept;
    [[nodiscard]] static CXmlNodeList Select(const CXmlNode& context, const CXmlString& expression);
    [[nodiscard]] static CXmlNodeList ChildrenOf(const CXmlNode& parent);
    [[nodiscard]] Data& Checked() const;

    std::shared_ptr<Data> m_pData;
};
