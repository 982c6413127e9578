// Carrying the entered values from the previous copy of a price table into
// the new one.
#include "ExchangeTestSupport.h"

#include "exchange/IncomingRefresh.h"
#include "exchange/OldTables.h"

#include "config/ConfigError.h"
#include "tables/TableError.h"

#include <QDir>

using namespace exchange;
using namespace exchange_test;
using std::nullopt;

namespace {

struct PriceFolder {
    QTemporaryDir dir;
    QString folder = dir.path() + QStringLiteral("/IN/");
    QString properties = dir.path() + QStringLiteral("/properties.ini");
    RecordingFeedback feedback;

    PriceFolder() { QDir(dir.path()).mkdir(QStringLiteral("IN")); }
    QString path(const char *name) const { return folder + QLatin1String(name); }
    // The previous copy: written as a table, then renamed as the transfer window does.
    void writeOld(const char *table, const std::vector<PriceRow> &rows, bool withZak = true)
    {
        const QString dbf = folder + QStringLiteral("previous.dbf");
        createPrice(dbf, rows, withZak);
        QFile::rename(dbf, folder + QFileInfo(QLatin1String(table)).completeBaseName() + QStringLiteral(".old"));
    }
    CarryReport refresh() { return RefreshIncomingTables(folder, properties, feedback); }
    QStringList files() const { return QDir(folder).entryList(QDir::Files, QDir::Name); }
};

} // namespace

TEST(RefreshIncomingTables, ZakGoesToTheRecordWithTheSameIDRow)
{
    PriceFolder p;
    writePriceEntries(p.properties);
    p.writeOld("price.dbf", {{1, "Аспирин", 5}, {2, "Валидол", nullopt}, {3, "Цитрамон", 2.5}});
    // IDRow 10 and 12 do not begin a number match: 1 is found by value.
    createPrice(p.path("price.dbf"),
                {{10, "Десятый", nullopt},
                 {12, "Двенадцатый", nullopt},
                 {3, "Цитрамон", nullopt},
                 {2, "Валидол", 7},
                 {4, "Новинка", nullopt},
                 {1, "Аспирин", nullopt}});
    const CarryReport report = p.refresh();
    EXPECT_EQ(zakColumn(p.path("price.dbf")),
              (std::vector<std::optional<double>>{nullopt, nullopt, 2.5, 7, nullopt, 5}));
    EXPECT_EQ(p.files(), QStringList{QStringLiteral("price.dbf")});
    EXPECT_EQ(p.feedback.statuses, QStringList{QStringLiteral("Информация перенесена - price.dbf")});
    EXPECT_TRUE(report.dropped.isEmpty());
}

TEST(RefreshIncomingTables, ANewTableWithoutZakGainsTheOldColumnAndOnlyItsOwnCopyIsRemoved)
{
    PriceFolder p;
    writePriceEntries(p.properties, QStringLiteral("stock.dbf"));
    p.writeOld("stock.dbf", {{1, "Аспирин", 5}, {2, "Валидол", 1}});
    createPrice(p.path("stock.dbf"), {{2, "Валидол", nullopt}, {1, "Аспирин", nullopt}}, false);
    writeFile(p.path("price_2.dbf"), "not ours");
    p.refresh();
    tables::Table t(p.path("stock.dbf"));
    t.open();
    EXPECT_EQ(t.field(u"Zak").def().type, 'N');
    EXPECT_EQ(t.field(u"Zak").def().size, 18); // the engine's default for a float
    t.close();
    EXPECT_EQ(zakColumn(p.path("stock.dbf")), (std::vector<std::optional<double>>{1, 5}));
    EXPECT_EQ(p.files(), (QStringList{QStringLiteral("price_2.dbf"), QStringLiteral("stock.dbf")}));
    EXPECT_EQ(p.feedback.statuses,
              (QStringList{QStringLiteral("Обновляю структуру таблицы..."),
                           QStringLiteral("Информация перенесена - stock.dbf")}));
}

TEST(RefreshIncomingTables, NothingToCarryStillRemovesTheOldCopy)
{
    for (const char *setting : {"defaults only", "no section", "carried column missing in the old table"}) {
        PriceFolder p;
        const QString section = QStringLiteral("price.dbf");
        if (setting == std::string("defaults only")) {
            for (const char *field : {"IDRow", "Name", "Zak"})
                writeEntry(p.properties, section, QLatin1String(field), true, true, false);
        } else if (setting == std::string("carried column missing in the old table")) {
            writePriceEntries(p.properties);
        }
        p.writeOld("price.dbf", {{1, "Аспирин", 5}}, setting != std::string("carried column missing in the old table"));
        createPrice(p.path("price.dbf"), {{1, "Аспирин", nullopt}});
        p.refresh();
        EXPECT_EQ(zakColumn(p.path("price.dbf")), std::vector<std::optional<double>>{nullopt}) << setting;
        EXPECT_EQ(p.files(), QStringList{QStringLiteral("price.dbf")}) << setting;
        EXPECT_TRUE(p.feedback.statuses.isEmpty()) << setting;
    }
}

