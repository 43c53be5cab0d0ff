// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CBookmarksWriter.h"

#include "CXmlAtomicFile.h"

namespace {
void Indent(QString& html, qsizetype depth)
{
    html += QString(4 * (depth + 1), u' ');
}
} // namespace

QByteArray CBookmarksWriter::Format(const QList<CFavoritesChange::Child>& children,
                                    const QString& folderName)
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
    html.reserve(html.size() + children.size() * 96);
    // The folders open around the current element, outermost first.
    QStringList open;
    const auto closeTo = [&](const QStringList& folder) {
        while (open.size() > folder.size() || open != folder.first(open.size())) {
            open.removeLast();
            Indent(html, open.size() + 1);
            html += QStringLiteral("</DL><p>\n");
        }
    };
    for (const CFavoritesChange::Child& child : children) {
        closeTo(child.record.folder);
        // An element whose folder was not written (never in file order) goes where it can.
        const qsizetype depth = open.size() + 1;
        if (child.isFolder()) {
            Indent(html, depth);
            html += QStringLiteral("<DT><H3>");
            html += child.record.title.toHtmlEscaped();
            html += QStringLiteral("</H3>\n");
            Indent(html, depth);
            html += QStringLiteral("<DL><p>\n");
            open.append(child.record.title);
        } else if (child.isFavorite()) {
            Indent(html, depth);
            html += QStringLiteral("<DT><A HREF=\"");
            html += child.record.url.toHtmlEscaped();
            html += QStringLiteral("\">");
            html += child.record.title.toHtmlEscaped();
            html += QStringLiteral("</A>\n");
        }
    }
    closeTo({});
    html += QStringLiteral("    </DL><p>\n</DL><p>\n");
    return html.toUtf8();
}

QByteArray CBookmarksWriter::Format(const QList<FavoriteRecord>& records, const QString& folderName)
{
    QList<CFavoritesChange::Child> children;
    QStringList open;
    for (const FavoriteRecord& record : records) {
        if (record.folder != open) {
            qsizetype common = 0;
            while (common < open.size() && common < record.folder.size() &&
                   open.at(common) == record.folder.at(common))
                ++common;
            for (qsizetype i = common; i < record.folder.size(); ++i)
                children.append(
                    {QStringLiteral("Folder"), {record.folder.at(i), {}, record.folder.first(i)}});
            open = record.folder;
        }
        children.append({QStringLiteral("Favorite"), record});
    }
    return Format(children, folderName);
}

void CBookmarksWriter::Write(const QString& path, const QList<CFavoritesChange::Child>& children,
                             const QString& folderName)
{
    const QByteArray bytes = Format(children, folderName);
    CXmlAtomicFile::Write(path, bytes.constData(), bytes.size());
}
