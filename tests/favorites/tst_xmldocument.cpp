// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "favorites/CXmlDocument.h"
#include "favorites/CXmlTestSeam.h"
#include "support/CoreTestMain.h"

#include <QDir>
#include <QTemporaryDir>

#include <functional>

namespace {
// The status a wrapper call threw, or S_OK when it returned.
xml::HRESULT statusOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const xml::_com_error& error) {
        return error.Error();
    }
    return xml::S_OK;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

CXmlString text(const char* latin1)
{
    return CXmlString(QString::fromLatin1(latin1));
}
} // namespace

class XmlDocumentTest : public QObject
{
    Q_OBJECT

private:
    // A document holding <root><a>one</a><b/></root>, loaded from a file.
    [[nodiscard]] CXmlDocument sample()
    {
        CXmlDocument doc;
        if (xml::Failed(doc.CreateInstance()) ||
            !writeFile(m_dir.filePath(QStringLiteral("sample.xml")),
                       "<root><a>one</a><b/></root>") ||
            !doc.Load(m_dir.filePath(QStringLiteral("sample.xml"))))
            doc.Release();
        return doc;
    }

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        CXmlDocument::InitializeEngine();
        QVERIFY(m_dir.isValid());
    }

    void cleanup() { CXmlTestSeam::SetFailures({}); }

    void nodesKeepTheirDocumentAlive()
    {
        CXmlDocument doc = sample();
        QVERIFY(!doc.IsNull());
        const CXmlNode a = doc.SelectNodes(text("root/a")).GetItem(0);
        const CXmlNodeList children = doc.SelectNodes(text("root")).GetItem(0).GetChildNodes();
        doc.Release();
        QCOMPARE(a.GetText().ToQString(), QStringLiteral("one"));
        QCOMPARE(children.GetLength(), 2);
        QCOMPARE(children.GetItem(1).GetNodeName().ToQString(), QStringLiteral("b"));
    }

    void detachedNodesDieWithTheirLastHandle()
    {
        CXmlDocument doc = sample();
        CXmlNode root = doc.SelectNodes(text("root")).GetItem(0);
        const qint64 start = CXmlTestSeam::FreedNodeCount();

        doc.CreateElement(text("never")).Release();
        QCOMPARE(CXmlTestSeam::FreedNodeCount(), start + 1);

        CXmlNode attached = doc.CreateElement(text("attached"));
        root.AddChild(attached);
        attached.Release();
        QCOMPARE(CXmlTestSeam::FreedNodeCount(), start + 1);

        // The removed node lives while either of its two handles does.
        CXmlNode a = doc.SelectNodes(text("root/a")).GetItem(0);
        CXmlNode removed = root.RemoveChild(a);
        a.Release();
        QCOMPARE(CXmlTestSeam::FreedNodeCount(), start + 1);
        QCOMPARE(removed.GetText().ToQString(), QStringLiteral("one"));
        removed.Release();
        QCOMPARE(CXmlTestSeam::FreedNodeCount(), start + 2);

        // A child still held outlives the detached parent that is freed under it.
        CXmlNode parent = doc.CreateElement(text("parent"));
        CXmlNode child = doc.CreateElement(text("child"));
        parent.AddChild(child);
        parent.Release();
        QCOMPARE(CXmlTestSeam::FreedNodeCount(), start + 3);
        child.SetText(text("still here"));
        QCOMPARE(child.GetText().ToQString(), QStringLiteral("still here"));
        child.Release();
        QCOMPARE(CXmlTestSeam::FreedNodeCount(), start + 4);
        QCOMPARE(root.GetChildNodes().GetLength(), 2);
    }

    void childListsFollowChanges()
    {
        CXmlDocument doc = sample();
        CXmlNode root = doc.SelectNodes(text("root")).GetItem(0);
        const CXmlNodeList children = root.GetChildNodes();
        const CXmlNodeList selected = doc.SelectNodes(text("root/*"));
        QCOMPARE(children.GetLength(), 2);

        const CXmlNode c = doc.CreateElement(text("c"));
        root.AddChild(c);
        root.AddChild(children.GetItem(0)); // moves <a> to the end
        QCOMPARE(children.GetLength(), 3);
        QCOMPARE(children.GetItem(1).GetNodeName().ToQString(), QStringLiteral("c"));
        QCOMPARE(children.GetItem(2).GetNodeName().ToQString(), QStringLiteral("a"));
        root.RemoveChild(c);
        QCOMPARE(children.GetLength(), 2);
        // A selection is a snapshot.
        QCOMPARE(selected.GetLength(), 2);

        CXmlNode outside;
        QCOMPARE(children.GetItem(2, outside), xml::S_FALSE);
        QVERIFY(outside.IsNull());
        QVERIFY(children.GetItem(-1).IsNull());
    }

    void misuseThrowsItsStatus()
    {
        const CXmlDocument empty;
        const CXmlNode none;
        const CXmlNodeList noList;
        QCOMPARE(statusOf([&] { (void)empty.SelectNodes(text("*")); }), xml::E_POINTER);
        QCOMPARE(statusOf([&] { (void)none.GetText(); }), xml::E_POINTER);
        QCOMPARE(statusOf([&] { (void)noList.GetLength(); }), xml::E_POINTER);
        CXmlNodeList list;
        QCOMPARE(none.GetChildNodes(list), xml::E_POINTER);

        CXmlDocument doc = sample();
        CXmlNode root = doc.SelectNodes(text("root")).GetItem(0);
        CXmlNode a = doc.SelectNodes(text("root/a")).GetItem(0);
        QCOMPARE(statusOf([&] { a.AddChild(root); }), xml::E_INVALIDARG);
        QCOMPARE(statusOf([&] { a.AddChild(a); }), xml::E_INVALIDARG);
        QCOMPARE(statusOf([&] { a.RemoveChild(root); }), xml::E_INVALIDARG);
        CXmlDocument other = sample();
        QCOMPARE(statusOf([&] { root.AddChild(other.CreateElement(text("x"))); }),
                 xml::E_INVALIDARG);
        QCOMPARE(statusOf([&] { (void)doc.CreateElement(text("two words")); }), xml::E_FAIL);

        // Text the file could not hold again is refused before it reaches the tree.
        QCOMPARE(statusOf([&] { a.SetText(CXmlString(QStringLiteral("bell\a"))); }),
                 xml::E_INVALIDARG);
        QCOMPARE(statusOf([&] { a.SetText(CXmlString(QString(QChar(0xD800)))); }),
                 xml::HRESULT(0x80070459u));
        QCOMPARE(a.GetText().ToQString(), QStringLiteral("one"));
    }

    void textReplacesContentAndSurvivesASave()
    {
        CXmlDocument doc = sample();
        CXmlNode root = doc.SelectNodes(text("root")).GetItem(0);
        CXmlNode a = doc.SelectNodes(text("root/a")).GetItem(0);
        a.AddChild(doc.CreateElement(text("inner")));
        const QString value = QStringLiteral("a < b && \"c\" > d \U0001F4F0 中文");
        a.SetText(CXmlString(value));
        QCOMPARE(a.GetChildNodes().GetLength(), 1);
        QCOMPARE(a.GetText().ToQString(), value);

        const QString path = m_dir.filePath(QStringLiteral("text.xml"));
        doc.Save(path);
        CXmlDocument reloaded;
        QCOMPARE(reloaded.CreateInstance(), xml::S_OK);
        QVERIFY(reloaded.Load(path));
        QCOMPARE(reloaded.SelectNodes(text("root/a")).GetItem(0).GetText().ToQString(), value);
        QCOMPARE(reloaded.SelectNodes(text("root/a/inner")).GetLength(), 0);
    }

    void saveReplacesTheFileAndKeepsItsPermissions()
    {
        CXmlDocument doc = sample();
        const QString path = m_dir.filePath(QStringLiteral("kept.xml"));
        QVERIFY(writeFile(path, "<old/>"));
        // Not what a new file would get, so that a lost mode shows.
        const QFile::Permissions permissions =
            QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        const QFile::Permissions userFlags = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
        QVERIFY(QFile::setPermissions(path, permissions));
        const QString link = m_dir.filePath(QStringLiteral("link.xml"));
        QVERIFY(QFile::link(path, link));

        doc.Save(link);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(QFile::permissions(path) & ~userFlags, permissions);
        QVERIFY(readFile(path).contains("<a>one</a>"));

        const xml::HRESULT missingDirectory =
            statusOf([&] { doc.Save(m_dir.filePath(QStringLiteral("no/such/dir.xml"))); });
        QCOMPARE(quint32(missingDirectory) & 0xFFFF0000u, 0x80070000u);
    }
};

KESTRIN_CORE_TEST_MAIN(XmlDocumentTest)
#include "tst_xmldocument.moc"
