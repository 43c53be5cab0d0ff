// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "Document.h"

#include "FileDialog.h"
#include "MessageBox.h"
#include "View.h"
#include "res/Resource.h"

#include <QDataStream>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {
const QString kUntitled = QStringLiteral("Untitled");
}

Document::Document() : m_strTitle(kUntitled)
{
    m_commandMap.on(ID_FILE_SAVE, [this] { OnFileSave(); });
}

Document::~Document()
{
    for (View* view : m_views)
        view->AttachDocument(nullptr);
}

bool Document::OnNewDocument()
{
    m_strPathName.clear();
    m_strTitle = kUntitled;
    return true;
}

bool Document::OnOpenDocument(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        MessageBox::Show(QStringLiteral("Failed to open document.\n%1").arg(path),
                         MB_OK | MB_ICONWARNING);
        return false;
    }
    QDataStream archive(&file);
    Serialize(archive, false);
    SetPathName(path);
    return true;
}

bool Document::OnSaveDocument(const QString& path)
{
    QByteArray content;
    {
        QDataStream archive(&content, QIODevice::WriteOnly);
        Serialize(archive, true);
    }
    // A document with nothing to store would only erase what the file holds, as when the
    // file chosen is one the program keeps its own data in.
    if (content.isEmpty() && QFileInfo(path).size() > 0) {
        MessageBox::Show(QStringLiteral("The document was not saved: it holds no data, and "
                                        "saving it would erase the contents of\n%1")
                             .arg(path),
                         MB_OK | MB_ICONWARNING);
        return false;
    }
    QSaveFile file(path);
    const bool ok =
        file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit();
    if (!ok) {
        MessageBox::Show(QStringLiteral("Failed to save document.\n%1").arg(path),
                         MB_OK | MB_ICONWARNING);
        return false;
    }
    SetPathName(path);
    return true;
}

void Document::Serialize(QDataStream&, bool) {}

void Document::SetPathName(const QString& path)
{
    m_strPathName = path;
    m_strTitle = QFileInfo(path).fileName();
}

void Document::AddView(View* view)
{
    if (std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void Document::RemoveView(View* view)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

void Document::OnFileSave()
{
    QString path = m_strPathName;
    if (path.isEmpty())
        path = FileDialog::GetSaveFileName(m_strTitle);
    if (!path.isEmpty())
        OnSaveDocument(path);
}
