// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "app/CAboutDlg.h"
#include "browser/CKestrinNewsReaderView.h"
#include "browser/FindBar.h"
#include "catalog/CLeftView.h"
#include "catalog/CatalogContextMenu.h"
#include "catalog/CatalogData.h"
#include "favorites/ui/CAddModifyFavoriteDlg.h"
#include "favorites/ui/CEditMyFavoriteDlg.h"
#include "favorites/ui/CRestoreFavoritesDlg.h"
#include "frame/CMainFrame.h"
#include "frame/LinkCheckCommands.h"
#include "headlines/HeadlineCommands.h"
#include "headlines/HeadlinePane.h"
#include "linkcheck/LinkResultStore.h"
#include "platform/BrowserPopupWindow.h"
#include "platform/MessageBox.h"
#include "res/Resource.h"
#include "support/AppFixture.h"
#include "support/DialogControls.h"
#include "support/MenuEntries.h"
#include "support/MessageCapture.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "support/ViewRows.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaEnum>
#include <QTreeView>

namespace {
const QString kGazetteUrl = QStringLiteral("http://127.0.0.1:9/gazette");

// Roles a user acts on even where they take no keyboard focus (the find bar's buttons).
bool isControl(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::EditableText:
    case QAccessible::List:
    case QAccessible::Tree:
    case QAccessible::Table:
    case QAccessible::PageTab:
    case QAccessible::MenuItem:
    case QAccessible::ButtonMenu:
    case QAccessible::ProgressBar:
        return true;
    default:
        return false;
    }
}

QString who(QAccessibleInterface* node)
{
    QString text = QString::fromLatin1(
        QMetaEnum::fromType<QAccessible::Role>().valueToKey(static_cast<int>(node->role())));
    if (const QObject* object = node->object()) {
        text += QLatin1Char(' ') + QLatin1String(object->metaObject()->className());
        if (!object->objectName().isEmpty())
            text += QLatin1Char(' ') + object->objectName();
    }
    return text;
}

void walk(QAccessibleInterface* node, const QString& path, QStringList& unnamed)
{
    const QString here = path + QLatin1String(" > ") + who(node);
    if ((node->state().focusable || isControl(node->role())) &&
        node->text(QAccessible::Name).trimmed().isEmpty())
        unnamed.append(here);
    // Inside the page is the site's own content, read out by the web engine, not our controls.
    if (node->object() && node->object()->inherits("QWebEngineView"))
        return;
    for (int i = 0; i < node->childCount(); ++i) {
        if (QAccessibleInterface* child = node->child(i))
            walk(child, here, unnamed);
    }
}

// Every control of the window, shown or hidden, that a screen reader could only call by
// its kind.
QStringList unnamedControls(QWidget* window)
{
    QStringList unnamed;
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
    if (!root)
        return {QStringLiteral("no accessible interface for ") + window->windowTitle()};
    walk(root, window->windowTitle(), unnamed);
    return unnamed;
}

QString nameOf(QObject* object)
{
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(object);
    return node ? node->text(QAccessible::Name) : QString();
}

// The tree's rows on show, as a screen reader reads them: name to description.
QHash<QString, QString> treeRows(CLeftView* tree)
{
    QHash<QString, QString> rows;
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(tree);
    for (int i = 0; i < view->childCount(); ++i) {
        QAccessibleInterface* cell = view->child(i);
        if (cell && cell->role() == QAccessible::TreeItem)
            rows.insert(cell->text(QAccessible::Name), cell->text(QAccessible::Description));
    }
    return rows;
}
} // namespace

// Every window and dialog of the program, walked as a screen reader walks it: each control
// has a name to say, and the tree's rows say what they are.
class AccessibleNamesTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void mainWindowNamesEveryPane();
    void treeRowsSayWhatTheyAre();
    void favoriteDialogsNameTheirFields();
    void restoreAboutAndMessageBoxesAreNamed();
    void folderDialogsAndHeadlinesAreNamed();
    void linkCheckWindowsAreNamed();
    void popUpWindowNamesItsPage();

