// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "LayoutChecks.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>

namespace {
QString describe(const QWidget* widget, const QString& text, const QString& problem)
{
    return QStringLiteral("%1 \"%2\" (%3): %4")
        .arg(QString::fromLatin1(widget->metaObject()->className()), text, widget->objectName(),
             problem);
}

QString fits(int have, int need)
{
    return QStringLiteral("%1 px for %2 px").arg(have).arg(need);
}

void checkPushButton(const QPushButton* button, QStringList& found)
{
    const QString text = LayoutChecks::ShownText(button->text());
    if (text.isEmpty())
        return;
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    if (button->isDefault())
        option.features |= QStyleOptionButton::DefaultButton;
    const QRect contents =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    const QFontMetrics metrics(button->font());
    const int iconWidth = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
    const int width = metrics.horizontalAdvance(text) + iconWidth;
    if (contents.width() < width)
        found.append(
            describe(button, text, QStringLiteral("width ") + fits(contents.width(), width)));
    if (contents.height() < metrics.height())
        found.append(describe(
            button, text, QStringLiteral("height ") + fits(contents.height(), metrics.height())));
}

void checkLabel(const QLabel* label, QStringList& found)
{
    const QString text = label->text();
    if (text.isEmpty() || label->textFormat() == Qt::RichText)
        return;
    if (label->wordWrap()) {
        const int height = label->heightForWidth(label->width());
        if (label->height() < height)
            found.append(
                describe(label, text, QStringLiteral("height ") + fits(label->height(), height)));
        return;
    }
    const QSize hint = label->sizeHint();
    if (label->width() < hint.width())
        found.append(
            describe(label, text, QStringLiteral("width ") + fits(label->width(), hint.width())));
}

// Controls whose size hint is exactly what their text needs.
void checkSizeHint(const QWidget* widget, const QString& text, bool width, QStringList& found)
{
    const QSize hint = widget->minimumSizeHint().expandedTo(widget->sizeHint());
    if (width && widget->width() < hint.width())
        found.append(
            describe(widget, text, QStringLiteral("width ") + fits(widget->width(), hint.width())));
    const int height = widget->minimumSizeHint().height();
    if (widget->height() < height)
        found.append(
            describe(widget, text, QStringLiteral("height ") + fits(widget->height(), height)));
}

void checkTabs(const QTabBar* tabs, QStringList& found)
{
    const QFontMetrics metrics(tabs->font());
    for (int i = 0; i < tabs->count(); ++i) {
        const QString text = LayoutChecks::ShownText(tabs->tabText(i));
        const int width = metrics.horizontalAdvance(text);
        if (tabs->tabRect(i).width() < width)
            found.append(describe(
                tabs, text, QStringLiteral("tab width ") + fits(tabs->tabRect(i).width(), width)));
    }
}

void checkHeader(const QHeaderView* header, QStringList& found)
{
    if (!header->model() || header->orientation() != Qt::Horizontal)
        return;
    for (int i = 0; i < header->count(); ++i) {
        if (header->isSectionHidden(i) || header->sectionSize(i) == 0)
            continue;
        const QString text = header->model()->headerData(i, Qt::Horizontal).toString();
        const int width = header->sectionSizeHint(i);
        if (header->sectionSize(i) < width)
            found.append(
                describe(header, text,
                         QStringLiteral("section width ") + fits(header->sectionSize(i), width)));
    }
}

void check(const QWidget* widget, QStringList& found)
{
    if (auto* button = qobject_cast<const QPushButton*>(widget))
        checkPushButton(button, found);
    else if (qobject_cast<const QCheckBox*>(widget) || qobject_cast<const QRadioButton*>(widget))
        checkSizeHint(widget, static_cast<const QAbstractButton*>(widget)->text(), true, found);
    else if (auto* label = qobject_cast<const QLabel*>(widget))
        checkLabel(label, found);
    else if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        checkSizeHint(edit, edit->text(), false, found);
    else if (auto* combo = qobject_cast<const QComboBox*>(widget))
        checkSizeHint(combo, combo->currentText(), false, found);
    else if (auto* tabs = qobject_cast<const QTabBar*>(widget))
        checkTabs(tabs, found);
    else if (auto* header = qobject_cast<const QHeaderView*>(widget))
        checkHeader(header, found);
}
} // namespace

QString LayoutChecks::ShownText(const QString& label)
{
    QString text;
    for (qsizetype i = 0; i < label.size(); ++i) {
        if (label.at(i) == QLatin1Char('&') && i + 1 < label.size())
            ++i;
        text.append(label.at(i));
    }
    return text;
}

QStringList LayoutChecks::ClippedTexts(const QWidget* root)
{
    QStringList found;
    if (!root || !root->isVisible())
        return found;
    check(root, found);
    for (const QWidget* child : root->findChildren<QWidget*>()) {
        // A line edit inside a combo or spin box is sized by its owner.
        const QWidget* owner = child->parentWidget();
        if (child->isVisible() && !qobject_cast<const QComboBox*>(owner) &&
            !qobject_cast<const QAbstractSpinBox*>(owner))
            check(child, found);
    }
    return found;
}
