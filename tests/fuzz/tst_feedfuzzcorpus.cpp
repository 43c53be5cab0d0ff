// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FeedFuzzCheck.h"
#include "support/CoreTestMain.h"

#include <QDir>

// Every input of the feed parser's and the page-head reader's committed fuzz corpora, the
// reproducers of past faults among them, goes through the fuzz targets' checks on each run
// of the suite.
class FeedFuzzCorpusTest : public QObject
{
    Q_OBJECT

private slots:
    void corpusKeepsThePromises_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("page");
        for (const auto& [folder, page] :
             {std::pair{KESTRIN_FEED_CORPUS, false}, std::pair{KESTRIN_PAGEHEAD_CORPUS, true}}) {
            const QDir corpus(QString::fromUtf8(folder));
            const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
            QVERIFY(names.size() >= 5);
            for (const QString& name : names)
                QTest::newRow(qPrintable(corpus.dirName() + QLatin1Char('/') + name))
                    << corpus.filePath(name) << page;
        }
    }

    void corpusKeepsThePromises()
    {
        QFETCH(QString, input);
        QFETCH(bool, page);
        QFile file(input);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QString fault = page ? FeedFuzzCheck::PageHead(bytes) : FeedFuzzCheck::Feed(bytes);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }
};

KESTRIN_CORE_TEST_MAIN(FeedFuzzCorpusTest)
#include "tst_feedfuzzcorpus.moc"
