// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CatalogTreeFilter.h"

#include "CLeftView.h"
#include "CatalogData.h"

#include <QAccessible>
#include <QHash>
#include <QSet>
#include <QUrl>

#include <algorithm>

CatalogTreeFilter::CatalogTreeFilter(CLeftView* tree, QObject* parent)
    : QObject(parent), m_tree(tree)
{
    connect(tree, &CLeftView::treeRebuilt, this, [this] { OnTreeRebuilt(); });
    connect(tree, &CLeftView::favoritesUpdated, this, [this] { OnFavoritesUpdated(); });
}

void CatalogTreeFilter::SetText(const QString& text)
{
    m_text = text;
    m_words = CatalogSearch::Words(text);
    if (isActive())
        Apply();
    else
        Restore();
    // Hiding rows tells assistive technology nothing, and it would go on reading the rows it
    // knew: it is told to read them anew.
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent reset(m_tree,
                                               QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&reset);
    }
    emit changed();
}

QTreeWidgetItem* CatalogTreeFilter::firstMatch() const
{
    if (!isActive())
        return nullptr;
    const auto entry = std::find(m_matches.cbegin(), m_matches.cend(), true);
    const auto folder = std::find(m_folderMatches.cbegin(), m_folderMatches.cend(), true);
    const std::size_t e = std::size_t(entry - m_matches.cbegin());
    const std::size_t f = std::size_t(folder - m_folderMatches.cbegin());
    const bool hasEntry = entry != m_matches.cend();
    const bool hasFolder = folder != m_folderMatches.cend();
    if (hasFolder && (!hasEntry || m_namedFolderRows[f] < m_entryRows[e]))
        return m_folders[m_namedFolders[f]];
    return hasEntry ? m_entries[e] : nullptr;
}

void CatalogTreeFilter::Prepare()
{
    if (!m_indexed)
        Index();
}

void CatalogTreeFilter::OnTreeRebuilt()
{
    // Every item is new: nothing is hidden and the expansion is the new tree's own.
    m_indexed = false;
    m_filtering = false;
    m_entries.clear();
    m_folders.clear();
    m_matches.clear();
    m_folderMatches.clear();
    m_matchCount = 0;
    m_folderMatchCount = 0;
    if (isActive())
        Apply();
    emit changed();
}

void CatalogTreeFilter::OnFavoritesUpdated()
{
    // Not read yet: the first key typed reads the tree as it is then.
    if (!m_indexed)
        return;
    // Favorites came and went; the folders are the same, and so is their expansion from
    // before the filter took over.
    QHash<const QTreeWidgetItem*, bool> expandedBefore;
    for (std::size_t i = 0; m_filtering && i < m_folders.size(); ++i)
        expandedBefore.insert(m_folders[i], m_expandedBefore[i]);
    Index();
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        m_entryHidden[i] = m_entries[i]->isHidden();
    for (std::size_t i = 0; i < m_folders.size(); ++i)
        m_folderHidden[i] = m_folders[i]->isHidden();
    if (m_filtering) {
        m_expandedBefore.resize(m_folders.size());
        for (std::size_t i = 0; i < m_folders.size(); ++i)
            m_expandedBefore[i] = expandedBefore.value(m_folders[i], m_folders[i]->isExpanded());
    }
    if (isActive())
        Apply(false);
    emit changed();
}

void CatalogTreeFilter::Index()
{
    m_search.Clear();
    m_folderSearch.Clear();
    m_entries.clear();
    m_folders.clear();
    m_entryRows.clear();
    m_namedFolders.clear();
    m_namedFolderRows.clear();
    // Top to bottom, so the first match is the one the user sees first.
    std::vector<QTreeWidgetItem*> pending;
    for (int i = m_tree->topLevelItemCount() - 1; i >= 0; --i)
        pending.push_back(m_tree->topLevelItem(i));
    int row = 0;
    while (!pending.empty()) {
        QTreeWidgetItem* item = pending.back();
        pending.pop_back();
        const int index = item->data(0, CLeftView::kIndexRole).toInt();
        if (index == 0) {
            // A folder of My Favorites is found by its name and those above it, as the
            // favorites in it are.
            if (m_tree->IsFolder(item)) {
                m_namedFolders.push_back(m_folders.size());
                m_namedFolderRows.push_back(row);
                m_folderSearch.Add({m_tree->FolderPath(item).join(u' ')});
            }
            ++row;
            m_folders.push_back(item);
            for (int i = item->childCount() - 1; i >= 0; --i)
                pending.push_back(item->child(i));
            continue;
        }
        m_entries.push_back(item);
        m_entryRows.push_back(row++);
        // A favorite in folders is found by any folder on its path.
        const QStringList path = m_tree->FolderPath(item->parent());
        const QString group = !path.isEmpty()  ? path.join(u' ')
                              : item->parent() ? item->parent()->text(0)
                                               : QString();
        const QString host = QUrl(m_tree->urlAt(index)).host();
        if (const CatalogEntry* entry = m_tree->catalogEntryAt(index)) {
            m_search.Add({item->text(0), group, host, QString::fromUtf8(entry->place),
                          QString::fromUtf8(CatalogData::KindText(entry->kind))});
        } else {
            m_search.Add({item->text(0), group, host});
        }
    }
    m_entryHidden.assign(m_entries.size(), false);
    m_folderHidden.assign(m_folders.size(), false);
    m_indexed = true;
}

