// Index keys computed from record bytes, as dBase builds them.
#include "TestTables.h"

#include "tables/CodePage.h"
#include "tables/MdxKeySource.h"
#include "tables/TableError.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace tables;

namespace {

// NAME C(10), FIRM C(5), CODE N(5), AMOUNT N(10,3), DAY D, OK L.
struct Layout {
    TableSchema schema;
    Layout()
        : schema(testing_tables::schemaOf({{"NAME", 'C', 10},
                                           {"FIRM", 'C', 5},
                                           {"CODE", 'N', 5},
                                           {"AMOUNT", 'N', 10, 3},
                                           {"DAY", 'D', 8},
                                           {"OK", 'L', 1}}))
    {
    }

    QByteArray record(const QString &name, const char *firm, const char *code, const char *amount,
                      const char *day) const
    {
        QByteArray r(schema.recordSize, ' ');
        auto put = [&](int field, const QByteArray &text, bool right) {
            const FieldDef &f = schema.fields[size_t(field)];
            const QByteArray v = right ? text.rightJustified(f.size, ' ') : text.leftJustified(f.size, ' ');
            std::memcpy(r.data() + f.offset, v.constData(), size_t(f.size));
        };
        put(0, schema.codePage->encode(name), false);
        put(1, firm, false);
        put(2, code, true);
        put(3, amount, true);
        put(4, day, false);
        return r;
    }
};

} // namespace

TEST(MdxKeySource, CharacterKeysArePaddedStoredBytes)
{
    const Layout l;
    const QByteArray rec = l.record(QStringLiteral("аБв"), "X", "10", "-6.250", "20080301");
    const QByteArray blank = l.record(QString(), "", "", "", "");
    const QByteArray cyr = l.schema.codePage->encode(u"аБв");
    const QByteArray cyrUpper = l.schema.codePage->encode(u"АБВ");
    struct Case {
        const char *expression;
        const QByteArray *record;
        QByteArray key;
        bool field;
    };
    const Case cases[] = {
        {"NAME", &rec, cyr.leftJustified(10, ' '), true},
        {"name", &blank, QByteArray(10, ' '), true},
        {"NAME+FIRM", &rec, cyr.leftJustified(10, ' ') + "X    ", false},
        {"FIRM + NAME", &rec, "X    " + cyr.leftJustified(10, ' '), false},
        {"DTOS(DAY)", &rec, "20080301", false},
        {"DTOS(DAY)", &blank, "18991230", false},
        {"UPPER(NAME)", &rec, cyrUpper.leftJustified(10, ' '), false},
        {"LEFT(NAME,2)+FIRM", &rec, cyr.left(2) + "X    ", false},
        {"DTOS(DAY)+(FIRM)", &rec, "20080301X    ", false},
        {"STR(CODE,6)", &rec, "    10", false},
        {"SUBSTR(NAME,2,2)", &rec, cyr.mid(1, 2), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expression);
        const MdxKeySource s = MdxKeySource::compile(QString::fromLatin1(c.expression), l.schema);
        EXPECT_EQ(s.type(), MdxKeyType::Character);
        EXPECT_EQ(s.length(), c.key.size());
        EXPECT_EQ(s.isField(), c.field);
        EXPECT_EQ(s.key(c.record->constData()), c.key);
    }
}

TEST(MdxKeySource, NumericKeysAreBcdOfTheValue)
{
    const Layout l;
    struct Case {
        const char *expression;
        const char *code;
        const char *amount;
        const char *hex;
    };
    const Case cases[] = {
        {"CODE", "10", "", "360910"},      {"CODE", "", "", "3401"}, // empty = 0
        {"CODE", "1.5", "", "3401"},       {"AMOUNT", "", "-6.250", "35916250"}, // unparsable integer = 0
        {"AMOUNT", "", "0.001", "320910"}, {"AMOUNT", "", "", "3401"},
        {"CODE*2", "21", "", "360942"},    {"AMOUNT+1", "", "0.5", "350915"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expression);
        const MdxKeySource s = MdxKeySource::compile(QString::fromLatin1(c.expression), l.schema);
        EXPECT_EQ(s.type(), MdxKeyType::Numeric);
        EXPECT_EQ(s.length(), 12);
        const QByteArray rec = l.record(QString(), "", c.code, c.amount, "");
        QByteArray expected = QByteArray::fromHex(c.hex);
        expected.resize(12, '\0');
        EXPECT_EQ(s.key(rec.constData()).toHex(), expected.toHex());
    }
}

TEST(MdxKeySource, RefusesWhatCannotBeIndexed)
{
    const Layout l;
    // Dates and logicals (TDbf: "can only be string or float"), bad syntax,
    // unknown fields, nothing at all, keys too long for a block.
    for (const char *e : {"DAY", "OK", "NAME+", "NOSUCH", "", "NAME='A'", "TRIM(NAME)"}) {
        SCOPED_TRACE(e);
        EXPECT_THROW(MdxKeySource::compile(QString::fromLatin1(e), l.schema), TableError);
    }
    QString longKey = QStringLiteral("NAME");
    for (int i = 0; i < 25; ++i)
        longKey += QStringLiteral("+NAME");
    EXPECT_THROW(MdxKeySource::compile(longKey, l.schema), TableError);
}
