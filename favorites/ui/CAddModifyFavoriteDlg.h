// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "favorites/FavoriteRef.h"
#include "platform/Dialog.h"

#include <QString>

class CFavoritesStore;

// Adds one favorite (new-record mode) or deletes the one it was opened on (existing-record
// mode); opened with EditRecord, it changes one in place. It ends with IDOK only when the
// store reported that the file changed.
class CAddModifyFavoriteDlg : public Dialog
{
    Q_OBJECT

public:
    explicit CAddModifyFavoriteDlg(CFavoritesStore& store, QWidget* parent = nullptr);

    // Edit mode: the record's name and address are editable and Save replaces it in place.
    void EditRecord(const FavoriteRef& ref);

    bool m_bExisting = false;
    QString m_strName;
    QString m_strURL;
    // In new-record and edit mode: the dialog opens with the name selected for typing over.
    bool m_bSelectName = false;
    // The folder shown in the Folder list; in new-record mode, when empty, the folder last
    // added to is chosen.
    QStringList m_folder;

    // Asked before a new favorite whose address is a favorite already under another name:
    // empty when it is not.
    [[nodiscard]] static QString SameAddressQuestion(const QList<FavoriteRecord>& records,
                                                     const QString& title, const QString& url);

    // What Save says of a name or address that is empty once trimmed; empty when both are
    // there.
    [[nodiscard]] static QString MissingText(const QString& name, const QString& url);

protected:
    void DoDataExchange(bool saveAndValidate) override;
    bool OnInitDialog() override;
    void OnOK() override;

private:
    void OnDelete();
    // Says which value is missing and puts the cursor there; false when both are there.
    bool TellMissing();
    // Hands the pair to the store; closes with IDOK once the store reports the change.
    void Apply(int operation);

    // False when the user would rather not add an address that is there already.
    [[nodiscard]] bool ConfirmAddress() const;

    CFavoritesStore& m_store;
    bool m_bEditing = false;
    FavoriteRef m_original;
};
