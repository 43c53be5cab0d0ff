// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CFavoritesChange.h"

#include <QHash>
#include <QSet>

#include <libxml/tree.h>

#include <algorithm>
#include <exception>
#include <memory>
#include <utility>

namespace {
const QString kFolder = QStringLiteral("Folder");
const QString kTitle = QStringLiteral("title");

// A node's name as CXmlNode::GetNodeName gives it, compared without making a string: the
// qualified name of an element, the engine's name of a processing instruction or entity
// reference, and never one of the reading rule's names for text, comments or documents.
bool HasName(const xmlNode* node, const char* name)
{
    switch (node->type) {
    case XML_ELEMENT_NODE:
        return !(node->ns && node->ns->prefix) && xmlStrEqual(node->name, BAD_CAST name);
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_DOCUMENT_NODE:
    case XML_HTML_DOCUMENT_NODE:
        return false;
    default:
        return node->name && xmlStrEqual(node->name, BAD_CAST name);
    }
}

// The text content, as CXmlNode::GetText gives it; an element holding one text, as nearly
// every title and url does, is read in place.
QString TextOf(xmlNode* node)
{
    const xmlNode* only = node->children;
    if (node->type == XML_ELEMENT_NODE && only && !only->next && only->type == XML_TEXT_NODE)
        return CXmlString::DecodeUtf8(only->content);
    const std::unique_ptr<xmlChar, decltype(xmlFree)> content(xmlNodeGetContent(node), xmlFree);
    return CXmlString::DecodeUtf8(content.get());
}

FavoriteRecord ReadRecordOf(xmlNode* node)
{
    FavoriteRecord record;
    // An entity reference's children are the entity's declaration, not its own.
    if (node->type == XML_ENTITY_REF_NODE)
        return record;
    for (xmlNode* child = node->children; child; child = child->next) {
        if (HasName(child, "title"))
            record.title = TextOf(child);
        else if (HasName(child, "url"))
            record.url = TextOf(child);
    }
    return record;
}

QString NameOf(const xmlNode* element)
{
    if (element->ns && element->ns->prefix)
        return CXmlString::DecodeUtf8(element->ns->prefix) + QLatin1Char(':') +
               CXmlString::DecodeUtf8(element->name);
    if (xmlStrEqual(element->name, BAD_CAST "Favorite"))
        return CFavoritesChange::kFavorite;
    if (xmlStrEqual(element->name, BAD_CAST "Folder"))
        return kFolder;
    return CXmlString::DecodeUtf8(element->name);
}

// Walks the elements below container in document order, straight over the engine's tree:
// a list of many thousands is read without a handle or a list object per node. Text,
// comments, processing instructions and the white space between elements are not
// positions, nor is a folder's own title.
template <typename Visit> void Walk(xmlNode* container, const QStringList& path, const Visit& visit)
{
    const bool inFolder = !path.isEmpty();
    if (container->type == XML_ENTITY_REF_NODE)
        return;
    for (xmlNode* child = container->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        if (inFolder && HasName(child, "title"))
            continue;
        const bool folder = HasName(child, "Folder");
        if (folder && path.size() >= CFavoritesChange::kMaxFolderDepth)
            continue;
        FavoriteRecord record = ReadRecordOf(child);
        record.folder = path;
        const QStringList inner = folder ? path + QStringList{record.title} : QStringList();
        visit(child, container, std::move(record));
        if (folder)
            Walk(child, inner, visit);
    }
}
// Reads the favorites and folders right below the root, one element at a time in file
// order: the Favorite and Folder elements of no namespace, as the expression
// "Favorites/Favorite|Favorites/Folder" selects them.
class TopLevelReader
{
public:
    TopLevelReader(long failAt, QList<FavoriteRecord>& records, QList<QStringList>& folders,
                   QList<qsizetype>& places)
        : m_failAt(failAt), m_records(records), m_folders(folders), m_places(places)
    {}

