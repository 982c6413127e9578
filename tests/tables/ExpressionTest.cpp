// Filter expressions: semantics on records built in memory, then the same
// answers as TDbf (through the oracle) on fixtures TDbf wrote.
#include "TestTables.h"
#include "tests/support/OracleHarness.h"

#include "tables/CodePage.h"
#include "tables/DbfFile.h"
#include "tables/DbfHeader.h"
#include "tables/Expression.h"
#include "tables/FieldCodec.h"
#include "tables/TableError.h"

#include <QDate>
#include <QRegularExpression>
#include <QVariant>

#include <gtest/gtest.h>

#include <vector>

using namespace tables;

namespace {

using testing_tables::Column;
using testing_tables::schemaOf;

// One value per field: invalid QVariant = empty field, QByteArray = raw bytes.
QByteArray recordOf(const TableSchema &schema, const QVariantList &values)
{
    QByteArray record(schema.recordSize, ' ');
    for (int i = 0; i < values.size(); ++i) {
        const FieldDef &f = schema.fields[size_t(i)];
        const QVariant &v = values[i];
        if (!v.isValid())
            codec::clear(f, record.data());
        else if (v.typeId() == QMetaType::QByteArray)
            codec::setBytes(f, record.data(), v.toByteArray());
        else
            codec::setVariant(f, record.data(), v, *schema.codePage);
    }
    return record;
}

// Numbers (1-based) of the records the expression accepts, "1 3 5".
std::string accepted(const Expression &e, const std::vector<QByteArray> &records)
{
    QStringList hits;
    for (size_t i = 0; i < records.size(); ++i)
        if (e.accepts(records[i].constData()))
            hits << QString::number(i + 1);
    return hits.join(' ').toStdString();
}

std::string text(const Expression &e, const QByteArray &record)
{
    return e.valueText(record.constData()).toStdString();
}

ExprOptions optionsOf(const char *flags)
{
    const QString f = QString::fromLatin1(flags);
    ExprOptions o;
    o.caseInsensitive = f.contains("--nocase");
    o.noPartialCompare = f.contains("--exact");
    return o;
}

// Goods with the awkward values: mixed case, Cyrillic, empty fields, a '*'.
class ExpressionGoods : public ::testing::Test {
protected:
    const TableSchema schema = schemaOf({{"NAME", 'C', 20},
                                         {"FIRM", 'C', 10},
                                         {"CODE", 'N', 5},
                                         {"AMOUNT", 'N', 10, 3},
                                         {"DAY", 'D', 8},
                                         {"OK", 'L', 1},
                                         {"NOTES", 'M', 10}});
    const QVariant E; // empty field
    const std::vector<QByteArray> rows = {
        recordOf(schema, {"ABC", "X", 10, -6.25, QDate(2008, 3, 1), true}),
        recordOf(schema, {"ab", "Y", 20, -5.0, E, false}),
        recordOf(schema, {"AB", "X", 30, E, QDate(2008, 3, 3), E}),
        recordOf(schema, {"Abd", "Y", 40, 0.05, E, QByteArray("t")}),
        recordOf(schema, {"АБВ", "X", 50, 0.0, QDate(2008, 3, 5), QByteArray("Y")}),
        recordOf(schema, {"абв", "Y", 60, E, E, E}),
        recordOf(schema, {"аБ", "X", 70, 1.25, QDate(2008, 3, 7), E}),
        recordOf(schema, {E, "Y", E, 0.5, E, E}),
        recordOf(schema, {"ёлка", "X", 90, E, QDate(2008, 3, 9), E}),
        recordOf(schema, {"Ёлка", "Y", 100, -0.05, QByteArray("20080230"), E}),
        recordOf(schema, {"B", "Y", 120, E, E, E}),
        recordOf(schema, {"AB-C", "X", 130, 8.75, QDate(2008, 3, 13), E}),
        recordOf(schema, {"A'B", "Y", 140, 0.001, E, E}),
        recordOf(schema, {"AB*", "X", 150, 3.0, QDate(2009, 1, 1), E}),
    };

