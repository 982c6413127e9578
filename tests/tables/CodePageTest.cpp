#include "TestTables.h"

#include "tables/CodePage.h"
#include "tables/FileLookup.h"
#include "tables/Table.h"
#include "tables/TableCreate.h"

#include <QDir>

using namespace tables;
using testing_tables::readFile;
using testing_tables::writeFile;

namespace {

TEST(CodePage, RoundTripsCyrillicAndMarksWhatItCannotHold)
{
    const QString text = QStringLiteral("Аспирин ёЁ №5 abc");
    for (int cp : {866, 1251}) {
        const CodePage &page = CodePage::byNumber(cp);
        EXPECT_EQ(page.decode(page.encode(text)), text) << cp;
        EXPECT_EQ(page.encode(QStringLiteral("日€")), cp == 866 ? QByteArray("??") : QByteArray("?\x88"));
        EXPECT_EQ(page.decode(page.toUpper(page.encode(QStringLiteral("аспирин ё")))), QStringLiteral("АСПИРИН Ё"));
    }
    EXPECT_EQ(CodePage::byNumber(866).encode(QStringLiteral("А")), QByteArray("\x80"));
    EXPECT_EQ(CodePage::byNumber(1251).encode(QStringLiteral("А")), QByteArray("\xC0"));
    EXPECT_EQ(CodePage::byNumber(866).encode(QStringLiteral("😀")), QByteArray("?"));
}

struct MarkCase {
    int mark;
    int codePage;
};

TEST(CodePage, TheTableMarkDecidesAndUnmarkedTablesUseTheDefault)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.dbf"));
    createTable(path, 4, {{QStringLiteral("Name"), FieldKind::String, 10}}, {.languageId = 0});
    const QByteArray empty = readFile(path);
    for (const MarkCase c :
         {MarkCase{0x00, 866}, MarkCase{0x26, 866}, MarkCase{0x65, 866}, MarkCase{0xC9, 1251}, MarkCase{0x58, 1252}}) {
        QByteArray bytes = empty;
        bytes[29] = char(c.mark);
        bytes.chop(1);
        bytes += ' ' + CodePage::byNumber(c.codePage).encode(QStringLiteral("Аптека")).leftJustified(10, ' ') + '\x1A';
        bytes[4] = 1;
        writeFile(path, bytes);
        Table t(path);
        t.open();
        EXPECT_EQ(t.codePage().number(), c.codePage) << c.mark;
        if (c.codePage != 1252) {
            EXPECT_EQ(t.field(u"Name").asString(), QStringLiteral("Аптека")) << c.mark;
        }
    }
    setDefaultOpenCodePage(1251);
    Table t(path);
    t.open();
    EXPECT_EQ(t.codePage().number(), 1252); // marked tables ignore the default
    t.close();
    QByteArray bytes = readFile(path);
    bytes[29] = 0;
    writeFile(path, bytes);
    t.open();
    EXPECT_EQ(t.codePage().number(), 1251);
    setDefaultOpenCodePage(866);
}

TEST(FileLookup, NamesMatchWithoutRegardToCase)
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("pricen.dbf")), "x");
    EXPECT_EQ(findFileNoCase(dir.path(), QStringLiteral("PriceN.dbf")), dir.filePath(QStringLiteral("pricen.dbf")));
    EXPECT_EQ(findFileNoCase(dir.path() + u'/', QStringLiteral("PRICEN.DBF")),
              dir.filePath(QStringLiteral("pricen.dbf")));
    EXPECT_EQ(resolvePathNoCase(dir.filePath(QStringLiteral("PriceN.DBF"))),
              dir.filePath(QStringLiteral("pricen.dbf")));
    EXPECT_EQ(findFileNoCase(dir.path(), QStringLiteral("Other.dbf")), dir.filePath(QStringLiteral("Other.dbf")));
    EXPECT_FALSE(fileExistsNoCase(dir.filePath(QStringLiteral("price.dbf"))));
}

} // namespace
