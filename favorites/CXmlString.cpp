// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CXmlString.h"

#include "ComError.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <new>
#include <optional>

namespace {
constexpr std::uint32_t kErrorNoUnicodeTranslation = 1113;

[[noreturn]] void ThrowUntranslatable()
{
    throw xml::_com_error(xml::HResultFromWin32(kErrorNoUnicodeTranslation),
                          QStringLiteral("No mapping for the Unicode character exists in the "
                                         "target code page."));
}
QString Decode(QByteArrayView utf8)
{
    try {
        // Nearly every name and address is ASCII, which reads as it is; a decoder made for
        // each of a hundred thousand favorites costs more than the text.
        if (!utf8.isEmpty() &&
            std::all_of(utf8.begin(), utf8.end(), [](char c) { return uchar(c) < 0x80; }))
            return QString::fromLatin1(utf8);
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = decoder.decode(utf8);
        if (decoder.hasError())
            ThrowUntranslatable();
        return text;
    } catch (const std::bad_alloc&) {
        throw xml::_com_error(xml::E_OUTOFMEMORY);
    }
}
} // namespace

struct CXmlString::Data
{
    std::optional<QString> text;
    std::optional<QByteArray> utf8;
};

CXmlString::CXmlString() : CXmlString(QString()) {}

CXmlString::CXmlString(const QString& text)
{
    try {
        m_pData = std::make_shared<Data>();
        m_pData->text = text;
    } catch (const std::bad_alloc&) {
        throw xml::_com_error(xml::E_OUTOFMEMORY);
    }
}

CXmlString CXmlString::FromUtf8(const unsigned char* utf8)
{
    CXmlString result;
    try {
        result.m_pData->text.reset();
        result.m_pData->utf8 = QByteArray(utf8 ? reinterpret_cast<const char*>(utf8) : "");
    } catch (const std::bad_alloc&) {
        throw xml::_com_error(xml::E_OUTOFMEMORY);
    }
    return result;
}

const QString& CXmlString::ToQString() const
{
    if (!m_pData->text)
        m_pData->text = Decode(QByteArrayView(*m_pData->utf8));
    return *m_pData->text;
}

QString CXmlString::DecodeUtf8(const unsigned char* utf8)
{
    return Decode(QByteArrayView(utf8 ? reinterpret_cast<const char*>(utf8) : ""));
}

const QByteArray& CXmlString::Utf8Bytes() const
{
    if (!m_pData->utf8) {
        try {
            QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
            QByteArray utf8 = encoder.encode(*m_pData->text);
            // A lone surrogate has no UTF-8 form; the engine must not get a substitute.
            if (encoder.hasError())
                ThrowUntranslatable();
            m_pData->utf8 = std::move(utf8);
        } catch (const std::bad_alloc&) {
            throw xml::_com_error(xml::E_OUTOFMEMORY);
        }
    }
    return *m_pData->utf8;
}

const unsigned char* CXmlString::Utf8() const
{
    return reinterpret_cast<const unsigned char*>(Utf8Bytes().constData());
}

qsizetype CXmlString::Utf8Length() const
{
    return Utf8Bytes().size();
}
