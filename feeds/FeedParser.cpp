// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FeedParser.h"

#include "AtomReader.h"
#include "FeedEncoding.h"
#include "FeedMarkupRepair.h"
#include "FeedText.h"
#include "FeedXml.h"
#include "JsonFeedReader.h"
#include "RssReader.h"
#include "platform/network/WebAddress.h"

#include <QCryptographicHash>
#include <QUtf8StringView>

#include <libxml/parser.h>

#include <memory>

namespace {
// Recovery gives what a malformed document still holds; CDATA reads as text; NONET and
// the absence of NOENT, DTDLOAD and DTDATTR keep every DTD and external entity out.
constexpr int kParseOptions = XML_PARSE_RECOVER | XML_PARSE_NONET | XML_PARSE_NOERROR |
                              XML_PARSE_NOWARNING | XML_PARSE_NOCDATA | XML_PARSE_COMPACT;

// The first character that is not white space, past any byte-order mark; 0 when none.
QChar firstSignificant(const QByteArray& document)
{
    const FeedEncoding::Mark mark = FeedEncoding::ByteOrderMark(document);
    if (mark == FeedEncoding::Mark::Utf16 || mark == FeedEncoding::Mark::Utf32) {
        const QString text = FeedEncoding::Decode(document.left(256), {}).trimmed();
        return text.isEmpty() ? QChar() : text[0];
    }
    for (qsizetype i = mark == FeedEncoding::Mark::Utf8 ? 3 : 0; i < document.size(); ++i) {
        const char c = document[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0)
            continue;
        return QLatin1Char(c);
    }
    return {};
}

using Document = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;
using Context = std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)>;

Document read(const QByteArray& bytes, const QByteArray& url, const QByteArray& encoding,
              int* errorCode, QString* message, bool* wellFormed = nullptr)
{
    Context context(xmlNewParserCtxt(), &xmlFreeParserCtxt);
    if (!context)
        return {nullptr, &xmlFreeDoc};
    Document doc(xmlCtxtReadMemory(context.get(), bytes.constData(), int(bytes.size()),
                                   url.isEmpty() ? nullptr : url.constData(),
                                   encoding.isEmpty() ? nullptr : encoding.constData(),
                                   kParseOptions),
                 &xmlFreeDoc);
    *errorCode = context->errNo;
    if (wellFormed)
        *wellFormed = context->wellFormed != 0;
    if (const xmlError* error = xmlCtxtGetLastError(context.get()); error && error->message)
        *message = QString::fromUtf8(error->message).trimmed();
    return doc;
}
} // namespace

ParsedFeed FeedParser::Parse(const QByteArray& document, const QUrl& address,
                             const QByteArray& serverCharset)
{
    ParsedFeed feed;
    if (document.size() > kMaxBytes) {
        feed.error = QStringLiteral("larger than %1 MiB").arg(kMaxBytes / (1024 * 1024));
        return feed;
    }
    const QChar first = firstSignificant(document);
    if (first.isNull()) {
        feed.error = QStringLiteral("an empty document");
        return feed;
    }
    if (first == QLatin1Char('{'))
        feed =
            JsonFeedReader::Read(FeedEncoding::Decode(document, serverCharset), address, kMaxItems);
    else if (first == QLatin1Char('<'))
        feed = ParseXml(document, address, serverCharset);
    else
        feed.error = QStringLiteral("neither XML nor JSON");
    if (feed.isFeed())
        Finish(feed);
    else
        feed.items.clear();
    return feed;
}

ParsedFeed FeedParser::ParseXml(const QByteArray& document, const QUrl& address,
                                const QByteArray& serverCharset)
{
    FeedXml::SilenceThread();
    ParsedFeed feed;
    const bool ascii = FeedEncoding::IsAsciiCompatible(document);
    const QByteArray bytes = ascii ? FeedMarkupRepair::Apply(document) : document;
    const QByteArray declared = ascii ? FeedEncoding::XmlDeclared(document) : QByteArray();
    // A document's own word on its encoding wins over the server's, which is more often a
    // server-wide default than a fact about this file.
    QByteArray encoding;
    if (ascii && declared.isEmpty() &&
        FeedEncoding::ByteOrderMark(document) == FeedEncoding::Mark::None) {
        if (!serverCharset.isEmpty() && serverCharset != "utf-8" && serverCharset != "utf8")
            encoding = serverCharset;
        else if (serverCharset.isEmpty() && !QUtf8StringView(bytes).isValidUtf8())
            encoding = "windows-1252"; // what undeclared text that is not UTF-8 mostly is
    }
    const QByteArray url = address.isEmpty() ? QByteArray() : address.toEncoded();

    int errorCode = 0;
    QString message;
    bool wellFormed = true;
    Document doc = read(bytes, url, encoding, &errorCode, &message, &wellFormed);
    if (ascii && !wellFormed && errorCode != XML_ERR_UNSUPPORTED_ENCODING) {
        // Past its first error the parser drops named references: none are left this time.
        doc = read(FeedMarkupRepair::Apply(document, FeedMarkupRepair::Names::All), url, encoding,
                   &errorCode, &message);
    }
    if ((!doc || !xmlDocGetRootElement(doc.get())) && errorCode == XML_ERR_UNSUPPORTED_ENCODING) {
        // An encoding libxml2 cannot convert may still be one Qt can.
        bool known = false;
        const QByteArray utf8 =
            FeedEncoding::ToUtf8(bytes, encoding.isEmpty() ? declared : encoding, &known);
        if (known)
            doc = read(utf8, url, "UTF-8", &errorCode, &message);
        else if (!encoding.isEmpty())
            doc = read(bytes, url, {}, &errorCode, &message); // the server's word was noise
    }
    const xmlNode* root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    if (!root) {
        feed.error = message.isEmpty() ? QStringLiteral("XML that cannot be read")
                                       : QStringLiteral("XML that cannot be read: %1").arg(message);
        return feed;
    }
    const QByteArray name = FeedXml::LocalName(root);
    if (name == "rss" || name == "RDF")
        return RssReader::Read(root, kMaxItems);
    if (name == "feed")
        return AtomReader::Read(root, kMaxItems);
    if (name.compare("html", Qt::CaseInsensitive) == 0)
        feed.error = QStringLiteral("a web page, not a feed");
    else
        feed.error = QStringLiteral("XML, but not a feed (its root is <%1>)")
                         .arg(QString::fromUtf8(name.left(64)));
    return feed;
}

void FeedParser::Finish(ParsedFeed& feed)
{
    if (!WebAddress::IsWeb(QUrl(feed.link)))
        feed.link.clear();
    QList<FeedItem> kept;
    kept.reserve(feed.items.size());
    for (FeedItem& item : feed.items) {
        // Only web pages are opened from a feed: javascript:, file:, data: and the like
        // keep their item but lose the link.
        if (!WebAddress::IsWeb(QUrl(item.link)))
            item.link.clear();
        if (item.id.isEmpty())
            item.id = item.link;
        item.summary = FeedText::Shorten(item.summary);
        if (item.title.isEmpty() && item.link.isEmpty() && item.summary.isEmpty())
            continue;
        if (item.id.isEmpty()) {
            // Nothing names the item: its words do, so the next read finds it again.
            const QByteArray words = (item.title + QLatin1Char('\n') + item.summary).toUtf8();
            item.id = QStringLiteral("sha1:") +
                      QString::fromLatin1(
                          QCryptographicHash::hash(words, QCryptographicHash::Sha1).toHex());
        }
        kept.append(std::move(item));
    }
    feed.items = std::move(kept);
}