    Expression compile(const QString &text, ExprOptions options = {}) const
    {
        return Expression::compile(text, schema, options);
    }

    // The message of the compile error; empty when the text compiles.
    std::string errorOf(const QString &text) const
    {
        try {
            compile(text);
        } catch (const TableError &e) {
            return e.what();
        }
        return {};
    }
};

struct FilterCase {
    const char *expr;
    const char *flags;
    const char *rows;
};

TEST_F(ExpressionGoods, FiltersSelectTheRightRecords)
{
    const FilterCase cases[] = {
        // '=' is exact on the trimmed text; patterns only on the right
        {"Name = 'AB'", "", "3"},
        {"Name = 'AB '", "", ""},
        {"Name = 'AB*'", "", "1 3 12 14"},
        {"Name = 'AB*'", "--exact", "14"},
        {"'AB*' = Name", "", "14"},
        {"Name = '*B'", "", "3 11 13"},
        {"Name = '*B*'", "", "1 3 11 12 13 14"},
        {"Name = '*'", "", "1 2 3 4 5 6 7 8 9 10 11 12 13 14"},
        {"Name = ''", "", "8"},
        {"Name = 'A' + '*'", "", "1 3 4 12 13 14"},
        {"Name <> 'AB*'", "", "1 2 3 4 5 6 7 8 9 10 11 12 13"},
        // case folding, Cyrillic included
        {"Name = 'ab'", "--nocase", "2 3"},
        {"Name = 'AB*'", "--nocase", "1 2 3 4 12 14"},
        {"Name = 'аб*'", "--nocase", "5 6 7"},
        {"Name = '*Б'", "--nocase", "7"},
        {"Name = 'ЁЛКА'", "--nocase", "9 10"},
        {"Name = 'ЁЛКА'", "", ""},
        {"Name <> 'ab'", "--nocase", "1 4 5 6 7 8 9 10 11 12 13 14"},
        // byte order of code page 866
        {"Name < 'B'", "", "1 3 4 8 12 13 14"},
        {"Name >= 'а'", "", "6 7 9 10"},
        {"Name < 'ab'", "--nocase", "8 13"},
        {"Name > 'AB' and Name <= 'ABC'", "", "1 12 14"},
        // numbers: empty = 0, integers and doubles mixed
        {"Amount = 0", "", "3 5 6 9 11"},
        {"Amount < 0", "", "1 2 10"},
        {"Code > Amount", "", "1 2 3 4 5 6 7 9 10 11 12 13 14"},
        {"Code = 10.0", "", "1"},
        {"Code / 4.0 = 2.5", "", "1"},
        {"Code / 3 = 3", "", "1"},
        {"Code = 2*10+10", "", "3"},
        {"Code = 100/10*3", "", "3"},
        {"-Code = -10", "", "1"},
        {"- 6.25 = Amount", "", "1"},
        {"Code = $1E", "", "3"},
        {"Code = 010", "", "1"},
        // dates and logicals
        {"DTOS(Day) = '18991230'", "", "2 4 6 8 10 11 13"},
        {"DTOS(Day) > '20080305'", "", "7 9 12 14"},
        {"Day = Day", "", "1 2 3 4 5 6 7 8 9 10 11 12 13 14"},
        {"OK", "", "1 4"},
        {"not OK", "", "2 3 5 6 7 8 9 10 11 12 13 14"},
        // NOT looser than comparisons, AND tighter than OR
        {"NOT Code = 60 and Firm = 'Y'", "", "2 4 8 10 11 13"},
        {"not not Code = 60", "", "6"},
        {"Name = 'ab' or Name = 'AB' and Firm = 'Y'", "", "2"},
        {"(Name = 'ab' or Name = 'AB') and Firm = 'X'", "", "3"},
        {"Name='AB'and Firm='X'", "", "3"},
        {"Code > 100 or Code < 20", "", "1 8 11 12 13 14"},
        // functions
        {"Upper(Name) = 'АБВ'", "", "5 6"},
        {"LOWERCASE(Name) = 'ёлка'", "", "9 10"},
        {"Left(Name, 2) = 'AB'", "", "1 3 12 14"},
        {"SubStr(Name, 2, 1) = 'B'", "", "1 3 12 14"},
        {"InStr('Б', Name) <> 0", "", "5 7"},
        {"InStr('Б', Name) <> 0", "--nocase", "5 7"},
        {"Name + Firm = 'ABX'", "", "3"},
        {"STR(Code, 3) = ' 10'", "", "1"},
        // not boolean: the first byte of the result decides
        {"Name", "", "1 2 3 4 5 6 7 9 10 11 12 13 14"},
        {"Code + 246", "", "2 3 4 5 6 7 8 9 10 11 12 13 14"},
        {"Amount", "", "4 10 13"},
        {"Day", "", ""},
    };
    for (const FilterCase &c : cases)
        EXPECT_EQ(accepted(compile(c.expr, optionsOf(c.flags)), rows), c.rows) << c.expr << " " << c.flags;
}

struct ValueCase {
    const char *expr;
    ExprType type;
    const char *text;
};

TEST_F(ExpressionGoods, ValuesOfExpressions)
{
    const QByteArray &first = rows[0]; // ABC X 10 -6.25 2008-03-01 T
    const QByteArray &empty = rows[7]; // everything but FIRM and AMOUNT empty
    const ValueCase onFirst[] = {
        {"2*10+10", ExprType::Integer, "30"},
        {"1+2*10", ExprType::Integer, "21"},
        {"100/10*3", ExprType::Integer, "30"},
        {"20-5-3", ExprType::Integer, "12"},
        {"(2+3)*4", ExprType::Integer, "20"},
        {"10/3", ExprType::Integer, "3"},
        {"-7/2", ExprType::Integer, "-3"},
        {"Code/0", ExprType::Integer, "0"},
        {"10/4.0", ExprType::Float, "2.5"},
        {"1.25e1 + .5", ExprType::Float, "13"},
        {"Code + Amount", ExprType::Float, "3.75"},
        {"-Code * 2", ExprType::Integer, "-20"},
        {"$ff", ExprType::Integer, "255"},
        {"9223372036854775808", ExprType::Float, "9.22337203685478e+18"},
        {"'A''B' + \"x\"\"y\"", ExprType::String, "A'Bx\"y"},
        {"Name + ' ' + Firm", ExprType::String, "ABC X"},
        {"DTOS(Day)", ExprType::String, "20080301"},
        {"Day", ExprType::Date, "2008-03-01"},
        {"STR(Code)", ExprType::String, "        10"},
        {"STR(Code, 4)", ExprType::String, "  10"},
        {"STR(Code, 8, 2)", ExprType::String, "   10.00"},
        {"STR(Amount, 8, 2)", ExprType::String, "   -6.25"},
        {"STR(Amount)", ExprType::String, "        -6"},
        {"STR(2.25, 5, 1)", ExprType::String, "  2.3"},
        {"STR(2.5)", ExprType::String, "         3"},
        {"STR(-0.001, 6, 2)", ExprType::String, "  0.00"},
        {"STR(123.456, 5, 2)", ExprType::String, "123.5"},
        {"STR(12345, 3)", ExprType::String, "***"},
        {"STR(Code, 0)", ExprType::String, ""},
        {"LEFT(Name, 2)", ExprType::String, "AB"},
        {"LEFT(Name, 0)", ExprType::String, ""},
        {"LEFT(Name, 99)", ExprType::String, "ABC"},
        {"LEFT(Name, -1)", ExprType::String, ""},
        {"SUBSTR('abcdef', 2, 3)", ExprType::String, "bcd"},
        {"SUBSTR(Name, 3, 5)", ExprType::String, "C"},
        {"SUBSTR(Name, 5, 1)", ExprType::String, ""},
        {"SUBSTR(Name, 0, 2)", ExprType::String, "AB"},
        {"UPPER('ёлка Abc')", ExprType::String, "ЁЛКА ABC"},
        {"lower(Name + 'ЖЩ')", ExprType::String, "abcжщ"},
        {"INSTR('B', Name)", ExprType::Integer, "2"},
        {"INSTR('b', Name)", ExprType::Integer, "0"},
        {"INSTR('', Name)", ExprType::Integer, "0"},
        {"INSTR(Name, Name)", ExprType::Integer, "1"},
        {"OK", ExprType::Boolean, "T"},
        {"Code = 10", ExprType::Boolean, "T"},
        {"1 = 1 and 'a' < 'b'", ExprType::Boolean, "T"},
    };
    for (const ValueCase &c : onFirst) {
        const Expression e = compile(c.expr);
        EXPECT_EQ(e.resultType(), c.type) << c.expr;
        EXPECT_EQ(text(e, first), c.text) << c.expr;
    }
    const ValueCase onEmpty[] = {
        {"Name", ExprType::String, ""},        {"Code", ExprType::Integer, "0"},
        {"Day", ExprType::Date, "1899-12-30"}, {"DTOS(Day)", ExprType::String, "18991230"},
        {"OK", ExprType::Boolean, "F"},        {"Name + Firm", ExprType::String, "Y"},
    };
    for (const ValueCase &c : onEmpty)
        EXPECT_EQ(text(compile(c.expr), empty), c.text) << c.expr;

    // typed results
    const ExprValue amount = compile("Amount * 2").evaluate(first.constData());
    EXPECT_EQ(amount.type, ExprType::Float);
    EXPECT_DOUBLE_EQ(amount.f, -12.5);
    const ExprValue impossible = compile("Day").evaluate(rows[9].constData());
    EXPECT_EQ(impossible.date, QDate(1899, 12, 30));
    const ExprValue name = compile("Upper(Name)").evaluate(rows[5].constData());
    EXPECT_EQ(name.text, CodePage::byNumber(866).encode(u"АБВ"));
}

TEST_F(ExpressionGoods, FaultsNameTheExpression)
{
    const struct {
        const char *expr;
        const char *detail;
    } cases[] = {
        {"Foo = 1", "unknown field \"Foo\""},
        {"Foo(1) = 1", "unknown function \"Foo\""},
        {"Code<>", "\"<>\" at position 5 has no right operand"},
        {"Code = 10 and", "\"and\" at position 11 has no right operand"},
        {"= 10", "missing operand"},
        {"Code = * 2", "missing operand between \"=\" and \"*\""},
        {"Code 10", "missing operator before \"10\" at position 6"},
        {"(Code = 10", "\"(\" at position 1 is not closed"},
        {"Code = 10)", "\")\" at position 10 has no matching \"(\""},
        {"Day = '20080301'", "cannot compare a date with a text"},
        {"Name = 1", "cannot compare a text with an integer"},
        {"OK = OK", "cannot compare a logical value with a logical value"},
        {"Code = 10 = 1", "cannot be chained"},
        {"Name + 1", "cannot combine a text with an integer"},
        {"Day + 1", "cannot combine a date with an integer"},
        {"-Name", "cannot negate a text"},
        {"Code and OK", "\"AND\" cannot combine an integer with a logical value"},
        {"not Code", "\"NOT\" needs a logical value"},
        {"Name = 'AB", "unterminated string starting at position 8"},
        {"Notes = 'x'", "memo field \"NOTES\""},
        {"LEFT(Name) = 'A'", "LEFT takes 2 argument(s), not 1"},
        {"SUBSTR(Name, 1) = 'A'", "SUBSTR takes 3 argument(s), not 2"},
        {"STR()", "STR takes 1 to 3 argument(s), not 0"},
        {"UPPER(Name, 1)", "UPPER takes 1 argument(s), not 2"},
        {"DTOS(Name)", "argument 1 of DTOS must be a date, not a text"},
        {"LEFT(Name, 1.5)", "argument 2 of LEFT must be an integer, not a number"},
        {"INSTR(1, Name)", "argument 1 of INSTR must be a text"},
        {"LEFT(Name, 1", "argument list of LEFT is not closed"},
        {"Code # 1", "unexpected character \"#\" at position 6"},
        {"Code = $", "no hexadecimal number"},
    };
    for (const auto &c : cases) {
        const std::string message = errorOf(QString::fromUtf8(c.expr));
        EXPECT_EQ(message.rfind("Invalid expression \"" + std::string(c.expr) + "\": ", 0), 0u) << message;
        EXPECT_NE(message.find(c.detail), std::string::npos) << c.expr << " gave " << message;
    }
}

// Expressions may carry user text; size and nesting stay bounded.
TEST_F(ExpressionGoods, LongAndDeepExpressions)
{
    QString chain = "Code";
    for (int i = 0; i < 2000; ++i)
        chain += " + Code";
    EXPECT_EQ(text(compile(chain), rows[0]), "20010");
    EXPECT_EQ(text(compile(QString(150, u'(') + "Code" + QString(150, u')')), rows[0]), "10");

    const QString deep = QString(300, u'(') + "Code" + QString(300, u')');
    const QString minus = QString(300, u'-') + "Code";
    const QString nots = QString("not ").repeated(300) + "OK";
    for (const QString &e : {deep, minus, nots})
        EXPECT_NE(errorOf(e).find("nested too deeply"), std::string::npos) << errorOf(e);
    EXPECT_NE(errorOf(chain.repeated(3)).find("too long"), std::string::npos);
}

TEST_F(ExpressionGoods, EmptyAndCopiedExpressions)
{
    const Expression none;
    EXPECT_TRUE(none.isEmpty());
    EXPECT_TRUE(none.accepts(rows[0].constData()));
    EXPECT_TRUE(compile("  ").isEmpty());
    EXPECT_FALSE(compile("OK").isEmpty());

    Expression original = compile("Upper(Name) + Firm = 'ABX'");
    Expression copy = original;
    original = compile("Name = 'ab'");
    EXPECT_EQ(copy.text(), "Upper(Name) + Firm = 'ABX'");
    EXPECT_EQ(accepted(copy, rows), "3");
    EXPECT_EQ(accepted(original, rows), "2");
    // evaluations of expressions with different scratch needs interleave
    const Expression deep = compile("Left(Upper(Name + Firm) + Lower(Firm + Name), 4) + DTOS(Day)");
    EXPECT_EQ(text(deep, rows[0]), "ABCX20080301");
    EXPECT_TRUE(copy.accepts(rows[2].constData()));
    EXPECT_EQ(text(deep, rows[1]), "ABYy18991230");
}

TEST(ExpressionCodePage, LiteralsAreEncodedIntoTheTableCodePage)
{
    const TableSchema s866 = schemaOf({{"NAME", 'C', 10}}, 866);
    const TableSchema s1251 = schemaOf({{"NAME", 'C', 10}}, 1251);
    const QByteArray r866 = recordOf(s866, {"Кофеин"});
    EXPECT_EQ(Expression::compile("'Кофеин'", s866).evaluate(r866.constData()).text,
              QByteArray("\x8a\xae\xe4\xa5\xa8\xad"));
    EXPECT_EQ(Expression::compile("'Кофеин'", s1251).evaluate(r866.constData()).text,
              QByteArray("\xca\xee\xf4\xe5\xe8\xed"));
    EXPECT_EQ(Expression::compile("'a€b'", s866).evaluate(r866.constData()).text, QByteArray("a?b"));
    EXPECT_TRUE(Expression::compile("Name = 'Кофеин'", s866).accepts(r866.constData()));
    EXPECT_EQ(text(Expression::compile("Name", s866), r866), "Кофеин");
    // the same bytes mean other letters in 1251: no match there
    EXPECT_FALSE(Expression::compile("Name = 'Кофеин'", s1251).accepts(r866.constData()));
}

// The component filters: Component1 + Component2 joins the trimmed values, so a
// blank at character 250 of Component1 disappears.
TEST(ExpressionComponents, InstrAcrossTheSplitOfComponent1AndComponent2)
{
    const TableSchema schema = schemaOf({{"NAME", 'C', 20}, {"COMPONENT1", 'C', 250}, {"COMPONENT2", 'C', 250}});
    const QString fill(240, u'x');
    const std::vector<QByteArray> drugs = {
        recordOf(schema, {"Цитрамон", "Парацетамол: 500мг\rКофеин: 50мг", QVariant()}),
        recordOf(schema, {"Панадол", "Парацетамол: 500мг", QVariant()}),
        recordOf(schema, {"Split", fill + "Парацетам", "ол\rКофеин"}),
        recordOf(schema, {"Lower", "кофеин, парацетамол", QVariant()}),
        recordOf(schema, {"Blank", QString(248, u'x') + "A ", "B"}),
        recordOf(schema, {"Kofein", QVariant(), "Кофеин"}),
    };
    const char *programFilter =
        "InStr('Кофеин',Component1+Component2)<>0 and InStr('Парацетамол',Component1+Component2)<>0";
    EXPECT_EQ(accepted(Expression::compile(programFilter, schema), drugs), "1 3");
    ExprOptions nocase;
    nocase.caseInsensitive = true;
    EXPECT_EQ(accepted(Expression::compile(programFilter, schema, nocase), drugs), "1 3");
    EXPECT_EQ(accepted(Expression::compile("InStr('Кофеин',Component1+Component2)<>0", schema), drugs), "1 3 6");

    EXPECT_EQ(text(Expression::compile("InStr('A B', Component1+Component2)", schema), drugs[4]), "0");
    EXPECT_EQ(text(Expression::compile("InStr('AB', Component1+Component2)", schema), drugs[4]), "249");
    EXPECT_EQ(text(Expression::compile("InStr('ол', Component1+Component2)", schema), drugs[2]), "250");
}

// The filters the program sets, on their tables' layouts.
TEST(ExpressionProgramFilters, FiltersOfTheProgram)
{
    const QVariant E;
    const TableSchema price = schemaOf({{"NAME", 'C', 80}, {"NEWFLG", 'N', 1}, {"ZAK", 'N', 18, 8}});
    const std::vector<QByteArray> priceRows = {recordOf(price, {"a", 1, 2.5}), recordOf(price, {"b", 0, 0.0}),
                                               recordOf(price, {"c", E, E}), recordOf(price, {"d", 1, 0.00000001})};
    EXPECT_EQ(accepted(Expression::compile("NewFlg=1", price), priceRows), "1 4");
    EXPECT_EQ(accepted(Expression::compile("Zak<>0", price), priceRows), "1 4");

    const TableSchema prescr = schemaOf({{"IDROW", 'N', 9}, {"DATESND", 'D', 8}, {"PROVIDED", 'L', 1}});
    const std::vector<QByteArray> prescrRows = {recordOf(prescr, {1, QDate(2008, 3, 18), true}),
                                                recordOf(prescr, {2, E, E}),
                                                recordOf(prescr, {3, QByteArray("00000000"), false})};
    EXPECT_EQ(accepted(Expression::compile("DTOS(DateSnd) = '18991230'", prescr), prescrRows), "2 3");

    const TableSchema archive = schemaOf({{"IDROW", 'N', 10}, {"YEAR", 'N', 4}, {"MONTH", 'N', 2}});
    const std::vector<QByteArray> archiveRows = {recordOf(archive, {1, 2008, 3}), recordOf(archive, {2, 2008, 4}),
                                                 recordOf(archive, {3, 2007, 3}), recordOf(archive, {4, 2008, 3})};
    EXPECT_EQ(accepted(Expression::compile("Year = 2008 and Month = 3", archive), archiveRows), "1 4");
    EXPECT_THROW(Expression::compile("Year =  and Month = 3", archive), TableError);
}

// ---------------------------------------------------------------- oracle

// Records of a table file that pass the expression, deleted ones skipped
// unless asked for, as TDbf's dbfexpr prints them.
std::string ourRecnos(const QString &path, const QString &expr, const char *flags)
{
    DbfFile file(path, OpenMode::ReadOnly);
    TableSchema schema;
    schema.fields = file.header().fields;
    schema.recordSize = file.header().recordSize;
    const int cp = codePageOfLanguageId(file.header().languageId);
    schema.codePage = &CodePage::byNumber(cp ? cp : 866);
    const Expression e = Expression::compile(expr, schema, optionsOf(flags));
    const bool withDeleted = QString::fromLatin1(flags).contains("--deleted");
    QByteArray record(schema.recordSize, ' ');
    QStringList hits;
    for (std::uint32_t recno = 1; recno <= file.recordCount(); ++recno) {
        if (!file.readRecord(recno, record.data()))
            break;
        if ((withDeleted || record[0] != '*') && e.accepts(record.constData()))
            hits << QString::number(recno);
    }
    return hits.join(' ').toStdString();
}

std::string tdbfRecnos(const QString &path, const QString &expr, const char *flags)
{
    QStringList args = {path, expr};
    const QString f = QString::fromLatin1(flags);
    if (!f.isEmpty())
        args += f.split(' ', Qt::SkipEmptyParts);
    const kx::testsupport::RunResult r = kx::testsupport::OracleHarness::instance().run("dbfexpr", args);
    static const QRegularExpression recnos(QStringLiteral("^#recnos\\t(.*)$"), QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = recnos.match(r.out);
    return (m.hasMatch() ? m.captured(1).trimmed() : QStringLiteral("no answer: ") + r.errors).toStdString();
}

struct OracleCase {
    const char *fixture; // key into the fixture table below
    const char *expr;
    const char *flags;
};

// Operator precedence is left out on purpose: TDbf puts + - * / on one level
// grouped from the right, this engine uses the usual rules.
TEST(ExpressionOracle, SameRecordsAsTdbf)
{
    SKIP_WITHOUT_TDBF_ORACLE();
    auto &harness = kx::testsupport::OracleHarness::instance();
    const QHash<QString, QString> files = {
        {"keys", harness.makeFixture({"keys", "k.dbf"})},
        {"price", harness.makeFixture({"price", "p.dbf", "200", "7", "--zak", "--deleted"})},
        {"prescr", harness.makeFixture({"prescr", "prescr.dbf", "30", "3"})},
        {"archive", harness.makeFixture({"archive", "arch", "300", "5"}) + "/Archiv.dbf"},
    };
    const OracleCase cases[] = {
        {"keys", "Name = 'AB'", ""},
        {"keys", "Name = 'AB'", "--deleted"},
        {"keys", "Name = 'AB '", ""},
        {"keys", "Name = 'AB*'", ""},
        {"keys", "Name = 'AB*'", "--exact"},
        {"keys", "'AB*' = Name", ""},
        {"keys", "Name = '*B'", ""},
        {"keys", "Name = '*B*'", ""},
        {"keys", "Name = '*'", ""},
        {"keys", "Name = ''", ""},
        {"keys", "Name = 'ab'", "--nocase"},
        {"keys", "Name = 'AB*'", "--nocase"},
        {"keys", "Name = 'аб*'", "--nocase"},
        {"keys", "Name = '*б*'", "--nocase"},
        {"keys", "Name = 'Ё*'", ""},
        {"keys", "Name = 'Ё*'", "--nocase"},
        {"keys", "Name <> 'ab'", "--nocase"},
        {"keys", "Name < 'ab'", "--nocase"},
        {"keys", "Name < 'B'", ""},
        {"keys", "Name > 'ab'", ""},
        {"keys", "Name <> 'AB'", ""},
        {"keys", "Name >= 'AB' and Name <= 'AB-'", ""},
        {"keys", "Name = \"A'B\"", ""},
        {"keys", "Name = 'A''B'", ""},
        {"keys", "Name='AB'and Firm='X'", ""},
        {"keys", "Name = 'ab' or Name = 'AB' and Firm = 'Y'", ""},
        {"keys", "NOT Code = 60", ""},
        {"keys", "not not Code = 60", ""},
        {"keys", "Code > 100 or Code < 20", ""},
        {"keys", "Amount = 0", ""},
        {"keys", "Amount < 0", ""},
        {"keys", "Amount >= 0.05", ""},
        {"keys", "Code > Amount", ""},
        {"keys", "Code = 10.0", ""},
        {"keys", "Code/3 = 3", ""},
        {"keys", "Code/4.0 = 2.5", ""},
        {"keys", "Code*2 = 20", ""},
        {"keys", "Code = 7*10", ""},
        {"keys", "-Code = -10", ""},
        {"keys", "- 6.25 = Amount", ""},
        {"keys", "$A = Code", ""},
        {"keys", "Code = 010", ""},
        {"keys", "1.25e1 = 12.5", ""},
        {"keys", "Code = .5e2", ""},
        {"keys", "DTOS(Day) = '18991230'", ""},
        {"keys", "DTOS(Day) > '20080305'", ""},
        {"keys", "UPPER(Name) = 'АБВ'", ""},
        {"keys", "Lower(Name) = 'ёлка'", ""},
        {"keys", "upper(Firm) = 'y'", "--nocase"},
        {"keys", "Left(Name,2) = 'AB'", ""},
        {"keys", "left(Name,0) = ''", ""},
        {"keys", "substr(Name,2,1) = 'B'", ""},
        {"keys", "substr(Name,2,10) = 'B'", ""},
        {"keys", "STR(Code,8) = '      10'", ""},
        {"keys", "STR(Amount,10,2) = '     -6.25'", ""},
        {"keys", "Name + Firm = 'ABX'", ""},
        {"keys", "InStr('Б',Name)<>0", ""},
        {"keys", "InStr('b',Name) = 2", ""},
        {"keys", "Name", ""},
        {"keys", "Code", ""},
        {"keys", "Code+246", ""},
        {"keys", "Amount", ""},
        {"keys", "Day", ""},
        {"price", "NewFlg=1", ""},
        {"price", "Zak<>0", ""},
        {"price", "Zak<>0", "--deleted"},
        {"price", "NewFlg", ""},
        {"price", "Qnt = 0", ""},
        {"price", "Zak > 5 and NewFlg = 0", ""},
        {"price", "Price1 > 1000 and Price1 < 2000", ""},
        {"price", "ConstA > 1.5 or ConstB < 0.1", ""},
        {"price", "IDRow/7 = 3", ""},
        {"price", "Name = 'Аспирин*'", ""},
        {"price", "Name = 'аспирин*'", "--nocase"},
        {"price", "Name = '*табл*'", ""},
        {"price", "Cntr = 'РОССИЯ'", ""},
        {"price", "Cntr > 'Г'", ""},
        {"price", "Firm < 'Sanofi'", ""},
        {"price", "Upper(Firm) = 'BAYER AG'", ""},
        {"price", "Left(Name, 4) = 'АЦИК'", "--nocase"},
        {"price", "DTOS(GDate) = '18991230'", ""},
        {"price", "DTOS(GDate) >= '20250101' and DTOS(GDate) < '20250201'", ""},
        {"price", "InStr('табл', Name) > 0 and not NewFlg = 1", ""},
        {"prescr", "DTOS(DateSnd) = '18991230'", ""},
        {"prescr", "InStr('Кофеин',Component1+Component2)<>0 and InStr('Аскорбин',Component1+Component2)<>0", ""},
        {"prescr", "InStr('Парацетамол',Component1+Component2)<>0", ""},
        {"prescr", "InStr('кофеин',Component1+Component2)<>0", "--nocase"},
        {"prescr", "Provided", ""},
        {"prescr", "not Provided", ""},
        {"prescr", "Provided and Qnt > 1", ""},
        {"prescr", "AgeY > 50 or Qnt = 5", ""},
        {"prescr", "Name = 'ЭНАЛАПРИЛ'", ""},
        {"prescr", "FIO = 'Иванов*'", ""},
        {"prescr", "Number = '1003'", ""},
        {"prescr", "DTOS(DateCreate) < '20080601'", ""},
        {"archive", "Year = 2008 and Month = 3", ""},
        {"archive", "Year = 2009 and Month >= 6", ""},
        {"archive", "Summa > 10000", ""},
        {"archive", "Podr = 'Аптека №2'", ""},
    };
    for (const OracleCase &c : cases) {
        const QString path = files.value(QString::fromLatin1(c.fixture));
        const QString expr = QString::fromUtf8(c.expr);
        EXPECT_EQ(ourRecnos(path, expr, c.flags), tdbfRecnos(path, expr, c.flags))
            << c.fixture << ": " << c.expr << " " << c.flags;
    }
}

} // namespace
