// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoritesTestCase.h"
#include "support/CoreTestMain.h"
#include "support/TestFiles.h"

#include <QStringEncoder>

#include <malloc.h>
#include <memory>

namespace {
const QString kNewTitle = QStringLiteral("Le Télégramme 新京报 & Co");
const QString kNewUrl = QStringLiteral("http://t.example/?a=1&b=+2");

QByteArray declared(const QByteArray& encoding, const QString& records)
{
    const QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>\n<Favorites>%2"
                                       "</Favorites>\n")
                            .arg(QString::fromLatin1(encoding), records);
    if (encoding == "UTF-16") {
        QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        return encoder.encode(xml);
    }
    return xml.toLatin1();
}
} // namespace

class FavoritesEncodingsTest : public FavoritesTestCase
{
    Q_OBJECT

private:
    [[nodiscard]] QStringList entries() const { return folder().entries(); }

private slots:
    void declaredEncodingTakesAnAddAndADeleteExactly_data()
    {
        QTest::addColumn<QByteArray>("encoding");
        // Whether the file must keep its encoding; the others may fall back to UTF-8.
        QTest::addColumn<bool>("keeps");
        QTest::newRow("UTF-7") << QByteArray("UTF-7") << false;
        QTest::newRow("GB") << QByteArray("GB") << false;
        QTest::newRow("ISO-2022-KR") << QByteArray("ISO-2022-KR") << false;
        QTest::newRow("ISO646-DE") << QByteArray("ISO646-DE") << false;
        QTest::newRow("IBM-943") << QByteArray("IBM-943") << false;
        QTest::newRow("UTF-16") << QByteArray("UTF-16") << true;
        QTest::newRow("GBK") << QByteArray("GBK") << true;
        QTest::newRow("ISO-8859-1") << QByteArray("ISO-8859-1") << true;
        QTest::newRow("UTF-8") << QByteArray("UTF-8") << true;
    }

    void declaredEncodingTakesAnAddAndADeleteExactly()
    {
        QFETCH(QByteArray, encoding);
        QFETCH(bool, keeps);
        QVERIFY(TestFiles::Write(
            favoritesPath(),
            declared(encoding, QStringLiteral("<Favorite><title>Old Paper</title>"
                                              "<url>http://old.example/</url></Favorite>"))));
        QCOMPARE(readRows(), QStringList{QStringLiteral("Old Paper|http://old.example/")});

        QVERIFY(store().Update(CFavoritesStore::Add, kNewTitle, kNewUrl));
        QCOMPARE(readRows(), (QStringList{QStringLiteral("Old Paper|http://old.example/"),
                                          kNewTitle + QLatin1Char('|') + kNewUrl}));
        QVERIFY(store().Update(CFavoritesStore::Delete, QStringLiteral("Old Paper"),
                               QStringLiteral("http://old.example/")));
        QCOMPARE(readRows(), QStringList{kNewTitle + QLatin1Char('|') + kNewUrl});

        const QByteArray written = TestFiles::Read(favoritesPath());
        const QByteArray head =
            encoding == "UTF-16"
                ? QString(QStringDecoder(QStringDecoder::Utf16).decode(written)).toLatin1()
                : written;
        const bool kept = head.contains("encoding=\"" + encoding + "\"");
        QVERIFY2(kept || (!keeps && head.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")),
                 head.left(60).constData());
        // Beside the file, only the backup made before its first change.
        QCOMPARE(entries(),
                 (QStringList{QStringLiteral("Favorites.xml"), QStringLiteral("backups")}));
    }

    void addThatWouldPassTheSizeLimitIsRefusedBeforeReplacing()
    {
        constexpr qint64 kLimit = 64 * 1024 * 1024;
        // Compact, so that not even a compact rewrite makes room.
        const QString record = QStringLiteral("<Favorite><title>%1</title><url>http://x/</url>"
                                              "</Favorite>")
                                   .arg(QString(1000, QLatin1Char('t')));
        QByteArray content = "<Favorites>";
        const QByteArray one = record.toLatin1();
        while (content.size() + one.size() + 20 < kLimit)
            content += one;
        content += "</Favorites>\n";
        QVERIFY(content.size() < kLimit && content.size() > kLimit - 2000);
        QVERIFY(TestFiles::Write(favoritesPath(), content));
        const qsizetype stored = readRows().size();
        QVERIFY2(stored > 60000, qPrintable(QString::number(stored)));
        const FavoritesResult result = store().Update(
            CFavoritesStore::Add, QString(3000, QLatin1Char('n')), QStringLiteral("http://n/"));
        QCOMPARE(result.code, Code::Failed);
        QVERIFY2(result.reason.contains(QString::number(kLimit)), qPrintable(result.reason));
        QCOMPARE(TestFiles::Read(favoritesPath()), content);
        QCOMPARE(readRows().size(), stored);
        QCOMPARE(entries(), QStringList{QStringLiteral("Favorites.xml")});
    }

    void parseErrorShowsTheEnginesMessageAndFreesEverything()
    {
        // Not UTF-8 and undeclared: the engine quotes the raw bytes of the names.
        const QByteArray content = "<Favorites><n\xe9\xff></m\xe9\xff></Favorites>";
        QVERIFY(TestFiles::Write(favoritesPath(), content));
        const FavoritesResult result =
            store().Update(CFavoritesStore::Add, QStringLiteral("A"), QStringLiteral("http://a/"));
        QCOMPARE(result.code, Code::Failed);
        const QString text = result.reason;
        QVERIFY2(text.contains(QStringLiteral("Not well-formed XML (line 1:")) &&
                     text.contains(QStringLiteral("mismatch")),
                 qPrintable(text));

        // Each failed read used to keep the engine's parser context.
        const auto heapInUse = [] { return qint64(mallinfo2().uordblks); };
        const qint64 before = heapInUse();
        for (int i = 0; i < 500; ++i) {
            (void)store().Update(CFavoritesStore::Add, QStringLiteral("A"),
                                 QStringLiteral("http://a/"));
        }
        const qint64 grown = heapInUse() - before;
        QVERIFY2(grown < 1024 * 1024, qPrintable(QString::number(grown)));
        QCOMPARE(TestFiles::Read(favoritesPath()), content);
    }
};

KESTRIN_CORE_TEST_MAIN(FavoritesEncodingsTest)
#include "tst_favoritesencodings.moc"
