// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

// Text on its way between the program's QString and the engine's UTF-8. Each form is made
// from the other on first request and kept; copies share both.
class CXmlString
{
public:
    CXmlString();
    // Throws E_OUTOFMEMORY when no memory is left for the string.
    explicit CXmlString(const QString& text);
    // From the engine's NUL-terminated UTF-8; a null pointer gives an empty string.
    [[nodiscard]] static CXmlString FromUtf8(const unsigned char* utf8);
    // The engine's UTF-8 as a QString straight away, for readers of many texts; throws as
    // ToQString does.
    [[nodiscard]] static QString DecodeUtf8(const unsigned char* utf8);

    // These throw E_OUTOFMEMORY, or the Win32-facility form of
    // ERROR_NO_UNICODE_TRANSLATION when the text cannot be converted.
    [[nodiscard]] const QString& ToQString() const;
    // NUL-terminated; valid as long as this string or a copy of it lives.
    [[nodiscard]] const unsigned char* Utf8() const;
    [[nodiscard]] qsizetype Utf8Length() const;

private:
    struct Data;
    [[nodiscard]] const QByteArray& Utf8Bytes() const;

    std::shared_ptr<Data> m_pData;
};
