#include "CAboutDlg.h"

#include "res/Resource.h"

CAboutDlg::CAboutDlg(QWidget* parent) : Dialog(IDD_ABOUTBOX, parent) {}
