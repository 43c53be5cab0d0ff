// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "catalog/CatalogData.h"
#include "support/CoreTestMain.h"

#include <QSet>
#include <QUrl>

namespace {
struct StateRow
{
    const char* text;
    int count;
    const char* first;
    const char* second;
};

// The catalog's fixed structure: node texts, entry counts and each node's first entries.
constexpr StateRow kStates[] = {
    {"[AL]Alabama", 42, "Andalusia Star News", "Anniston Star, The"},
    {"[AK]Alaska", 16, "Alaska Journal of Commerce", "Alaska Star"},
    {"[AZ]Arizona", 49, "Ahwatukee Foothills News", "Ajo Copper News"},
    {"[AR]Arkansas", 52, "Arkansas Business", "Arkansas Democrat-Gazette"},
    {"[CA]California", 180, "Albion Monitor", "Alameda Times-Star, The"},
    {"[CO]Colorado", 56, "Aspen Daily News", "Aspen Times, The"},
    {"[CT]Connecticut", 56, "Advocate, The", "Bloomfield Journal"},
    {"[DE]Delaware", 6, "Cape Gazette", "Delaware Coast Press"},
    {"[DC]Dist. of Columbia", 6, "Roll Call", "Washington Business Journal"},
    {"[FL]Florida", 90, "Apalachicola Times", "Baker County Standard, The"},
    {"[GA]Georgia", 73, "Albany Herald, The", "Americus Times Recorder"},
    {"[HI]Hawaii", 11, "Haleakala Times", "Hawaiian Hard Drive"},
    {"[ID]Idaho", 23, "Bonner County Daily Bee", "Challis Messenger, The"},
    {"[IL]Illinois", 124, "Abingdon Argus", "Amboy News"},
    {"[IN]Indiana", 54, "Banner-Graphic", "Brown County Democrat, The"},
    {"[IA]Iowa", 44, "Ames Tribune", "Albia Union-Republican"},
    {"[KS]Kansas", 52, "Andover Journal-Advocate", "Ark Valley News"},
    {"[KY]Kentucky", 49, "Advocate-Messenger, The", "Business First of Louisville"},
    {"[LA]Louisiana", 32, "Advertiser, The", "Advocate, The"},
    {"[ME]Maine", 26, "Advertiser Democrat", "Bangor Daily News"},
    {"[MD]Maryland", 25, "Baltimore City Paper", "Baltimore Chronicle, The"},
    {"[MA]Massachusetts", 85, "Allston/Brighton TAB", "Amesbury Town Online"},
    {"[MI]Michigan", 93, "Allegan County News, The", "Ann Arbor News"},
    {"[MN]Minnesota", 115, "Advocate-Tribune", "Albany Enterprise"},
    {"[MS]Mississippi", 35, "Bolivar Commercial, The", "Clarion-Ledger, The"},
    {"[MO]Missouri", 67, "Bolivar Herald-Free Press", "Boonville Daily News"},
    {"[MT]Montana", 27, "Adit, The", "Ag Almanac"},
    {"[NE]Nebraska", 31, "Alliance Times-Herald", "Arthur Enterprise"},
    {"[NV]Nevada", 20, "Desert Valley Times, The", "Elko Daily Free Press"},
    {"[NH]New Hampshire", 21, "Bedford Bulletin", "Bow Times"},
    {"[NJ]New Jersey", 44, "Asbury Park Press", "Atlantic Herald"},
    {"[NM]New Mexico", 25, "Alamogordo Daily News", "Albuquerque Journal"},
    {"[NY]New York", 118, "Amsterdam News", "Financial Times"},
    {"[NC]North Carolina", 80, "Asheville Citizen-Times", "Brunswick Beacon"},
    {"[ND]North Dakota", 21, "Bismarck Tribune", "Burke County Tribune"},
    {"[OH]Ohio", 86, "Active Dayton", "Ada Herald, The"},
    {"[OK]Oklahoma", 39, "Ada Evening News", "Altus Times"},
    {"[OR]Oregon", 45, "Albany Democrat-Herald", "Argus Observer"},
    {"[PA]Pennsylvania", 95, "Altoona Mirror", "Beaver County Times"},
    {"[RI]Rhode Island", 17, "Brown Daily Herald", "Chariho Times"},
    {"[SC]South Carolina", 28, "Aiken Standard", "Anderson Independent-Mail, The"},
    {"[SD]South Dakota", 23, "Aberdeen American News", "Argus Leader"},
    {"[TN]Tennessee", 63, "Advocate/Democrat",
     "Bristol Herald Courier/Bristol Virginia-Tennessean"},
    {"[TX]Texas", 129, "Abilene Reporter-News", "Alice Echo-News Journal"},
    {"[UT]Utah", 22, "Box Elder News Journal", "Canyon Country Zephyr"},
    {"[VT]Vermont", 18, "Addison County Independent", "Barton Chronicle"},
    {"[VA]Virginia", 58, "Bland County Messenger", "Bluefield Daily Telegraph"},
    {"[WA]Washington", 42, "Anacortes American", "Bellingham Herald, The"},
    {"[WV]West Virginia", 28, "Bluefield Daily Telegraph", "Braxton Citizens' News"},
    {"[WI]Wisconsin", 58, "Baraboo News-Republic", "Barron News-Shield"},
    {"[WY]Wyoming", 10, "Business Farmer", "Casper Star Tribune"},
};

const char* const kNational[] = {
    "ABCNEWS.com",
    "Arizona Republic, The",
    "Atlanta Journal-Constitution ",
    "Baltimore Sun ",
    "Boston Globe",
    "CBS News",
    "CNN ",
    "Chicago Sun-Times ",
    "Chicago Tribune",
    "Christian Science Monitor",
    "Cincinnati Enquirer ",
    "Cincinnati Post ",
    "Cleveland Plain Dealer",
    "Dallas Morning News ",
    "Denver Post ",
    "Detroit Free Press",
    "Detroit News ",
    "Florida Times-Union",
    "Fox News ",
    "Ft. Worth Star-Telegram ",
    "Hartford Courant ",
    "Honolulu Star Bulletin",
    "Houston Chronicle",
    "Indianapolis Star and News",
    "International Herald Tribune",
    "Kansas City Star ",
    "Las Vegas Sun ",
    "Los Angeles Times ",
    "MSNBC News",
    "Miami Herald",
    "Milwaukee-Journal Sentinel",
    "Minneapolis-St. Paul Pioneer Press",
    "Minneapolis-St. Paul Star Tribune",
    "New Jersey Online",
    "New York Daily News",
    "New York Newsday",
    "New York Post",
    "New York Times",
    "NPR Online",
    "Orlando Sentinel",
    "Oregonian, The",
    "Philadelphia Inquirer, The",
    "Pittsburgh Post-Gazette",
    "Pittsburgh Tribune-Review",
    "Providence Journal",
    "Rochester Democrat & Chronicle",
    "Rocky Mountain News ",
    "Sacramento Bee",
    "Salt Lake City Deseret News",
    "Salt Lake City Tribune",
    "San Antonio Express-News",
    "San Diego Union-Tribune",
    "San Francisco Chronicle",
    "San Francisco Examiner",
    "San Jose Mercury News",
    "Seattle Times",
    "South Florida Sun-Sentinel ",
    "St. Louis Post",
    "St. Petersburg Times",
    "Syracuse Post-Standard",
    "Tampa Tribune",
    "USA Today",
    "Virginian-Pilot, The",
    "Wall Street Journal ",
    "Washington Post ",
    "Washington Times ",
};

const char* const kWorld[] = {
    "Age, The (Melbourne) ",
    "Asahi (Japan) ",
    "BBC News ",
    "Bahrain Tribune ",
    "CNN - World News  ",
    "Canadian Online Explorer ",
    "China Daily ",
    "Hong Kong Standard ",
    "International Herald Tribune",
    "Irish Times",
    "Japan Times ",
    "Jerusalem Post ",
    "Johannesburg Star ",
    "Korea Herald ",
    "Le Monde  (French)",
    "London Telegraph ",
    "London Times ",
    "MSNBC Interactive   -  NBC and Microsoft worldwide news",
    "PlanetSun - Canada",
    "Russia Today",
    "St. Petersburg Times (Russia)",
    "S. China Morn. Post ",
    "Times of India",
    "Toronto Star ",
    "USA Today World",
};

QStringList names(std::span<const CatalogEntry> entries)
{
    QStringList result;
    for (const CatalogEntry& entry : entries)
        result.append(QString::fromUtf8(entry.name));
    return result;
}

QStringList expected(std::span<const char* const> texts)
{
    QStringList result;
    for (const char* text : texts)
        result.append(QString::fromUtf8(text));
    return result;
}

// An address the tree can hand to the browser as it stands.
QString checkUrl(const CatalogEntry& entry)
{
    const QString text = QString::fromUtf8(entry.url);
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        return QStringLiteral("invalid URL");
    if (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))
        return QStringLiteral("not http or https");
    if (!url.host().contains(QLatin1Char('.')))
        return QStringLiteral("host without a dot");
    if (text.contains(QLatin1Char(' ')))
        return QStringLiteral("space in the URL");
    return {};
}

