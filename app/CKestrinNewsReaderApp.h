#pragma once

#include "platform/WinApp.h"

#include <QStringList>

class CKestrinNewsReaderApp : public WinApp
{
public:
    // arguments: the command line without the program name.
    CKestrinNewsReaderApp(ProfileFactory profileFactory, QStringList arguments);

    bool InitInstance() override;
    int ExitInstance() override;

private:
    void OnAppAbout();

    QStringList m_arguments;
};
