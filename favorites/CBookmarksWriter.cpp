#include "CBookmarksWriter.h"

#include "CXmlAtomicFile.h"

QByteArray CBookmarksWriter::Format(const QList<FavoriteRecord>& records, const QString& folderName)
{
    QString html =
        QStringLiteral("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                       "<!-- This is an automatically generated file.\n"
                       "     It will be read and overwritten.\n"
                       "     DO NOT EDIT! -->\n"
                       "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                       "<TITLE>Bookmarks</TITLE>\n"
                       "<H1>Bookmarks</H1>\n"
                       "<DL><p>\n");
    html += QStringLiteral("    <DT><H3>%1</H3>\n    <DL><p>\n").arg(folderName.toHtmlEscaped());
    html.reserve(html.size() + records.size() * 96);
    for (const FavoriteRecord& record : records) {
        html += QStringLiteral("        <DT><A HREF=\"");
        html += record.url.toHtmlEscaped();
        html += QStringLiteral("\">");
        html += record.title.toHtmlEscaped();
        html += QStringLiteral("</A>\n");
    }
    html += QStringLiteral("    </DL><p>\n</DL><p>\n");
    return html.toUtf8();
}

void CBookmarksWriter::Write(const QString& path, const QList<FavoriteRecord>& records,
                             const QString& folderName)
{
    const QByteArray bytes = Format(records, folderName);
    CXmlAtomicFile::Write(path, bytes.constData(), bytes.size());
}