TEST(RefreshIncomingTables, TextKeyFindsTheFirstRecordBeginningWithItInAnyCase)
{
    PriceFolder p;
    writeEntry(p.properties, QStringLiteral("price.dbf"), QStringLiteral("Name"), true, true, true);
    writeEntry(p.properties, QStringLiteral("price.dbf"), QStringLiteral("Zak"), true, false, false);
    p.writeOld("price.dbf", {{1, "AB", 3}, {2, "ёлка", 4}});
    createPrice(p.path("price.dbf"), {{1, "ABC", nullopt}, {2, "ab", nullopt}, {3, "ЁЛКА", nullopt}});
    p.refresh();
    EXPECT_EQ(zakColumn(p.path("price.dbf")), (std::vector<std::optional<double>>{3, nullopt, 4}));
}

TEST(RefreshIncomingTables, ACarriedKeyColumnChangesWhatTheNextSearchesFind)
{
    PriceFolder p;
    writeEntry(p.properties, QStringLiteral("price.dbf"), QStringLiteral("Name"), true, false, true);
    writeEntry(p.properties, QStringLiteral("price.dbf"), QStringLiteral("Zak"), true, false, false);
    // "A" lands on "AX" and renames it, so "AX" then finds "AXE".
    p.writeOld("price.dbf", {{1, "A", 1}, {2, "AX", 2}});
    createPrice(p.path("price.dbf"), {{1, "AX", nullopt}, {2, "AXE", nullopt}});
    p.refresh();
    EXPECT_EQ(zakColumn(p.path("price.dbf")), (std::vector<std::optional<double>>{1, 2}));
}

TEST(RefreshIncomingTables, AnEmptyTextKeyIsReportedRatherThanPutOnTheFirstRecord)
{
    PriceFolder p;
    writeEntry(p.properties, QStringLiteral("price.dbf"), QStringLiteral("Name"), true, true, true);
    writeEntry(p.properties, QStringLiteral("price.dbf"), QStringLiteral("Zak"), true, false, false);
    p.writeOld("price.dbf", {{1, "", 3}});
    createPrice(p.path("price.dbf"), {{1, "Аспирин", nullopt}, {2, "", nullopt}});
    EXPECT_EQ(p.refresh().dropped.size(), 1);
    EXPECT_EQ(zakColumn(p.path("price.dbf")), (std::vector<std::optional<double>>{nullopt, nullopt}));
}

TEST(RefreshIncomingTables, ATableWithoutOldCopyIsUntouched)
{
    PriceFolder p;
    writePriceEntries(p.properties);
    createPrice(p.path("price.dbf"), {{1, "Аспирин", 2}});
    const QByteArray before = readFile(p.path("price.dbf"));
    p.refresh();
    EXPECT_EQ(readFile(p.path("price.dbf")), before);
    EXPECT_TRUE(p.feedback.statuses.isEmpty());
}

TEST(RefreshIncomingTables, DroppedValuesAndLargePriceChangesAreReported)
{
    PriceFolder p;
    writePriceEntries(p.properties);
    p.writeOld("price.dbf", {{1, "Аспирин", 5, 10}, {9, "Снят с продажи", 4, 10}, {3, "Цитрамон", 1, 10}});
    createPrice(p.path("price.dbf"), {{1, "Аспирин", nullopt, 10.5}, {3, "Цитрамон", nullopt, 13}});
    const CarryReport report = p.refresh();
    ASSERT_EQ(report.dropped.size(), 1);
    EXPECT_EQ(droppedLine(report.dropped[0]), QStringLiteral("price.dbf\t9\tСнят с продажи\t4.00"));
    ASSERT_EQ(report.hints.size(), 1);
    EXPECT_EQ(report.hints[0].carried.key, QStringLiteral("3"));
    EXPECT_EQ(report.hints[0].newPrice, 13);
    ASSERT_EQ(report.reportFiles.size(), 1);
    const QString list = QString::fromUtf8(readFile(report.reportFiles[0]));
    EXPECT_TRUE(list.contains(QStringLiteral("9\tСнят с продажи\t4.00"))) << list.toStdString();
    EXPECT_TRUE(list.contains(QStringLiteral("3\tЦитрамон\t1.00\tPRICE1\t10.00\t13.00"))) << list.toStdString();
    ASSERT_EQ(p.feedback.statuses.size(), 2);
    EXPECT_TRUE(
        p.feedback.statuses[1].startsWith(QStringLiteral("Не перенесено значений: 1, цена заметно изменилась: 1")));

    // The next refresh with nothing to report removes the list.
    p.writeOld("price.dbf", {{1, "Аспирин", 5, 10}});
    p.refresh();
    EXPECT_FALSE(QFileInfo::exists(report.reportFiles[0]));
}

