// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoritesFuzzCheck.h"
#include "support/CoreTestMain.h"

#include <QDir>
#include <QTemporaryDir>

// Every input of the committed fuzz corpus, the reproducers of past faults among them, goes
// through the fuzz target's checks on each run of the suite.
class FuzzCorpusTest : public QObject
{
    Q_OBJECT

private slots:
    void corpusKeepsTheStoresPromises_data()
    {
        QTest::addColumn<QString>("input");
        const QDir corpus(QStringLiteral(KESTRIN_FUZZ_CORPUS));
        const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
        QVERIFY(names.size() >= 20);
        for (const QString& name : names)
            QTest::newRow(qPrintable(name)) << corpus.filePath(name);
    }

    void corpusKeepsTheStoresPromises()
    {
        QFETCH(QString, input);
        QFile file(input);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        FavoritesFuzzCheck check(folder.path());
        const QString fault = check.Run(file.readAll());
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }
};

KESTRIN_CORE_TEST_MAIN(FuzzCorpusTest)
#include "tst_fuzzcorpus.moc"