private:
    CMainFrame* frame() const { return m_fixture->frame(); }

    std::unique_ptr<QTemporaryDir> m_data;
    std::unique_ptr<AppFixture> m_fixture;
};

void AccessibleNamesTest::init()
{
    // As when a screen reader runs: the views tell it how their rows change.
    QAccessible::setActive(true);
    m_data = std::make_unique<QTemporaryDir>();
    m_fixture = std::make_unique<AppFixture>();
    m_fixture->setInt("IndexPage", 1);
    QVERIFY(TestFiles::Write(
        QDir(m_fixture->workDir()).filePath(QStringLiteral("Favorites.xml")),
        TestFiles::FavoritesXml({{QStringLiteral("Daily Gazette"), kGazetteUrl},
                                 {QStringLiteral("Town Crier"), "http://127.0.0.1:9/crier"}})));
    // What an earlier check found: the gazette was gone.
    LinkResult dead;
    dead.status = LinkResult::Status::Dead;
    dead.httpStatus = 404;
    dead.checked = QDateTime(QDate(2026, 12, 1), QTime(9, 0), Qt::UTC);
    const QString results = m_data->filePath(QStringLiteral("linkcheck.json"));
    QVERIFY(TestFiles::Write(results, LinkResultStore::Serialize({{kGazetteUrl, dead}})));
    QVERIFY(m_fixture->start());
    frame()->linkChecks()->useResultsFile(results);
    frame()->resize(1000, 700);
    QVERIFY(QTest::qWaitForWindowExposed(frame()));
}

void AccessibleNamesTest::cleanup()
{
    m_fixture.reset();
    m_data.reset();
}

void AccessibleNamesTest::mainWindowNamesEveryPane()
{
    // Everything that can be on show: the status bar, the find bar, the filter box with its
    // clear button, the page.
    frame()->SendCommand(ID_VIEW_STATUS_BAR);
    frame()->SendCommand(ID_BROWSE_FIND);
    QTRY_VERIFY(m_fixture->browser()->hasEngine());
    auto* filter = frame()->findChild<QLineEdit*>(QStringLiteral("CatalogFilter"));
    QVERIFY(filter);
    filter->setText(QStringLiteral("Gazette"));
    m_fixture->browser()->findBar()->findChild<QLineEdit*>()->setText(QStringLiteral("news"));

    const QStringList unnamed = unnamedControls(frame());
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1Char('\n'))));
    // The panes, which hold the controls.
    QCOMPARE(nameOf(m_fixture->tree()), QStringLiteral("Newspapers and favorites"));
    QCOMPARE(nameOf(m_fixture->tree()->paneWidget()), QStringLiteral("Catalog"));
    QCOMPARE(nameOf(m_fixture->browser()), QStringLiteral("Page"));
    QCOMPARE(nameOf(m_fixture->browser()->findBar()), QStringLiteral("Find bar"));
    QCOMPARE(nameOf(&frame()->statusBarPane()), QStringLiteral("Status bar"));
    // The panes of lock keys say the key and whether it is on.
    auto* caps = frame()->statusBarPane().findChild<QLabel*>(QStringLiteral("CAP"));
    QVERIFY(nameOf(caps).startsWith(QLatin1String("Caps Lock o")));
}

