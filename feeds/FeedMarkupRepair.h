// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QByteArray>
#include <QPair>

// Feeds are often written by hand or by templates: a bare "&" in a title or an address, or
// an HTML name such as "&nbsp;" that XML does not know. Before parsing, such names become
// numeric references and every bare "&" becomes "&amp;", outside CDATA sections; without
// this the parser drops the names it does not know. After its first error, though, it drops
// every named reference, "&amp;" included: a document still malformed is read again with
// XML's own five names made numeric too.
//
// The document type declaration goes too: a feed needs none, and the entities one declares
// are either remote, local files, or, nested, a way to stop the parser half-way.
class FeedMarkupRepair
{
public:
    enum class Names
    {
        HtmlOnly, // "&amp;", "&lt;" and the others XML knows stay as they are
        All
    };

    // For documents in an encoding where ASCII bytes stand for themselves (not UTF-16 or
    // UTF-32); the bytes come back unchanged when nothing needed mending.
    [[nodiscard]] static QByteArray Apply(const QByteArray& document,
                                          Names names = Names::HtmlOnly);

private:
    // Where the prolog's <!DOCTYPE ...> starts and ends; {-1, -1} when there is none.
    [[nodiscard]] static QPair<qsizetype, qsizetype> DoctypeSpan(const QByteArray& document);
};
