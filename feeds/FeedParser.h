// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "ParsedFeed.h"

#include <QByteArray>
#include <QUrl>

// Reads any feed: RSS, RSS 1.0, Atom or JSON Feed, in the encoding its mark, its own
// declaration or the server names. Malformed XML gives what the parser can recover; no
// DTD, external entity or network is ever read. Runs on any thread once
// FeedXml::Initialize() has run on the main one.
class FeedParser
{
public:
    static constexpr qint64 kMaxBytes = 10 * 1024 * 1024;
    static constexpr int kMaxItems = 1000;

    // address: where the document came from, for relative links (may be empty).
    // serverCharset: the charset the server's Content-Type named, if any.
    [[nodiscard]] static ParsedFeed Parse(const QByteArray& document, const QUrl& address = {},
                                          const QByteArray& serverCharset = {});

private:
    [[nodiscard]] static ParsedFeed ParseXml(const QByteArray& document, const QUrl& address,
                                             const QByteArray& serverCharset);
    static void Finish(ParsedFeed& feed);
};
