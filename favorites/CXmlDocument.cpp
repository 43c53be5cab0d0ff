// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CXmlDocument.h"

#include "CXmlAtomicFile.h"
#include "CXmlDocumentState.h"
#include "CXmlTestSeam.h"

#include <QFile>

#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <unordered_map>
#include <utility>

namespace {
constexpr qint64 kMaxFileSize = CXmlDocument::kMaxFileSize;

// Entity references stay references in the tree, so their text is produced again each
// time content is read: a few bytes of references can stand for gigabytes. A document
// whose references expand beyond this is refused; favorites need no entities at all, and
// every tree build and list fill reads the whole file again.
constexpr qint64 kExpansionAllowance = 64 * 1024;
constexpr qint64 kExpansionFactor = 10;
constexpr int kMaxEntityNesting = 40;

// Without NOENT, DTDLOAD and DTDATTR no entity is substituted and no external subset is
// read; NONET keeps the parser off the network; the default size and depth limits stay on.
constexpr int kParseOptions =
    XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

void IgnoreMessage(void*, const char*, ...) {}

// The parse options already keep external entities and subsets out; this also covers
// any path through the engine that would load one anyway.
xmlParserInputPtr RefuseExternalEntity(const char*, const char*, xmlParserCtxtPtr)
{
    return nullptr;
}

using EntitySizes = std::unordered_map<xmlEntityPtr, qint64>;

// The text an entity reference stands for, counted once per entity; anything above limit
// is as bad as limit + 1.
qint64 ExpandedSize(xmlDocPtr doc, xmlNodePtr reference, qint64 limit, int depth,
                    EntitySizes& sizes)
{
    const xmlEntityPtr entity = xmlGetDocEntity(doc, reference->name);
    if (!entity)
        return 0;
    if (depth > kMaxEntityNesting)
        return limit + 1;
    if (const auto known = sizes.find(entity); known != sizes.end())
        return known->second;
    qint64 size = 0;
    for (xmlNodePtr part = entity->children; part && size <= limit; part = part->next) {
        CXmlDocumentState::VisitTree(part, [&](xmlNodePtr node) {
            if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE)
                size += xmlStrlen(node->content);
            else if (node->type == XML_ENTITY_REF_NODE)
                size += ExpandedSize(doc, node, limit, depth + 1, sizes);
            return size <= limit;
        });
    }
    sizes.emplace(entity, size);
    return size;
}

bool ExpansionExceeds(xmlDocPtr doc, qint64 limit)
{
    EntitySizes sizes;
    qint64 total = 0;
    CXmlDocumentState::VisitTree(reinterpret_cast<xmlNodePtr>(doc), [&](xmlNodePtr node) {
        if (node->type == XML_ENTITY_REF_NODE)
            total += ExpandedSize(doc, node, limit, 0, sizes);
        return total <= limit;
    });
    return total > limit;
}

// The engine's messages may quote bytes of the file that are not UTF-8: those become
// replacement characters instead of hiding the message.
QString ParserMessage(xmlParserCtxtPtr context)
{
    const xmlError* error = xmlCtxtGetLastError(context);
    if (!error || !error->message)
        return QStringLiteral("Not well-formed XML");
    const QString message = QString::fromUtf8(error->message).trimmed();
    return QStringLiteral("Not well-formed XML (line %1: %2)").arg(error->line).arg(message);
}

// What a parse offers to take, and what taking threw.
struct Taking
{
    const CXmlDocument::TakeChild& take;
    endElementNsSAX2Func endElement = nullptr;
    std::exception_ptr thrown;
};

// The end of an element as the tree builder sees it, after which an element right below
// the root is offered whole, unless entities are declared: their expansion is measured
// over the whole tree once it is parsed.
void EndElementTaking(void* parser, const xmlChar* name, const xmlChar* prefix, const xmlChar* uri)
{
    auto* context = static_cast<xmlParserCtxtPtr>(parser);
    auto* taking = static_cast<Taking*>(context->_private);
    taking->endElement(parser, name, prefix, uri);
    const xmlDocPtr doc = context->myDoc;
    if (taking->thrown || context->nodeNr != 1 || !context->node || !doc ||
        (doc->intSubset && doc->intSubset->entities))
        return;
    const xmlNodePtr element = context->node->last;
    if (!element || element->type != XML_ELEMENT_NODE || !xmlStrEqual(element->name, name))
        return;
    try {
        if (!taking->take(element))
            return;
    } catch (...) {
        // Nothing may unwind through the engine: thrown again once the parse is over.
        taking->thrown = std::current_exception();
        return;
    }
    xmlUnlinkNode(element);
    xmlFreeNode(element);
    // The parser's note of the text node it is filling may now name the wrong one: text
    // that follows is added afresh, as after an entity reference's content.
    context->nodemem = 0;
    context->nodelen = 0;
}

