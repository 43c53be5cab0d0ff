// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "CXmlNode.h"
#include "CXmlNodeList.h"
#include "CXmlString.h"
#include "ComError.h"

#include <functional>

class CXmlDocumentState;
struct _xmlDoc;
struct _xmlNode;

// A counted handle to one XML document. Every operation but CreateInstance throws
// xml::_com_error, E_POINTER through an empty handle.
class CXmlDocument
{
public:
    // A favorites file is a few hundred kilobytes; anything near this is not one.
    static constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

    CXmlDocument() noexcept = default;
    CXmlDocument(const CXmlDocument& other) noexcept;
    CXmlDocument(CXmlDocument&& other) noexcept;
    CXmlDocument& operator=(const CXmlDocument& other) noexcept;
    CXmlDocument& operator=(CXmlDocument&& other) noexcept;
    ~CXmlDocument();

    // Sets the engine up once per process before the first document: nothing outside a
    // loaded file is ever read, and the engine writes nothing to the console.
    static void InitializeEngine();

    // Lets go of the document and leaves the handle empty.
    void Release() noexcept;
    [[nodiscard]] bool IsNull() const noexcept { return m_pState == nullptr; }

    // A new, empty document in place of whatever the handle held; the handle stays empty
    // on failure.
    [[nodiscard]] xml::HRESULT CreateInstance() noexcept;
    // True when the file was read and parsed. Otherwise the document is left empty and
    // GetParseError says why.
    bool Load(const QString& path);
    // The same for bytes already read; name stands for the file in messages.
    bool LoadXml(const QByteArray& bytes, const QString& name);
    // Offered each element right below the root as soon as it is parsed whole; true takes
    // it out of the tree at once, so a long list is read without ever being held whole.
    using TakeChild = std::function<bool(_xmlNode* element)>;
    // LoadXml, offering the root's elements to take as they are parsed; none is offered
    // when the document declares entities. What take was offered counts only when this
    // returns true. Whatever take throws is thrown again once the parse is over.
    bool LoadXml(const QByteArray& bytes, const QString& name, const TakeChild& take);
    [[nodiscard]] QString GetParseError() const;
    // Accepts the document as parsed back from the bytes about to be written.
    using ReadBack = std::function<bool(const CXmlDocument& written)>;
    // Runs once the new bytes have read back, just before they replace the file; throwing
    // stops the save.
    using BeforeReplace = std::function<void()>;
    // Replaces the file at once with the whole document, in the encoding its declaration
    // names when those bytes parse back (and readsBack accepts them), else in UTF-8 with a
    // declaration to match. Throws when neither reads back or the file would be larger
    // than Load accepts; after a failure the old file is as it was.
    void Save(const QString& path, const ReadBack& readsBack = {},
              const BeforeReplace& beforeReplace = {});
    // A new element that belongs to no tree until it is appended.
    [[nodiscard]] CXmlNode CreateElement(const CXmlString& name);
    // The matching nodes in document order, evaluated from the document node.
    [[nodiscard]] CXmlNodeList SelectNodes(const CXmlString& expression) const;

private:
    [[nodiscard]] CXmlDocumentState& State() const;
    // Takes over parsed (null when parsing failed, with the reason in error).
    bool Adopt(_xmlDoc* parsed, const QString& error);

    CXmlDocumentState* m_pState = nullptr;
};
