// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FeedText.h"

#include <QByteArray>

#include <cstring>

#include <libxml/HTMLparser.h>

namespace {
bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

// Tags that end a line of text: their place becomes a space.
bool breaksText(QStringView name)
{
    static const char* const kBlocks[] = {
        "address", "article",    "aside",  "blockquote", "br",  "dd", "div", "dl",
        "dt",      "figcaption", "figure", "footer",     "h1",  "h2", "h3",  "h4",
        "h5",      "h6",         "header", "hr",         "img", "li", "ol",  "p",
        "pre",     "section",    "table",  "td",         "th",  "tr", "ul"};
    for (const char* block : kBlocks) {
        if (name.compare(QLatin1String(block), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool isBlank(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || u == 0x20 || (u >= 0x7F && u <= 0xA0) || (u > 0xFF && c.isSpace());
}

// Writes text with its white space collapsed as it comes, into room that is never
// outgrown: nothing here makes text longer than what it was made from.
class Collapsed
{
public:
    Collapsed(qsizetype room, qsizetype limit)
        : m_text(room + 2, Qt::Uninitialized), m_data(m_text.data()), m_limit(limit)
    {}

    [[nodiscard]] bool full() const { return m_limit >= 0 && m_size >= m_limit; }
    void blank() { m_space = m_size > 0; }
    void put(QChar c)
    {
        if (isBlank(c)) {
            blank();
            return;
        }
        if (m_space) {
            m_data[m_size++] = QLatin1Char(' ');
            m_space = false;
        }
        m_data[m_size++] = c;
    }
    void put(char32_t code)
    {
        // NUL, surrogates and anything past Unicode stand for nothing readable.
        if (code == 0 || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
            put(QChar(0xFFFD));
        } else if (QChar::requiresSurrogates(code)) {
            put(QChar(QChar::highSurrogate(code)));
            m_data[m_size++] = QChar(QChar::lowSurrogate(code));
        } else {
            put(QChar(char16_t(code)));
        }
    }
    [[nodiscard]] QString take()
    {
        m_text.truncate(m_limit >= 0 ? std::min(m_size, m_limit) : m_size);
        return std::move(m_text);
    }

private:
    QString m_text;
    QChar* m_data;
    qsizetype m_size = 0;
    qsizetype m_limit;
    bool m_space = false;
};

// A character reference at text[at] ("&amp;", "&#233;", "&#xE9;"): appended, and the
// length it took returned; 0 when it is no reference.
qsizetype decodeReference(QStringView text, qsizetype at, Collapsed& out)
{
    const qsizetype semicolon = text.indexOf(QLatin1Char(';'), at + 1);
    if (semicolon < 0 || semicolon - at > 40)
        return 0;
    const QStringView body = text.mid(at + 1, semicolon - at - 1);
    if (body.isEmpty())
        return 0;
    if (body[0] == QLatin1Char('#')) {
        const bool hex =
            body.size() > 1 && (body[1] == QLatin1Char('x') || body[1] == QLatin1Char('X'));
        const QStringView digits = body.mid(hex ? 2 : 1);
        if (digits.isEmpty() || digits.size() > 8)
            return 0;
        bool ok = false;
        const uint code = digits.toUInt(&ok, hex ? 16 : 10);
        if (!ok)
            return 0;
        out.put(char32_t(code));
        return semicolon - at + 1;
    }
    const char32_t code = FeedText::NamedCharacter(body);
    if (code == 0)
        return 0;
    out.put(code);
    return semicolon - at + 1;
}

// The end of a tag starting at text[at] ('<'), past its closing '>'; quoted attribute
// values may hold '>'. -1 when it never closes.
qsizetype tagEnd(QStringView text, qsizetype at)
{
    QChar quote;
    for (qsizetype i = at + 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char('>')) {
            return i + 1;
        }
    }
    return -1;
}
} // namespace

char32_t FeedText::NamedCharacter(QStringView name)
{
    if (name.size() > 32)
        return 0;
    char latin[33];
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name[i].unicode() > 0x7F)
            return 0;
        latin[i] = char(name[i].unicode());
    }
    return NamedCharacter(QLatin1StringView(latin, name.size()));
}

char32_t FeedText::NamedCharacter(QLatin1StringView name)
{
    // The names that come by the thousand, before the table's slow search.
    if (name == QLatin1String("amp"))
        return U'&';
    if (name == QLatin1String("lt"))
        return U'<';
    if (name == QLatin1String("gt"))
        return U'>';
    if (name == QLatin1String("quot"))
        return U'"';
    if (name == QLatin1String("apos"))
        return U'\'';
    if (name == QLatin1String("nbsp"))
        return 0xA0;
    if (name.size() > 32)
        return 0;
    char key[33];
    std::memcpy(key, name.data(), size_t(name.size()));
    key[name.size()] = 0;
    const htmlEntityDesc* entity = htmlEntityLookup(reinterpret_cast<const xmlChar*>(key));
    return entity ? entity->value : 0;
}

QString FeedText::FromHtml(QStringView html, qsizetype limit)
{
    Collapsed out(html.size(), limit);
    qsizetype i = 0;
    while (i < html.size() && !out.full()) {
        const QChar c = html[i];
        if (c == QLatin1Char('&')) {
            const qsizetype used = decodeReference(html, i, out);
            if (used > 0) {
                i += used;
                continue;
            }
            out.put(c);
            ++i;
            continue;
        }
        if (c != QLatin1Char('<') || i + 1 >= html.size()) {
            out.put(c);
            ++i;
            continue;
        }
        const QChar next = html[i + 1];
        if (html.mid(i, 4) == QLatin1String("<!--")) {
            const qsizetype end = html.indexOf(QLatin1String("-->"), i + 4);
            i = end < 0 ? html.size() : end + 3;
            continue;
        }
        const bool closing = next == QLatin1Char('/');
        const bool opens = isAsciiLetter(next) || next == QLatin1Char('!') ||
                           next == QLatin1Char('?') ||
                           (closing && i + 2 < html.size() && isAsciiLetter(html[i + 2]));
        const qsizetype end = opens ? tagEnd(html, i) : -1;
        if (end < 0) {
            // "a < b", or a tag that never closes: text as written.
            out.put(c);
            ++i;
            continue;
        }
        qsizetype nameStart = i + (closing ? 2 : 1);
        qsizetype nameEnd = nameStart;
        while (nameEnd < end &&
               (html[nameEnd].isLetterOrNumber() || html[nameEnd] == QLatin1Char('-')))
            ++nameEnd;
        const QStringView name = html.mid(nameStart, nameEnd - nameStart);
        i = end;
        if (!closing && (name.compare(QLatin1String("script"), Qt::CaseInsensitive) == 0 ||
                         name.compare(QLatin1String("style"), Qt::CaseInsensitive) == 0)) {
            // Their text is code, never news: everything up to the closing tag goes.
            const QString closer = QLatin1String("</") + name.toString();
            const qsizetype stop = html.indexOf(closer, i, Qt::CaseInsensitive);
            if (stop < 0) {
                i = html.size();
            } else {
                const qsizetype after = tagEnd(html, stop);
                i = after < 0 ? html.size() : after;
            }
            continue;
        }
        if (breaksText(name))
            out.blank();
    }
    return out.take();
}

QString FeedText::Collapse(QStringView text, qsizetype limit)
{
    Collapsed out(text.size(), limit);
    for (qsizetype i = 0; i < text.size() && !out.full(); ++i)
        out.put(text[i]);
    return out.take();
}

QString FeedText::Shorten(const QString& text, int length)
{
    if (text.size() <= length)
        return text;
    qsizetype cut = text.lastIndexOf(QLatin1Char(' '), length);
    if (cut < length / 2)
        cut = length;
    // A surrogate pair stays whole.
    if (cut > 0 && text[cut - 1].isHighSurrogate())
        --cut;
    return text.left(cut).trimmed() + QChar(0x2026);
}
