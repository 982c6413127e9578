#include "TestTables.h"

#include "tables/CodePage.h"
#include "tables/FieldCodec.h"
#include "tables/TableError.h"

#include <QFile>

#include <cstdlib>
#include <cstring>

using namespace tables;
using testing_tables::fieldAt1;

namespace {

QByteArray record(const QByteArray &field) { return ' ' + field; }

struct ReadCase {
    char type;
    int size, decimals;
    QByteArray stored;
    bool null;
    QString text; // asString
    double number; // asFloat
};

void PrintTo(const ReadCase &c, std::ostream *os)
{
    *os << c.type << '(' << c.size << ',' << c.decimals << ") [" << c.stored.toHex().toStdString() << ']';
}

class ReadValues : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadValues, AsTDbfReadsThem)
{
    const ReadCase &c = GetParam();
    const FieldDef f = fieldAt1(c.type, c.size, c.decimals);
    const QByteArray rec = record(c.stored);
    const CodePage &cp = CodePage::byNumber(866);
    EXPECT_EQ(codec::isNull(f, rec.constData()), c.null);
    EXPECT_EQ(codec::asString(f, rec.constData(), cp), c.text);
    EXPECT_DOUBLE_EQ(codec::asFloat(f, rec.constData()), c.number);
    QString reused = QStringLiteral("a longer value read before");
    codec::readString(f, rec.constData(), cp, reused);
    EXPECT_EQ(reused, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadValues,
    ::testing::Values(
        ReadCase{'C', 6, 0, "  lead", false, "  lead", 0}, ReadCase{'C', 6, 0, "ab    ", false, "ab", 0},
        ReadCase{'C', 6, 0, "      ", true, "", 0}, ReadCase{'C', 6, 0, QByteArray("ab\0cd ", 6), false, "ab", 0},
        ReadCase{'C', 12, 0, QByteArray("ab \0cd      ", 12), false, "ab", 0},
        ReadCase{'C', 20, 0, QByteArray("x                  \0", 20), false, "x", 0},
        ReadCase{'C', 20, 0, "                   y", false, "                   y", 0},
        ReadCase{'N', 10, 0, "        42", false, "42", 42}, ReadCase{'N', 10, 3, "    -0.500", false, "-0.500", -0.5},
        ReadCase{'N', 10, 0, "       1.5", false, "1.5", 0}, // integer field: not an integer reads 0
        ReadCase{'N', 10, 3, "   1.23456", false, "1.23456", 1.23456},
        ReadCase{'N', 10, 3, "       1e3", false, "1e3", 1000}, ReadCase{'N', 10, 3, "        .5", false, ".5", 0.5},
        ReadCase{'N', 10, 3, "        +5", false, "+5", 5}, ReadCase{'N', 10, 3, "       1,5", false, "1,5", 0},
        ReadCase{'N', 10, 3, "    12.5xy", false, "12.5xy", 0}, ReadCase{'N', 10, 3, "         .", false, ".", 0},
        ReadCase{'N', 10, 3, "          ", true, "", 0}, ReadCase{'F', 12, 4, "      2.5000", false, "2.5000", 2.5},
        ReadCase{'D', 8, 0, "20080318", false, "20080318", 39525},
        ReadCase{'D', 8, 0, "20080230", false, "18991230", 0}, // impossible date reads as day 0
        ReadCase{'D', 8, 0, "2008    ", false, "20080101", 39448}, ReadCase{'D', 8, 0, "        ", true, "", 0},
        ReadCase{'L', 1, 0, "T", false, "T", 0}, ReadCase{'L', 1, 0, "t", false, "T", 0},
        ReadCase{'L', 1, 0, "Y", false, "F", 0}, ReadCase{'L', 1, 0, "?", false, "F", 0},
        ReadCase{'L', 1, 0, " ", true, "", 0}, ReadCase{'I', 4, 0, QByteArray::fromHex("80000001"), false, "1", 1},
        ReadCase{'I', 4, 0, QByteArray::fromHex("7FFFFFFF"), false, "-1", -1},
        ReadCase{'I', 4, 0, QByteArray::fromHex("00000000"), true, "", 0},
        ReadCase{'O', 8, 0, QByteArray::fromHex("BFF8000000000000"), false, "1.5", 1.5},
        ReadCase{'O', 8, 0, QByteArray::fromHex("3FFDFFFFFFFFFFFF"), false, "-2.25", -2.25},
        ReadCase{'X', 3, 0, "raw", false, "raw", 0}));

// Short decimals are parsed without strtod: the double must be strtod's, bit for bit.
TEST(FieldCodec, NumbersParseToTheDoubleStrtodGives)
{
    for (const char *text :
         {"0.1", "2.675", "-0.00", "999999999999999", "1234567890.12345", "0.000001", "-12345.678",
          "0.3000000000000000", "9007199254740993", "123456789012345.6", ".0000000000000000000001", "1e-5", "17.85"}) {
        double parsed = 0;
        ASSERT_TRUE(codec::parseNumber(text, int(std::strlen(text)), false, &parsed, nullptr)) << text;
        const double expected = std::strtod(text, nullptr);
        EXPECT_EQ(std::memcmp(&parsed, &expected, sizeof parsed), 0) << text;
    }
}

TEST(FieldCodec, TimestampIsMillisecondsFromYearOne)
{
    const FieldDef f = fieldAt1('@', 8);
    QByteArray rec = record(QByteArray::fromHex("42CCCDECBB344800"));
    EXPECT_EQ(codec::asDateTime(f, rec.constData()), QDateTime(QDate(2008, 3, 18), QTime(13, 45, 30)));
    codec::setDateTime(f, rec.data(), QDateTime(QDate(2008, 3, 18), QTime(13, 45, 30)));
    EXPECT_EQ(rec.mid(1).toHex().toUpper(), QByteArray("42CCCDECBB344800"));
}

struct WriteCase {
    char type;
    int size, decimals;
    QVariant value;
    QByteArray stored; // empty: the write must fail
};

void PrintTo(const WriteCase &c, std::ostream *os)
{
    *os << c.type << '(' << c.size << ',' << c.decimals << ") <- " << c.value.toString().toStdString();
}

class WriteValues : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriteValues, AsTDbfWritesThem)
{
    const WriteCase &c = GetParam();
    const FieldDef f = fieldAt1(c.type, c.size, c.decimals);
    QByteArray rec(1 + c.size, 'x');
    const CodePage &cp = CodePage::byNumber(866);
    if (c.stored.isEmpty()) {
        EXPECT_THROW(codec::setVariant(f, rec.data(), c.value, cp), TableError);
        return;
    }
    codec::setVariant(f, rec.data(), c.value, cp);
    EXPECT_EQ(rec.mid(1), c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteValues,
    ::testing::Values(WriteCase{'N', 10, 0, 42, "        42"}, WriteCase{'N', 10, 3, -0.5, "    -0.500"},
                      WriteCase{'N', 12, 2, 3277.81, "     3277.81"},
                      WriteCase{'N', 4, 1, 0.05, " 0.1"}, // half away from zero on the decimal expansion
                      WriteCase{'N', 4, 1, 2.25, " 2.3"}, WriteCase{'N', 4, 1, -0.05, "-0.1"},
                      WriteCase{'N', 10, 0, 0, "         0"}, WriteCase{'N', 18, 8, 1.0, "        1.00000000"},
                      WriteCase{'N', 3, 0, 12345, ""}, // does not fit: an error, never cut digits
                      WriteCase{'N', 5, 2, 12345.678, ""}, WriteCase{'N', 10, 2, QString("12,5"), "     12.50"},
                      WriteCase{'N', 10, 2, QString("abc"), ""}, WriteCase{'N', 10, 2, QVariant(), "          "},
                      WriteCase{'D', 8, 0, QDate(2008, 3, 18), "20080318"},
                      WriteCase{'D', 8, 0, QDate(1899, 12, 30), "18991230"}, WriteCase{'D', 8, 0, QDate(), "        "},
                      WriteCase{'L', 1, 0, true, "T"}, WriteCase{'L', 1, 0, false, "F"},
                      WriteCase{'C', 5, 0, QString("abcdefg"), "abcde"}, WriteCase{'C', 5, 0, QString("ab"), "ab   "},
                      WriteCase{'C', 4, 0, QString("Ёлка"), QByteArray("\xF0\xAB\xAA\xA0")},
                      WriteCase{'C', 3, 0, QString("€ä1"), "??1"}, // not in code page 866
                      WriteCase{'I', 4, 0, 1, QByteArray::fromHex("80000001")},
                      WriteCase{'I', 4, 0, -1, QByteArray::fromHex("7FFFFFFF")},
                      WriteCase{'O', 8, 0, 1.5, QByteArray::fromHex("BFF8000000000000")}));

} // namespace
