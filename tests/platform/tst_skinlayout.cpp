// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "app/CAboutDlg.h"
#include "app/Globals.h"
#include "favorites/ui/CAddModifyFavoriteDlg.h"
#include "favorites/ui/CEditMyFavoriteDlg.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/SkinEngine.h"
#include "support/FavoritesFolder.h"
#include "support/LayoutChecks.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
QStringList g_warnings;

void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    // The offscreen platform's note about size hints is not the skin's.
    if (type != QtDebugMsg && type != QtInfoMsg && !message.contains(QStringLiteral("SizeHints")))
        g_warnings.append(message);
}

QString skinPath(const QString& file)
{
    return QDir(qEnvironmentVariable("KESTRIN_SOURCE_DIR"))
        .filePath(QStringLiteral("data/Skin/") + file);
}

// Rows for each skin, and for the platform's own look where a test compares with it.
void addSkinRows(bool withPlainLook)
{
    QTest::addColumn<QString>("skin");
    if (withPlainLook)
        QTest::newRow("no skin") << QString();
    QTest::newRow("XP") << QStringLiteral("XPCorona.ssk");
    QTest::newRow("Mini") << QStringLiteral("Minimized.ssk");
    QTest::newRow("Soft") << QStringLiteral("SoftCrystal.ssk");
    QTest::newRow("Night") << QStringLiteral("Night.ssk");
}

int difference(const QColor& a, const QColor& b)
{
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                     std::abs(a.blue() - b.blue())});
}

// Where the label of a menu entry without a mark starts: the first column that differs
// from the entry's background, looking at the middle rows (clear of rounded corners).
int labelStart(const QImage& entry)
{
    constexpr int kInside = 4;
    for (int x = kInside + 1; x < entry.width(); ++x) {
        for (int y = entry.height() / 4; y < entry.height() * 3 / 4; ++y) {
            if (difference(entry.pixelColor(x, y), entry.pixelColor(kInside, y)) >= 64)
                return x;
        }
    }
    return entry.width();
}

// The pixels a check mark adds to a menu entry, left of where the label starts: the
// bounding box of what differs between the entry checked and unchecked, and how much of
// that box is covered.
struct Mark
{
    QRect box;
    int pixels = 0;
};

Mark markOf(const QImage& checked, const QImage& unchecked)
{
    Mark mark;
    const int end = std::min(labelStart(unchecked), checked.width());
    for (int y = 0; y < std::min(checked.height(), unchecked.height()); ++y) {
        for (int x = 0; x < end; ++x) {
            if (difference(checked.pixelColor(x, y), unchecked.pixelColor(x, y)) < 64)
                continue;
            ++mark.pixels;
            mark.box |= QRect(x, y, 1, 1);
        }
    }
    return mark;
}

QImage grabEntry(QMenu& menu, QAction* action)
{
    menu.update();
    QApplication::processEvents();
    return menu.grab(menu.actionGeometry(action)).toImage();
}

#define QVERIFY_NOTHING_CLIPPED(widget)                                                            \
    do {                                                                                           \
        QStringList clipped;                                                                       \
        QTRY_VERIFY2((clipped = LayoutChecks::ClippedTexts(widget)).isEmpty(),                     \
                     qPrintable(clipped.join(QLatin1Char('\n'))));                                 \
    } while (false)
} // namespace

// Every skin dresses the program's and the platform's dialogs without cutting a text.
class SkinLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everySkinParsesAndFindsItsImages_data() { addSkinRows(false); }
    void everySkinParsesAndFindsItsImages();
    void checkedMenuEntriesShowACheckMark_data() { addSkinRows(false); }
    void checkedMenuEntriesShowACheckMark();
    void printDialogKeepsEveryTextWhole_data() { addSkinRows(true); }
    void printDialogKeepsEveryTextWhole();
    void fileDialogShowsWholeCells_data() { addSkinRows(true); }
    void fileDialogShowsWholeCells();
    void messageBoxFitsCaptionAndText_data() { addSkinRows(true); }
    void messageBoxFitsCaptionAndText();
    void programDialogsKeepEveryTextWhole_data() { addSkinRows(true); }
    void programDialogsKeepEveryTextWhole();
    void unknownWidgetsAreDressedByClass_data() { addSkinRows(false); }
    void unknownWidgetsAreDressedByClass();

private:
    void applySkin();
    std::unique_ptr<FavoritesFolder> m_dir;
    QTemporaryDir m_files;
};

void SkinLayoutTest::init()
{
    m_dir = std::make_unique<FavoritesFolder>();
    g_strAppDir = m_dir->path();
}

void SkinLayoutTest::cleanup()
{
    ExitSkin();
    g_strAppDir.clear();
    m_dir.reset();
}

