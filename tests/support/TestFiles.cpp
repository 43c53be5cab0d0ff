// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QUrl>

QByteArray TestFiles::FavoritesXml(const Records& records)
{
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Favorites>\n");
    for (const auto& [title, url] : records) {
        xml += QStringLiteral(
                   "  <Favorite>\n    <title>%1</title>\n    <url>%2</url>\n  </Favorite>\n")
                   .arg(title.toHtmlEscaped(), url.toHtmlEscaped());
    }
    return (xml + QStringLiteral("</Favorites>\n")).toUtf8();
}

QByteArray TestFiles::Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool TestFiles::Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString TestFiles::PageUrl(const char* name)
{
    return QUrl::fromLocalFile(
               QDir(TestDataDir()).filePath(QStringLiteral("pages/") + QLatin1String(name)))
        .toString();
}

QString TestFiles::HtmlTitle(const QString& path)
{
    const QRegularExpression title(QStringLiteral("<title>(.*)</title>"),
                                   QRegularExpression::DotMatchesEverythingOption);
    const auto match = title.match(QString::fromUtf8(Read(path)));
    return QTextDocumentFragment::fromHtml(match.captured(1)).toPlainText().simplified();
}

QString TestFiles::StartPageTitle()
{
    return HtmlTitle(QDir(qEnvironmentVariable("KESTRIN_SOURCE_DIR"))
                         .filePath(QStringLiteral("res/start/start.html")));
}

QString TestFiles::TestDataDir()
{
    return qEnvironmentVariable("KESTRIN_TEST_DATA");
}

QString TestFiles::SourceDataDir()
{
    return QDir(qEnvironmentVariable("KESTRIN_SOURCE_DIR")).filePath(QStringLiteral("data"));
}