TEST(RefreshIncomingTables, AValueTheNewColumnCannotHoldIsReportedAndTheOthersAreCarried)
{
    PriceFolder p;
    writePriceEntries(p.properties);
    p.writeOld("price.dbf", {{1, "Аспирин", 5}, {2, "Валидол", 123456}, {3, "Цитрамон", 2}});
    tables::createTable(p.path("price.dbf"), 4,
                        {{QStringLiteral("IDRow"), tables::FieldKind::LargeInt, 10},
                         {QStringLiteral("Zak"), tables::FieldKind::Float, 6, 2}},
                        {.languageId = 0});
    {
        tables::Table t(p.path("price.dbf"));
        t.open();
        for (int id = 1; id <= 3; ++id) {
            t.append();
            t.field(u"IDRow").setInteger(id);
            t.post();
        }
    }
    const CarryReport report = p.refresh();
    EXPECT_EQ(zakColumn(p.path("price.dbf")), (std::vector<std::optional<double>>{5, nullopt, 2}));
    ASSERT_EQ(report.dropped.size(), 1);
    EXPECT_TRUE(report.dropped[0].value.startsWith(QStringLiteral("123456.00 (не помещается")))
        << report.dropped[0].value.toStdString();
    EXPECT_EQ(p.files(), (QStringList{QStringLiteral("price.dbf"), QStringLiteral("price_перенос.txt")}));
}

TEST(RefreshIncomingTables, AnEngineErrorKeepsTheOldCopyAndLeavesNoTableOpen)
{
    PriceFolder p;
    writePriceEntries(p.properties);
    writeEntry(p.properties, QStringLiteral("price.dbf"), QStringLiteral("CodePst"), false, true, true);
    p.writeOld("price.dbf", {{1, "Аспирин", 5}});
    createPrice(p.path("price.dbf"), {{1, "Аспирин", nullopt}});
    EXPECT_THROW(p.refresh(), tables::TableError);
    EXPECT_EQ(p.files(), (QStringList{QStringLiteral("price.dbf"), QStringLiteral("price.old")}));
    // Nothing holds the files: the refresh can be repeated once the settings are right.
    writeEntry(p.properties, QStringLiteral("price.dbf"), QStringLiteral("CodePst"), false, true, false);
    p.refresh();
    EXPECT_EQ(zakColumn(p.path("price.dbf")), std::vector<std::optional<double>>{5});
}

TEST(RenameTablesToOld, ALeftoverOldCopyIsCarriedFromNotOverwritten)
{
    PriceFolder p;
    writePriceEntries(p.properties);
    // An interrupted refresh: price.old still holds the entered values, price.dbf
    // got some of them, and the user typed one more since.
    p.writeOld("price.dbf", {{1, "Аспирин", 5}, {2, "Валидол", 3}});
    createPrice(p.path("price.dbf"), {{1, "Аспирин", 5}, {2, "Валидол", 8}, {4, "Новинка", nullopt}});
    createPrice(p.path("other.dbf"), {{1, "x", 1}});
    renameTablesToOld(p.folder, p.properties, p.feedback);
    EXPECT_EQ(p.files(), (QStringList{QStringLiteral("other.old"), QStringLiteral("price.old")}));
    EXPECT_EQ(zakColumn(p.path("price.old")), (std::vector<std::optional<double>>{5, 8, nullopt}));

    createPrice(p.path("price.dbf"), {{2, "Валидол", nullopt}});
    EXPECT_EQ(p.refresh().dropped.size(), 1);
    restoreOldTables(p.folder, p.feedback);
    EXPECT_EQ(
        p.files(),
        (QStringList{QStringLiteral("other.dbf"), QStringLiteral("price.dbf"), QStringLiteral("price_перенос.txt")}));
    EXPECT_EQ(zakColumn(p.path("price.dbf")), std::vector<std::optional<double>>{8});
}
