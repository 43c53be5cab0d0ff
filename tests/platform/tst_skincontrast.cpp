// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "support/TestMain.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <cmath>

namespace {
// Rules of a style sheet, Qt's or a web page's: each selector of a rule with its
// declarations. A later rule for the same selector adds to and overrides an earlier one.
using Rules = QHash<QString, QHash<QString, QString>>;

Rules parseRules(QString sheet)
{
    sheet.remove(QRegularExpression(QStringLiteral(R"(/\*.*?\*/)"),
                                    QRegularExpression::DotMatchesEverythingOption));
    Rules rules;
    // Innermost blocks only: a media query's rules come out on their own.
    const QRegularExpression block(QStringLiteral(R"(([^{}]+)\{([^{}]*)\})"));
    for (const QRegularExpressionMatch& match : block.globalMatch(sheet)) {
        QHash<QString, QString> declarations;
        for (const QString& declaration : match.captured(2).split(QLatin1Char(';'))) {
            const qsizetype colon = declaration.indexOf(QLatin1Char(':'));
            if (colon > 0)
                declarations.insert(declaration.left(colon).trimmed(),
                                    declaration.mid(colon + 1).trimmed());
        }
        for (const QString& selector : match.captured(1).split(QLatin1Char(','))) {
            QHash<QString, QString>& rule = rules[selector.simplified()];
            for (auto it = declarations.cbegin(); it != declarations.cend(); ++it)
                rule.insert(it.key(), it.value());
        }
    }
    return rules;
}

QString readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString sourceFile(const char* path)
{
    return QDir(qEnvironmentVariable("KESTRIN_SOURCE_DIR")).filePath(QString::fromLatin1(path));
}

// The style element of a page.
QString pageStyle(const QString& html)
{
    const qsizetype start = html.indexOf(QLatin1String("<style>"));
    const qsizetype end = html.indexOf(QLatin1String("</style>"));
    return start >= 0 && end > start ? html.mid(start + 7, end - start - 7) : QString();
}

double luminance(const QColor& color)
{
    const auto channel = [](double value) {
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) +
           0.0722 * channel(color.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Body text must reach 7:1 against what it sits on, secondary text 4.5:1.
constexpr double kBody = 7.0;
constexpr double kSecondary = 4.5;

struct Pair
{
    const char* what;
    double minimum;
    const char* textSelector;
    const char* textProperty;
    const char* groundSelector;
    const char* groundProperty;
};

void addPairRows(const char* file, std::initializer_list<Pair> pairs)
{
    for (const Pair& pair : pairs)
        QTest::newRow(pair.what) << QString::fromLatin1(file) << pair.minimum << pair.textSelector
                                 << pair.textProperty << pair.groundSelector << pair.groundProperty;
}

const char* const kNight = R"([data-skin="night"])";
} // namespace

// The Night skin's text, in the windows and on the program's own pages, stays readable.
class SkinContrastTest : public QObject
{
    Q_OBJECT

private slots:
    void windowsReachTheContrast_data();
    void windowsReachTheContrast() { check(); }
    void ownPagesReachTheContrast_data();
    void ownPagesReachTheContrast() { check(); }

private:
    void check();
};

void SkinContrastTest::windowsReachTheContrast_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("textProperty");
    QTest::addColumn<QString>("ground");
    QTest::addColumn<QString>("groundProperty");
    const char* c = "color";
    const char* bg = "background-color";
    addPairRows(
        "data/Skin/Night.ssk",
        {
            {"menu bar", kBody, "QMenuBar", c, "QMenuBar", bg},
            {"menu bar title, pointed at", kBody, "QMenuBar::item:selected", c,
             "QMenuBar::item:selected", bg},
            {"menu bar title, open", kBody, "QMenuBar::item:pressed", c, "QMenuBar::item:pressed",
             bg},
            {"menu entry", kBody, "QMenu", c, "QMenu", bg},
            {"menu entry, highlighted", kBody, "QMenu::item:selected", c, "QMenu::item:selected",
             bg},
            {"tree", kBody, "QTreeWidget#CLeftView", c, "QTreeWidget#CLeftView", bg},
            {"tree item, pointed at", kBody, "QTreeWidget#CLeftView::item:hover", c,
             "QTreeWidget#CLeftView::item:hover", bg},
            {"tree item, selected", kBody, "QTreeWidget#CLeftView::item:selected", c,
             "QTreeWidget#CLeftView::item:selected", bg},
            {"tree item, selected in an inactive window", kBody,
             "QTreeWidget#CLeftView::item:selected:!active", c,
             "QTreeWidget#CLeftView::item:selected:!active", bg},
            {"dialog text", kBody, "QLabel", c, "QDialog", bg},
            {"check box", kBody, "QCheckBox", c, "QDialog", bg},
            {"button", kBody, "QPushButton", c, "QPushButton", bg},
            {"button, pointed at", kBody, "QPushButton", c, "QPushButton:hover", bg},
            {"button, pressed", kBody, "QPushButton", c, "QPushButton:pressed", bg},
            {"text field", kBody, "QLineEdit", c, "QLineEdit", bg},
            {"selected text in a field", kBody, "QLineEdit", "selection-color", "QLineEdit",
             "selection-background-color"},
            {"drop-down list", kBody, "QComboBox", c, "QComboBox", bg},
            {"drop-down list, open", kBody, "QComboBox QAbstractItemView", c,
             "QComboBox QAbstractItemView", bg},
            {"list", kBody, "QTreeView", c, "QTreeView", bg},
            {"list, alternate rows", kBody, "QTreeView", c, "QTreeView",
             "alternate-background-color"},
            {"list item, pointed at", kBody, "QTreeView::item:hover", c, "QTreeView::item:hover",
             bg},
            {"list item, selected", kBody, "QTreeView::item:selected", c,
             "QTreeView::item:selected", bg},
            {"list item, selected in an inactive window", kBody, "QTreeView::item:selected:!active",
             c, "QTreeView::item:selected:!active", bg},
            {"tab, current", kBody, "QTabBar::tab:selected", c, "QTabBar::tab:selected", bg},
            {"tool tip", kBody, "QToolTip", c, "QToolTip", bg},
            {"progress text", kBody, "QProgressBar", c, "QProgressBar", bg},
            {"status bar", kSecondary, "QStatusBar", c, "QStatusBar", bg},
            {"status bar pane", kSecondary, "QStatusBar QLabel", c, "QStatusBar", bg},
            {"menu entry, disabled", kSecondary, "QMenu::item:disabled", c, "QMenu", bg},
            {"dialog text, disabled", kSecondary, "QLabel:disabled", c, "QDialog", bg},
            {"check box, disabled", kSecondary, "QCheckBox:disabled", c, "QDialog", bg},
            {"button, disabled", kSecondary, "QPushButton:disabled", c, "QPushButton:disabled", bg},
            {"text field, disabled", kSecondary, "QLineEdit:disabled", c, "QLineEdit:disabled", bg},
            {"drop-down list, disabled", kSecondary, "QComboBox:disabled", c, "QComboBox:disabled",
             bg},
            {"tab, other", kSecondary, "QTabBar::tab", c, "QTabBar::tab", bg},
            {"column header", kSecondary, "QHeaderView::section", c, "QHeaderView::section", bg},
            {"progress text over the bar", kSecondary, "QProgressBar", c, "QProgressBar::chunk",
             bg},
        });
}

void SkinContrastTest::ownPagesReachTheContrast_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("textProperty");
    QTest::addColumn<QString>("ground");
    QTest::addColumn<QString>("groundProperty");
    const char* c = "color";
    const char* bg = "background";
    const char* page = R"(:root[data-skin="night"])";
    // The selectors name the Night rules of each page; the light rules they override
    // are looked up under their own selectors.
    const QByteArray body = QByteArray(kNight) + " body";
    const QByteArray section = QByteArray(kNight) + " section";
    const QByteArray header = QByteArray(kNight) + " header";
    const QByteArray headerText = QByteArray(kNight) + " header p";
    const QByteArray note = QByteArray(kNight) + " .note";
    const QByteArray heading = QByteArray(kNight) + " h2";
    const QByteArray kbd = QByteArray(kNight) + " kbd";
    const QByteArray footer = QByteArray(kNight) + " footer";
    const QByteArray menu = QByteArray(kNight) + " b.menu";
    addPairRows("res/start/start.html",
                {
                    {"start page: text on the page", kBody, body, c, page, bg},
                    {"start page: text in a box", kBody, body, c, section, bg},
                    {"start page: heading", kBody, heading, c, section, bg},
                    {"start page: menu name", kBody, menu, c, section, bg},
                    {"start page: title in the banner", kBody, "header", c, header, bg},
                    {"start page: key", kBody, kbd, c, kbd, bg},
                    {"start page: note", kBody, body, c, note, bg},
                    {"start page: banner line", kSecondary, headerText, c, header, bg},
                    {"start page: footer", kSecondary, footer, c, page, bg},
                });
    const QByteArray button = QByteArray(kNight) + " a.button";
    const QByteArray secondButton = QByteArray(kNight) + " a.button.second";
    addPairRows("res/notice/notice.html",
                {
                    {"notice: text", kBody, body, c, section, bg},
                    {"notice: title in the banner", kBody, "header", c, header, bg},
                    {"notice: note", kBody, body, c, note, bg},
                    {"notice: first button", kBody, button, c, button, bg},
                    {"notice: other button", kBody, secondButton, c, secondButton, bg},
                    {"notice: address in the banner", kSecondary, headerText, c, header, bg},
                });
    const QByteArray main = QByteArray(kNight) + " main";
    const QByteArray title = QByteArray(kNight) + " h1";
    const QByteArray subheading = QByteArray(kNight) + " h3";
    const QByteArray link = QByteArray(kNight) + " a";
    const QByteArray code = QByteArray(kNight) + " code";
    const QByteArray toc = QByteArray(kNight) + " .toc";
    const QByteArray th = QByteArray(kNight) + " th";
    const QByteArray lead = QByteArray(kNight) + " .lead";
    addPairRows("data/readme.htm", {
                                       {"help: text", kBody, body, c, main, bg},
                                       {"help: title", kBody, title, c, main, bg},
                                       {"help: heading", kBody, heading, c, main, bg},
                                       {"help: subheading", kBody, subheading, c, main, bg},
                                       {"help: link", kBody, link, c, main, bg},
                                       {"help: link in the contents", kBody, link, c, toc, bg},
                                       {"help: code", kBody, body, c, code, bg},
                                       {"help: key", kBody, kbd, c, kbd, bg},
                                       {"help: table heading", kBody, th, c, th, bg},
                                       {"help: note", kBody, body, c, note, bg},
                                       {"help: text beside the page", kBody, body, c, page, bg},
                                       {"help: lead", kSecondary, lead, c, main, bg},
                                       {"help: footer", kSecondary, footer, c, main, bg},
                                   });
}

