// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QDialog>
#include <QHash>

struct DialogTemplate;
class QPushButton;

// The framework's modal dialog: controls built from a template in dialog units, looked up
// by id, values exchanged through DoDataExchange, OK and Cancel as overridable handlers.
class Dialog : public QDialog
{
    Q_OBJECT

public:
    // The dialog has no parent window unless one is given.
    explicit Dialog(int templateId, QWidget* parent = nullptr);

    // Runs the modal loop; returns the code passed to EndDialog (IDOK, IDCANCEL, ...).
    int DoModal();
    void EndDialog(int result);

    [[nodiscard]] QWidget* GetDlgItem(int id) const;
    [[nodiscard]] int templateId() const { return m_templateId; }

    // Direction of data exchange: true copies the controls into the members.
    bool UpdateData(bool saveAndValidate = true);

protected:
    // Fills the controls from the members; return true to give the focus to the first
    // enabled tab stop.
    virtual bool OnInitDialog();
    virtual void DoDataExchange(bool saveAndValidate) { Q_UNUSED(saveAndValidate); }
    virtual void OnOK();
    virtual void OnCancel();
    // Binds a push button's click to a handler, as a message-map entry does.
    void OnCommand(int id, std::function<void()> handler);

    // Exchanges an edit control's text with a string member.
    void DDX_Text(bool saveAndValidate, int id, QString& value);

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Build(const DialogTemplate& dialogTemplate);
    void OnButton(int id);
    void FocusFirstTabStop();

    int m_templateId;
    QHash<int, QWidget*> m_controls;
    QList<QWidget*> m_tabOrder;
    QHash<int, std::function<void()>> m_buttonHandlers;
    QPushButton* m_defaultButton = nullptr;
    int m_result = 0;
    bool m_ending = false;
};