void SkinLayoutTest::applySkin()
{
    QFETCH(QString, skin);
    if (!skin.isEmpty())
        QCOMPARE(LoadSkin(skinPath(skin).toLocal8Bit().constData()), 1);
}

void SkinLayoutTest::everySkinParsesAndFindsItsImages()
{
    g_warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
    applySkin();
    // The sheet is parsed when widgets are polished: a fault drops the whole skin silently.
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QComboBox);
    layout->addWidget(new QSpinBox);
    layout->addWidget(new QCheckBox(QStringLiteral("Collate")));
    layout->addWidget(new QTableWidget(2, 2));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    qInstallMessageHandler(previous);
    QVERIFY2(g_warnings.isEmpty(), qPrintable(g_warnings.join(QLatin1Char('\n'))));

    const QString sheet = SkinEngine::CurrentStyleSheet();
    const QRegularExpression url(QStringLiteral(R"(url\(([^)]+)\))"));
    int images = 0;
    for (const QRegularExpressionMatch& match : url.globalMatch(sheet)) {
        const QString path = match.captured(1);
        QVERIFY2(!QImage(path).isNull(), qPrintable(path));
        ++images;
    }
    QVERIFY(images > 0);
}

void SkinLayoutTest::checkedMenuEntriesShowACheckMark()
{
    applySkin();
    // Two entries alike but for the mark: whatever differs between them is the mark.
    QMenu menu;
    QAction* checked = menu.addAction(QStringLiteral("&Mini\tCtrl+M"));
    QAction* unchecked = menu.addAction(QStringLiteral("&Mini\tCtrl+M"));
    checked->setCheckable(true);
    unchecked->setCheckable(true);
    checked->setChecked(true);
    menu.popup(QPoint(40, 40));
    QVERIFY(QTest::qWaitForWindowExposed(&menu));

    const QImage plainChecked = grabEntry(menu, checked);
    const QImage plainUnchecked = grabEntry(menu, unchecked);
    menu.setActiveAction(checked);
    const QImage highlightedChecked = grabEntry(menu, checked);
    menu.setActiveAction(unchecked);
    const QImage highlightedUnchecked = grabEntry(menu, unchecked);
    menu.hide();

    // Plain and highlighted, the mark shows and is a stroke, not a filled square (which
    // covers its whole box) or dot (about four fifths of it).
    const QList<std::pair<const char*, Mark>> marks{
        {"plain", markOf(plainChecked, plainUnchecked)},
        {"highlighted", markOf(highlightedChecked, highlightedUnchecked)}};
    for (const auto& [where, mark] : marks) {
        QVERIFY2(mark.box.width() >= 6 && mark.box.height() >= 5, where);
        const double cover = double(mark.pixels) / (mark.box.width() * mark.box.height());
        QVERIFY2(cover < 0.6,
                 qPrintable(QStringLiteral("%1: %2 of the box").arg(where).arg(cover)));
    }
}

void SkinLayoutTest::printDialogKeepsEveryTextWhole()
{
    applySkin();
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_dir->filePath(QStringLiteral("out.pdf")));
    QPrintDialog dialog(&printer);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY_NOTHING_CLIPPED(&dialog);

    // The options fold out below; each of their pages is checked as it shows.
    QPushButton* options = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (LayoutChecks::ShownText(button->text()).startsWith(QStringLiteral("Options")))
            options = button;
    }
    QVERIFY(options);
    options->click();
    auto* pages = dialog.findChild<QTabWidget*>();
    QVERIFY(pages);
    QTRY_VERIFY(pages->isVisible());
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        QVERIFY_NOTHING_CLIPPED(&dialog);
    }
}

void SkinLayoutTest::fileDialogShowsWholeCells()
{
    applySkin();
    const QDir dir(m_files.path());
    QVERIFY(TestFiles::Write(dir.filePath(QStringLiteral("Favorites.xml")), QByteArray(166, 'x')));
    QVERIFY(TestFiles::Write(dir.filePath(QStringLiteral("a page with a rather long name.htm")),
                             QByteArray(25000, 'x')));
    // The chooser restores the column widths it saved last; start from its own.
    QSettings(QSettings::UserScope, QStringLiteral("QtProject"))
        .remove(QStringLiteral("FileDialog"));
    // It opens in the working directory, or where the last one was left.
    const QString previousDir = QDir::currentPath();
    QDir::setCurrent(m_files.path());
    ModalDriver driver;
    driver.next<QFileDialog>([&](QFileDialog* dialog) {
        auto* tree = dialog->findChild<QTreeView*>();
        QVERIFY(tree);
        QTRY_COMPARE(tree->model()->rowCount(tree->rootIndex()), 2);
        // The cells' own size hints: what each column needs to show its longest cell.
        const QAbstractItemView* view = tree;
        for (int column = 0; column < tree->header()->count(); ++column) {
            QTRY_VERIFY2(tree->columnWidth(column) >= view->sizeHintForColumn(column),
                         qPrintable(QStringLiteral("column %1: %2 px for %3 px")
                                        .arg(column)
                                        .arg(tree->columnWidth(column))
                                        .arg(view->sizeHintForColumn(column))));
        }
        QVERIFY_NOTHING_CLIPPED(dialog);
        dialog->reject();
    });
    const QString chosen = FileDialog::GetOpenFileName();
    QDir::setCurrent(previousDir);
    QVERIFY(!driver.timedOut());
    QVERIFY(driver.done());
    QVERIFY(chosen.isEmpty());
}