// The parsed bytes, or null with the reason in error. Loading and the check of every save
// go through here, so a file the program writes is always one it reads. With take, the
// root's elements are offered to it as they are parsed.
xmlDocPtr ParseBytes(const QByteArray& bytes, const QString& path, QString& error,
                     const CXmlDocument::TakeChild* take = nullptr)
{
    if (bytes.size() > kMaxFileSize) {
        error = QStringLiteral("The file is larger than %1 bytes").arg(kMaxFileSize);
        return nullptr;
    }
    const std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)> context(xmlNewParserCtxt(),
                                                                               &xmlFreeParserCtxt);
    if (!context)
        throw xml::_com_error(xml::E_OUTOFMEMORY);
    std::optional<Taking> taking;
    if (take && *take && context->sax) {
        taking.emplace(Taking{*take, context->sax->endElementNs, {}});
        context->_private = &*taking;
        context->sax->endElementNs = EndElementTaking;
    }
    const QByteArray url = QFile::encodeName(path);
    xmlDocPtr doc = xmlCtxtReadMemory(context.get(), bytes.constData(), int(bytes.size()),
                                      url.constData(), nullptr, kParseOptions);
    if (taking && taking->thrown) {
        xmlFreeDoc(doc);
        std::rethrow_exception(taking->thrown);
    }
    if (!doc) {
        error = ParserMessage(context.get());
        return nullptr;
    }
    if (doc->intSubset && doc->intSubset->entities &&
        ExpansionExceeds(doc, kExpansionAllowance + kExpansionFactor * bytes.size())) {
        xmlFreeDoc(doc);
        error = QStringLiteral("Its entity references expand beyond the allowed size");
        return nullptr;
    }
    return doc;
}

xmlDocPtr ParseFile(const QString& path, QString& error)
{
    QByteArray bytes;
    if (!CXmlAtomicFile::ReadWhole(path, kMaxFileSize, bytes, error))
        return nullptr;
    return ParseBytes(bytes, path, error);
}

enum class Layout
{
    Indented,
    Compact
};

// The whole document in encoding (its declaration names it), or empty when the engine
// cannot write it so.
QByteArray Serialize(xmlDocPtr doc, const char* encoding, Layout layout)
{
    xmlChar* bytes = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(doc, &bytes, &size, encoding, layout == Layout::Indented ? 1 : 0);
    if (!bytes)
        return {};
    const std::unique_ptr<xmlChar, decltype(xmlFree)> owner(bytes, xmlFree);
    return size > 0 ? QByteArray(reinterpret_cast<const char*>(bytes), size) : QByteArray();
}
} // namespace

CXmlDocument::CXmlDocument(const CXmlDocument& other) noexcept : m_pState(other.m_pState)
{
    if (m_pState)
        m_pState->AddRef();
}

CXmlDocument::CXmlDocument(CXmlDocument&& other) noexcept
    : m_pState(std::exchange(other.m_pState, nullptr))
{}

CXmlDocument& CXmlDocument::operator=(const CXmlDocument& other) noexcept
{
    if (m_pState != other.m_pState) {
        if (other.m_pState)
            other.m_pState->AddRef();
        Release();
        m_pState = other.m_pState;
    }
    return *this;
}

CXmlDocument& CXmlDocument::operator=(CXmlDocument&& other) noexcept
{
    if (this != &other) {
        Release();
        m_pState = std::exchange(other.m_pState, nullptr);
    }
    return *this;
}

CXmlDocument::~CXmlDocument()
{
    Release();
}

void CXmlDocument::InitializeEngine()
{
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(RefuseExternalEntity);
        xmlSetGenericErrorFunc(nullptr, IgnoreMessage);
        xmlSetStructuredErrorFunc(nullptr, nullptr);
    });
}

void CXmlDocument::Release() noexcept
{
    if (CXmlDocumentState* state = std::exchange(m_pState, nullptr))
        state->Release();
}

CXmlDocumentState& CXmlDocument::State() const
{
    if (!m_pState)
        throw xml::_com_error(xml::E_POINTER);
    return *m_pState;
}

