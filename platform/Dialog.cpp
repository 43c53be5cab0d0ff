// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "Dialog.h"

#include "DialogUnits.h"
#include "MessageBox.h"
#include "res/DialogTemplates.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

Dialog::Dialog(int templateId, QWidget* parent) : QDialog(parent), m_templateId(templateId)
{
    if (const DialogTemplate* dialogTemplate = DialogTemplates::Find(templateId))
        Build(*dialogTemplate);
}

void Dialog::Build(const DialogTemplate& dialogTemplate)
{
    setWindowTitle(QString::fromUtf8(dialogTemplate.caption));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    const QFont font = DialogUnits::TemplateFont(QString::fromUtf8(dialogTemplate.fontFamily),
                                                 dialogTemplate.fontPointSize);
    setFont(font);
    const DialogUnits units(font);
    setFixedSize(units.x(dialogTemplate.cx), units.y(dialogTemplate.cy));

    using Kind = DialogControl::Kind;
    QList<std::pair<QLabel*, int>> labels;
    for (const DialogControl& control : dialogTemplate.controls) {
        const QString text = QString::fromUtf8(control.text);
        QWidget* widget = nullptr;
        switch (control.kind) {
        case Kind::DefPushButton:
        case Kind::PushButton: {
            auto* button = new QPushButton(text.isEmpty() ? QString() : text, this);
            button->setAutoDefault(false);
            if (control.kind == Kind::DefPushButton && !m_defaultButton) {
                m_defaultButton = button;
                button->setDefault(true);
            }
            const int id = control.id;
            connect(button, &QPushButton::clicked, this, [this, id] { OnButton(id); });
            widget = button;
            break;
        }
        case Kind::Edit: {
            auto* edit = new QLineEdit(this);
            edit->setFrame((control.style & DialogControl::Border) != 0);
            widget = edit;
            break;
        }
        case Kind::Static: {
            auto* label = new QLabel(this);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setWordWrap(true);
            label->setText(text);
            if (control.labelFor != 0)
                labels.append({label, control.labelFor});
            widget = label;
            break;
        }
        case Kind::Icon: {
            auto* label = new QLabel(this);
            label->setPixmap(QPixmap(text).scaled(units.x(control.cx), units.y(control.cy),
                                                  Qt::KeepAspectRatio, Qt::SmoothTransformation));
            widget = label;
            break;
        }
        case Kind::ComboBox: {
            auto* combo = new QComboBox(this);
            combo->setEditable(false);
            widget = combo;
            break;
        }
        case Kind::ListView: {
            // A report view: columns with a header, one row per item, no row numbers; the
            // dialog gives it its model.
            auto* list = new QTreeView(this);
            list->setRootIsDecorated(false);
            list->setUniformRowHeights(true);
            list->setAllColumnsShowFocus(true);
            list->setWordWrap(false);
            list->setEditTriggers(QAbstractItemView::NoEditTriggers);
            list->setSelectionBehavior(QAbstractItemView::SelectRows);
            list->setSelectionMode(QAbstractItemView::ExtendedSelection);
            list->setSortingEnabled(false);
            list->header()->setStretchLastSection(false);
            list->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            widget = list;
            break;
        }
        }
        widget->setGeometry(units.rect(control.x, control.y, control.cx, control.cy));
        widget->setFocusPolicy((control.style & DialogControl::TabStop) ? Qt::StrongFocus
                                                                        : Qt::NoFocus);
        if (control.id != -1) {
            widget->setObjectName(QStringLiteral("ctl%1").arg(control.id));
            m_controls.insert(control.id, widget);
        }
        if (control.style & DialogControl::TabStop)
            m_tabOrder.append(widget);
    }
    for (qsizetype i = 1; i < m_tabOrder.size(); ++i)
        QWidget::setTabOrder(m_tabOrder.at(i - 1), m_tabOrder.at(i));
    // Labels may come after the controls they name.
    for (const auto& [label, id] : std::as_const(labels))
        label->setBuddy(m_controls.value(id));
}

int Dialog::DoModal()
{
    m_result = IDCANCEL;
    m_ending = false;
    if (OnInitDialog())
        FocusFirstTabStop();
    exec();
    return m_result;
}

void Dialog::EndDialog(int result)
{
    m_result = result;
    m_ending = true;
    done(result == IDOK ? QDialog::Accepted : QDialog::Rejected);
}

bool Dialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

QWidget* Dialog::GetDlgItem(int id) const
{
    return m_controls.value(id);
}

bool Dialog::UpdateData(bool saveAndValidate)
{
    DoDataExchange(saveAndValidate);
    return true;
}

void Dialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void Dialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void Dialog::OnCommand(int id, std::function<void()> handler)
{
    m_buttonHandlers.insert(id, std::move(handler));
}

void Dialog::DDX_Text(bool saveAndValidate, int id, QString& value)
{
    auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(id));
    if (!edit)
        return;
    if (saveAndValidate)
        value = edit->text();
    else
        edit->setText(value);
}

void Dialog::OnButton(int id)
{
    if (const auto it = m_buttonHandlers.constFind(id); it != m_buttonHandlers.constEnd()) {
        (*it)();
        return;
    }
    if (id == IDOK)
        OnOK();
    else if (id == IDCANCEL)
        OnCancel();
}

void Dialog::FocusFirstTabStop()
{
    for (QWidget* widget : std::as_const(m_tabOrder)) {
        if (widget->isEnabled()) {
            widget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void Dialog::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // Enter presses the focused button, else the default one, as the system does.
        if (auto* focused = qobject_cast<QPushButton*>(focusWidget());
            focused && focused->isEnabled()) {
            focused->click();
        } else {
            const int id = m_defaultButton ? m_controls.key(m_defaultButton, IDOK) : IDOK;
            if (!m_defaultButton || m_defaultButton->isEnabled())
                OnButton(id);
        }
        event->accept();
        return;
    }
    case Qt::Key_Escape:
        OnCancel();
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void Dialog::closeEvent(QCloseEvent* event)
{
    if (m_ending) {
        QDialog::closeEvent(event);
        return;
    }
    // The close box cancels through the same handler as the Cancel button.
    event->ignore();
    OnCancel();
}
