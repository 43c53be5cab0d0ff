// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "CommandTarget.h"

#include <QString>

#include <vector>

class QDataStream;
class View;

// The framework's document: a file-backed object that its views show.
class Document : public CommandTarget
{
public:
    Document();
    ~Document() override;

    // Resets the document for a new, untitled file.
    virtual bool OnNewDocument();
    // Loads the document from a file; false (after a message) when the file can't be read.
    virtual bool OnOpenDocument(const QString& path);
    // Writes the document to a file; false (after a message) when it can't be written, or
    // when the document holds no data and the file does: that file is left as it is.
    virtual bool OnSaveDocument(const QString& path);
    // Stores or loads the document's data through the archive.
    virtual void Serialize(QDataStream& archive, bool storing);

    [[nodiscard]] QString GetPathName() const { return m_strPathName; }
    void SetPathName(const QString& path);
    // The name shown in the frame's title: the file's name, or "Untitled".
    [[nodiscard]] QString GetTitle() const { return m_strTitle; }

    [[nodiscard]] const std::vector<View*>& views() const { return m_views; }
    void AddView(View* view);
    void RemoveView(View* view);

private:
    // Save (Ctrl+S): asks for a name when the document has none.
    void OnFileSave();

    QString m_strPathName;
    QString m_strTitle;
    std::vector<View*> m_views;
};
