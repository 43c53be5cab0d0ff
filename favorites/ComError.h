// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QString>

#include <cstdint>

namespace xml {

// Status codes keep their 32-bit HRESULT values: negative means failure.
using HRESULT = std::int32_t;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOINTERFACE = HRESULT(0x80004002u);
inline constexpr HRESULT E_POINTER = HRESULT(0x80004003u);
inline constexpr HRESULT E_FAIL = HRESULT(0x80004005u);
inline constexpr HRESULT E_OUTOFMEMORY = HRESULT(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = HRESULT(0x80070057u);

[[nodiscard]] constexpr bool Failed(HRESULT hr) noexcept
{
    return hr < 0;
}

// A system error code in the Win32 facility: 0x80070000 plus the code.
[[nodiscard]] constexpr HRESULT HResultFromWin32(std::uint32_t code) noexcept
{
    return code == 0 ? S_OK : HRESULT((code & 0xFFFFu) | 0x80070000u);
}

// The failure a wrapper call throws: its status and the engine's own explanation.
class _com_error
{
public:
    explicit _com_error(HRESULT hr, QString description = {});

    // The status of an operating-system error (errno), with the failing subject named.
    [[nodiscard]] static _com_error FromErrno(int errorNumber, const QString& subject);

    [[nodiscard]] HRESULT Error() const noexcept { return m_hr; }
    // The engine's text, empty when it gave none.
    [[nodiscard]] const QString& Description() const noexcept { return m_strDescription; }
    // The engine's text, or a text for the status when there is none.
    [[nodiscard]] QString ErrorMessage() const;

private:
    HRESULT m_hr;
    QString m_strDescription;
};

} // namespace xml