void SkinLayoutTest::messageBoxFitsCaptionAndText()
{
    applySkin();
    const QStringList texts{
        QStringLiteral("Successfully!"),
        QStringLiteral("Unable to create DOMDocument object. Please check the installation of "
                       "the MS XML Parser!")};
    for (const QString& text : texts) {
        ModalDriver driver;
        driver.next<QMessageBox>([&](QMessageBox* box) {
            // The title bar holds the caption beside an icon and three buttons of 16 px
            // at the least.
            QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
            titleFont.setBold(true);
            const int caption =
                QFontMetrics(titleFont).horizontalAdvance(QStringLiteral("KestrinNewsReader"));
            QVERIFY2(
                box->width() >= caption + 4 * 16,
                qPrintable(QStringLiteral("%1 px for %2 px").arg(box->width()).arg(caption + 64)));
            QCOMPARE(box->windowTitle(), QStringLiteral("KestrinNewsReader"));
            QCOMPARE(box->text(), text);
            QVERIFY_NOTHING_CLIPPED(box);
            box->button(QMessageBox::Ok)->click();
        });
        QCOMPARE(MessageBox::Show(text), int(IDOK));
        QVERIFY(!driver.timedOut());
        QVERIFY(driver.done());
    }
}

void SkinLayoutTest::programDialogsKeepEveryTextWhole()
{
    applySkin();
    QVERIFY(TestFiles::Write(
        QDir(m_dir->path()).filePath(QStringLiteral("Favorites.xml")),
        TestFiles::FavoritesXml(
            {{QStringLiteral("Example Gazette"), QStringLiteral("http://127.0.0.1/gazette")}})));

    ModalDriver driver;
    const auto checkAndClose = [](Dialog* dialog) {
        QVERIFY_NOTHING_CLIPPED(dialog);
        dialog->EndDialog(IDCANCEL);
    };
    driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg* dialog) {
        QCOMPARE(dialog->list()->model()->rowCount(), 1);
        checkAndClose(dialog);
    });
    CEditMyFavoriteDlg editor(m_dir->store());
    editor.DoModal();

    for (const bool existing : {false, true}) {
        driver.next<CAddModifyFavoriteDlg>(checkAndClose);
        CAddModifyFavoriteDlg dialog(m_dir->store());
        dialog.m_bExisting = existing;
        dialog.m_strName = QStringLiteral("Example Gazette");
        dialog.m_strURL = QStringLiteral("http://127.0.0.1/gazette");
        dialog.DoModal();
    }

    driver.next<CAboutDlg>(checkAndClose);
    CAboutDlg about;
    about.DoModal();

    QVERIFY(!driver.timedOut());
    QVERIFY(driver.done());
}

void SkinLayoutTest::unknownWidgetsAreDressedByClass()
{
    // Windows the skins were not written for: a filter field, a table with a header, a
    // progress bar and buttons in a plain top-level window.
    applySkin();
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* filter = new QLineEdit;
    filter->setPlaceholderText(QStringLiteral("Find a paper"));
    auto* table = new QTableWidget(3, 3);
    table->setHorizontalHeaderLabels(
        {QStringLiteral("Name"), QStringLiteral("Address"), QStringLiteral("Result")});
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* progress = new QProgressBar;
    progress->setValue(40);
    auto* check = new QCheckBox(QStringLiteral("Only broken links"));
    check->setChecked(true);
    auto* stop = new QPushButton(QStringLiteral("Stop"));
    for (QWidget* widget : std::initializer_list<QWidget*>{filter, table, progress, check, stop})
        layout->addWidget(widget);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY_NOTHING_CLIPPED(&window);

    // Each of them takes the skin's colours, not the platform's.
    const QPalette plain = QApplication::style()->standardPalette();
    QVERIFY(table->palette().color(QPalette::Highlight) != plain.color(QPalette::Highlight));
    QVERIFY(filter->palette().color(QPalette::Highlight) != plain.color(QPalette::Highlight));
}

KESTRIN_TEST_MAIN(SkinLayoutTest)
#include "tst_skinlayout.moc"
