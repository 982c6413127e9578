// The one-pass search of the refresh gives exactly what the table's own
// locate gives, and the refresh carries exactly as TDbf's Locate does.
#include "ExchangeTestSupport.h"
#include "tests/support/OracleHarness.h"

#include "exchange/FirstMatchIndex.h"
#include "exchange/IncomingRefresh.h"

#include <QDir>

#include <random>

using namespace exchange;
using namespace exchange_test;

namespace {

// Few distinct texts, so that prefixes, case variants and repeats are common.
const QStringList kTexts = {QStringLiteral("AB"),  QStringLiteral("ABC"),  QStringLiteral("ab"),
                            QStringLiteral("Abd"), QStringLiteral("A"),    QStringLiteral("абв"),
                            QStringLiteral("АБ"),  QStringLiteral("Ёлка"), QStringLiteral("ёЛКА"),
                            QStringLiteral("B"),   QStringLiteral("AB C"), QString()};

void createKeyed(const QString &path, std::mt19937 &rng, int rows)
{
    using tables::FieldKind;
    tables::createTable(path, 4,
                        {{QStringLiteral("Name"), FieldKind::String, 12},
                         {QStringLiteral("Firm"), FieldKind::String, 6},
                         {QStringLiteral("Code"), FieldKind::LargeInt, 6},
                         {QStringLiteral("Amount"), FieldKind::Float, 8, 2},
                         {QStringLiteral("Zak"), FieldKind::Float, 10, 2}},
                        {.languageId = 0, .overwrite = true});
    tables::Table t(path);
    t.open();
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    for (int i = 0; i < rows; ++i) {
        t.append();
        t.field(u"Name").setString(kTexts[pick(int(kTexts.size()))]);
        t.field(u"Firm").setString(kTexts[pick(4)]);
        if (pick(8))
            t.field(u"Code").setInteger(pick(6) - 1);
        if (pick(8))
            t.field(u"Amount").setFloat(pick(5) * 0.5);
        if (pick(3) == 0)
            t.field(u"Zak").setFloat(1 + pick(20));
        t.post();
        if (pick(15) == 0)
            t.deleteRecord();
    }
}

} // namespace

TEST(FirstMatchIndex, FindsWhatLocateFindsOnRandomTables)
{
    QTemporaryDir dir;
    std::mt19937 rng(20261211);
    for (int round = 0; round < 6; ++round) {
        const QString oldPath = dir.filePath(QStringLiteral("old%1.dbf").arg(round));
        const QString newPath = dir.filePath(QStringLiteral("new%1.dbf").arg(round));
        createKeyed(oldPath, rng, 150);
        createKeyed(newPath, rng, 120);
        tables::Table old(oldPath);
        old.open();
        tables::Table fresh(newPath);
        fresh.open();
        for (const QString &keys :
             {QStringLiteral("Name"), QStringLiteral("Code"), QStringLiteral("Name;Code"), QStringLiteral("Code;Name"),
              QStringLiteral("Firm;Name"), QStringLiteral("Amount;Firm"), QStringLiteral("Name;Amount")}) {
            const QStringList names = keys.split(u';');
            const auto index = FirstMatchIndex::build(fresh, names);
            ASSERT_TRUE(index);
            const std::vector<tables::Field> fields = old.fieldsByNames(keys);
            for (old.first(); !old.eof(); old.next()) {
                QVariantList values;
                for (const tables::Field &f : fields)
                    values.append(f.value());
                const std::uint32_t expected =
                    fresh.locate(keys, values, {.caseInsensitive = true, .partialKey = true}) ? fresh.recNo() : 0;
                ASSERT_EQ(index->find(values), expected)
                    << keys.toStdString() << " old record " << old.recNo() << " round " << round;
            }
            // Values of other types, as a key column of another type gives them.
            if (names.last() == u"Code") {
                EXPECT_EQ(index->find(QVariantList(names.size() - 1, QVariant()) << QStringLiteral(" 2,0")),
                          fresh.locate(keys, QVariantList(names.size() - 1, QVariant()) << QStringLiteral(" 2,0"),
                                       {.caseInsensitive = true, .partialKey = true})
                              ? fresh.recNo()
                              : 0);
                EXPECT_EQ(index->find(QVariantList(names.size(), QStringLiteral("x"))), 0u);
            }
        }
    }
}

TEST(FirstMatchIndex, RefreshCarriesAsTdbfLocateDoes)
{
    SKIP_WITHOUT_TDBF_ORACLE();
    QTemporaryDir dir;
    std::mt19937 rng(77);
    for (const QString &keys : {QStringLiteral("Name"), QStringLiteral("Firm;Name"), QStringLiteral("Code")}) {
        const QString folder = dir.filePath(keys.left(4)) + u'/';
        QDir().mkpath(folder);
        createKeyed(folder + QStringLiteral("price.old"), rng, 400);
        createKeyed(folder + QStringLiteral("fresh.dbf"), rng, 300);
        // The new copy arrives without entered values; an old value under an
        // empty name, which TDbf puts on the first record, is left out here
        // (the refresh reports it instead, see RefreshTest).
        const auto clearZak = [](const QString &path, bool onlyWithoutName) {
            tables::Table t(path);
            t.open();
            for (t.first(); !t.eof(); t.next())
                if (!onlyWithoutName || t.field(u"Name").isNull()) {
                    t.edit();
                    t.field(u"Zak").clear();
                    t.post();
                }
        };
        clearZak(folder + QStringLiteral("fresh.dbf"), false);
        if (keys.endsWith(QStringLiteral("Name")))
            clearZak(folder + QStringLiteral("price.old"), true);
        const QString properties = folder + QStringLiteral("properties.ini");
        for (const QString &key : keys.split(u';'))
            writeEntry(properties, QStringLiteral("price.dbf"), key, true, true, true);
        writeEntry(properties, QStringLiteral("price.dbf"), QStringLiteral("Zak"), true, false, false);

        const QString tdbfOut = folder + QStringLiteral("tdbf.dbf");
        const kx::testsupport::RunResult run = kx::testsupport::OracleHarness::instance().run(
            QStringLiteral("dbfcarry"),
            {folder + QStringLiteral("price.old"), folder + QStringLiteral("fresh.dbf"), tdbfOut, keys + u';',
             QStringLiteral("Zak"), QStringLiteral("--quiet")});
        ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();

        QFile::copy(folder + QStringLiteral("fresh.dbf"), folder + QStringLiteral("price.dbf"));
        RecordingFeedback feedback;
        const CarryReport report = refreshTable(folder, QStringLiteral("price.dbf"), properties, feedback);
        EXPECT_EQ(zakColumn(folder + QStringLiteral("price.dbf")), zakColumn(tdbfOut)) << keys.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("#dropped\t%1").arg(report.dropped.size())))
            << keys.toStdString() << ": " << run.out.toStdString();
    }
}
