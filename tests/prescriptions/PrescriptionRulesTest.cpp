// Numbering of new prescriptions and the completeness a request demands.
#include "PrescriptionTestTables.h"

#include "prescriptions/PrescriptionRules.h"

#include <limits>

using namespace prescriptions_testing;
namespace f = schema::prescr;

TEST(PrescriptionNumber, NextNumberFollowsTheLeadingDigits)
{
    const struct {
        const char *last;
        std::int32_t next;
    } cases[] = {
        {"41", 42},
        {"12a", 13},
        {"", 1},
        {"  7", 8},
        {"abc", 1},
        {"-5", 1},
        {"9999999999", std::numeric_limits<std::int32_t>::max()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.last);
        EXPECT_EQ(prescriptions::numberAfter(QString::fromUtf8(c.last)), c.next);
    }
}

TEST_F(PrescriptionFolder, CompletenessNeedsEveryFieldAndAnAge)
{
    const struct {
        const char *name;
        Values values;
        bool complete;
    } cases[] = {
        {"all filled", completePrescription(QStringLiteral("1")), true},
        {"only days: 0, 0, 3",
         with(with(with(completePrescription(QStringLiteral("1")), f::kAgeY, 0), f::kAgeM, 0), f::kAgeD, 3), true},
        {"ages all 0",
         with(with(with(completePrescription(QStringLiteral("1")), f::kAgeY, 0), f::kAgeM, 0), f::kAgeD, 0), false},
        {"ages all empty", with(completePrescription(QStringLiteral("1")), f::kAgeY, QVariant()), false},
        {"components only in Component2",
         with(with(completePrescription(QStringLiteral("1")), f::kComponent1, QVariant()), f::kComponent2,
              QStringLiteral("Сера: 1 г")),
         true},
        {"no components", with(completePrescription(QStringLiteral("1")), f::kComponent1, QVariant()), false},
        {"no patient", with(completePrescription(QStringLiteral("1")), f::kFIO, QVariant()), false},
        {"patient only blanks", with(completePrescription(QStringLiteral("1")), f::kFIO, QStringLiteral("   ")), false},
        {"no diagnosis", with(completePrescription(QStringLiteral("1")), f::kDS, QVariant()), false},
        {"no drug", with(completePrescription(QStringLiteral("1")), f::kName, QVariant()), false},
        {"no number", with(completePrescription(QStringLiteral("1")), f::kNumber, QVariant()), false},
        {"no quantity", with(completePrescription(QStringLiteral("1")), f::kQnt, QVariant()), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        tables::Table t(path);
        t.open();
        add(t, c.values);
        EXPECT_EQ(prescriptions::isComplete(t), c.complete);
        EXPECT_FALSE(prescriptions::isSent(t));
        t.deleteRecord();
    }
}