QString checkName(const CatalogEntry& entry)
{
    const QString name = QString::fromUtf8(entry.name);
    if (name.trimmed().isEmpty())
        return QStringLiteral("empty name");
    if (name.front().isSpace())
        return QStringLiteral("leading space");
    if (name.startsWith(QLatin1String("The ")))
        return QStringLiteral("leading 'The' not moved to the end");
    return {};
}
} // namespace

class CatalogDataTest : public QObject
{
    Q_OBJECT

private slots:
    void nationalAndWorldHoldTheirNamesInStoredOrder();
    void stateNodesHaveTheirTextsCountsAndFirstEntries();
    void everyEntryHasAUsableNameAndAddress();
    void noStateRepeatsAnAddressUnderAnotherName();
    void noStateRepeatsAnOutletOfTheTopNodes();
    void everyEntryHasAPlaceAndAKind();
};

void CatalogDataTest::nationalAndWorldHoldTheirNamesInStoredOrder()
{
    QCOMPARE(names(CatalogData::National()), expected(kNational));
    QCOMPARE(names(CatalogData::World()), expected(kWorld));
}

void CatalogDataTest::stateNodesHaveTheirTextsCountsAndFirstEntries()
{
    const auto states = CatalogData::States();
    QCOMPARE(states.size(), std::size(kStates));
    std::size_t total = CatalogData::National().size() + CatalogData::World().size();
    for (std::size_t i = 0; i < states.size(); ++i) {
        const CatalogNode& node = states[i];
        const StateRow& row = kStates[i];
        QCOMPARE(QString::fromUtf8(node.text), QString::fromUtf8(row.text));
        QVERIFY2(node.entries.size() == std::size_t(row.count),
                 qPrintable(QStringLiteral("%1 holds %2 entries, not %3")
                                .arg(QString::fromUtf8(row.text))
                                .arg(node.entries.size())
                                .arg(row.count)));
        QCOMPARE(QString::fromUtf8(node.entries[0].name), QString::fromUtf8(row.first));
        QCOMPARE(QString::fromUtf8(node.entries[1].name), QString::fromUtf8(row.second));
        total += node.entries.size();
    }
    QCOMPARE(total, std::size_t(2700));
}

