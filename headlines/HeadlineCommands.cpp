// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "HeadlineCommands.h"

#include "HeadlineList.h"
#include "HeadlineModel.h"
#include "HeadlinePane.h"
#include "UnreadCountWalk.h"
#include "app/SettingsKeys.h"
#include "catalog/CLeftView.h"
#include "favorites/CFavoritesStore.h"
#include "favorites/FavoritesUpdate.h"

#include <QApplication>
#include <QEvent>
#include <QSplitter>
#include <QTreeWidgetItem>

namespace {
// Refreshes end site by site: the list is read again once they pause.
constexpr int kReloadDelayMs = 300;
constexpr int kHeightSaveDelayMs = 300;
constexpr int kSmallestHeight = 60;

QString noFeedText(const QString& name, const QString& reason)
{
    QString text = QStringLiteral("%1 publishes no feed we can read").arg(name);
    return reason.isEmpty() ? text + QLatin1Char('.') : text + QStringLiteral(": ") + reason;
}
} // namespace

HeadlineCommands::HeadlineCommands(Profile& profile, CLeftView* tree, CFavoritesStore& favorites,
                                   QSplitter* split, const QString& databasePath, Hooks hooks)
    : m_profile(profile), m_tree(tree), m_split(split), m_hooks(std::move(hooks)),
      m_favorites(favorites), m_refresher(databasePath)
{
    // The refresher's store has checked the file; a stand-in replaces a damaged one.
    m_reader = std::make_unique<FeedWorker>(m_refresher.store().path());
    m_pane = new HeadlinePane(split);
    split->insertWidget(0, m_pane);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);
    m_pane->setMinimumHeight(kSmallestHeight);
    m_shown = profile.GetInt(kSettingsSection, SettingsKeys::HeadlinesShown) == 1;
    m_pane->setVisible(m_shown);
    // Its stored height once the pane has its first size.
    m_heightPending = m_shown;
    split->installEventFilter(this);

    HeadlineList* list = m_pane->list();
    connect(list, &HeadlineList::openRequested, this, &HeadlineCommands::OpenRow);
    connect(list, &HeadlineList::toggleReadRequested, this, &HeadlineCommands::toggleRead);
    connect(list, &HeadlineList::refreshRequested, this, &HeadlineCommands::OnRefresh);

    m_refreshTimer.setInterval(
        std::max(1, profile.GetInt(kSettingsSection, SettingsKeys::HeadlinesRefreshMinutes)) * 60 *
        1000);
    connect(&m_refreshTimer, &QTimer::timeout, this,
            [this] { m_refresher.refresh(refreshSites(), FeedRefresher::Mode::WhenDue); });
    m_reloadTimer.setSingleShot(true);
    m_reloadTimer.setInterval(kReloadDelayMs);
    connect(&m_reloadTimer, &QTimer::timeout, this, [this] { load(true); });
    m_heightTimer.setSingleShot(true);
    m_heightTimer.setInterval(kHeightSaveDelayMs);
    connect(&m_heightTimer, &QTimer::timeout, this, &HeadlineCommands::saveHeight);
    connect(split, &QSplitter::splitterMoved, this, [this] { m_heightTimer.start(); });

    connect(&m_refresher, &FeedRefresher::progressChanged, this, [this](int done, int total) {
        m_hooks.status(
            QStringLiteral("Refreshing headlines: %1 of %2 papers").arg(done).arg(total));
    });
    connect(&m_refresher, &FeedRefresher::siteRefreshed, this,
            [this](const QString&, int newItems) {
                if (newItems > 0)
                    m_reloadTimer.start();
            });
    connect(&m_refresher, &FeedRefresher::siteLookedUp, this, &HeadlineCommands::onSiteLookedUp);
    connect(&m_refresher, &FeedRefresher::finished, this,
            [this](const FeedRefresher::Summary& summary) {
                m_hooks.status(summary.message);
                // After every other listener of the run's end.
                m_reloadTimer.stop();
                QTimer::singleShot(0, this, [this] { load(true); });
            });

    connect(&favorites, &CFavoritesStore::favoritesChanged, this,
            &HeadlineCommands::onFavoritesChanged);

    if (tree) {
        connect(tree, &QTreeWidget::currentItemChanged, this,
                [this](QTreeWidgetItem* current) { followSelection(current); });
        connect(tree, &CLeftView::treeRebuilt, this, &HeadlineCommands::applyCounts);
        connect(tree, &CLeftView::favoritesUpdated, this, &HeadlineCommands::applyCounts);
        m_countWalk = new UnreadCountWalk(tree, this);
        connect(m_countWalk, &UnreadCountWalk::finished, this,
                [this](int total) { m_treeCounted = total > 0; });
    }
}

HeadlineCommands::~HeadlineCommands()
{
    if (m_heightTimer.isActive())
        saveHeight();
    m_refresher.cancel();
}

void HeadlineCommands::Start()
{
    if (m_startAsked)
        return;
    m_startAsked = true;
    // The list the tree was built from, once the window is up: a long one is neither read
    // twice nor gone through before the first frame.
    if (m_favoritesKnown && !m_favoritesPending)
        begin();
    else if (!m_favoritesPending)
        onFavoritesChanged(m_favorites.Known());
}

