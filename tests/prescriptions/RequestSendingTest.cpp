// "Заказать" and "Заказать повторно" on prescr.dbf: the request file, the
// stamps, the counter, and what happens when writing fails.
#include "PrescriptionTestTables.h"

#include "tests/support/OracleHarness.h"

#include "config/IniFile.h"
#include "config/SettingsKeys.h"
#include "prescriptions/PrescriptionError.h"
#include "prescriptions/PrescriptionRules.h"
#include "prescriptions/RequestSending.h"
#include "tables/CodePage.h"

#include <QFileInfo>
#include <QProcess>

using namespace prescriptions_testing;
namespace f = schema::prescr;

namespace {

const QDateTime kNow(QDate(2026, 3, 14), QTime(10, 30));

class RequestSending : public PrescriptionFolder {
protected:
    void SetUp() override
    {
        PrescriptionFolder::SetUp();
        tables::setDefaultOpenCodePage(866);
        table.setPath(path);
        table.open();
        table.setFilter(prescriptions::kUnsentFilter);
        table.setFiltered(true);
    }
    prescriptions::RequestPlace place() const { return {ordersFolder, 5, settingsFile}; }
    bool counterStored() const
    {
        return config::IniFile(settingsFile).valueExists(config::keys::kPrescription, config::keys::kNumZ);
    }
    int counter() const
    {
        return config::IniFile(settingsFile).readInteger(config::keys::kPrescription, config::keys::kNumZ, -99);
    }
    prescriptions::SendOutcome send()
    {
        reported.clear();
        return prescriptions::sendUnsent(
            table, place(), [this](const QString &n) { reported << n; }, kNow);
    }
    // Number and DateSnd of every record of a table, in stored order.
    QStringList numbersAndStamps(const QString &file)
    {
        tables::Table t(file);
        t.open();
        QStringList out;
        for (t.first(); !t.eof(); t.next())
            out << t.field(f::kNumber).asString() + u'/' + t.field(f::kDateSnd).asString();
        return out;
    }

    tables::Table table;
    QStringList reported;
};

TEST_F(RequestSending, CompleteOnesGoIntoOneFileAndAreStampedTheIncompleteOneIsReported)
{
    add(table, completePrescription(QStringLiteral("1")));
    add(table, with(completePrescription(QStringLiteral("2")), f::kFIO, QVariant()));
    add(table, with(with(with(completePrescription(QStringLiteral("3")), f::kAgeY, 0), f::kAgeM, 0), f::kAgeD, 3));
    ASSERT_FALSE(counterStored());

    const prescriptions::SendOutcome first = send();
    EXPECT_EQ(reported, QStringList{QStringLiteral("2")});
    EXPECT_EQ(first.sent, 2);
    EXPECT_EQ(first.incomplete, 1);
    EXPECT_EQ(first.file, ordersFolder + QStringLiteral("P5_0.dbf"));
    EXPECT_EQ(counter(), 1);
    EXPECT_EQ(filesIn(ordersFolder), QStringList{QStringLiteral("P5_0.dbf")});
    EXPECT_EQ(numbersAndStamps(first.file), (QStringList{QStringLiteral("1/20260314"), QStringLiteral("3/20260314")}));
    EXPECT_EQ(numbersAndStamps(path),
              (QStringList{QStringLiteral("1/20260314"), QStringLiteral("2/"), QStringLiteral("3/20260314")}));
    EXPECT_EQ(prescriptions::sendResultText(first),
              QStringLiteral("Заявка из 2 рецепта(ов) сформирована! ВНИМАНИЕ!!! Есть несформированные  рецепты: 1"));
    // The window's view is the unsent one again: only the incomplete one.
    EXPECT_TRUE(table.isFiltered());
    EXPECT_EQ(table.visibleRecords().size(), 1u);

    // Pressed again: nothing to send, no file, and no number spent on nothing.
    const prescriptions::SendOutcome second = send();
    EXPECT_EQ(second.sent, 0);
    EXPECT_EQ(second.file, QString());
    EXPECT_EQ(counter(), 1);
    EXPECT_EQ(filesIn(ordersFolder), QStringList{QStringLiteral("P5_0.dbf")});
    EXPECT_EQ(prescriptions::sendResultText({}), QStringLiteral("Нет не отправленных рецептов!"));
}

TEST_F(RequestSending, AFailureBeforeTheFileIsInPlaceLeavesEveryPrescriptionUnsent)
{
    const struct {
        const char *name;
        QString ordersFolder;
        QString settingsFile;
    } cases[] = {
        {"orders folder missing", folder + QStringLiteral("Gone/"), settingsFile},
        {"counter cannot be stored", ordersFolder, folder + QStringLiteral("no/such/folder/KXOrders.ini")},
    };
    add(table, completePrescription(QStringLiteral("1")));
    add(table, completePrescription(QStringLiteral("2")));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        try {
            prescriptions::sendUnsent(table, {c.ordersFolder, 5, c.settingsFile}, {}, kNow);
            ADD_FAILURE() << "no error";
        } catch (const prescriptions::PrescriptionError &error) {
            EXPECT_TRUE(error.userMessage().startsWith(QStringLiteral("Заявка ") + c.ordersFolder
                                                       + QStringLiteral("P5_0.dbf не сформирована")))
                << error.userMessage().toStdString();
        }
        EXPECT_EQ(numbersAndStamps(path), (QStringList{QStringLiteral("1/"), QStringLiteral("2/")}));
        EXPECT_FALSE(counterStored());
        EXPECT_EQ(filesIn(ordersFolder), QStringList());
        EXPECT_TRUE(table.isFiltered());
    }
}

