// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FeedEncoding.h"

#include <QList>
#include <QStringDecoder>

QByteArray FeedEncoding::FromContentType(const QByteArray& contentType)
{
    for (const QByteArray& part : contentType.split(';')) {
        const QByteArray parameter = part.trimmed();
        if (!parameter.toLower().startsWith("charset="))
            continue;
        QByteArray value = parameter.mid(8).trimmed();
        if (value.size() >= 2 && (value.startsWith('"') || value.startsWith('\'')))
            value = value.mid(1, value.size() - 2);
        return value.trimmed().toLower();
    }
    return {};
}

FeedEncoding::Mark FeedEncoding::ByteOrderMark(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return Mark::Utf8;
    if (bytes.startsWith(QByteArray("\x00\x00\xFE\xFF", 4)) ||
        bytes.startsWith(QByteArray("\xFF\xFE\x00\x00", 4)))
        return Mark::Utf32;
    if (bytes.startsWith("\xFE\xFF") || bytes.startsWith("\xFF\xFE"))
        return Mark::Utf16;
    return Mark::None;
}

bool FeedEncoding::IsAsciiCompatible(const QByteArray& bytes)
{
    const Mark mark = ByteOrderMark(bytes);
    if (mark == Mark::Utf16 || mark == Mark::Utf32)
        return false;
    // Unmarked UTF-16 or UTF-32 XML starts with "<" next to zero bytes.
    return bytes.size() < 2 || (bytes[0] != 0 && bytes[1] != 0);
}

QByteArray FeedEncoding::XmlDeclared(const QByteArray& bytes)
{
    qsizetype start = ByteOrderMark(bytes) == Mark::Utf8 ? 3 : 0;
    while (start < bytes.size() && (bytes[start] == ' ' || bytes[start] == '\t' ||
                                    bytes[start] == '\r' || bytes[start] == '\n'))
        ++start;
    if (bytes.mid(start, 5) != "<?xml")
        return {};
    const qsizetype end = bytes.indexOf("?>", start);
    if (end < 0 || end - start > 512)
        return {};
    const QByteArray declaration = bytes.mid(start, end - start);
    const qsizetype at = declaration.indexOf("encoding");
    if (at < 0)
        return {};
    qsizetype i = at + 8;
    while (i < declaration.size() && (declaration[i] == ' ' || declaration[i] == '='))
        ++i;
    if (i >= declaration.size() || (declaration[i] != '"' && declaration[i] != '\''))
        return {};
    const char quote = declaration[i];
    const qsizetype close = declaration.indexOf(quote, i + 1);
    if (close < 0)
        return {};
    return declaration.mid(i + 1, close - i - 1).trimmed().toLower();
}

QString FeedEncoding::Decode(const QByteArray& bytes, const QByteArray& serverCharset)
{
    switch (ByteOrderMark(bytes)) {
    case Mark::Utf8:
        return QString::fromUtf8(bytes.mid(3));
    case Mark::Utf16:
        return QStringDecoder(QStringDecoder::Utf16)(bytes);
    case Mark::Utf32:
        return QStringDecoder(QStringDecoder::Utf32)(bytes);
    case Mark::None:
        break;
    }
    if (!serverCharset.isEmpty() && serverCharset != "utf-8" && serverCharset != "utf8") {
        QStringDecoder decoder(serverCharset.constData());
        if (decoder.isValid())
            return decoder(bytes);
    }
    return QString::fromUtf8(bytes);
}

QByteArray FeedEncoding::ToUtf8(const QByteArray& bytes, const QByteArray& charset, bool* ok)
{
    QStringDecoder decoder(charset.constData());
    *ok = decoder.isValid();
    if (!*ok)
        return {};
    const QString text = decoder(bytes);
    return text.toUtf8();
}
