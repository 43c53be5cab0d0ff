// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoritesTestCase.h"

#include "favorites/CXmlDocument.h"
#include "favorites/CXmlTestSeam.h"

#include <QTest>

void FavoritesTestCase::writeFavorites(const TestFiles::Records& records) const
{
    QVERIFY(m_dir->writeFavorites(records));
}

void FavoritesTestCase::initTestCase()
{
    CXmlDocument::InitializeEngine();
}

void FavoritesTestCase::init()
{
    m_dir = std::make_unique<FavoritesFolder>();
    QVERIFY(m_dir->isValid());
}

void FavoritesTestCase::cleanup()
{
    CXmlTestSeam::SetFailures({});
    m_dir.reset();
}