TEST_F(RequestSending, AnExistingRequestFileIsExtendedAndResendingKeepsTheStamp)
{
    add(table, completePrescription(QStringLiteral("1")));
    send();
    config::IniFile(settingsFile).writeInteger(config::keys::kPrescription, config::keys::kNumZ, 0);
    add(table, completePrescription(QStringLiteral("2")));
    send();
    EXPECT_EQ(numbersAndStamps(ordersFolder + QStringLiteral("P5_0.dbf")),
              (QStringList{QStringLiteral("1/20260314"), QStringLiteral("2/20260314")}));

    table.setFiltered(false);
    table.first();
    const QString again = prescriptions::resendCurrent(table, place());
    EXPECT_EQ(again, ordersFolder + QStringLiteral("P5_1.dbf"));
    EXPECT_EQ(numbersAndStamps(again), QStringList{QStringLiteral("1/20260314")});
    EXPECT_EQ(counter(), 2);
    EXPECT_EQ(filesIn(ordersFolder), (QStringList{QStringLiteral("P5_0.dbf"), QStringLiteral("P5_1.dbf")}));
}

TEST_F(RequestSending, IndependentReadersReadTheRequestFile)
{
    add(table, with(completePrescription(QStringLiteral("7")), f::kComponent2, QStringLiteral("Сера: 1 г")));
    const QString file = send().file;

    QProcess dbfread;
    dbfread.start(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral("-c"),
         QStringLiteral("import sys, dbfread\n"
                        "t = dbfread.DBF(sys.argv[1], encoding='cp866', char_decode_errors='strict')\n"
                        "print(t.field_names)\n"
                        "for r in t: print(r['NUMBER'], r['FIO'], r['COMPONENT2'], r['DATESND'], r['AGEY'])\n"),
         file});
    ASSERT_TRUE(dbfread.waitForFinished(60000));
    if (dbfread.exitCode() != 0 && dbfread.readAllStandardError().contains("No module named"))
        GTEST_SKIP() << "python3-dbfread is not installed";
    ASSERT_EQ(dbfread.exitCode(), 0) << dbfread.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(dbfread.readAllStandardOutput()),
              QStringLiteral("['IDROW', 'NUMBER', 'FIO', 'DATECREATE', 'CODEPST', 'NAME', 'AGEY', 'AGEM', 'AGED', "
                             "'DS', 'QNT', 'COMPONENT1', 'COMPONENT2', 'DATESND', 'DATERC', 'PROVIDED', 'DESC', "
                             "'DELIVDATE']\n7 Иванов И.И. Сера: 1 г 2026-03-14 40\n"));

    SKIP_WITHOUT_TDBF_ORACLE();
    const kx::testsupport::RunResult dump =
        kx::testsupport::OracleHarness::instance().run(QStringLiteral("dbfdump"), {file});
    ASSERT_EQ(dump.exitCode, 0) << dump.errors.toStdString();
    EXPECT_TRUE(dump.out.contains(QStringLiteral("#records\t1"))) << dump.out.toStdString();
    // dBase III, like prescr.dbf: no code page mark.
    EXPECT_TRUE(dump.out.contains(QStringLiteral("#version\t0x03"))) << dump.out.toStdString();
    EXPECT_TRUE(dump.out.contains(QStringLiteral("#language\t0x00"))) << dump.out.toStdString();
    QStringList row;
    for (const QString &line : dump.out.split(u'\n', Qt::SkipEmptyParts))
        if (!line.startsWith(u'#'))
            row = line.split(u'\t');
    ASSERT_EQ(row.size(), 19) << dump.out.toStdString();
    EXPECT_EQ(row[2].trimmed(), QStringLiteral("7"));
    EXPECT_EQ(row[3].trimmed(), QStringLiteral("Иванов И.И."));
    EXPECT_EQ(row[13].trimmed(), QStringLiteral("Сера: 1 г"));
    EXPECT_EQ(row[14].trimmed(), QStringLiteral("2026-03-14"));
}

} // namespace
