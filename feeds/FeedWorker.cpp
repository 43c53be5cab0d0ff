// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FeedWorker.h"

#include "FeedXml.h"

FeedWorker::FeedWorker(const QString& databasePath, QObject* parent)
    : QObject(parent), m_path(databasePath)
{
    FeedXml::Initialize();
    m_pool.setMaxThreadCount(1);
    // The thread stays for the worker's life: its database connection belongs to it.
    m_pool.setExpiryTimeout(-1);
}

FeedWorker::~FeedWorker()
{
    // The connection is closed on the thread that opened it.
    m_pool.start([this] { m_store.reset(); });
    m_pool.waitForDone();
}

FeedStore& FeedWorker::threadStore()
{
    if (!m_store)
        m_store = std::make_unique<FeedStore>(m_path, FeedDatabase::Check::Trusted);
    return *m_store;
}
