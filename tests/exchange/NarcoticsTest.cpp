// Who may receive narcotics, and the clean-up of the narcotics folder.
#include "ExchangeTestSupport.h"

#include "exchange/Narcotics.h"

#include "tables/TableError.h"

#include <QDir>

using namespace exchange;
using namespace exchange_test;

namespace {

struct Permission {
    qint64 id;
    qint64 value;
};

void writeCustomers(const QString &folder, const std::vector<Permission> &rows)
{
    using tables::FieldKind;
    std::vector<QVariantList> values;
    for (const Permission &p : rows)
        values.push_back({p.id, p.value});
    createTableWithRows(
        folder + QStringLiteral("CustomerN.dbf"),
        {{QStringLiteral("ID"), FieldKind::Integer, 0}, {QStringLiteral("Value1"), FieldKind::Integer, 0}}, values);
}

struct PermissionCase {
    const char *what;
    int activeCustomer;
    std::vector<Permission> rows;
    bool allowed;
};

class NarcoticsPermission : public ::testing::TestWithParam<PermissionCase> {};

} // namespace

TEST_P(NarcoticsPermission, FollowsCustomerN)
{
    const PermissionCase &c = GetParam();
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    writeCustomers(folder, c.rows);
    EXPECT_EQ(NarcoticsAllowed(folder, c.activeCustomer), c.allowed) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Cases, NarcoticsPermission,
                         ::testing::Values(PermissionCase{"allowed", 5, {{4, 1}, {5, 1}}, true},
                                           PermissionCase{"two records, 0 then 1", 5, {{5, 0}, {5, 1}}, true},
                                           PermissionCase{"not allowed", 5, {{5, 0}, {6, 1}}, false},
                                           PermissionCase{"no record", 5, {}, false},
                                           PermissionCase{"no active customer, -1 allowed", -1, {{-1, 1}}, true},
                                           PermissionCase{"no active customer", -1, {{5, 1}}, false}));

TEST(ClearNarcotics, NotAllowedRemovesEveryTableAndIndexButNothingElse)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    writeCustomers(folder, {{5, 0}});
    for (const char *name : {"PriceN.dbf", "pricen.MDX", "other.DBF", "readme.txt"})
        writeFile(folder + QLatin1String(name), "x");
    RecordingFeedback feedback;
    ClearNarcotics(folder, 7, feedback);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("readme.txt")});

    writeCustomers(folder, {{7, 1}});
    writeFile(folder + QStringLiteral("PriceN.dbf"), "x");
    ClearNarcotics(folder, 7, feedback);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 3);
}

TEST(ClearNarcotics, MissingCustomerTableIsTheEnginesError)
{
    QTemporaryDir dir;
    RecordingFeedback feedback;
    EXPECT_THROW(ClearNarcotics(dir.path() + u'/', 5, feedback), tables::TableError);
}