void SkinContrastTest::check()
{
    QFETCH(QString, file);
    QFETCH(double, minimum);
    QFETCH(QString, text);
    QFETCH(QString, textProperty);
    QFETCH(QString, ground);
    QFETCH(QString, groundProperty);

    QString sheet = readText(sourceFile(file.toLatin1().constData()));
    QVERIFY2(!sheet.isEmpty(), qPrintable(file));
    if (!file.endsWith(QLatin1String(".ssk")))
        sheet = pageStyle(sheet);
    const Rules rules = parseRules(sheet);
    const auto colour = [&](const QString& selector, const QString& property) {
        const QString value = rules.value(selector).value(property);
        // A shorthand "background" gives its colour first.
        return QColor(value.section(QLatin1Char(' '), 0, 0));
    };
    const QColor foreground = colour(text, textProperty);
    const QColor background = colour(ground, groundProperty);
    QVERIFY2(foreground.isValid(), qPrintable(text + QLatin1Char(' ') + textProperty));
    QVERIFY2(background.isValid(), qPrintable(ground + QLatin1Char(' ') + groundProperty));
    const double ratio = contrast(foreground, background);
    // The figures are the report: ctest -V shows them.
    qInfo("%5.2f:1 (at least %.1f) %s on %s", ratio, minimum, qPrintable(foreground.name()),
          qPrintable(background.name()));
    QVERIFY2(ratio >= minimum, qPrintable(QStringLiteral("%1:1").arg(ratio, 0, 'f', 2)));
}

KESTRIN_TEST_MAIN(SkinContrastTest)
#include "tst_skincontrast.moc"
