// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FeedMarkupRepair.h"

#include "FeedText.h"

#include <QString>

#include <cstring>

namespace {
bool isNameStart(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool isNameChar(char c)
{
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '.' || c == '-';
}

bool isDigit(char c, bool hex)
{
    return (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
}

constexpr qsizetype kLongestName = 32;

bool isXmlName(QLatin1StringView name)
{
    return name == QLatin1String("amp") || name == QLatin1String("lt") ||
           name == QLatin1String("gt") || name == QLatin1String("quot") ||
           name == QLatin1String("apos");
}

// "&#233;" for 233, without the cost of a formatted print.
QByteArrayView numericReference(char32_t code)
{
    thread_local char buffer[16];
    char* end = buffer + sizeof buffer;
    char* p = end;
    *--p = ';';
    do {
        *--p = char('0' + code % 10);
        code /= 10;
    } while (code != 0);
    *--p = '#';
    *--p = '&';
    return QByteArrayView(p, end - p);
}
} // namespace

QPair<qsizetype, qsizetype> FeedMarkupRepair::DoctypeSpan(const QByteArray& document)
{
    const qsizetype start = document.indexOf("<!DOCTYPE");
    if (start < 0)
        return {-1, -1};
    // Only in the prolog: before any element.
    for (qsizetype i = document.indexOf('<'); i >= 0 && i < start;
         i = document.indexOf('<', i + 1)) {
        if (i + 1 < document.size() && isNameStart(document[i + 1]))
            return {-1, -1};
    }
    char quote = 0;
    bool subset = false;
    for (qsizetype i = start + 9; i < document.size(); ++i) {
        const char c = document[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (subset && c == '<' && document.mid(i, 4) == "<!--") {
            const qsizetype end = document.indexOf("-->", i + 4);
            if (end < 0)
                break;
            i = end + 2;
        } else if (c == '[') {
            subset = true;
        } else if (c == ']') {
            subset = false;
        } else if (c == '>' && !subset) {
            return {start, i + 1};
        }
    }
    return {-1, -1};
}

QByteArray FeedMarkupRepair::Apply(const QByteArray& original, Names names)
{
    const auto [doctype, doctypeEnd] = DoctypeSpan(original);
    const QByteArray document =
        doctype < 0 ? original : original.left(doctype) + original.mid(doctypeEnd);
    const char* data = document.constData();
    const qsizetype size = document.size();
    QByteArray out;
    qsizetype copied = 0; // bytes of document already in out
    auto replace = [&](qsizetype from, qsizetype to, QByteArrayView with) {
        if (out.isEmpty())
            out.reserve(size + size / 16);
        out.append(data + copied, from - copied);
        out.append(with);
        copied = to;
    };

    qsizetype cdata = document.indexOf("<![CDATA[");
    qsizetype i = 0;
    while (i < size) {
        const void* found = std::memchr(data + i, '&', size_t(size - i));
        const qsizetype amp = found ? static_cast<const char*>(found) - data : size;
        if (cdata >= 0 && cdata < amp) {
            // CDATA is text as written: its "&" stays.
            const qsizetype end = document.indexOf("]]>", cdata + 9);
            i = end < 0 ? size : end + 3;
            cdata = document.indexOf("<![CDATA[", i);
            continue;
        }
        if (amp >= size)
            break;
        i = amp;
        qsizetype j = i + 1;
        if (j < size && data[j] == '#') {
            ++j;
            const bool hex = j < size && (data[j] == 'x' || data[j] == 'X');
            if (hex)
                ++j;
            const qsizetype digits = j;
            while (j < size && isDigit(data[j], hex) && j - digits < 8)
                ++j;
            if (j > digits && j < size && data[j] == ';') {
                i = j + 1;
                continue;
            }
            replace(i, i + 1, "&amp;");
            i += 1;
            continue;
        }
        if (j < size && isNameStart(data[j])) {
            while (j < size && isNameChar(data[j]) && j - i <= kLongestName)
                ++j;
            if (j < size && data[j] == ';') {
                const QLatin1StringView name(data + i + 1, j - i - 1);
                const char32_t code = FeedText::NamedCharacter(name);
                if (code != 0 && (names == Names::All || !isXmlName(name)))
                    replace(i, j + 1, numericReference(code));
                // A name neither knows is left to the document's own declarations.
                i = j + 1;
                continue;
            }
        }
        replace(i, i + 1, "&amp;");
        i += 1;
    }
    if (out.isEmpty())
        return document; // unchanged, or only without its document type
    out.append(data + copied, size - copied);
    return out;
}
