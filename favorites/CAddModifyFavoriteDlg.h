#pragma once

#include "platform/Dialog.h"

#include <QString>

// Adds one favorite (new-record mode) or deletes the one it was opened on (existing-record
// mode). It ends with IDOK only when the store reported that the file changed.
class CAddModifyFavoriteDlg : public Dialog
{
    Q_OBJECT

public:
    explicit CAddModifyFavoriteDlg(QWidget* parent = nullptr);

    bool m_bExisting = false;
    QString m_strName;
    QString m_strURL;

protected:
    void DoDataExchange(bool saveAndValidate) override;
    bool OnInitDialog() override;
    void OnOK() override;

private:
    void OnDelete();
    // Hands the pair to the store; closes with IDOK once the store reports the change.
    void Apply(int operation);
};
