// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "linkcheck/LinkCheckController.h"
#include "linkcheck/LinkCheckWindow.h"
#include "linkcheck/LinkReportDialog.h"
#include "linkcheck/LinkTarget.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>

class CatalogContextMenu;
class CFavoritesStore;
class CatalogLinkMarks;
class CLeftView;
class QWidget;

// The link check as the user meets it: Catalog > Check Links… and Link Report, the
// progress window, the report, the marks in the tree and "Check This Link" in the tree's
// menu.
class LinkCheckCommands : public QObject
{
    Q_OBJECT

public:
    struct Hooks
    {
        // Shows an address in the browser pane.
        std::function<void(const QString& url)> open;
        // A line for the frame's status bar.
        std::function<void(const QString& text)> status;
    };

    LinkCheckCommands(QWidget* window, CLeftView* tree, CatalogContextMenu& treeMenu,
                      CFavoritesStore& favorites, Hooks hooks);
    ~LinkCheckCommands() override;

    void OnCheckLinks();
    void OnLinkReport();
    void CheckThisLink(const QString& name, const QString& url);
    // The links of a group (a folder of My Favorites), in the check window as a full check.
    void CheckThese(const QStringList& addresses);
    // Points a favorite at its new address, in one locked change of Favorites.xml; false
    // (after telling why) when the favorite is gone or already has that address.
    bool UseNewAddress(const LinkTarget& favorite, const QString& newUrl);

    // What the last check found at an address, as a line for the page shown when the
    // address cannot be opened; empty when it was never checked.
    [[nodiscard]] QString NoteFor(const QUrl& url) const;

    [[nodiscard]] LinkCheckController& controller() { return m_controller; }
    // Reads results from another file (and marks the tree anew).
    void useResultsFile(const QString& path);
    [[nodiscard]] LinkCheckWindow* progressWindow() const { return m_window; }
    [[nodiscard]] LinkReportDialog* report() const { return m_report; }

private:
    void onResultChanged(const QString& url);
    void onRunFinished(LinkChecker::Outcome outcome, bool fullRun);
    void refreshReport();
    void showKeepProblem();
    void showSingleResult();
    [[nodiscard]] QList<LinkTarget> currentTargets() const;

    QPointer<QWidget> m_windowParent;
    QPointer<CLeftView> m_tree;
    CFavoritesStore& m_favorites;
    Hooks m_hooks;
    LinkCheckController m_controller;
    std::unique_ptr<CatalogLinkMarks> m_marks;
    QPointer<LinkCheckWindow> m_window;
    QPointer<LinkReportDialog> m_report;
    QTimer m_reportRefresh;
    QString m_singleName;
    QString m_singleUrl;
};
