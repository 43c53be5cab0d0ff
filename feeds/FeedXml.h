// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

#include <libxml/tree.h>

// Reading a parsed feed document with libxml2: elements by local name within a set of
// namespaces, their text, and the base their links are resolved against.
class FeedXml
{
public:
    static constexpr const char* kAtom10 = "http://www.w3.org/2005/Atom";
    static constexpr const char* kAtom03 = "http://purl.org/atom/ns#";
    static constexpr const char* kRss10 = "http://purl.org/rss/1.0/";
    static constexpr const char* kRss090 = "http://my.netscape.com/rdf/simple/0.9/";
    static constexpr const char* kRdf = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
    static constexpr const char* kDublinCore = "http://purl.org/dc/elements/1.1/";
    static constexpr const char* kDcTerms = "http://purl.org/dc/terms/";
    static constexpr const char* kContent = "http://purl.org/rss/1.0/modules/content/";

    // Namespace URIs; an empty string stands for "no namespace".
    using Namespaces = QList<QByteArray>;

    // Sets the parser up once for the process, on the main thread, before any thread
    // uses it: no external entity is ever loaded.
    static void Initialize();
    // Keeps the parser's messages off the terminal; per thread, as libxml2 keeps them.
    static void SilenceThread();

    [[nodiscard]] static bool Is(const xmlNode* node, const char* localName,
                                 const Namespaces& namespaces);
    [[nodiscard]] static QByteArray NamespaceOf(const xmlNode* node);
    [[nodiscard]] static QByteArray LocalName(const xmlNode* node);
    [[nodiscard]] static xmlNode* Child(const xmlNode* parent, const char* localName,
                                        const Namespaces& namespaces);
    [[nodiscard]] static QList<xmlNode*> Children(const xmlNode* parent, const char* localName,
                                                  const Namespaces& namespaces);
    // Elements anywhere below parent, in document order: a malformed feed that the parser
    // recovered may have its items nested in one another.
    [[nodiscard]] static QList<xmlNode*> Descendants(const xmlNode* parent, const char* localName,
                                                     const Namespaces& namespaces, int max);
    // An attribute without a namespace, as written.
    [[nodiscard]] static QString Attribute(const xmlNode* node, const char* name);
    // The text of the element and all below it, scripts and styles left out; elements that
    // end a line add a space.
    [[nodiscard]] static QString Text(const xmlNode* node);
    // The text of a child element, trimmed; empty when there is none.
    [[nodiscard]] static QString ChildText(const xmlNode* parent, const char* localName,
                                           const Namespaces& namespaces);
    // The first child element among these (each name in its namespace) whose text is a
    // date that can be read.
    [[nodiscard]] static QDateTime
    ChildDate(const xmlNode* parent, std::initializer_list<QPair<const char*, QByteArray>> names);
    // A link written in the element resolved against its xml:base, inherited through the
    // elements, and the document's own address.
    [[nodiscard]] static QUrl Resolve(const xmlNode* node, const QString& link);
};