void HeadlineCommands::begin()
{
    m_started = true;
    if (!m_refresher.problem().isEmpty())
        m_hooks.status(m_refresher.problem());
    if (m_shown && m_tree)
        followSelection(m_tree->currentItem());
    else
        load(true);
    m_refresher.refresh(m_favoriteSites, FeedRefresher::Mode::WhenDue);
    m_refreshTimer.start();
}

void HeadlineCommands::OnToggle()
{
    if (!m_shown) {
        show(true);
        m_pane->list()->setFocus(Qt::ShortcutFocusReason);
        return;
    }
    const QWidget* focus = QApplication::focusWidget();
    if (!focus || !m_pane->isAncestorOf(focus)) {
        m_pane->list()->setFocus(Qt::ShortcutFocusReason);
        return;
    }
    show(false);
    if (m_hooks.focusPage)
        m_hooks.focusPage();
}

void HeadlineCommands::show(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    m_profile.Write(kSettingsSection, SettingsKeys::HeadlinesShown, shown ? 1 : 0);
    m_pane->setVisible(shown);
    if (!shown)
        return;
    applyHeight();
    // Hidden, the list did not follow the tree: a paper is looked up only when shown.
    if (m_tree)
        followSelection(m_tree->currentItem());
}

bool HeadlineCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_split && event->type() == QEvent::Resize && m_heightPending &&
        m_split->height() > 0) {
        m_heightPending = false;
        applyHeight();
    }
    return QObject::eventFilter(watched, event);
}

void HeadlineCommands::applyHeight()
{
    if (!m_split || m_split->count() < 2)
        return;
    const int total = m_split->height() - m_split->handleWidth();
    const int height = std::max(kSmallestHeight,
                                m_profile.GetInt(kSettingsSection, SettingsKeys::HeadlinesHeight));
    if (total > height)
        m_split->setSizes({height, total - height});
}

void HeadlineCommands::saveHeight()
{
    m_heightTimer.stop();
    if (!m_shown || !m_pane || m_pane->height() <= 0)
        return;
    m_profile.Write(kSettingsSection, SettingsKeys::HeadlinesHeight, m_pane->height());
}

void HeadlineCommands::followSelection(QTreeWidgetItem* item)
{
    QString paper = m_tree && item ? m_tree->urlOf(item) : QString();
    const QString name = item ? item->text(0) : QString();
    if (!m_shown) {
        m_paper = paper;
        m_paperName = name;
        return;
    }
    const bool same = FeedStore::Key(paper) == FeedStore::Key(m_paper);
    m_paper = paper;
    m_paperName = name;
    if (paper.isEmpty()) {
        m_pane->setNote({});
        load(true);
        return;
    }
    const SiteFeed known = m_refresher.store().siteFeed(paper);
    if (known.state == SiteFeed::State::Unknown)
        m_pane->setNote(QStringLiteral("Looking for %1's feed…").arg(name));
    else if (known.state == SiteFeed::State::None)
        m_pane->setNote(noFeedText(name, known.reason));
    else
        m_pane->setNote({});
    load(true);
    if (!same || known.state == SiteFeed::State::Unknown)
        m_refresher.lookUp(paper);
}

void HeadlineCommands::onSiteLookedUp(const QString& site, const SiteFeed& feed)
{
    if (m_paper.isEmpty() || FeedStore::Key(site) != FeedStore::Key(m_paper))
        return;
    m_pane->setNote(feed.state == SiteFeed::State::None ? noFeedText(m_paperName, feed.reason)
                                                        : QString());
}

void HeadlineCommands::onFavoritesChanged(const FavoritesUpdate& update)
{
    setFavorites(update.records);
}

void HeadlineCommands::setFavorites(const QList<FavoriteRecord>& records)
{
    // Only the last list asked for counts; what it adds is against the last one applied.
    const quint64 generation = ++m_favoritesGeneration;
    m_favoritesPending = true;
    m_reader
        ->run([records, before = m_favoriteKeySet] {
            Favorites favorites;
            for (const FavoriteRecord& record : records) {
                if (favorites.keys.contains(record.url))
                    continue;
                const QString key = FeedStore::Key(record.url);
                favorites.keys.insert(record.url, key);
                if (key.isEmpty() || favorites.keySet.contains(key))
                    continue;
                favorites.keySet.insert(key);
                favorites.sites.append(record.url);
                favorites.names.insert(record.url, record.title);
                if (!before.contains(key))
                    favorites.added.append(record.url);
            }
            return favorites;
        })
        .then(this, [this, generation](const Favorites& favorites) {
            if (generation == m_favoritesGeneration)
                applyFavorites(favorites);
        });
}

