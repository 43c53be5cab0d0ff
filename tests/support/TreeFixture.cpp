// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "TreeFixture.h"

#include "TestFiles.h"
#include "app/CKestrinNewsReaderDoc.h"
#include "app/Globals.h"
#include "catalog/CLeftView.h"
#include "catalog/CatalogContextMenu.h"
#include "catalog/FavoriteMenuEntries.h"

#include <QTest>

TreeFixture::TreeFixture()
    : m_profile(m_profileFile.open()), m_doc(std::make_unique<CKestrinNewsReaderDoc>()),
      m_tree(new CLeftView(*m_profile, m_folder.store()))
{
    g_strAppDir = m_folder.path();
    g_strCurrentURL = QStringLiteral("https://start.example.org/");
    m_tree->AttachDocument(m_doc.get());
    m_navigations = std::make_unique<QSignalSpy>(m_tree.data(), &CLeftView::openRequested);
}

TreeFixture::~TreeFixture()
{
    m_navigations.reset();
    // A tree that a pane took in went with the pane.
    if (m_tree && !m_tree->parent())
        delete m_tree;
    m_doc.reset();
    g_strAppDir.clear();
    g_strCurrentURL.clear();
}

bool TreeFixture::writeFavorites(const QByteArray& xml) const
{
    return m_folder.writeFavoritesXml(xml);
}

std::unique_ptr<CatalogContextMenu> TreeFixture::showWithFavoritesMenu() const
{
    CLeftView* tree = m_tree;
    tree->OnInitialUpdate();
    tree->resize(300, 600);
    tree->show();
    if (!QTest::qWaitForWindowExposed(tree))
        return nullptr;
    auto menu = std::make_unique<CatalogContextMenu>(tree);
    menu->addSection([tree](QMenu& entries, const CatalogMenuContext& context) {
        FavoriteMenuEntries::AddTo(entries, *tree, context.item);
    });
    return menu;
}

QTreeWidgetItem* TreeFixture::childNamed(QTreeWidgetItem* parent, const QString& text)
{
    for (int i = 0; parent && i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0) == text)
            return parent->child(i);
    }
    return nullptr;
}
