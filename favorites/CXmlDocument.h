#pragma once

#include "CXmlNode.h"
#include "CXmlNodeList.h"
#include "CXmlString.h"
#include "ComError.h"

class CXmlDocumentState;

// A counted handle to one XML document. Every operation but CreateInstance throws
// xml::_com_error, E_POINTER through an empty handle.
class CXmlDocument
{
public:
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
    [[nodiscard]] QString GetParseError() const;
    // Writes the whole document in the encoding its declaration names, replacing the file
    // at once: after a failure the old file is as it was.
    void Save(const QString& path);
    // A new element that belongs to no tree until it is appended.
    [[nodiscard]] CXmlNode CreateElement(const CXmlString& name);
    // The matching nodes in document order, evaluated from the document node.
    [[nodiscard]] CXmlNodeList SelectNodes(const CXmlString& expression) const;

private:
    [[nodiscard]] CXmlDocumentState& State() const;

    CXmlDocumentState* m_pState = nullptr;
};