void CatalogTreeFilter::Apply(bool toTop)
{
    Prepare();
    if (!m_filtering) {
        m_expandedBefore.resize(m_folders.size());
        for (std::size_t i = 0; i < m_folders.size(); ++i)
            m_expandedBefore[i] = m_folders[i]->isExpanded();
        m_filtering = true;
    }
    m_matches = m_search.Match(m_words);
    m_folderMatches = m_folderSearch.Match(m_words);

    // The folders above a match show and open: the path to it.
    QSet<QTreeWidgetItem*> holders;
    const auto holdAbove = [&holders](const QTreeWidgetItem* item) {
        for (QTreeWidgetItem* folder = item->parent(); folder && !holders.contains(folder);
             folder = folder->parent())
            holders.insert(folder);
    };
    m_matchCount = 0;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (!m_matches[i])
            continue;
        ++m_matchCount;
        holdAbove(m_entries[i]);
    }
    // A folder found by name shows too; it opens only to show a match inside.
    QSet<const QTreeWidgetItem*> found;
    m_folderMatchCount = 0;
    for (std::size_t i = 0; i < m_namedFolders.size(); ++i) {
        if (!m_folderMatches[i])
            continue;
        ++m_folderMatchCount;
        QTreeWidgetItem* folder = m_folders[m_namedFolders[i]];
        found.insert(folder);
        holdAbove(folder);
    }
    // Entries of a hidden folder are out of sight with it; they are set once it shows again.
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const bool hide = !m_matches[i];
        if (hide != m_entryHidden[i] && holders.contains(m_entries[i]->parent())) {
            m_entries[i]->setHidden(hide);
            m_entryHidden[i] = hide;
        }
    }
    for (std::size_t i = 0; i < m_folders.size(); ++i) {
        QTreeWidgetItem* folder = m_folders[i];
        const bool holder = holders.contains(folder);
        const bool hide = !holder && !found.contains(folder);
        if (hide != m_folderHidden[i]) {
            folder->setHidden(hide);
            m_folderHidden[i] = hide;
        }
        if (holder && !folder->isExpanded())
            folder->setExpanded(true);
    }
    if (toTop)
        m_tree->scrollToTop();
    m_tree->ScheduleColumnFit();
}

void CatalogTreeFilter::Restore()
{
    m_matches.clear();
    m_folderMatches.clear();
    m_matchCount = 0;
    m_folderMatchCount = 0;
    if (!m_filtering)
        return;
    m_filtering = false;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entryHidden[i]) {
            m_entries[i]->setHidden(false);
            m_entryHidden[i] = false;
        }
    }
    for (std::size_t i = 0; i < m_folders.size(); ++i) {
        if (m_folderHidden[i]) {
            m_folders[i]->setHidden(false);
            m_folderHidden[i] = false;
        }
        if (m_folders[i]->isExpanded() != m_expandedBefore[i])
            m_folders[i]->setExpanded(m_expandedBefore[i]);
    }
    m_tree->ScheduleColumnFit();
    // The paper chosen last stays selected and in sight, its folders opened for it.
    QTreeWidgetItem* current = m_tree->currentItem();
    if (!current || !current->isSelected())
        return;
    for (QTreeWidgetItem* folder = current->parent(); folder; folder = folder->parent())
        folder->setExpanded(true);
    m_tree->scrollToItem(current);
}
