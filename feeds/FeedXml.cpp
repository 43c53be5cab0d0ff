// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FeedXml.h"

#include "FeedDate.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <memory>
#include <mutex>

namespace {
void ignoreMessage(void*, const char*, ...) {}

xmlParserInputPtr refuseExternalEntity(const char*, const char*, xmlParserCtxtPtr)
{
    return nullptr;
}

bool isLineBreaking(const xmlChar* name)
{
    static const char* const kBlocks[] = {"p",   "br", "div", "li", "tr",    "td",  "th",
                                          "h1",  "h2", "h3",  "h4", "h5",    "h6",  "blockquote",
                                          "pre", "hr", "ul",  "ol", "table", "img", "figure"};
    for (const char* block : kBlocks) {
        if (xmlStrcasecmp(name, reinterpret_cast<const xmlChar*>(block)) == 0)
            return true;
    }
    return false;
}

void collectText(const xmlNode* node, QByteArray& out)
{
    for (const xmlNode* child = node->children; child; child = child->next) {
        switch (child->type) {
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
            out.append(reinterpret_cast<const char*>(child->content));
            break;
        case XML_ELEMENT_NODE: {
            const xmlChar* name = child->name;
            if (xmlStrcasecmp(name, BAD_CAST "script") == 0 ||
                xmlStrcasecmp(name, BAD_CAST "style") == 0)
                break;
            const bool breaks = isLineBreaking(name);
            if (breaks)
                out.append(' ');
            collectText(child, out);
            if (breaks)
                out.append(' ');
            break;
        }
        default:
            break;
        }
    }
}
} // namespace

void FeedXml::Initialize()
{
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(refuseExternalEntity);
    });
}

void FeedXml::SilenceThread()
{
    thread_local bool silenced = false;
    if (silenced)
        return;
    silenced = true;
    xmlSetGenericErrorFunc(nullptr, ignoreMessage);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
}

QByteArray FeedXml::NamespaceOf(const xmlNode* node)
{
    return node->ns && node->ns->href ? QByteArray(reinterpret_cast<const char*>(node->ns->href))
                                      : QByteArray();
}

QByteArray FeedXml::LocalName(const xmlNode* node)
{
    return node->name ? QByteArray(reinterpret_cast<const char*>(node->name)) : QByteArray();
}

bool FeedXml::Is(const xmlNode* node, const char* localName, const Namespaces& namespaces)
{
    if (node->type != XML_ELEMENT_NODE || !node->name ||
        xmlStrcmp(node->name, reinterpret_cast<const xmlChar*>(localName)) != 0)
        return false;
    const char* href =
        node->ns && node->ns->href ? reinterpret_cast<const char*>(node->ns->href) : "";
    for (const QByteArray& ns : namespaces) {
        if (qstrcmp(ns.constData(), href) == 0)
            return true;
    }
    return false;
}

xmlNode* FeedXml::Child(const xmlNode* parent, const char* localName, const Namespaces& namespaces)
{
    for (xmlNode* child = parent->children; child; child = child->next) {
        if (Is(child, localName, namespaces))
            return child;
    }
    return nullptr;
}

QList<xmlNode*> FeedXml::Children(const xmlNode* parent, const char* localName,
                                  const Namespaces& namespaces)
{
    QList<xmlNode*> found;
    for (xmlNode* child = parent->children; child; child = child->next) {
        if (Is(child, localName, namespaces))
            found.append(child);
    }
    return found;
}

QList<xmlNode*> FeedXml::Descendants(const xmlNode* parent, const char* localName,
                                     const Namespaces& namespaces, int max)
{
    QList<xmlNode*> found;
    xmlNode* current = parent->children;
    while (current && found.size() < max) {
        if (Is(current, localName, namespaces))
            found.append(current);
        if (current->children && current->type == XML_ELEMENT_NODE) {
            current = current->children;
            continue;
        }
        while (current && !current->next && current->parent != parent)
            current = current->parent;
        current = current ? current->next : nullptr;
    }
    return found;
}

QString FeedXml::Attribute(const xmlNode* node, const char* name)
{
    const std::unique_ptr<xmlChar, decltype(xmlFree)> value(
        xmlGetNoNsProp(node, reinterpret_cast<const xmlChar*>(name)), xmlFree);
    return value ? QString::fromUtf8(reinterpret_cast<const char*>(value.get())) : QString();
}

QString FeedXml::Text(const xmlNode* node)
{
    QByteArray text;
    collectText(node, text);
    return QString::fromUtf8(text);
}

QString FeedXml::ChildText(const xmlNode* parent, const char* localName,
                           const Namespaces& namespaces)
{
    const xmlNode* child = Child(parent, localName, namespaces);
    return child ? Text(child).trimmed() : QString();
}

QDateTime FeedXml::ChildDate(const xmlNode* parent,
                             std::initializer_list<QPair<const char*, QByteArray>> names)
{
    for (const auto& [name, ns] : names) {
        const QString text = ChildText(parent, name, {ns});
        if (text.isEmpty())
            continue;
        const QDateTime date = FeedDate::Parse(text);
        if (date.isValid())
            return date;
    }
    return {};
}

QUrl FeedXml::Resolve(const xmlNode* node, const QString& link)
{
    const QUrl relative(link.trimmed());
    const std::unique_ptr<xmlChar, decltype(xmlFree)> base(xmlNodeGetBase(node->doc, node),
                                                           xmlFree);
    if (!base)
        return relative;
    const QUrl baseUrl(QString::fromUtf8(reinterpret_cast<const char*>(base.get())));
    return baseUrl.isValid() ? baseUrl.resolved(relative) : relative;
}
