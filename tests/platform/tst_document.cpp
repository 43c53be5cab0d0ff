// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "platform/Document.h"
#include "platform/FileDialog.h"
#include "res/Resource.h"
#include "support/MessageCapture.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QDataStream>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {
// A document that stores a text, or nothing while the text is empty.
class TextDocument : public Document
{
public:
    QString text;

    void Serialize(QDataStream& archive, bool storing) override
    {
        if (storing && !text.isEmpty())
            archive << text;
        else if (!storing)
            archive >> text;
    }
};
} // namespace

class DocumentTest : public QObject
{
    Q_OBJECT

private slots:
    void emptyDocumentNeverErasesAFileThatHoldsData()
    {
        QTemporaryDir dir;
        const QString favorites = dir.filePath(QStringLiteral("Favorites.xml"));
        const QByteArray content =
            TestFiles::FavoritesXml({{QStringLiteral("Kept"), QStringLiteral("http://kept/")}});
        QVERIFY(TestFiles::Write(favorites, content));
        QString chosen;
        const auto previous =
            FileDialog::SetHook([&chosen](FileDialog::Mode, const QString&) { return chosen; });
        MessageCapture messages;

        // Opened, then saved under its own name (Ctrl+S).
        TextDocument opened;
        QVERIFY(opened.OnOpenDocument(favorites));
        QVERIFY(opened.OnCmdMsg(ID_FILE_SAVE));
        QCOMPARE(TestFiles::Read(favorites), content);
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.texts().first().contains(favorites),
                 qPrintable(messages.texts().first()));

        // A new document saved onto it through the chooser.
        TextDocument untitled;
        chosen = favorites;
        QVERIFY(untitled.OnCmdMsg(ID_FILE_SAVE));
        QCOMPARE(TestFiles::Read(favorites), content);
        QCOMPARE(messages.texts().size(), 2);
        QCOMPARE(untitled.GetTitle(), QStringLiteral("Untitled"));

        // A new file, or an empty one, is still created or saved.
        chosen = dir.filePath(QStringLiteral("new.kne"));
        QVERIFY(untitled.OnCmdMsg(ID_FILE_SAVE));
        QVERIFY(QFileInfo::exists(chosen));
        QCOMPARE(QFileInfo(chosen).size(), 0);
        QCOMPARE(untitled.GetPathName(), chosen);
        QVERIFY(untitled.OnSaveDocument(chosen));
        QCOMPARE(messages.texts().size(), 2);
        FileDialog::SetHook(previous);
    }

    void documentWithDataReplacesItsFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("notes.kne"));
        MessageCapture messages;
        TextDocument document;
        document.text = QStringLiteral("first");
        QVERIFY(document.OnSaveDocument(path));
        document.text = QStringLiteral("second");
        QVERIFY(document.OnSaveDocument(path));
        TextDocument reopened;
        QVERIFY(reopened.OnOpenDocument(path));
        QCOMPARE(reopened.text, QStringLiteral("second"));

        // Emptied, it may not erase what it wrote before either.
        document.text.clear();
        QVERIFY(!document.OnSaveDocument(path));
        QVERIFY(reopened.OnOpenDocument(path));
        QCOMPARE(reopened.text, QStringLiteral("second"));
        QCOMPARE(messages.texts().size(), 1);
    }
};

KESTRIN_TEST_MAIN(DocumentTest)
#include "tst_document.moc"