    // True when node was read: a favorite or folder of the top, before any failure.
    bool Read(xmlNode* node)
    {
        const bool favorite = Named(node, "Favorite");
        if (m_failed || (!favorite && !Named(node, "Folder")))
            return false;
        if (m_position++ == m_failAt) {
            m_failed = true;
            return false;
        }
        FavoriteRecord record = ReadRecordOf(node);
        if (favorite) {
            m_records.append(std::move(record));
            return true;
        }
        // A folder counts whole or not at all.
        QList<FavoriteRecord> inside;
        const QStringList path{record.title};
        QList<QStringList> paths{path};
        QList<qsizetype> placesInside{m_records.size()};
        Walk(node, path, [&](xmlNode* inner, xmlNode*, FavoriteRecord innerRecord) {
            if (HasName(inner, "Favorite")) {
                inside.append(std::move(innerRecord));
            } else if (HasName(inner, "Folder")) {
                paths.append(innerRecord.folder + QStringList{innerRecord.title});
                placesInside.append(m_records.size() + inside.size());
            }
        });
        m_records.append(std::move(inside));
        m_folders.append(std::move(paths));
        m_places.append(std::move(placesInside));
        return true;
    }
    // The element at the failing position was reached.
    [[nodiscard]] bool Failed() const { return m_failed; }

private:
    static bool Named(const xmlNode* node, const char* name)
    {
        return node->type == XML_ELEMENT_NODE && !node->ns &&
               xmlStrEqual(node->name, BAD_CAST name);
    }

    long m_failAt;
    long m_position = 0;
    bool m_failed = false;
    QList<FavoriteRecord>& m_records;
    QList<QStringList>& m_folders;
    QList<qsizetype>& m_places;
};
} // namespace

CFavoritesChange::CFavoritesChange(CXmlDocument document, CXmlNode root)
    : m_document(std::move(document)), m_root(std::move(root))
{}

FavoriteRecord CFavoritesChange::ReadRecord(const CXmlNode& node)
{
    return ReadRecordOf(node.Checked());
}

void CFavoritesChange::ReadFolder(const CXmlNode& folder, const QStringList& path,
                                  QList<Child>& children)
{
    Walk(folder.Checked(), path, [&](xmlNode* node, xmlNode*, FavoriteRecord record) {
        children.append({NameOf(node), std::move(record)});
    });
}

FavoritesResult::Code CFavoritesChange::LoadTopLevel(CXmlDocument& document,
                                                     const QByteArray& bytes, const QString& name,
                                                     long failAt, QList<FavoriteRecord>& records,
                                                     QList<QStringList>& folders,
                                                     QList<qsizetype>& places)
{
    // Read aside: they count only once the whole file has parsed.
    QList<FavoriteRecord> read;
    QList<QStringList> readFolders;
    QList<qsizetype> readPlaces;
    TopLevelReader reader(failAt, read, readFolders, readPlaces);
    xmlNode* parent = nullptr;
    std::exception_ptr thrown;
    const bool parsed = document.LoadXml(bytes, name, [&](xmlNode* element) {
        parent = element->parent;
        try {
            return !thrown && reader.Read(element);
        } catch (...) {
            thrown = std::current_exception();
            return false;
        }
    });
    const CXmlNode root = FindRoot(document);
    if (!parsed || root.IsNull())
        return FavoritesResult::Code::Done;
    xmlNode* top = root.Checked();
    if (parent && parent != top) {
        // Never so while a document has one root; read from the whole tree if it were.
        const CXmlNode list = document.LoadXml(bytes, name) ? FindRoot(document) : CXmlNode();
        TopLevelReader whole(failAt, records, folders, places);
        for (xmlNode* node = list.IsNull() ? nullptr : list.Checked()->children;
             node && !whole.Failed(); node = node->next)
            whole.Read(node);
        return whole.Failed() ? FavoritesResult::Code::NodeFailure : FavoritesResult::Code::Done;
    }
    // What is left: everything when nothing was offered, else what is not a favorite or
    // folder of the top, or came after a failure.
    try {
        for (xmlNode* node = top->children; node && !thrown && !reader.Failed(); node = node->next)
            reader.Read(node);
    } catch (...) {
        thrown = std::current_exception();
    }
    records.append(std::move(read));
    folders.append(std::move(readFolders));
    places.append(std::move(readPlaces));
    if (thrown)
        std::rethrow_exception(thrown);
    return reader.Failed() ? FavoritesResult::Code::NodeFailure : FavoritesResult::Code::Done;
}

QList<CFavoritesChange::Entry> CFavoritesChange::Entries() const
{
    QList<Entry> entries;
    Walk(m_root.Checked(), {}, [&](xmlNode* node, xmlNode* parent, const FavoriteRecord&) {
        entries.append({CXmlNode(node), CXmlNode(parent)});
    });
    return entries;
}

CXmlNode CFavoritesChange::FindRoot(const CXmlDocument& document)
{
    return document.SelectNodes(CXmlString(QStringLiteral("Favorites"))).GetItem(0);
}

