#include "CFavoritesChange.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <functional>
#include <utility>

CFavoritesChange::CFavoritesChange(CXmlDocument document, CXmlNode root)
    : m_document(std::move(document)), m_root(std::move(root))
{}

FavoriteRecord CFavoritesChange::ReadRecord(const CXmlNode& node)
{
    FavoriteRecord record;
    const CXmlNodeList children = node.GetChildNodes();
    for (long i = 0; i < children.GetLength(); ++i) {
        const CXmlNode child = children.GetItem(i);
        const QString name = child.GetNodeName().ToQString();
        if (name == QLatin1String("title"))
            record.title = child.GetText().ToQString();
        else if (name == QLatin1String("url"))
            record.url = child.GetText().ToQString();
    }
    return record;
}

namespace {
// The children that can hold a record: text, comments, processing instructions and the
// white space between elements are not positions.
QList<CXmlNode> EntriesOf(const CXmlNode& root)
{
    QList<CXmlNode> entries;
    const CXmlNodeList children = root.GetChildNodes();
    for (long i = 0; i < children.GetLength(); ++i) {
        CXmlNode child = children.GetItem(i);
        if (child.IsElement())
            entries.append(std::move(child));
    }
    return entries;
}
} // namespace

CXmlNode CFavoritesChange::FindRoot(const CXmlDocument& document)
{
    return document.SelectNodes(CXmlString(QStringLiteral("Favorites"))).GetItem(0);
}

QList<CFavoritesChange::Child> CFavoritesChange::ChildrenOf(const CXmlDocument& document)
{
    QList<Child> result;
    const CXmlNode root = FindRoot(document);
    if (root.IsNull())
        return result;
    for (const CXmlNode& entry : EntriesOf(root))
        result.append({entry.GetNodeName().ToQString(), ReadRecord(entry)});
    return result;
}

QList<CFavoritesChange::Child> CFavoritesChange::Children() const
{
    if (!m_children)
        m_children = ChildrenOf(m_document);
    return *m_children;
}

long CFavoritesChange::Find(const QString& title, const QString& url) const
{
    const QList<CXmlNode> entries = EntriesOf(m_root);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const FavoriteRecord record = ReadRecord(entries.at(i));
        if (record.title == title && record.url == url)
            return long(i);
    }
    return -1;
}

QList<long> CFavoritesChange::LocateAll(const QList<FavoriteRef>& refs) const
{
    const QList<Child> children = Children();
    QList<long> recordPositions;
    QHash<QPair<QString, QString>, QList<long>> positionsOfPair;
    for (qsizetype i = 0; i < children.size(); ++i) {
        const Child& child = children.at(i);
        if (child.name == QLatin1String("Favorite"))
            recordPositions.append(long(i));
        positionsOfPair[{child.record.title, child.record.url}].append(long(i));
    }

    QList<long> result;
    QSet<long> taken;
    for (const FavoriteRef& ref : refs) {
        long found = -1;
        if (ref.ordinal >= 0 && ref.ordinal < recordPositions.size()) {
            const long own = recordPositions.at(ref.ordinal);
            if (children.at(own).record == ref.record && !taken.contains(own))
                found = own;
        }
        if (found < 0) {
            for (const long position : positionsOfPair.value({ref.record.title, ref.record.url})) {
                if (!taken.contains(position)) {
                    found = position;
                    break;
                }
            }
        }
        if (found >= 0)
            taken.insert(found);
        result.append(found);
    }
    return result;
}

CXmlNode CFavoritesChange::NewFavorite(const QString& title, const QString& url)
{
    CXmlNode favorite = m_document.CreateElement(CXmlString(QStringLiteral("Favorite")));
    CXmlNode titleNode = m_document.CreateElement(CXmlString(QStringLiteral("title")));
    CXmlNode urlNode = m_document.CreateElement(CXmlString(QStringLiteral("url")));
    titleNode.SetText(CXmlString(title));
    urlNode.SetText(CXmlString(url));
    favorite.AddChild(titleNode);
    favorite.AddChild(urlNode);
    return favorite;
}

CXmlNode CFavoritesChange::ChildAt(long position) const
{
    const QList<CXmlNode> entries = EntriesOf(m_root);
    if (position < 0 || position >= entries.size())
        throw xml::_com_error(xml::E_INVALIDARG,
                              QStringLiteral("There is no record at position %1").arg(position));
    return entries.at(position);
}

void CFavoritesChange::Append(const QString& title, const QString& url)
{
    m_root.AddChild(NewFavorite(title, url));
    if (m_children)
        m_children->append({QStringLiteral("Favorite"), {title, url}});
}

void CFavoritesChange::Replace(long position, const QString& title, const QString& url)
{
    const CXmlNode old = ChildAt(position);
    const CXmlNode favorite = NewFavorite(title, url);
    // Appending and then moving every later child behind it keeps the order without an
    // insert operation in the wrapper.
    const CXmlNodeList children = m_root.GetChildNodes();
    QList<CXmlNode> later;
    bool seen = false;
    for (long i = 0; i < children.GetLength(); ++i) {
        CXmlNode child = children.GetItem(i);
        if (seen)
            later.append(child);
        else
            seen = child.IsSameNode(old);
    }
    m_root.RemoveChild(old);
    m_root.AddChild(favorite);
    for (const CXmlNode& child : std::as_const(later))
        m_root.AddChild(child);
    if (m_children)
        (*m_children)[position] = {QStringLiteral("Favorite"), {title, url}};
}

void CFavoritesChange::Remove(long position)
{
    m_root.RemoveChild(ChildAt(position));
    if (m_children)
        m_children->removeAt(position);
}

void CFavoritesChange::RemoveAll(const QList<long>& positions)
{
    // The children are gathered once: positions refer to the list before any removal.
    const QList<CXmlNode> entries = EntriesOf(m_root);
    for (const long position : positions) {
        if (position < 0 || position >= entries.size())
            throw xml::_com_error(
                xml::E_INVALIDARG,
                QStringLiteral("There is no record at position %1").arg(position));
    }
    for (const long position : positions)
        m_root.RemoveChild(entries.at(position));
    if (m_children) {
        QList<long> descending = positions;
        std::sort(descending.begin(), descending.end(), std::greater<>());
        for (const long position : std::as_const(descending))
            m_children->removeAt(position);
    }
}
