#include "xls/XlsWriter.h"

#include "tests/support/XlrdReader.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <variant>

#include <unistd.h>

namespace {

using Value = std::variant<QString, double>;
using Position = std::pair<int, int>;

// What goes into a sheet, and so what an independent reader must find there.
struct Sheet {
    std::map<Position, Value> cells;
    std::set<int> boldRows;
    std::map<int, int> widths;
};

constexpr int XlrdText = 1;
constexpr int XlrdNumber = 2;
constexpr int XlrdError = 5;
constexpr int NumErrorCode = 0x24;

void fill(xls::XlsWriter &writer, const Sheet &sheet)
{
    for (const auto &[at, value] : sheet.cells)
        std::visit([&](const auto &v) { writer.setCell(at.first, at.second, v); }, value);
    for (int row : sheet.boldRows)
        writer.setRowBold(row);
    for (const auto &[column, width] : sheet.widths)
        writer.setColumnWidth(column, width);
}

QJsonObject saveAndRead(const xls::XlsWriter &writer, const QString &path)
{
    writer.save(path);
    const QJsonObject book = kx::testsupport::readWithXlrd({QStringLiteral("book"), path});
    EXPECT_EQ(book[QStringLiteral("containerProblems")].toArray(), QJsonArray());
    EXPECT_EQ(book[QStringLiteral("log")].toString(), QString());
    EXPECT_EQ(book[QStringLiteral("extsstProblems")].toArray(), QJsonArray());
    return book;
}

QJsonObject onlySheet(const QJsonObject &book)
{
    const QJsonArray sheets = book[QStringLiteral("sheets")].toArray();
    EXPECT_EQ(sheets.size(), 1);
    return sheets.isEmpty() ? QJsonObject() : sheets.first().toObject();
}

// Compares every non-empty cell xlrd found with the sheet; returns the differences.
QStringList differences(const Sheet &expected, const QJsonObject &sheet)
{
    QStringList found;
    std::set<Position> seen;
    for (const QJsonValue &item : sheet[QStringLiteral("cells")].toArray()) {
        const QJsonArray cell = item.toArray();
        const Position at{cell[0].toInt(), cell[1].toInt()};
        const int type = cell[2].toInt();
        const QJsonValue value = cell[3];
        const QString where = QStringLiteral("(%1,%2)").arg(at.first).arg(at.second);
        seen.insert(at);
        const auto wanted = expected.cells.find(at);
        if (wanted == expected.cells.end()) {
            found << where + QStringLiteral(" should be empty");
            continue;
        }
        if (const auto *text = std::get_if<QString>(&wanted->second)) {
            if (type != XlrdText || value.toString() != *text)
                found << where + QStringLiteral(" is not the text ") + text->left(40);
        } else if (const double number = std::get<double>(wanted->second); std::isfinite(number)) {
            if (type != XlrdNumber || value.toDouble() != number)
                found << where + QStringLiteral(" is not the number %1").arg(number);
        } else if (type != XlrdError || value.toInt() != NumErrorCode) {
            found << where + QStringLiteral(" is not #NUM!");
        }
        if (cell[4].toBool() != expected.boldRows.contains(at.first))
            found << where + QStringLiteral(" has the wrong weight");
    }
    for (const auto &[at, value] : expected.cells) {
        if (!seen.contains(at))
            found << QStringLiteral("(%1,%2) is missing").arg(at.first).arg(at.second);
    }
    const QJsonObject widths = sheet[QStringLiteral("widths")].toObject();
    for (const auto &[column, width] : expected.widths) {
        if (widths[QString::number(column)].toInt() != width * 256)
            found << QStringLiteral("column %1 is not %2 characters wide").arg(column).arg(width);
    }
    return found;
}

Sheet priceList()
{
    Sheet s;
    const QStringList titles{"Наименование", "Цена", "Кол-во", "Производитель", "Примечание"};
    for (int c = 0; c < titles.size(); ++c)
        s.cells[{0, c}] = titles[c];
    s.boldRows = {0};
    s.widths = {{0, 40}, {1, 10}, {3, 25}};
    s.cells[{1, 0}] = QStringLiteral("Анальгин таб. 500мг №10");
    s.cells[{1, 1}] = 12.5;
    s.cells[{1, 2}] = 3.0;
    s.cells[{1, 3}] = QStringLiteral("Фармстандарт");
    s.cells[{2, 0}] = QStringLiteral("Аспирин «Байер»");
    s.cells[{2, 1}] = 0.1;
    s.cells[{2, 2}] = -2.0;
    s.cells[{2, 4}] = QStringLiteral("ёЁйЙъЪ №5");
    // Row 3 stays empty.
    s.cells[{4, 0}] = QStringLiteral("Café crème"); // Latin-1: one byte a character
    s.cells[{4, 1}] = 1234567.891;
    s.cells[{4, 2}] = 0.0;
    s.cells[{4, 3}] = QStringLiteral("Фармстандарт"); // shared with row 1
    s.cells[{4, 4}] = 1e15;
    s.cells[{5, 3}] = QStringLiteral("Łódź"); // past Latin-1 yet not Cyrillic
    s.cells[{5, 4}] = QStringLiteral("Последняя");
    return s;
}

// Strings of many lengths in three alphabets so that CONTINUE records split
// one-byte, two-byte and surrogate-pair strings at every kind of place.
Sheet variedStrings()
{
    Sheet s;
    const QString alphabets[] = {QStringLiteral("abcdefghij"), QStringLiteral("абвгдеёжзи"), QStringLiteral("ж😀ю")};
    for (int i = 0; i < 600; ++i) {
        const QString &alphabet = alphabets[i % 3];
        QString text;
        const int length = (i * 37) % 700 + 1;
        while (text.size() < length)
            text += alphabet;
        text.truncate(length);
        if (text.back().isHighSurrogate())
            text.chop(1);
        s.cells[{i, 0}] = text;
        s.cells[{i, 1}] = QStringLiteral("общий");
    }
    return s;
}

Sheet thousandsOfRows()
{
    Sheet s;
    const QStringList titles{"Код", "Наименование", "Цена", "Производитель", "Остаток", "Примечание"};
    for (int c = 0; c < titles.size(); ++c)
        s.cells[{0, c}] = titles[c];
    s.boldRows = {0};
    const QStringList makers{"Фармстандарт", "Берлин-Хеми", "KRKA", "Озон"};
    for (int r = 1; r <= 5000; ++r) {
        s.cells[{r, 0}] = double(100000 + r);
        s.cells[{r, 1}] = QStringLiteral("Товар №%1 — таблетки покрытые оболочкой").arg(r);
        s.cells[{r, 2}] = r * 1.25;
        s.cells[{r, 3}] = makers[r % makers.size()];
        if (r % 7 != 0)
            s.cells[{r, 4}] = double(r % 50);
        s.cells[{r, 5}] = QStringLiteral("Серия %1, годен до %2.2027").arg(r * 13).arg(r % 12 + 1);
    }
    return s;
}

Sheet cornerCells()
{
    Sheet s;
    s.cells[{0, 0}] = QStringLiteral("А");
    s.cells[{65535, 0}] = QStringLiteral("Я");
    s.cells[{65535, 255}] = 42.0;
    return s;
}

Sheet nonFiniteNumbers()
{
    Sheet s;
    s.cells[{0, 0}] = std::numeric_limits<double>::quiet_NaN();
    s.cells[{0, 1}] = std::numeric_limits<double>::infinity();
    s.cells[{0, 2}] = -std::numeric_limits<double>::infinity();
    s.cells[{0, 3}] = 1.0;
    return s;
}

struct BookCase {
    const char *what;
    QString sheetName;
    QString expectedSheetName;
    std::function<Sheet()> sheet;
};

const BookCase bookCases[] = {
    {"Cyrillic price list", "Прайс-лист", "Прайс-лист", priceList},
    {"forbidden characters and overlong name", "Счёт [1/2]: итог?* за январь две тысячи",
     "Счёт _1_2__ итог__ за январь дв",
     [] {
         return Sheet{{{{0, 0}, QStringLiteral("x")}}, {}, {}};
     }},
    {"apostrophes at the ends", "'Заказ'", "_Заказ_", [] { return Sheet{}; }},
    {"empty sheet without a name", "", "Лист1", [] { return Sheet{}; }},
    {"varied string lengths", "Строки", "Строки", variedStrings},
    {"thousands of rows", "Прайс", "Прайс", thousandsOfRows},
    {"corner cells", "Края", "Края", cornerCells},
    {"non-finite numbers", "Ошибки", "Ошибки", nonFiniteNumbers},
};

int usedRows(const Sheet &s) { return s.cells.empty() ? 0 : std::prev(s.cells.end())->first.first + 1; }

int usedColumns(const Sheet &s)
{
    int columns = 0;
    for (const auto &[at, value] : s.cells)
        columns = std::max(columns, at.second + 1);
    return columns;
}

// The DIMENSIONS record: first used row, row past the last, the same for columns.
QJsonArray dimensions(const Sheet &s)
{
    if (s.cells.empty())
        return {0, 0, 0, 0};
    int firstColumn = xls::XlsWriter::MaxColumns;
    for (const auto &[at, value] : s.cells)
        firstColumn = std::min(firstColumn, at.second);
    return {s.cells.begin()->first.first, usedRows(s), firstColumn, usedColumns(s)};
}

class XlsWriterTest : public ::testing::Test {
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(XlsWriterTest, XlrdReadsBackWhatWasWritten)
{
    ASSERT_TRUE(dir.isValid());
    for (const BookCase &c : bookCases) {
        SCOPED_TRACE(c.what);
        const Sheet expected = c.sheet();
        xls::XlsWriter writer(c.sheetName);
        fill(writer, expected);
        EXPECT_EQ(writer.sheetName(), c.expectedSheetName);

        const QJsonObject book = saveAndRead(writer, path(QStringLiteral("book.xls")));
        EXPECT_EQ(book[QStringLiteral("dimensions")].toArray(), dimensions(expected));
        const QJsonObject sheet = onlySheet(book);
        EXPECT_EQ(sheet[QStringLiteral("name")].toString(), c.expectedSheetName);
        EXPECT_EQ(sheet[QStringLiteral("nrows")].toInt(), usedRows(expected));
        EXPECT_EQ(sheet[QStringLiteral("ncols")].toInt(), usedColumns(expected));
        const QStringList wrong = differences(expected, sheet);
        EXPECT_TRUE(wrong.isEmpty()) << wrong.size() << " wrong cells, first: "
                                     << wrong.mid(0, 10).join(QStringLiteral("; ")).toStdString();
    }
}

TEST_F(XlsWriterTest, LaterValueReplacesEarlierAndEmptyTextClears)
{
    xls::XlsWriter writer(QStringLiteral("Лист"));
    writer.setCell(0, 0, QStringLiteral("старое"));
    writer.setCell(0, 0, 7);
    writer.setCell(0, 1, 1.5);
    writer.setCell(0, 1, QStringLiteral("новое"));
    writer.setCell(1, 0, QStringLiteral("удалить"));
    writer.setCell(1, 0, QString());
    writer.setCell(9, 9, QString()); // clearing a never-set cell adds nothing

    const Sheet expected{{{{0, 0}, 7.0}, {{0, 1}, QStringLiteral("новое")}}, {}, {}};
    const QJsonObject sheet = onlySheet(saveAndRead(writer, path(QStringLiteral("replace.xls"))));
    EXPECT_EQ(differences(expected, sheet), QStringList());
    EXPECT_EQ(sheet[QStringLiteral("nrows")].toInt(), 1);
}

TEST_F(XlsWriterTest, TextOverCellLimitIsCut)
{
    const QString longText(40000, QChar(u'ж'));
    const QString pairAtLimit = QString(xls::XlsWriter::MaxTextLength - 1, QChar(u'ж')) + QStringLiteral("😀");
    const struct {
        QString text;
        QString kept;
    } cases[] = {
        {longText, longText.left(xls::XlsWriter::MaxTextLength)},
        {pairAtLimit, pairAtLimit.left(xls::XlsWriter::MaxTextLength - 1)}, // never half a pair
    };
    xls::XlsWriter writer(QStringLiteral("Длинный"));
    Sheet expected;
    for (int row = 0; row < int(std::size(cases)); ++row) {
        writer.setCell(row, 0, cases[row].text);
        expected.cells[{row, 0}] = cases[row].kept;
    }
    const QJsonObject sheet = onlySheet(saveAndRead(writer, path(QStringLiteral("long.xls"))));
    EXPECT_EQ(differences(expected, sheet), QStringList());
}

TEST_F(XlsWriterTest, CellsOutsideTheSheetThrow)
{
    xls::XlsWriter writer(QStringLiteral("Лист"));
    const Position outside[] = {{-1, 0}, {0, -1}, {xls::XlsWriter::MaxRows, 0}, {0, xls::XlsWriter::MaxColumns}};
    for (const auto &[row, column] : outside) {
        SCOPED_TRACE(testing::Message() << row << "," << column);
        EXPECT_THROW(writer.setCell(row, column, 1.0), std::out_of_range);
        EXPECT_THROW(writer.setCell(row, column, QStringLiteral("x")), std::out_of_range);
        EXPECT_THROW(writer.setCell(row, column, QString()), std::out_of_range);
    }
    EXPECT_THROW(writer.setRowBold(xls::XlsWriter::MaxRows), std::out_of_range);
    EXPECT_THROW(writer.setColumnWidth(xls::XlsWriter::MaxColumns, 10), std::out_of_range);
}

QStringList listing(const QString &root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << it.next();
    entries.sort();
    return entries;
}

TEST_F(XlsWriterTest, FailedSaveNamesTheFileAndLeavesNothing)
{
    ASSERT_TRUE(dir.isValid());
    QFile plain(path(QStringLiteral("plain.txt")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("existing folder")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("read-only")));
    QFile::setPermissions(path(QStringLiteral("read-only")), QFile::ReadOwner | QFile::ExeOwner);
    const bool permissionsApply = geteuid() != 0;

    xls::XlsWriter writer(QStringLiteral("Лист"));
    writer.setCell(0, 0, QStringLiteral("данные"));
    const struct {
        const char *what;
        QString target;
    } cases[] = {
        {"missing folder", path(QStringLiteral("нет такой/отчёт.xls"))},
        {"folder is a file", path(QStringLiteral("plain.txt/отчёт.xls"))},
        {"target is a folder", path(QStringLiteral("existing folder"))},
        {"read-only folder", path(QStringLiteral("read-only/отчёт.xls"))},
    };
    const QStringList before = listing(dir.path());
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        if (QByteArrayView(c.what) == "read-only folder" && !permissionsApply)
            continue; // root writes anywhere
        try {
            writer.save(c.target);
            ADD_FAILURE() << "save succeeded";
        } catch (const std::runtime_error &e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QDir::toNativeSeparators(c.target))) << e.what();
        }
        EXPECT_EQ(listing(dir.path()), before);
    }
}