void AccessibleNamesTest::treeRowsSayWhatTheyAre()
{
    CLeftView* tree = m_fixture->tree();
    QHash<QString, QString> rows = treeRows(tree);
    QCOMPARE(rows.value(QStringLiteral("My Favorites")), QStringLiteral("Folder, 2 favorites"));
    QCOMPARE(rows.value(QStringLiteral("Town Crier")), QStringLiteral("Favorite"));
    // The finding in the tooltip's words, without another phrasing of its own.
    QTreeWidgetItem* gazette = tree->FavoriteItem({"Daily Gazette", kGazetteUrl});
    QVERIFY(!gazette->toolTip(0).isEmpty());
    QCOMPARE(rows.value(QStringLiteral("Daily Gazette")),
             QStringLiteral("Favorite. ") + gazette->toolTip(0));
    // A state is said without the code shown before its name.
    const CatalogNode& first = CatalogData::States().front();
    QCOMPARE(QString::fromUtf8(first.text), QStringLiteral("[AL]Alabama"));
    QCOMPARE(rows.value(QStringLiteral("Alabama")),
             QStringLiteral("State, %1 papers").arg(first.entries.size()));
    QCOMPARE(rows.value(QStringLiteral("American States")),
             QStringLiteral("Area, %1 states").arg(CatalogData::States().size()));
    for (const CatalogEntry& entry : CatalogData::National()) {
        if (entry.kind == CatalogKind::Daily) {
            QCOMPARE(rows.value(QString::fromUtf8(entry.name)),
                     QStringLiteral("Newspaper, %1, daily").arg(QString::fromUtf8(entry.place)));
            break;
        }
    }
    for (auto it = rows.cbegin(); it != rows.cend(); ++it)
        QVERIFY2(!it.value().isEmpty(), qPrintable(it.key()));

    // A filtered state counts only the papers left in it.
    auto* filter = frame()->findChild<QLineEdit*>(QStringLiteral("CatalogFilter"));
    filter->setText(QStringLiteral("Albion"));
    QTRY_COMPARE(treeRows(tree).value(QStringLiteral("California")),
                 QStringLiteral("State, 1 paper"));
    filter->clear();

    // By content, the kinds count the areas under them.
    frame()->SendCommand(ID_CATALOG_CONTENT);
    const QString daily = QString::fromUtf8(CatalogData::KindText(CatalogKind::Daily));
    QTRY_VERIFY(treeRows(tree).contains(daily));
    const QString kind = treeRows(tree).value(daily);
    QVERIFY2(kind.startsWith(QLatin1String("Kind, ")) && kind.endsWith(QLatin1String(" areas")),
             qPrintable(kind));
}

void AccessibleNamesTest::favoriteDialogsNameTheirFields()
{
    const MessageCapture messages;
    ModalDriver driver;
    QStringList unnamed;
    QStringList fieldNames;
    const auto walkAddModify = [&](CAddModifyFavoriteDlg* dialog) {
        unnamed += unnamedControls(dialog);
        fieldNames.append(nameOf(DialogControls::Edit(dialog, IDC_FAVORITE_NAME)));
        fieldNames.append(nameOf(DialogControls::Edit(dialog, IDC_FAVORITE_URL)));
        DialogControls::Button(dialog, IDCANCEL)->click();
    };
    driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg* dialog) {
        unnamed += unnamedControls(dialog);
        // New, then Edit of the first favorite: each opens Add/Modify over the list.
        DialogControls::Button(dialog, IDOK)->click();
        ViewRows::Select(dialog->findChild<QTreeView*>(), 0);
        DialogControls::Button(dialog, IDC_EDIT_FAVORITE)->click();
        DialogControls::Button(dialog, IDCANCEL)->click();
    });
    driver.next<CAddModifyFavoriteDlg>(walkAddModify);
    driver.next<CAddModifyFavoriteDlg>(walkAddModify);
    frame()->SendCommand(ID_FAVORITES_MODIFY);
    QVERIFY(driver.done());
    QVERIFY(!driver.timedOut());
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1Char('\n'))));
    // The fields take the labels shown above them.
    QCOMPARE(fieldNames, (QStringList{"Newspapers, magazines Name", "Newspapers, magazines URL",
                                      "Newspapers, magazines Name", "Newspapers, magazines URL"}));
}

