// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "FeedStore.h"

#include <QFuture>
#include <QObject>
#include <QPromise>
#include <QThreadPool>

#include <memory>
#include <type_traits>

// The one thread that reads and stores feeds, so that parsing never runs on the thread
// of the windows. Its tasks run one after another, in the order given; their results come
// back as futures. The thread has its own connection to the database.
class FeedWorker : public QObject
{
    Q_OBJECT

public:
    // databasePath may be empty when no task stores anything.
    explicit FeedWorker(const QString& databasePath, QObject* parent = nullptr);
    ~FeedWorker() override;

    template <typename Task> [[nodiscard]] QFuture<std::invoke_result_t<Task>> run(Task task)
    {
        using Result = std::invoke_result_t<Task>;
        auto promise = std::make_shared<QPromise<Result>>();
        QFuture<Result> future = promise->future();
        promise->start();
        // The result is handed over on this object's thread: a continuation attached there
        // while the pool's thread finished the future could be lost.
        m_pool.start([this, promise, task = std::move(task)]() mutable {
            QMetaObject::invokeMethod(
                this,
                [promise, result = task()]() mutable {
                    promise->addResult(std::move(result));
                    promise->finish();
                },
                Qt::QueuedConnection);
        });
        return future;
    }

    // The worker thread's store; only for tasks.
    [[nodiscard]] FeedStore& threadStore();

private:
    QString m_path;
    QThreadPool m_pool;
    std::unique_ptr<FeedStore> m_store;
};