QList<CFavoritesChange::Child> CFavoritesChange::ChildrenOf(const CXmlDocument& document)
{
    QList<Child> result;
    const CXmlNode root = FindRoot(document);
    if (!root.IsNull())
        ReadFolder(root, {}, result);
    return result;
}

QList<FavoriteRecord> CFavoritesChange::RecordsOf(const QList<Child>& children)
{
    QList<FavoriteRecord> records;
    records.reserve(children.size());
    for (const Child& child : children) {
        if (child.isFavorite())
            records.append(child.record);
    }
    return records;
}

QList<QStringList> CFavoritesChange::FoldersOf(const QList<Child>& children)
{
    QList<QStringList> folders;
    for (const Child& child : children) {
        if (child.isFolder())
            folders.append(child.path());
    }
    return folders;
}

QList<qsizetype> CFavoritesChange::FolderPlacesOf(const QList<Child>& children)
{
    QList<qsizetype> places;
    qsizetype favorites = 0;
    for (const Child& child : children) {
        if (child.isFavorite())
            ++favorites;
        else if (child.isFolder())
            places.append(favorites);
    }
    return places;
}

QList<CFavoritesChange::Child> CFavoritesChange::Children() const
{
    if (!m_children) {
        QList<Child> children;
        ReadFolder(m_root, {}, children);
        m_children = std::move(children);
    }
    return *m_children;
}

long CFavoritesChange::Find(const QString& title, const QString& url) const
{
    const QList<Child> children = Children();
    for (qsizetype i = 0; i < children.size(); ++i) {
        const Child& child = children.at(i);
        if (!child.isFolder() && child.record.title == title && child.record.url == url)
            return long(i);
    }
    return -1;
}

