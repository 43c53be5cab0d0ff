#include "FeedText.h"

#include <QByteArray>

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

void appendCharacter(QString& out, char32_t code)
{
    // NUL, surrogates and anything past Unicode stand for nothing readable.
    if (code == 0 || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
        out += QChar(0xFFFD);
        return;
    }
    if (code < 0x20 || (code >= 0x7F && code < 0xA0)) {
        out += QLatin1Char(' ');
        return;
    }
    out += QString::fromUcs4(&code, 1);
}

// A character reference at text[at] ("&amp;", "&#233;", "&#xE9;"): appended, and the
// length it took returned; 0 when it is no reference.
qsizetype decodeReference(QStringView text, qsizetype at, QString& out)
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
        appendCharacter(out, code);
        return semicolon - at + 1;
    }
    const char32_t code = FeedText::NamedCharacter(body);
    if (code == 0)
        return 0;
    appendCharacter(out, code);
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
    if (name == QLatin1String("apos"))
        return U'\'';
    const QByteArray latin = name.toLatin1();
    const htmlEntityDesc* entity =
        htmlEntityLookup(reinterpret_cast<const xmlChar*>(latin.constData()));
    return entity ? entity->value : 0;
}

QString FeedText::FromHtml(QStringView html)
{
    QString out;
    out.reserve(html.size());
    qsizetype i = 0;
    while (i < html.size()) {
        const QChar c = html[i];
        if (c == QLatin1Char('&')) {
            const qsizetype used = decodeReference(html, i, out);
            if (used > 0) {
                i += used;
                continue;
            }
            out += c;
            ++i;
            continue;
        }
        if (c != QLatin1Char('<') || i + 1 >= html.size()) {
            out += c;
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
            out += c;
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
            out += QLatin1Char(' ');
    }
    return Collapse(out);
}

QString FeedText::Collapse(QStringView text)
{
    QString out;
    out.reserve(text.size());
    bool space = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool blank = c.isSpace() || u < 0x20 || (u >= 0x7F && u < 0xA0);
        if (blank) {
            space = !out.isEmpty();
            continue;
        }
        if (space) {
            out += QLatin1Char(' ');
            space = false;
        }
        out += c;
    }
    return out;
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
