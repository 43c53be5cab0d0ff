#pragma once

#include "CXmlDocument.h"
#include "FavoriteRecord.h"
#include "FavoriteRef.h"

#include <QList>
#include <QString>

#include <optional>

// The loaded Favorites.xml that one locked change of the store works on. Positions count
// the element children of the Favorites root, whatever their names, as add and delete
// compare against all of them.
class CFavoritesChange
{
public:
    // One child of the root as the reading rule sees it.
    struct Child
    {
        QString name;
        FavoriteRecord record;
        bool operator==(const Child&) const = default;
    };

    CFavoritesChange(CXmlDocument document, CXmlNode root);

    // Every element child of the root in file order; the Favorite elements among them are
    // the records ReadAll returns.
    [[nodiscard]] QList<Child> Children() const;
    // The position of the first element child holding exactly this pair, or -1.
    [[nodiscard]] long Find(const QString& title, const QString& url) const;
    // The positions of the favorites refs name, in their order: a ref's own place when it
    // still holds the same pair there, else the first child holding the pair that no
    // earlier ref took; -1 for one that is no longer there.
    [[nodiscard]] QList<long> LocateAll(const QList<FavoriteRef>& refs) const;

    // A new Favorite (title, then url) as the last child.
    void Append(const QString& title, const QString& url);
    // A new Favorite in place of the child at position, which keeps its place.
    void Replace(long position, const QString& title, const QString& url);
    void Remove(long position);
    // Removes the children at all these positions (as they are before the call).
    void RemoveAll(const QList<long>& positions);

    // For changes the operations above do not cover.
    [[nodiscard]] CXmlDocument& Document()
    {
        m_children.reset();
        return m_document;
    }
    [[nodiscard]] CXmlNode& Root()
    {
        m_children.reset();
        return m_root;
    }

    // The root's children of a document, or an empty list without a Favorites root.
    [[nodiscard]] static QList<Child> ChildrenOf(const CXmlDocument& document);
    // The record the reading rule takes from one element: the last title and url win.
    [[nodiscard]] static FavoriteRecord ReadRecord(const CXmlNode& node);
    [[nodiscard]] static CXmlNode FindRoot(const CXmlDocument& document);

private:
    [[nodiscard]] CXmlNode NewFavorite(const QString& title, const QString& url);
    [[nodiscard]] CXmlNode ChildAt(long position) const;

    CXmlDocument m_document;
    CXmlNode m_root;
    // The children as the operations above left them, once read: an import of thousands
    // of records need not read them all back from the tree to know what it intends.
    mutable std::optional<QList<Child>> m_children;
};
