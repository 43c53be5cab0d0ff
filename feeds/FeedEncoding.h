// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QByteArray>
#include <QString>

// Which encoding a fetched document is in: a byte-order mark first, then what the document
// declares, then what the server said.
class FeedEncoding
{
public:
    enum class Mark
    {
        None,
        Utf8,
        Utf16,
        Utf32
    };

    // The charset parameter of a Content-Type header, in lower case; empty when none.
    [[nodiscard]] static QByteArray FromContentType(const QByteArray& contentType);
    [[nodiscard]] static Mark ByteOrderMark(const QByteArray& bytes);
    // Whether ASCII bytes stand for themselves: not UTF-16 or UTF-32, marked or not.
    [[nodiscard]] static bool IsAsciiCompatible(const QByteArray& bytes);
    // The encoding an XML declaration at the start names; empty when none.
    [[nodiscard]] static QByteArray XmlDeclared(const QByteArray& bytes);
    // The document as text, for formats that are not XML: by its mark, else the server's
    // charset when Qt knows it, else UTF-8.
    [[nodiscard]] static QString Decode(const QByteArray& bytes, const QByteArray& serverCharset);
    // The document in UTF-8, decoded with the named charset; ok is false when Qt does not
    // know it.
    [[nodiscard]] static QByteArray ToUtf8(const QByteArray& bytes, const QByteArray& charset,
                                           bool* ok);
};