xml::HRESULT CXmlDocument::CreateInstance() noexcept
{
    Release();
    const xml::HRESULT injected = CXmlTestSeam::GetFailures().createStatus;
    if (xml::Failed(injected))
        return injected;
    InitializeEngine();
    m_pState = CXmlDocumentState::Create();
    return m_pState ? xml::S_OK : xml::E_OUTOFMEMORY;
}

bool CXmlDocument::Load(const QString& path)
{
    QString error;
    return Adopt(ParseFile(path, error), error);
}

bool CXmlDocument::LoadXml(const QByteArray& bytes, const QString& name)
{
    QString error;
    return Adopt(ParseBytes(bytes, name, error), error);
}

bool CXmlDocument::LoadXml(const QByteArray& bytes, const QString& name, const TakeChild& take)
{
    QString error;
    return Adopt(ParseBytes(bytes, name, error, &take), error);
}

bool CXmlDocument::Adopt(_xmlDoc* parsed, const QString& error)
{
    CXmlDocumentState& state = State();
    xmlDocPtr doc = parsed ? parsed : xmlNewDoc(BAD_CAST "1.0");
    if (!doc)
        throw xml::_com_error(xml::E_OUTOFMEMORY);
    try {
        state.Replace(doc);
        state.SetParseError(error);
    } catch (const std::bad_alloc&) {
        if (state.Document() != doc)
            xmlFreeDoc(doc);
        throw xml::_com_error(xml::E_OUTOFMEMORY);
    }
    return error.isEmpty();
}

QString CXmlDocument::GetParseError() const
{
    return State().ParseError();
}

void CXmlDocument::Save(const QString& path, const ReadBack& readsBack,
                        const BeforeReplace& beforeReplace)
{
    xmlDocPtr doc = State().Document();
    const char* declared = reinterpret_cast<const char*>(doc->encoding);
    // The declared encoding first; when its bytes do not read back as this document, UTF-8,
    // which holds every character, with a declaration that says so.
    QString reason;
    for (const char* encoding : {declared, "UTF-8"}) {
        QByteArray bytes = Serialize(doc, encoding, Layout::Indented);
        // Indenting adds a line and its blanks to every element: a compact file near the cap
        // that was read must be writable again, so it is then written compact as it came.
        if (bytes.size() > kMaxFileSize)
            bytes = Serialize(doc, encoding, Layout::Compact);
        if (bytes.isEmpty()) {
            reason = QStringLiteral("It cannot be written in the encoding %1")
                         .arg(QString::fromUtf8(encoding ? encoding : "UTF-8"));
            continue;
        }
        if (bytes.size() > kMaxFileSize) {
            throw xml::_com_error(
                xml::E_FAIL, QStringLiteral("It would grow to %1 bytes, more than the %2 bytes "
                                            "the program reads; nothing was written")
                                 .arg(bytes.size())
                                 .arg(kMaxFileSize));
        }
        QString error;
        CXmlDocument written;
        if (xml::Failed(written.CreateInstance()))
            throw xml::_com_error(xml::E_OUTOFMEMORY);
        if (!written.Adopt(ParseBytes(bytes, path, error), error)) {
            reason = QStringLiteral("Written in %1 it would not read back: %2")
                         .arg(QString::fromUtf8(encoding ? encoding : "UTF-8"), error);
            continue;
        }
        if (readsBack && !readsBack(written)) {
            reason = QStringLiteral("Written in %1 it would not read back as the same content")
                         .arg(QString::fromUtf8(encoding ? encoding : "UTF-8"));
            continue;
        }
        if (beforeReplace)
            beforeReplace();
        CXmlAtomicFile::Write(path, bytes.constData(), bytes.size());
        return;
    }
    throw xml::_com_error(xml::E_FAIL, reason + QStringLiteral("; nothing was written"));
}

CXmlNode CXmlDocument::CreateElement(const CXmlString& name)
{
    xmlDocPtr doc = State().Document();
    if (xmlValidateName(name.Utf8(), 0) != 0)
        throw xml::_com_error(
            xml::E_FAIL,
            QStringLiteral("\"%1\" is not a valid element name").arg(name.ToQString()));
    xmlNodePtr element = xmlNewDocNode(doc, nullptr, name.Utf8(), nullptr);
    if (!element)
        throw xml::_com_error(xml::E_OUTOFMEMORY);
    return CXmlNode(element);
}

CXmlNodeList CXmlDocument::SelectNodes(const CXmlString& expression) const
{
    return CXmlNodeList::Select(CXmlNode(reinterpret_cast<xmlNodePtr>(State().Document())),
                                expression);
}
