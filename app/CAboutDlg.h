#pragma once

#include "platform/Dialog.h"

class CAboutDlg : public Dialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