long CFavoritesChange::FindFolder(const QStringList& path) const
{
    if (path.isEmpty())
        return -1;
    const QList<Child> children = Children();
    for (qsizetype i = 0; i < children.size(); ++i) {
        const Child& child = children.at(i);
        if (child.isFolder() && child.record.folder.size() + 1 == path.size() &&
            child.record.title == path.constLast() &&
            child.record.folder == path.first(path.size() - 1))
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
        if (child.isFolder())
            continue;
        if (child.isFavorite())
            recordPositions.append(long(i));
        positionsOfPair[{child.record.title, child.record.url}].append(long(i));
    }

    QList<long> result;
    QSet<long> taken;
    for (const FavoriteRef& ref : refs) {
        long found = -1;
        if (ref.ordinal >= 0 && ref.ordinal < recordPositions.size()) {
            const long own = recordPositions.at(ref.ordinal);
            const FavoriteRecord& there = children.at(own).record;
            if (there.title == ref.record.title && there.url == ref.record.url &&
                !taken.contains(own))
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
    CXmlNode favorite = m_document.CreateElement(CXmlString(kFavorite));
    CXmlNode titleNode = m_document.CreateElement(CXmlString(kTitle));
    CXmlNode urlNode = m_document.CreateElement(CXmlString(QStringLiteral("url")));
    titleNode.SetText(CXmlString(title));
    urlNode.SetText(CXmlString(url));
    favorite.AddChild(titleNode);
    favorite.AddChild(urlNode);
    return favorite;
}

CFavoritesChange::Entry CFavoritesChange::EntryAt(long position) const
{
    const QList<Entry> entries = Entries();
    if (position < 0 || position >= entries.size())
        throw xml::_com_error(xml::E_INVALIDARG,
                              QStringLiteral("There is no record at position %1").arg(position));
    return entries.at(position);
}

CXmlNode CFavoritesChange::FolderNode(const QStringList& path) const
{
    if (path.isEmpty())
        return m_root;
    const long position = FindFolder(path);
    if (position < 0)
        throw xml::_com_error(xml::E_INVALIDARG,
                              QStringLiteral("There is no folder %1").arg(path.join(u'/')));
    return EntryAt(position).node;
}

void CFavoritesChange::Append(const QString& title, const QString& url)
{
    m_root.AddChild(NewFavorite(title, url));
    if (m_children)
        m_children->append({kFavorite, {title, url, {}}});
}

void CFavoritesChange::AppendTo(const QStringList& folder, const QString& title, const QString& url)
{
    if (folder.isEmpty()) {
        Append(title, url);
        return;
    }
    FolderNode(folder).AddChild(NewFavorite(title, url));
    m_children.reset();
}

void CFavoritesChange::AddFolder(const QStringList& parent, const QString& title)
{
    CXmlNode container = FolderNode(parent);
    CXmlNode folder = m_document.CreateElement(CXmlString(kFolder));
    CXmlNode titleNode = m_document.CreateElement(CXmlString(kTitle));
    titleNode.SetText(CXmlString(title));
    folder.AddChild(titleNode);
    container.AddChild(folder);
    m_children.reset();
}

void CFavoritesChange::PutInPlaceOf(const Entry& old, const CXmlNode& node)
{
    // Appending and then moving every later child behind it keeps the order without an
    // insert operation in the wrapper.
    const CXmlNodeList children = old.parent.GetChildNodes();
    QList<CXmlNode> later;
    bool seen = false;
    for (long i = 0; i < children.GetLength(); ++i) {
        CXmlNode child = children.GetItem(i);
        if (seen)
            later.append(child);
        else
            seen = child.IsSameNode(old.node);
    }
    CXmlNode parent = old.parent;
    parent.RemoveChild(old.node);
    parent.AddChild(node);
    for (const CXmlNode& child : std::as_const(later))
        parent.AddChild(child);
}

void CFavoritesChange::Replace(long position, const QString& title, const QString& url)
{
    const Entry old = EntryAt(position);
    PutInPlaceOf(old, NewFavorite(title, url));
    if (m_children) {
        Child& child = (*m_children)[position];
        child = {kFavorite, {title, url, child.record.folder}};
    }
}

void CFavoritesChange::RenameFolder(long position, const QString& title)
{
    CXmlNode folder = EntryAt(position).node;
    CXmlNode last;
    const CXmlNodeList children = folder.GetChildNodes();
    for (long i = 0; i < children.GetLength(); ++i) {
        CXmlNode child = children.GetItem(i);
        if (child.IsElement() && child.GetNodeName().ToQString() == kTitle)
            last = child;
    }
    if (last.IsNull()) {
        last = m_document.CreateElement(CXmlString(kTitle));
        folder.AddChild(last);
    }
    last.SetText(CXmlString(title));
    m_children.reset();
}

void CFavoritesChange::MoveAll(const QList<long>& positions, const QStringList& folder)
{
    const QList<Entry> entries = Entries();
    CXmlNode target = FolderNode(folder);
    for (const long position : positions) {
        if (position < 0 || position >= entries.size())
            throw xml::_com_error(
                xml::E_INVALIDARG,
                QStringLiteral("There is no record at position %1").arg(position));
    }
    for (const long position : positions)
        target.AddChild(entries.at(position).node);
    m_children.reset();
}

QList<QStringList> CFavoritesChange::JoinTwinFolders()
{
    QList<QStringList> joined;
    // Twins inside twins become siblings once their folders are joined: the next pass.
    for (bool again = true; again;) {
        again = false;
        const QList<Child> children = Children();
        // Only a twin needs the nodes; a change to a list without one does no second walk.
        std::optional<QList<Entry>> entries;
        QHash<QStringList, qsizetype> first;
        QList<QStringList> joinedNow;
        for (qsizetype i = 0; i < children.size(); ++i) {
            if (!children.at(i).isFolder())
                continue;
            const QStringList path = children.at(i).path();
            const auto inJoined = [&](const QStringList& folder) {
                return path.size() > folder.size() && path.first(folder.size()) == folder;
            };
            if (std::any_of(joinedNow.cbegin(), joinedNow.cend(), inJoined))
                continue;
            const auto known = first.constFind(path);
            if (known == first.cend()) {
                first.insert(path, i);
                continue;
            }
            if (!entries)
                entries = Entries();
            const Entry& keep = entries->at(*known);
            const Entry& twin = entries->at(i);
            if (!keep.parent.IsSameNode(twin.parent))
                continue;
            // Its own title stays behind; the rest moves, text and comments with it.
            const CXmlNodeList inside = twin.node.GetChildNodes();
            QList<CXmlNode> moving;
            for (long k = 0; k < inside.GetLength(); ++k) {
                const CXmlNode node = inside.GetItem(k);
                if (!node.IsElement() || node.GetNodeName().ToQString() != kTitle)
                    moving.append(node);
            }
            CXmlNode into = keep.node;
            for (const CXmlNode& node : std::as_const(moving))
                into.AddChild(node);
            CXmlNode parent = twin.parent;
            (void)parent.RemoveChild(twin.node);
            if (!joined.contains(path))
                joined.append(path);
            joinedNow.append(path);
            again = true;
        }
        if (again)
            m_children.reset();
    }
    return joined;
}

void CFavoritesChange::AppendAll(const QList<FavoriteRecord>& records,
                                 const QList<QStringList>& folders)
{
    // Each folder is looked up once, however many records go into it.
    QHash<QStringList, CXmlNode> nodes;
    nodes.insert({}, m_root);
    const QList<Child> children = Children();
    const QList<Entry> entries = Entries();
    for (qsizetype i = 0; i < children.size(); ++i) {
        if (children.at(i).isFolder() && !nodes.contains(children.at(i).path()))
            nodes.insert(children.at(i).path(), entries.at(i).node);
    }
    const std::function<CXmlNode(const QStringList&)> folderOf = [&](const QStringList& path) {
        if (const auto found = nodes.constFind(path); found != nodes.cend())
            return *found;
        CXmlNode parent = folderOf(path.first(path.size() - 1));
        CXmlNode folder = m_document.CreateElement(CXmlString(kFolder));
        CXmlNode titleNode = m_document.CreateElement(CXmlString(kTitle));
        titleNode.SetText(CXmlString(path.constLast()));
        folder.AddChild(titleNode);
        parent.AddChild(folder);
        nodes.insert(path, folder);
        return folder;
    };
    const auto cut = [](const QStringList& path) {
        return path.first(std::min<qsizetype>(path.size(), kMaxFolderDepth));
    };
    for (const FavoriteRecord& record : records)
        folderOf(cut(record.folder)).AddChild(NewFavorite(record.title, record.url));
    for (const QStringList& folder : folders)
        (void)folderOf(cut(folder));
    m_children.reset();
}

bool CFavoritesChange::SortFolder(const QStringList& path,
                                  const std::function<bool(const Child&, const Child&)>& less)
{
    const CXmlNode container = FolderNode(path);
    QList<QPair<CXmlNode, Child>> items;
    const CXmlNodeList children = container.GetChildNodes();
    for (long i = 0; i < children.GetLength(); ++i) {
        CXmlNode child = children.GetItem(i);
        if (!child.IsElement())
            continue;
        const QString name = child.GetNodeName().ToQString();
        if (!path.isEmpty() && name == kTitle)
            continue;
        items.append({child, {name, ReadRecord(child)}});
    }
    const auto byChild = [&](const QPair<CXmlNode, Child>& a, const QPair<CXmlNode, Child>& b) {
        return less(a.second, b.second);
    };
    if (std::is_sorted(items.cbegin(), items.cend(), byChild))
        return false;
    std::stable_sort(items.begin(), items.end(), byChild);
    CXmlNode parent = container;
    for (const auto& item : std::as_const(items))
        parent.AddChild(item.first);
    m_children.reset();
    return true;
}

void CFavoritesChange::Remove(long position)
{
    const Entry entry = EntryAt(position);
    CXmlNode parent = entry.parent;
    parent.RemoveChild(entry.node);
    m_children.reset();
}

void CFavoritesChange::RemoveAll(const QList<long>& positions)
{
    // The elements are gathered once: positions refer to the list before any removal.
    const QList<Entry> entries = Entries();
    for (const long position : positions) {
        if (position < 0 || position >= entries.size())
            throw xml::_com_error(
                xml::E_INVALIDARG,
                QStringLiteral("There is no record at position %1").arg(position));
    }
    // What a folder that goes holds goes with it, and is not taken out of it first.
    QList<long> ordered = positions;
    std::sort(ordered.begin(), ordered.end());
    ordered.erase(std::unique(ordered.begin(), ordered.end()), ordered.end());
    QList<CXmlNode> gone;
    const auto inside = [&](const CXmlNode& node) {
        return std::any_of(gone.cbegin(), gone.cend(),
                           [&](const CXmlNode& folder) { return folder.IsSameNode(node); });
    };
    for (qsizetype i = 0, next = 0; i < entries.size() && next < ordered.size(); ++i) {
        const Entry& entry = entries.at(i);
        const bool listed = ordered.at(next) == i;
        if (listed)
            ++next;
        if (inside(entry.parent)) {
            gone.append(entry.node);
            continue;
        }
        if (!listed)
            continue;
        CXmlNode parent = entry.parent;
        parent.RemoveChild(entry.node);
        gone.append(entry.node);
    }
    m_children.reset();
}