void HeadlineCommands::applyFavorites(const Favorites& favorites)
{
    m_favoritesPending = false;
    m_favoritesKnown = true;
    m_favoriteSites = favorites.sites;
    m_favoriteNames = favorites.names;
    m_favoriteKeys = favorites.keys;
    m_favoriteKeySet = favorites.keySet;
    if (!m_started) {
        if (m_startAsked)
            begin();
        return;
    }
    // A new favorite's feed is looked for at once; a deleted one's items leave the list.
    for (const QString& site : favorites.added)
        m_refresher.lookUp(site);
    load(true);
}

QStringList HeadlineCommands::refreshSites() const
{
    QStringList sites = m_favoriteSites;
    if (!m_paper.isEmpty() && m_shown && !sites.contains(m_paper))
        sites.append(m_paper);
    return sites;
}

void HeadlineCommands::OnRefresh()
{
    const QStringList sites = refreshSites();
    if (sites.isEmpty()) {
        m_hooks.status(QStringLiteral(
            "No papers to refresh: add papers to My Favorites to see their headlines."));
        return;
    }
    m_refresher.refresh(sites, FeedRefresher::Mode::Now);
}

void HeadlineCommands::OpenRow(int row)
{
    const StoredItem* item = m_pane->model()->itemAt(row);
    if (!item)
        return;
    if (!item->link.isEmpty())
        m_hooks.open(item->link);
    if (!item->read)
        toggleRead(row);
}

void HeadlineCommands::toggleRead(int row)
{
    HeadlineModel* model = m_pane->model();
    const StoredItem* item = model->itemAt(row);
    if (!item)
        return;
    const bool read = !item->read;
    const qint64 id = item->id;
    model->setRead(row, read);
    writeMarks({id}, read);
}

void HeadlineCommands::OnMarkAllRead()
{
    HeadlineModel* model = m_pane->model();
    const QList<qint64> ids = model->itemIds();
    if (ids.isEmpty())
        return;
    model->setAllRead();
    writeMarks(ids, true);
}

void HeadlineCommands::writeMarks(const QList<qint64>& ids, bool read)
{
    // A read started before the marks would bring the old ones back: it is dropped, and
    // read again after them.
    ++m_loadGeneration;
    FeedWorker* reader = m_reader.get();
    reader->run([reader, ids, read] { return reader->threadStore().setRead(ids, read); })
        .then(this, [this](bool) { load(m_itemsPending); });
}

void HeadlineCommands::load(bool withItems)
{
    const quint64 generation = ++m_loadGeneration;
    const QStringList listed = m_paper.isEmpty() ? m_favoriteSites : QStringList{m_paper};
    const QStringList favorites = m_favoriteSites;
    // Counts alone leave the list as it is: its read marks are already current here.
    const bool items = withItems || m_itemsPending || m_pane->model()->rowCount() == 0;
    m_itemsPending = items;
    FeedWorker* reader = m_reader.get();
    reader
        ->run([reader, listed, favorites, keys = m_favoriteKeys, items] {
            Loaded loaded;
            loaded.withItems = items;
            if (items)
                loaded.items = reader->threadStore().items(listed);
            const QHash<QString, int> counts = reader->threadStore().unreadCounts(favorites);
            for (auto it = counts.cbegin(); it != counts.cend(); ++it)
                loaded.counts[keys.value(it.key(), FeedStore::Key(it.key()))] += it.value();
            // The tree's favorites are found by address: each with its paper's count.
            if (!loaded.counts.isEmpty()) {
                for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
                    if (const int count = loaded.counts.value(it.value()); count > 0)
                        loaded.countOfUrl.insert(it.key(), count);
                }
            }
            return loaded;
        })
        .then(this, [this, generation](const Loaded& loaded) {
            if (generation == m_loadGeneration)
                applyLoaded(loaded);
        });
}

void HeadlineCommands::applyLoaded(const Loaded& result)
{
    // The tree shows them already unless they changed; a rebuilt tree asks by itself.
    const bool changed = result.counts != m_counts || result.countOfUrl != m_countOfUrl;
    m_counts = result.counts;
    m_countOfUrl = result.countOfUrl;
    if (result.withItems) {
        m_itemsPending = false;
        HeadlineList* list = m_pane->list();
        HeadlineModel* model = m_pane->model();
        const StoredItem* current = model->itemAt(list->currentIndex().row());
        const qint64 currentId = current ? current->id : 0;
        // One paper's list names only it: a long list's names are not copied for that.
        model->setItems(result.items, m_paper.isEmpty()
                                          ? m_favoriteNames
                                          : QHash<QString, QString>{{m_paper, m_paperName}});
        if (const int row = model->rowOfItem(currentId); row >= 0)
            list->setCurrentIndex(model->index(row, HeadlineModel::Headline));
        else if (list->hasFocus())
            list->ensureCurrent();
    }
    if (changed)
        applyCounts();
    emit loaded();
}

void HeadlineCommands::applyCounts()
{
    if (!m_tree)
        return;
    // Without counts a tree that shows none stays as it is: a rebuilt tree of many
    // favorites is not gone through to learn so.
    if (m_counts.isEmpty() && !m_treeCounted)
        return;
    // Until the walk ends, the tree may show some.
    m_treeCounted = true;
    m_countWalk->start(m_countOfUrl, m_favoriteKeys);
}
