// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CBookmarksReader.h"

#include "CXmlAtomicFile.h"
#include "CXmlDocument.h"

#include <QUrl>

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>

#include <climits>
#include <memory>
#include <new>
#include <optional>
#include <vector>

namespace {
// Browsers' files with tens of thousands of bookmarks stay far below this.
constexpr qint64 kMaxBookmarksFileSize = 64 * 1024 * 1024;

constexpr int kParseOptions =
    HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING;

bool Is(const xmlChar* name, const char* expected)
{
    return name && xmlStrcasecmp(name, BAD_CAST expected) == 0;
}

// Text files hold no NUL bytes, unless they are UTF-16 or UTF-32 with a byte order mark.
bool LooksBinary(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") ||
        bytes.startsWith(QByteArray("\x00\x00\xFE\xFF", 4)))
        return false;
    return bytes.contains('\0');
}

bool IsWebAddress(const QString& address)
{
    const QUrl url(address, QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

// What the parser reports as it reads. A bookmarks file nests an entry (<DT>) in the one
// before it when their end tags are missing, as they always are, so the file is read as
// a stream of tags: a tree of ten thousand levels would be refused or be slow.
struct Reading
{
    CBookmarksReader::Result* result = nullptr;
    bool sawElement = false;
    bool bookmarkType = false;
    bool listedLink = false;
    int openLists = 0;
    int openEntries = 0;
    bool inLink = false;
    QString address;
    QByteArray text;
    // A heading being read, and the name the next list takes from the last one.
    bool inHeading = false;
    QByteArray heading;
    std::optional<QString> pendingFolder;
    // One entry per open list: the folder it is, or none.
    std::vector<std::optional<QString>> lists;
    QStringList folder;

    void OpenList()
    {
        lists.push_back(pendingFolder);
        if (pendingFolder) {
            folder.append(*pendingFolder);
            result->folders.append(folder);
        }
        pendingFolder.reset();
    }
    void CloseList()
    {
        if (lists.empty())
            return;
        if (lists.back())
            folder.removeLast();
        lists.pop_back();
    }
    void EndHeading(bool topHeading)
    {
        if (!inHeading)
            return;
        inHeading = false;
        const QString name = QString::fromUtf8(heading).simplified();
        if (!topHeading ||
            (!name.isEmpty() && name.compare(QLatin1String("Bookmarks"), Qt::CaseInsensitive) != 0))
            pendingFolder = name;
    }

    void EndLink()
    {
        if (!inLink)
            return;
        inLink = false;
        listedLink = listedLink || (openLists > 0 && openEntries > 0);
        if (IsWebAddress(address))
            result->links.append({QString::fromUtf8(text), address, folder});
        else
            ++result->notWeb;
    }
};

Reading& StateOf(void* context)
{
    return *static_cast<Reading*>(static_cast<htmlParserCtxtPtr>(context)->_private);
}

void OnDocumentType(void* context, const xmlChar* name, const xmlChar*, const xmlChar*)
{
    StateOf(context).bookmarkType = Is(name, "NETSCAPE-Bookmark-file-1");
}

void OnStart(void* context, const xmlChar* name, const xmlChar** attributes)
{
    Reading& state = StateOf(context);
    state.sawElement = true;
    if (Is(name, "dl")) {
        ++state.openLists;
        state.OpenList();
    } else if (Is(name, "h3") || Is(name, "h1")) {
        state.EndLink();
        state.inHeading = true;
        state.heading.clear();
        state.pendingFolder.reset();
    } else if (Is(name, "dt")) {
        ++state.openEntries;
    } else if (Is(name, "a")) {
        state.EndLink();
        state.pendingFolder.reset();
        for (const xmlChar** attribute = attributes; attribute && attribute[0]; attribute += 2) {
            if (!Is(attribute[0], "href"))
                continue;
            state.inLink = true;
            state.address =
                QString::fromUtf8(reinterpret_cast<const char*>(attribute[1])).trimmed();
            state.text.clear();
        }
    }
}

void OnEnd(void* context, const xmlChar* name)
{
    Reading& state = StateOf(context);
    if (Is(name, "dl")) {
        --state.openLists;
        state.CloseList();
    } else if (Is(name, "h3") || Is(name, "h1"))
        state.EndHeading(Is(name, "h1"));
    else if (Is(name, "dt"))
        --state.openEntries;
    else if (Is(name, "a"))
        state.EndLink();
}

void OnText(void* context, const xmlChar* text, int length)
{
    Reading& state = StateOf(context);
    if (state.inLink)
        state.text.append(reinterpret_cast<const char*>(text), length);
    else if (state.inHeading)
        state.heading.append(reinterpret_cast<const char*>(text), length);
}
} // namespace

bool CBookmarksReader::ReadFile(const QString& path, Result& result, QString& error)
{
    QByteArray bytes;
    return CXmlAtomicFile::ReadWhole(path, kMaxBookmarksFileSize, bytes, error) &&
           Parse(bytes, result, error);
}

bool CBookmarksReader::Parse(const QByteArray& bytes, Result& result, QString& error)
{
    result = {};
    const QString notBookmarks =
        QStringLiteral("it is not a bookmarks file (the HTML file a web browser exports its "
                       "bookmarks to)");
    if (LooksBinary(bytes)) {
        error = notBookmarks + QStringLiteral(": it is not even text");
        return false;
    }
    if (bytes.isEmpty() || bytes.size() > INT_MAX) {
        error = notBookmarks;
        return false;
    }
    CXmlDocument::InitializeEngine();
    const std::unique_ptr<htmlParserCtxt, decltype(&htmlFreeParserCtxt)> context(
        htmlCreateMemoryParserCtxt(bytes.constData(), int(bytes.size())), &htmlFreeParserCtxt);
    if (!context || !context->sax)
        throw std::bad_alloc();
    htmlCtxtUseOptions(context.get(), kParseOptions);
    // Only these events: no tree is built.
    xmlSAXHandler& events = *context->sax;
    events = xmlSAXHandler{};
    events.internalSubset = OnDocumentType;
    events.startElement = OnStart;
    events.endElement = OnEnd;
    events.characters = OnText;
    events.ignorableWhitespace = OnText;
    events.cdataBlock = OnText;
    Reading state;
    state.result = &result;
    context->_private = &state;
    htmlParseDocument(context.get());
    state.EndLink();

    // Every browser writes the document type; files without it still count when their
    // links sit in bookmark lists.
    if (!state.sawElement || !(state.bookmarkType || state.listedLink)) {
        result = {};
        error = notBookmarks;
        return false;
    }
    return true;
}
