#include "CFavoritesStore.h"

#include "CXmlDocument.h"
#include "app/Globals.h"
#include "platform/MessageBox.h"

#include <QFile>

namespace {
QString CreateFailedMessage()
{
    return QStringLiteral("Unable to create DOMDocument object. Please check the installation of "
                          "the MS XML Parser!");
}

// Exactly the six blanks of the C locale: other Unicode spaces are part of the value.
bool IsBlank(QChar c)
{
    switch (c.unicode()) {
    case u' ':
    case u'\t':
    case u'\r':
    case u'\n':
    case u'\v':
    case u'\f':
        return true;
    default:
        return false;
    }
}

QString TrimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsBlank(text.at(first)))
        ++first;
    while (last > first && IsBlank(text.at(last - 1)))
        --last;
    return text.mid(first, last - first);
}

// The last "title" and "url" children win; names are compared exactly.
FavoriteRecord ReadRecord(const CXmlNode& node)
{
    FavoriteRecord record;
    const CXmlNodeList children = node.GetChildNodes();
    for (long i = 0; i < children.GetLength(); ++i) {
        const CXmlNode child = children.GetItem(i);
        const CXmlString name = child.GetNodeName();
        if (name.ToQString() == QLatin1String("title"))
            record.title = child.GetText().ToQString();
        else if (name.ToQString() == QLatin1String("url"))
            record.url = child.GetText().ToQString();
    }
    return record;
}

// The first child of root holding this pair, whatever the child's own name; empty if none.
CXmlNode FindRecord(const CXmlNode& root, const QString& title, const QString& url)
{
    const CXmlNodeList children = root.GetChildNodes();
    for (long i = 0; i < children.GetLength(); ++i) {
        CXmlNode child = children.GetItem(i);
        const FavoriteRecord record = ReadRecord(child);
        if (record.title == title && record.url == url)
            return child;
    }
    return {};
}

void AppendRecord(CXmlDocument& doc, CXmlNode& root, const QString& title, const QString& url)
{
    CXmlNode favorite = doc.CreateElement(CXmlString(QStringLiteral("Favorite")));
    CXmlNode titleNode = doc.CreateElement(CXmlString(QStringLiteral("title")));
    CXmlNode urlNode = doc.CreateElement(CXmlString(QStringLiteral("url")));
    titleNode.SetText(CXmlString(title));
    urlNode.SetText(CXmlString(url));
    favorite.AddChild(titleNode);
    favorite.AddChild(urlNode);
    root.AddChild(favorite);
}

// Ends a backup whose copy broke off: the partial file must not pass for a backup.
void AbandonBackup(QFile& backup, const QString& message)
{
    backup.close();
    backup.remove();
    MessageBox::Show(message, MB_OK);
}
} // namespace

QString CFavoritesStore::GetFavoritesPath()
{
    return g_strAppDir + QStringLiteral("/Favorites.xml");
}

bool CFavoritesStore::ReadAll(QList<FavoriteRecord>& records)
{
    records.clear();
    CXmlDocument doc;
    if (xml::Failed(doc.CreateInstance())) {
        MessageBox::Show(CreateFailedMessage(), MB_OK);
        return false;
    }
    try {
        // A file that cannot be read or parsed leaves an empty document: no records.
        doc.Load(GetFavoritesPath());
        const CXmlNodeList favorites =
            doc.SelectNodes(CXmlString(QStringLiteral("Favorites/Favorite")));
        for (long i = 0; i < favorites.GetLength(); ++i) {
            CXmlNode favorite;
            if (xml::Failed(favorites.GetItem(i, favorite))) {
                MessageBox::Show(QStringLiteral("Access node failure!"), MB_OK);
                break;
            }
            records.append(ReadRecord(favorite));
        }
    } catch (const xml::_com_error&) {
        // The records read before the failure are kept.
    }
    return true;
}

bool CFavoritesStore::Update(int nOperation, const QString& title, const QString& url)
{
    if (nOperation != Add && nOperation != Delete)
        return false;
    const QString strTitle = TrimBlanks(title);
    const QString strURL = TrimBlanks(url);
    if (strTitle.isEmpty() || strURL.isEmpty())
        return false;

    CXmlDocument doc;
    if (xml::Failed(doc.CreateInstance())) {
        MessageBox::Show(CreateFailedMessage(), MB_OK);
        return false;
    }
    const QString path = GetFavoritesPath();
    try {
        // The store never creates the file or its root: without them nothing is written.
        if (!doc.Load(path))
            throw xml::_com_error(xml::E_FAIL, doc.GetParseError());
        CXmlNode root = doc.SelectNodes(CXmlString(QStringLiteral("Favorites"))).GetItem(0);
        if (root.IsNull())
            throw xml::_com_error(xml::E_FAIL, QStringLiteral("It has no Favorites root element"));

        const CXmlNode match = FindRecord(root, strTitle, strURL);
        if (nOperation == Add) {
            if (!match.IsNull()) {
                MessageBox::Show(
                    QStringLiteral("The same content already exist, delete it then add new!"),
                    MB_OK);
                return false;
            }
            AppendRecord(doc, root, strTitle, strURL);
        } else if (!match.IsNull()) {
            root.RemoveChild(match);
        }
        // A delete that found nothing still rewrites the same records.
        doc.Save(path);
    } catch (const xml::_com_error& error) {
        MessageBox::Show(QStringLiteral("Unable to change the favorites file %1.\n%2")
                             .arg(path, error.ErrorMessage()),
                         MB_OK);
        return false;
    }
    return true;
}

void CFavoritesStore::Backup()
{
    QFile source(QStringLiteral("Favorites.xml"));
    if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        MessageBox::Show(QStringLiteral("读取配置文件 Favorites.xml 失败！"), MB_OK);
        return;
    }
    QFile backup(QStringLiteral("Favorites.xml.bk"));
    if (!backup.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        MessageBox::Show(QStringLiteral("创建配置文件 Favorites.xml.bk 失败！"), MB_OK);
        return;
    }

    char buffer[512];
    qint64 count = 0;
    do {
        count = source.read(buffer, sizeof buffer);
        if (count < 0) {
            AbandonBackup(backup,
                          QStringLiteral("读取配置文件 Favorites.xml 时出错：%1。备份未完成！")
                              .arg(source.errorString()));
            return;
        }
        if (backup.write(buffer, count) != count) {
            AbandonBackup(backup,
                          QStringLiteral("写入配置文件 Favorites.xml.bk 时出错：%1。备份未完成！")
                              .arg(backup.errorString()));
            return;
        }
    } while (count == qint64(sizeof buffer));
    backup.close();
    MessageBox::Show(QStringLiteral("备份成功！"), MB_OK);
}
