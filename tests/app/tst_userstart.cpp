// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "app/Globals.h"
#include "app/UserDataFolder.h"
#include "browser/CKestrinNewsReaderView.h"
#include "catalog/CLeftView.h"
#include "favorites/ui/CAddModifyFavoriteDlg.h"
#include "favorites/ui/CEditMyFavoriteDlg.h"
#include "frame/CMainFrame.h"
#include "platform/SkinEngine.h"
#include "res/Resource.h"
#include "support/AppFixture.h"
#include "support/MessageCapture.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

namespace {
QStringList favoriteTitles(CLeftView* tree)
{
    QTreeWidgetItem* favorites = tree->topLevelItem(0)->child(0);
    QStringList titles;
    for (int i = 0; i < favorites->childCount(); ++i)
        titles.append(favorites->child(i)->text(0));
    return titles;
}

void addFavorite(CMainFrame* frame, const QString& name, const QString& url)
{
    ModalDriver driver;
    driver.next<CEditMyFavoriteDlg>([](CEditMyFavoriteDlg* dialog) {
        qobject_cast<QPushButton*>(dialog->GetDlgItem(IDOK))->click();
    });
    driver.next<CAddModifyFavoriteDlg>([&](CAddModifyFavoriteDlg* dialog) {
        qobject_cast<QLineEdit*>(dialog->GetDlgItem(IDC_FAVORITE_NAME))->setText(name);
        qobject_cast<QLineEdit*>(dialog->GetDlgItem(IDC_FAVORITE_URL))->setText(url);
        qobject_cast<QPushButton*>(dialog->GetDlgItem(IDOK))->click();
    });
    driver.next<CEditMyFavoriteDlg>([](CEditMyFavoriteDlg* dialog) { dialog->close(); });
    frame->SendCommand(ID_FAVORITES_MODIFY);
    QVERIFY(!driver.timedOut());
    QVERIFY(driver.done());
}
} // namespace

// The program as a user starts it from a menu or any terminal folder: it prepares and enters
// the user's own folder first, then starts as usual.
class UserStartTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startedFromTheRootFolderWorksInTheUsersFolder();

private:
    // One start of the program; null when the folder could not be entered or start-up failed.
    std::unique_ptr<AppFixture> start();

    std::unique_ptr<QTemporaryDir> m_home;
    QString m_folder;
    QString m_previousDir;
};

void UserStartTest::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    m_folder = m_home->filePath(QStringLiteral(".local/share/kestrin-news-reader"));
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QStringLiteral("/")));
}

void UserStartTest::cleanup()
{
    QDir::setCurrent(m_previousDir);
}

std::unique_ptr<AppFixture> UserStartTest::start()
{
    QDir::setCurrent(QStringLiteral("/"));
    UserDataFolder folder(m_folder, AppFixture::sourceDataDir());
    if (!folder.Enter())
        return nullptr;
    AppFixture::Options options;
    options.inCurrentDirectory = true;
    auto fixture = std::make_unique<AppFixture>(options);
    fixture->setInt("IndexPage", 1);
    if (!fixture->start())
        return nullptr;
    return fixture;
}

void UserStartTest::startedFromTheRootFolderWorksInTheUsersFolder()
{
    MessageCapture messages;
    {
        std::unique_ptr<AppFixture> fixture = start();
        QVERIFY(fixture);
        QCOMPARE(QFileInfo(g_strAppDir).canonicalFilePath(),
                 QFileInfo(m_folder).canonicalFilePath());

        // The skin, the help page and an empty favorites list all come from the user's folder.
        QVERIFY(!SkinEngine::CurrentStyleSheet().isEmpty());
        QVERIFY(SkinEngine::CurrentSkinPath().endsWith(QStringLiteral("Skin/Minimized.ssk")));
        QVERIFY(QFileInfo(SkinEngine::CurrentSkinPath()).exists());
        QVERIFY(favoriteTitles(fixture->tree()).isEmpty());

        fixture->frame()->SendCommand(ID_HELP_CONTENT);
        QTRY_COMPARE_WITH_TIMEOUT(fixture->frame()->windowTitle(),
                                  QStringLiteral("Kestrin News Reader Help - Kestrin News Reader"),
                                  15000);
        QCOMPARE(fixture->browser()->url().toLocalFile(),
                 QDir(g_strAppDir).filePath(QStringLiteral("readme.htm")));

        addFavorite(fixture->frame(), QStringLiteral("Harbor Gazette"),
                    QStringLiteral("https://harbor.example/"));
        fixture->frame()->SendCommand(ID_FAVORITES_BACKUP);
        QCOMPARE(messages.texts(), (QStringList{"Successfully!", "备份成功！"}));
        // Both tell of a success: neither carries an icon, let alone a warning.
        for (const MessageBox::Request& request : messages.requests())
            QCOMPARE(request.type, unsigned(MB_OK));
        QVERIFY(TestFiles::Read(QDir(m_folder).filePath(QStringLiteral("Favorites.xml.bk")))
                    .contains("Harbor Gazette"));
    }

    // The second start leaves the favorites alone, and the tree shows the one added.
    std::unique_ptr<AppFixture> fixture = start();
    QVERIFY(fixture);
    QCOMPARE(favoriteTitles(fixture->tree()), QStringList{"Harbor Gazette"});
}

KESTRIN_TEST_MAIN(UserStartTest)
#include "tst_userstart.moc"
