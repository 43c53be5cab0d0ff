// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoritesSearchProxy.h"

#include "FavoritesTreeModel.h"

FavoritesSearchProxy::FavoritesSearchProxy(FavoritesTreeModel& model, QObject* parent)
    : QSortFilterProxyModel(parent), m_model(model)
{
    setRecursiveFilteringEnabled(true);
    setAutoAcceptChildRows(true);
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    setSourceModel(&model);
}

bool FavoritesSearchProxy::SetSearchText(const QString& text)
{
    if (text == m_text)
        return false;
    std::vector<char> matching = text.isEmpty() ? std::vector<char>() : m_model.Matching(text);
    // A longer word often finds the same rows: the view then has nothing to redo.
    const bool same = !text.isEmpty() && !m_text.isEmpty() && m_matched == m_model.generation() &&
                      matching == m_matching;
    m_text = text;
    m_matching = std::move(matching);
    m_matched = m_model.generation();
    if (same)
        return false;
    // All at once: told row by row, thousands of scattered changes cost the view far more.
    invalidate();
    return true;
}

bool FavoritesSearchProxy::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (m_text.isEmpty())
        return true;
    if (m_matched != m_model.generation()) {
        m_matching = m_model.Matching(m_text);
        m_matched = m_model.generation();
    }
    const int node = FavoritesTreeModel::node(m_model.index(sourceRow, 0, sourceParent));
    return std::size_t(node) < m_matching.size() && m_matching[std::size_t(node)];
}

bool FavoritesSearchProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const bool leftFolder = m_model.isFolder(left);
    if (leftFolder != m_model.isFolder(right) && left.column() != FavoritesTreeModel::Number) {
        // Sorting descending turns the answer around: folders stay first either way.
        return leftFolder != (sortOrder() == Qt::DescendingOrder);
    }
    if (left.column() == FavoritesTreeModel::Number)
        return m_model.fileOrderAt(left) < m_model.fileOrderAt(right);
    if (leftFolder || left.column() == FavoritesTreeModel::Name)
        return m_collator.compare(m_model.titleAt(left), m_model.titleAt(right)) < 0;
    return m_model.refAt(left).record.url.compare(m_model.refAt(right).record.url,
                                                  Qt::CaseInsensitive) < 0;
}