TEST_F(XlsWriterTest, SaveReplacesAnEarlierFile)
{
    const QString target = path(QStringLiteral("отчёт.xls"));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'z'));
    old.close();

    xls::XlsWriter writer(QStringLiteral("Лист"));
    writer.setCell(0, 0, QStringLiteral("новый"));
    const QJsonObject sheet = onlySheet(saveAndRead(writer, target));
    EXPECT_EQ(differences(Sheet{{{{0, 0}, QStringLiteral("новый")}}, {}, {}}, sheet), QStringList());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("отчёт.xls")});
}

// LibreOffice is a second, independent reader; it is not installed for the tests.
QString libreOffice()
{
    for (const char *name : {"soffice", "libreoffice"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

// Fields of one CSV line as LibreOffice writes them: comma-separated, text in quotes.
QStringList csvFields(const QString &line)
{
    QStringList fields{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted && c == u'"' && i + 1 < line.size() && line[i + 1] == u'"')
            fields.back() += line[++i];
        else if (c == u'"')
            quoted = !quoted;
        else if (c == u',' && !quoted)
            fields << QString();
        else
            fields.back() += c;
    }
    return fields;
}

TEST_F(XlsWriterTest, LibreOfficeReadsTheSameCells)
{
    const QString office = libreOffice();
    if (office.isEmpty())
        GTEST_SKIP() << "LibreOffice is not on PATH; xlrd alone checked the files";

    const Sheet expected = priceList();
    xls::XlsWriter writer(QStringLiteral("Прайс-лист"));
    fill(writer, expected);
    const QString xls = path(QStringLiteral("price.xls"));
    writer.save(xls);

    QProcess convert;
    convert.start(office,
                  {QStringLiteral("-env:UserInstallation=file://") + path(QStringLiteral("profile")),
                   QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                   QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"), QStringLiteral("--outdir"), dir.path(),
                   xls});
    ASSERT_TRUE(convert.waitForFinished(180000)) << convert.errorString().toStdString();
    QFile csv(path(QStringLiteral("price.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly)) << convert.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(csv.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);

    ASSERT_EQ(lines.size(), usedRows(expected));
    for (const auto &[at, value] : expected.cells) {
        SCOPED_TRACE(testing::Message() << at.first << "," << at.second);
        const QStringList fields = csvFields(lines[at.first].trimmed());
        ASSERT_LT(at.second, fields.size());
        if (const auto *text = std::get_if<QString>(&value))
            EXPECT_EQ(fields[at.second], *text);
        else
            EXPECT_DOUBLE_EQ(fields[at.second].toDouble(), std::get<double>(value));
    }
}

} // namespace
