// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "ComError.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace xml {

namespace {
// Win32 codes for the errno values a file operation commonly reports, so callers can
// compare with the usual statuses; anything else becomes ERROR_GEN_FAILURE.
std::uint32_t Win32CodeFor(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return 2; // ERROR_FILE_NOT_FOUND
    case ENOTDIR:
        return 3; // ERROR_PATH_NOT_FOUND
    case EACCES:
    case EPERM:
    case EROFS:
        return 5; // ERROR_ACCESS_DENIED
    case ENOMEM:
        return 14; // ERROR_OUTOFMEMORY
    case EEXIST:
        return 80; // ERROR_FILE_EXISTS
    case ENOSPC:
    case EDQUOT:
        return 112; // ERROR_DISK_FULL
    case EIO:
        return 1117; // ERROR_IO_DEVICE
    default:
        return 31; // ERROR_GEN_FAILURE
    }
}
} // namespace

_com_error::_com_error(HRESULT hr, QString description)
    : m_hr(hr), m_strDescription(std::move(description))
{}

_com_error _com_error::FromErrno(int errorNumber, const QString& subject)
{
    const QString reason = QString::fromLocal8Bit(std::strerror(errorNumber));
    return _com_error(HResultFromWin32(Win32CodeFor(errorNumber)),
                      subject.isEmpty() ? reason : subject + QStringLiteral(": ") + reason);
}

QString _com_error::ErrorMessage() const
{
    if (!m_strDescription.isEmpty())
        return m_strDescription;
    switch (m_hr) {
    case E_POINTER:
        return QStringLiteral("Invalid pointer");
    case E_OUTOFMEMORY:
        return QStringLiteral("Not enough memory");
    case E_INVALIDARG:
        return QStringLiteral("The parameter is incorrect");
    case E_NOINTERFACE:
        return QStringLiteral("No such interface supported");
    case E_FAIL:
        return QStringLiteral("Unspecified error");
    default:
        return QStringLiteral("Unknown error 0x%1").arg(quint32(m_hr), 8, 16, QLatin1Char('0'));
    }
}

} // namespace xml