void AccessibleNamesTest::restoreAboutAndMessageBoxesAreNamed()
{
    {
        // A backup to restore; its message is answered unseen.
        const MessageCapture messages;
        frame()->SendCommand(ID_FAVORITES_BACKUP);
        QCOMPARE(messages.requests().size(), 1);
    }
    ModalDriver driver;
    QStringList unnamed;
    driver.next<CRestoreFavoritesDlg>([&](CRestoreFavoritesDlg* dialog) {
        unnamed += unnamedControls(dialog);
        dialog->reject();
    });
    driver.next<CAboutDlg>([&](CAboutDlg* dialog) {
        unnamed += unnamedControls(dialog);
        DialogControls::Button(dialog, IDOK)->click();
    });
    // A message box of the program's own, as a real one shows.
    driver.next<QMessageBox>([&](QMessageBox* box) {
        unnamed += unnamedControls(box);
        box->button(QMessageBox::No)->click();
    });
    frame()->SendCommand(ID_FAVORITES_RESTORE);
    frame()->SendCommand(ID_APP_ABOUT);
    QCOMPARE(MessageBox::Show(QStringLiteral("Determined to delete?"), MB_YESNO | MB_ICONQUESTION),
             IDNO);
    QVERIFY(driver.done());
    QVERIFY(!driver.timedOut());
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1Char('\n'))));
}

void AccessibleNamesTest::folderDialogsAndHeadlinesAreNamed()
{
    CLeftView* tree = m_fixture->tree();
    // The tree's menu on an item, as a right click opens it; then one of its entries.
    const auto choose = [&](QTreeWidgetItem* item, const QString& entry) {
        tree->scrollToItem(item);
        const QPoint at = tree->visualItemRect(item).center();
        QContextMenuEvent request(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree->viewport(), &request);
        QMenu* menu = frame()->treeMenu()->menu();
        QVERIFY(menu);
        QAction* action = MenuEntries::Find(menu, entry);
        QVERIFY2(action, qPrintable(entry));
        action->trigger();
    };
    ModalDriver driver;
    QStringList unnamed;
    QStringList walked;
    driver.next<QInputDialog>([&](QInputDialog* dialog) {
        walked.append(dialog->windowTitle());
        unnamed += unnamedControls(dialog);
        dialog->reject();
    });
    driver.next<QDialog>([&](QDialog* dialog) {
        walked.append(dialog->windowTitle());
        unnamed += unnamedControls(dialog);
        dialog->reject();
    });
    choose(tree->FavoritesNode(), QStringLiteral("New &Folder\u2026"));
    choose(tree->FavoriteItem({"Town Crier", "http://127.0.0.1:9/crier"}),
           QStringLiteral("&Move to Folder\u2026"));
    QVERIFY(driver.done());
    QVERIFY(!driver.timedOut());
    QCOMPARE(walked.size(), 2);
    QCOMPARE(walked.at(1), QStringLiteral("Move to Folder"));

    // The headlines above the page, with their list and note.
    frame()->SendCommand(ID_VIEW_HEADLINES);
    HeadlinePane* headlines = frame()->headlines()->pane();
    QVERIFY(headlines && headlines->isVisible());
    unnamed += unnamedControls(headlines);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1Char('\n'))));
}

void AccessibleNamesTest::linkCheckWindowsAreNamed()
{
    LinkCheckCommands* links = frame()->linkChecks();
    frame()->SendCommand(ID_CATALOG_LINK_REPORT);
    QVERIFY(links->report()->isVisible());
    QStringList unnamed = unnamedControls(links->report());

    // A check that finds the computer offline: no name is looked up.
    links->controller().checker().setClassifier(
        [](const QString&, QObject*, HostScope::Done done) { done(HostScope::Kind::NotFound); });
    frame()->SendCommand(ID_CATALOG_CHECK_LINKS);
    LinkCheckWindow* window = links->progressWindow();
    QVERIFY(window->isVisible());
    unnamed += unnamedControls(window);
    QTRY_VERIFY_WITH_TIMEOUT(!links->controller().checker().isRunning(), 60000);
    unnamed += unnamedControls(window);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1Char('\n'))));
}

void AccessibleNamesTest::popUpWindowNamesItsPage()
{
    auto* popup = new BrowserPopupWindow(true, QStringLiteral(" - Kestrin News Reader"), frame());
    popup->show();
    QVERIFY(QTest::qWaitForWindowExposed(popup));
    const QStringList unnamed = unnamedControls(popup);
    popup->close();
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1Char('\n'))));
}

KESTRIN_TEST_MAIN(AccessibleNamesTest)
#include "tst_accessiblenames.moc"