void CatalogDataTest::everyEntryHasAUsableNameAndAddress()
{
    auto check = [](const QString& node, std::span<const CatalogEntry> entries) {
        for (const CatalogEntry& entry : entries) {
            const QString nameProblem = checkName(entry);
            const QString urlProblem = checkUrl(entry);
            if (!nameProblem.isEmpty() || !urlProblem.isEmpty()) {
                return QStringLiteral("%1: '%2' %3 %4 (%5)")
                    .arg(node, QString::fromUtf8(entry.name), nameProblem, urlProblem,
                         QString::fromUtf8(entry.url));
            }
        }
        return QString();
    };
    // The top nodes keep their names exactly as stored, so only their addresses are checked.
    for (const auto& entries : {CatalogData::National(), CatalogData::World()}) {
        for (const CatalogEntry& entry : entries)
            QVERIFY2(checkUrl(entry).isEmpty(), entry.url);
    }
    for (const CatalogNode& state : CatalogData::States()) {
        const QString problem = check(QString::fromUtf8(state.text), state.entries);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
}

void CatalogDataTest::noStateRepeatsAnAddressUnderAnotherName()
{
    for (const CatalogNode& state : CatalogData::States()) {
        QHash<QString, QString> nameByUrl;
        QSet<QString> seenNames;
        for (const CatalogEntry& entry : state.entries) {
            const QString name = QString::fromUtf8(entry.name);
            QString url = QString::fromUtf8(entry.url).toLower();
            while (url.endsWith(QLatin1Char('/')))
                url.chop(1);
            const QString other = nameByUrl.value(url, name);
            QVERIFY2(other == name,
                     qPrintable(QStringLiteral("%1: %2 under '%3' and '%4'")
                                    .arg(QString::fromUtf8(state.text), url, other, name)));
            nameByUrl.insert(url, name);
            QVERIFY2(!seenNames.contains(name),
                     qPrintable(QString::fromUtf8(state.text) + QStringLiteral(": twice ") + name));
            seenNames.insert(name);
        }
    }
}

void CatalogDataTest::noStateRepeatsAnOutletOfTheTopNodes()
{
    auto host = [](const CatalogEntry& entry) {
        QString value = QUrl(QString::fromUtf8(entry.url)).host().toLower();
        if (value.startsWith(QLatin1String("www.")))
            value.remove(0, 4);
        return value;
    };
    QSet<QString> top;
    for (const auto& entries : {CatalogData::National(), CatalogData::World()}) {
        for (const CatalogEntry& entry : entries)
            top.insert(host(entry));
    }
    for (const CatalogNode& state : CatalogData::States()) {
        // The two leading entries are fixed, whatever site they live on.
        for (std::size_t i = 2; i < state.entries.size(); ++i) {
            const CatalogEntry& entry = state.entries[i];
            QVERIFY2(
                !top.contains(host(entry)),
                qPrintable(QStringLiteral("%1: %2 (%3)")
                               .arg(QString::fromUtf8(state.text), QString::fromUtf8(entry.name),
                                    QString::fromUtf8(entry.url))));
        }
    }
}

void CatalogDataTest::everyEntryHasAPlaceAndAKind()
{
    const auto kinds = CatalogData::Kinds();
    // state: the node's own state name, empty for "National" and "World".
    auto check = [&](const QString& node, const QString& state, const CatalogEntry& entry) {
        const QString place = QString::fromUtf8(entry.place);
        const QString where =
            QStringLiteral("%1: '%2' at '%3'").arg(node, QString::fromUtf8(entry.name), place);
        if (place.trimmed().isEmpty() || place != place.trimmed() || place.contains(u'?'))
            return where + QStringLiteral(" has no usable place");
        if (std::find(kinds.begin(), kinds.end(), entry.kind) == kinds.end())
            return where + QStringLiteral(" has a kind outside the list");
        if (!state.isEmpty() && place.compare(state, Qt::CaseInsensitive) == 0)
            return where + QStringLiteral(" names its state, not its town");
        return QString();
    };
    for (const CatalogEntry& entry : CatalogData::National()) {
        const QString problem = check(QStringLiteral("National"), QString(), entry);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
    for (const CatalogEntry& entry : CatalogData::World()) {
        const QString problem = check(QStringLiteral("World"), QString(), entry);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
    for (const CatalogNode& state : CatalogData::States()) {
        const QString text = QString::fromUtf8(state.text);
        // "[SD]South Dakota" names South Dakota.
        const QString name = text.mid(text.indexOf(u']') + 1);
        QVERIFY(!name.isEmpty());
        for (const CatalogEntry& entry : state.entries) {
            const QString problem = check(text, name, entry);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        }
    }
    // The spelled-out District is no town either.
    for (const CatalogNode& state : CatalogData::States()) {
        for (const CatalogEntry& entry : state.entries)
            QVERIFY(QString::fromUtf8(entry.place) != QStringLiteral("District of Columbia"));
    }
}

KESTRIN_CORE_TEST_MAIN(CatalogDataTest)
#include "tst_catalogdata.moc"
