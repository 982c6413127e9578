#include "tests/support/OrderFixtures.h"

#include "ordering/OrderPrinting.h"
#include "ordering/Rounding.h"
#include "ordering_windows/PrintOrderAction.h"

#include "platform/PlatformError.h"
#include "platform/fake/FakePlatform.h"
#include "printing/CurrentPrinter.h"
#include "printing/PdfPrinter.h"
#include "printing/SystemPrinter.h"
#include "printing/fake/RecordingPrinter.h"

#include <QFile>
#include <QFontMetrics>
#include <QProcess>

#include <gtest/gtest.h>

using namespace ordering;
using namespace kx::testsupport;
using printing::fake::RecordedText;
using printing::fake::Recording;
using printing::fake::RecordingPrinter;

namespace {

const QDateTime kDate(QDate(2008, 3, 10), QTime(9, 15));
constexpr int kWidth = 4800;
constexpr int kHeight = 6800;
constexpr int kDpi = 600;

class PrintingTest : public ::testing::Test {
protected:
    void SetUp() override { path = dir.filePath(QStringLiteral("price.dbf")); }
    void openRows(const std::vector<PriceRow> &rows)
    {
        table.reset();
        QFile::remove(path);
        createPriceTable(path, rows);
        table = std::make_unique<tables::Table>(path);
        table->open();
    }
    PrintOrderInput input(int number = 0)
    {
        return {table.get(),
                number,
                QStringLiteral("Zak"),
                QStringLiteral("Price1"),
                QStringLiteral("Аптека №1"),
                QStringLiteral("Аптека-плательщик"),
                kDate};
    }
    const Recording &print(RecordingPrinter &printer, const PrintOrderInput &in)
    {
        PrintOrder(printer, in);
        EXPECT_EQ(printer.jobs.size(), 1u);
        EXPECT_TRUE(printer.jobs.back()->finished);
        return *printer.jobs.back();
    }
    // Width of a recorded text in the font it was drawn with.
    int widthOf(const RecordedText &t)
    {
        Recording scratch;
        printing::fake::RecordingDevice device(kWidth, kHeight, kDpi, scratch);
        return QFontMetrics(t.font, &device).horizontalAdvance(t.text);
    }
    int heightOf(const QFont &font)
    {
        Recording scratch;
        printing::fake::RecordingDevice device(kWidth, kHeight, kDpi, scratch);
        return QFontMetrics(font, &device).height();
    }
    static std::vector<RecordedText> textsStartingWith(const Recording &r, const QString &prefix)
    {
        std::vector<RecordedText> out;
        for (const RecordedText &t : r.texts)
            if (t.text.startsWith(prefix))
                out.push_back(t);
        return out;
    }
    static const RecordedText &only(const Recording &r, const QString &prefix)
    {
        static RecordedText none;
        for (const RecordedText &t : r.texts)
            if (t.text.startsWith(prefix))
                return t;
        ADD_FAILURE() << "no text " << prefix.toStdString();
        return none;
    }
    // Texts drawn in the Name column (x = 50) below the title box of the first page.
    static std::vector<RecordedText> nameLines(const Recording &r, int page = 0)
    {
        std::vector<RecordedText> out;
        for (const RecordedText &t : r.texts)
            if (t.page == page && int(t.baseline.x()) == 50 && t.font.pointSize() == 7)
                out.push_back(t);
        return out;
    }

    LocaleScope locale{russian()};
    QTemporaryDir dir;
    QString path;
    std::unique_ptr<tables::Table> table;
};

TEST_F(PrintingTest, HeaderLinesTitleAndBoxAreWhereTheLayoutSays)
{
    openRows({{.name = QStringLiteral("Анальгин"), .zak = 3, .price1 = 0.125}});
    RecordingPrinter printer(kWidth, kHeight, kDpi);
    const Recording &r = print(printer, input());

    const RecordedText &payerCaption = only(r, QStringLiteral("Плательщик:"));
    EXPECT_EQ(payerCaption.baseline.x(), 40);
    EXPECT_EQ(payerCaption.top, 20);
    EXPECT_EQ(payerCaption.font.pointSize(), 14);
    EXPECT_FALSE(payerCaption.font.bold());
    const RecordedText &payer = only(r, QStringLiteral("Аптека-плательщик"));
    const RecordedText &consignee = only(r, QStringLiteral("Аптека №1"));
    RecordedText probe = payerCaption;
    probe.text = QStringLiteral("Грузополучатель");
    const int valueLeft = 40 + widthOf(probe) + 100;
    EXPECT_EQ(payer.baseline.x(), valueLeft);
    EXPECT_EQ(consignee.baseline.x(), valueLeft);
    const int lineHeight = heightOf(payerCaption.font);
    EXPECT_EQ(consignee.top, 20 + lineHeight + 25);
    EXPECT_EQ(only(r, QStringLiteral("Грузополучатель: ")).top, consignee.top);

    const QString title =
        QStringLiteral("Заказ № _______ от ") + QLocale().toString(kDate.date(), QLocale::ShortFormat);
    const RecordedText &t = only(r, QStringLiteral("Заказ №"));
    EXPECT_EQ(t.text, title);
    EXPECT_TRUE(t.font.bold());
    EXPECT_EQ(t.top, consignee.top + lineHeight + 50);
    EXPECT_EQ(int(t.baseline.x()), (kWidth - widthOf(t)) / 2);

    const double scale = (kWidth - 80) / 1000.0;
    const int boxTop = t.top + heightOf(t.font) + 75;
    ASSERT_FALSE(r.rects.empty());
    EXPECT_EQ(r.rects[0].rect, QRectF(40, boxTop, kWidth - 80, 250));
    std::vector<int> separators;
    for (const auto &l : r.lines)
        if (l.line.y1() == boxTop && l.line.y2() == boxTop + 250)
            separators.push_back(int(l.line.x1()));
    EXPECT_EQ(separators,
              (std::vector<int>{40 + roundToInt(400 * scale), 40 + roundToInt(625 * scale),
                                40 + roundToInt(800 * scale), 40 + roundToInt(900 * scale)}));

    // Column titles centred in their columns and in the box, size 10, not bold.
    const RecordedText &nameTitle = only(r, QStringLiteral("Наименование"));
    EXPECT_EQ(nameTitle.font.pointSize(), 10);
    EXPECT_FALSE(nameTitle.font.bold());
    EXPECT_EQ(int(nameTitle.baseline.x()), 40 + (roundToInt(400 * scale) - widthOf(nameTitle)) / 2);
    EXPECT_EQ(nameTitle.top, boxTop + (250 - heightOf(nameTitle.font)) / 2);
    const RecordedText &priceTitle = only(r, QStringLiteral("Цена"));
    EXPECT_EQ(int(priceTitle.baseline.x()),
              40 + roundToInt(900 * scale) + (roundToInt(100 * scale) - widthOf(priceTitle)) / 2);

    // The first row starts under the box.
    ASSERT_EQ(nameLines(r).size(), 1u);
    EXPECT_EQ(nameLines(r)[0].top, boxTop + 250);
}

TEST_F(PrintingTest, TitleCarriesTheArchivedNumber)
{
    QTemporaryDir archive;
    createArchive(archive.path());
    tables::Table positions(archive.filePath(QStringLiteral("ArchivPos.dbf")));
    positions.open();
    positions.append();
    positions.field(QStringLiteral("Name")).setString(QStringLiteral("Бинт"));
    positions.field(QStringLiteral("Qnt")).setFloat(2);
    positions.field(QStringLiteral("Price")).setFloat(1.5);
    positions.post();
    RecordingPrinter printer(kWidth, kHeight, kDpi);
    const Recording &r = print(printer,
                               {&positions, 17, QStringLiteral("Qnt"), QStringLiteral("Price"),
                                QStringLiteral("Аптека №2"), QStringLiteral("П"), kDate});
    EXPECT_EQ(only(r, QStringLiteral("Заказ №")).text,
              QStringLiteral("Заказ № _17_ от ") + QLocale().toString(kDate.date(), QLocale::ShortFormat));
    EXPECT_EQ(only(r, QStringLiteral("Итого")).text, QStringLiteral("Итого: 3"));
}

TEST_F(PrintingTest, ArchivedOrderPrintsOnlyItsPositionsThroughTheLink)
{
    QTemporaryDir archive;
    createArchive(archive.path(), {{1, 16, QDate(2008, 3, 1)}, {2, 17, QDate(2008, 3, 2)}});
    {
        tables::Table positions(archive.filePath(QStringLiteral("ArchivPos.dbf")));
        positions.open();
        const int parents[] = {1, 2, 1, 2};
        for (int i = 0; i < 4; ++i) {
            positions.append();
            positions.field(QStringLiteral("IDRow")).setInteger(i + 1);
            positions.field(QStringLiteral("Parent")).setInteger(parents[i]);
            positions.field(QStringLiteral("Name")).setString(QStringLiteral("Позиция %1").arg(i + 1));
            positions.field(QStringLiteral("Qnt")).setFloat(i + 1);
            positions.field(QStringLiteral("Price")).setFloat(1);
            positions.post();
        }
    }
    tables::Table orders(archive.filePath(QStringLiteral("Archiv.dbf")));
    orders.open();
    tables::Table positions(archive.filePath(QStringLiteral("ArchivPos.dbf")));
    positions.addIndexDef(QStringLiteral("Detail"), QStringLiteral("Parent"));
    positions.setIndexName(QStringLiteral("Detail"));
    positions.open();
    positions.setMasterLink(&orders, QStringLiteral("IDRow"));
    orders.last();
    RecordingPrinter printer(kWidth, kHeight, kDpi);
    const Recording &r = print(printer,
                               {&positions, 17, QStringLiteral("Qnt"), QStringLiteral("Price"),
                                QStringLiteral("Аптека №2"), QStringLiteral("П"), kDate});
    std::vector<QString> names;
    for (const RecordedText &t : nameLines(r))
        names.push_back(t.text);
    EXPECT_EQ(names, (std::vector<QString>{QStringLiteral("Позиция 2"), QStringLiteral("Позиция 4")}));
    EXPECT_EQ(only(r, QStringLiteral("Итого")).text, QStringLiteral("Итого: 6"));
}

TEST_F(PrintingTest, RowsAreRuledNumbersRightAlignedAndTotalledUnrounded)
{
    openRows({{.name = QStringLiteral("Анальгин"), .zak = 3, .price1 = 0.125},
              {.name = QStringLiteral("Бинт"), .zak = 1, .price1 = 0.5},
              {.name = QStringLiteral("Вата"), .price1 = 2}});
    table->setFilter(QStringLiteral("Zak<>0"));
    table->setFiltered(true);
    table->last();
    const auto cursor = table->recNo();
    RecordingPrinter printer(kWidth, kHeight, kDpi);
    const Recording &r = print(printer, input());
    EXPECT_EQ(table->recNo(), cursor);

    const double scale = (kWidth - 80) / 1000.0;
    const std::vector<RecordedText> names = nameLines(r);
    ASSERT_EQ(names.size(), 2u);
    const int step = roundToInt(heightOf(names[0].font) * 1.1);
    EXPECT_EQ(names[1].top, names[0].top + step);

    // Each row: left border, bottom line and the five separators, the last closing the table.
    int cell = 40;
    std::vector<int> edges;
    for (int w : OrderPrintout::kWeights)
        edges.push_back(cell += roundToInt(w * scale));
    EXPECT_EQ(edges.back(), kWidth - 40);
    for (const RecordedText &row : names) {
        int verticals = 0;
        bool bottom = false;
        for (const auto &l : r.lines) {
            if (l.line.y1() == row.top && l.line.y2() == row.top + step
                && (l.line.x1() == 40 || std::count(edges.begin(), edges.end(), int(l.line.x1()))))
                ++verticals;
            if (l.line == QLineF(40, row.top + step, kWidth - 40, row.top + step))
                bottom = true;
        }
        EXPECT_EQ(verticals, 6);
        EXPECT_TRUE(bottom);
    }

    // Text starts 10 dots right of its cell's left line; numbers end 10 dots left of the right one.
    const RecordedText &firm = only(r, QStringLiteral("Фирма"));
    EXPECT_EQ(int(firm.baseline.x()), edges[0] + 10);
    const RecordedText &quantity = only(r, QStringLiteral("3"));
    EXPECT_EQ(int(quantity.baseline.x()) + widthOf(quantity), edges[3] - 10);
    EXPECT_EQ(quantity.top, names[0].top);
    const RecordedText &price = only(r, QStringLiteral("0,125"));
    EXPECT_EQ(int(price.baseline.x()) + widthOf(price), edges[4] - 10);

    const RecordedText &total = only(r, QStringLiteral("Итого: "));
    EXPECT_EQ(total.text, QStringLiteral("Итого: 0,875"));
    EXPECT_TRUE(total.font.bold());
    const int totalTop = names[1].top + step;
    EXPECT_EQ(total.top, totalTop);
    EXPECT_EQ(r.rects.back().rect, QRectF(edges[2], totalTop, edges[4] - edges[2], step));
    EXPECT_EQ(int(total.baseline.x()), roundToInt((200 * scale - widthOf(total)) / 2) + roundToInt(800 * scale) + 40);
}

TEST_F(PrintingTest, LongNameWrapsAndTheNextRowStartsBelowIt)
{
    QString name;
    while (name.size() < 230)
        name += QStringLiteral("ПЕНТАЛГИН таблетки ");
    name = name.trimmed();
    openRows({{.name = name, .zak = 1, .price1 = 1}, {.name = QStringLiteral("Бинт"), .zak = 1, .price1 = 1}});
    RecordingPrinter printer(kWidth, kHeight, kDpi);
    const Recording &r = print(printer, input());
    const std::vector<RecordedText> lines = nameLines(r);
    ASSERT_GE(lines.size(), 4u);
    const int step = roundToInt(heightOf(lines[0].font) * 1.1);
    QString joined;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        joined += lines[i].text;
        EXPECT_EQ(lines[i].top, lines[0].top + int(i) * step);
    }
    EXPECT_EQ(joined, name);
    const int rowLines = int(lines.size()) - 1;
    EXPECT_EQ(lines.back().text, QStringLiteral("Бинт"));
    EXPECT_EQ(lines.back().top, lines[0].top + rowLines * step);
    // The quantity stays on the row's first line.
    EXPECT_EQ(only(r, QStringLiteral("1")).top, lines[0].top);
}

TEST_F(PrintingTest, PagesBreakBeforeTheBottomEleventhAndRepeatTheHeader)
{
    std::vector<PriceRow> rows;
    for (int i = 0; i < 150; ++i)
        rows.push_back({.name = QStringLiteral("Позиция %1").arg(i), .zak = 1, .price1 = 1});
    openRows(rows);
    RecordingPrinter printer(kWidth, kHeight, kDpi);
    const Recording &r = print(printer, input());
    ASSERT_GE(r.pages, 2);
    EXPECT_EQ(int(textsStartingWith(r, QStringLiteral("Плательщик:")).size()), r.pages);
    EXPECT_EQ(int(textsStartingWith(r, QStringLiteral("Наименование")).size()), r.pages);
    int printed = 0;
    for (int page = 0; page < r.pages; ++page) {
        const std::vector<RecordedText> lines = nameLines(r, page);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(textsStartingWith(r, QStringLiteral("Позиция"))[printed].text, lines[0].text);
        printed += int(lines.size());
        const int step = roundToInt(heightOf(lines[0].font) * 1.1);
        for (const RecordedText &l : lines)
            EXPECT_LE(l.top + kHeight / 11.0, kHeight);
        if (page + 1 < r.pages) {
            EXPECT_GT(lines.back().top + step + kHeight / 11.0, kHeight);
        }
    }
    EXPECT_EQ(printed, 150);
    EXPECT_EQ(only(r, QStringLiteral("Итого")).page, r.pages - 1);
    EXPECT_EQ(only(r, QStringLiteral("Итого")).text, QStringLiteral("Итого: 150"));
}

TEST_F(PrintingTest, EmptyRowsPrintTheHeaderAndAZeroTotal)
{
    openRows({});
    RecordingPrinter printer(kWidth, kHeight, kDpi);
    const Recording &r = print(printer, input());
    EXPECT_EQ(r.pages, 1);
    EXPECT_EQ(textsStartingWith(r, QStringLiteral("Плательщик:")).size(), 1u);
    EXPECT_EQ(only(r, QStringLiteral("Итого")).text, QStringLiteral("Итого: 0"));
    ASSERT_EQ(r.rects.size(), 2u);
    EXPECT_EQ(r.rects[1].rect.top(), r.rects[0].rect.bottom());
}

TEST_F(PrintingTest, ColumnsTooNarrowForOneCharacterStillEnd)
{
    openRows({{.name = QStringLiteral("АБВГДЕЁЖЗИЙКЛМН"),
               .zak = 12345,
               .price1 = 123.25,
               .country = QStringLiteral("Великобритания")}});
    RecordingPrinter printer(300, kHeight, kDpi);
    const Recording &r = print(printer, input());
    // Cells are drawn column after column: their pieces in order spell every value.
    QString cells;
    for (const RecordedText &t : r.texts)
        if (t.font.pointSize() == 7 && !t.font.bold())
            cells += t.text;
    EXPECT_EQ(cells, QStringLiteral("АБВГДЕЁЖЗИЙКЛМНФирмаВеликобритания12345123,25"));
    EXPECT_TRUE(only(r, QStringLiteral("Итого")).text.startsWith(QStringLiteral("Итого: 1521521,25")));
}

TEST_F(PrintingTest, MissingFieldFailsBeforeTheJobBegins)
{
    openRows({{.name = QStringLiteral("A"), .zak = 1, .price1 = 1}});
    RecordingPrinter printer(kWidth, kHeight, kDpi);
    PrintOrderInput in = input();
    in.priceField = QStringLiteral("Price8");
    EXPECT_ANY_THROW(PrintOrder(printer, in));
    EXPECT_TRUE(printer.jobs.empty());
}

TEST_F(PrintingTest, NoPrinterIsAClearMessage)
{
    openRows({{.name = QStringLiteral("A"), .zak = 1, .price1 = 1}});
    auto printer = std::make_shared<RecordingPrinter>();
    printer->failure = QStringLiteral("Принтер не установлен.");
    try {
        PrintOrder(*printer, input());
        ADD_FAILURE() << "no error";
    } catch (const platform::PlatformError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Принтер не установлен."));
    }
    platform::fake::FakePlatform fakes;
    printing::PrinterOverride override(printer);
    printOrderOnSystemPrinter(input());
    EXPECT_EQ(fakes.messages().texts(), QStringList{QStringLiteral("Принтер не установлен.")});
}

TEST_F(PrintingTest, WithoutASystemPrinterTheUserMaySaveAPdf)
{
    if (printing::SystemPrinter::hasPrinter())
        GTEST_SKIP() << "a printer is installed";
    openRows({{.name = QStringLiteral("A"), .zak = 1, .price1 = 1}});
    platform::fake::FakePlatform fakes;
    const QString pdf = dir.filePath(QStringLiteral("order.pdf"));
    for (bool yes : {false, true}) {
        fakes.messages().answers = {yes};
        fakes.fileDialogs().files = {pdf};
        printOrderOnSystemPrinter(input());
        EXPECT_EQ(QFile::exists(pdf), yes);
    }
    ASSERT_EQ(fakes.messages().shown.size(), 2u);
    EXPECT_TRUE(fakes.messages().shown[0].text.startsWith(QStringLiteral("Принтер не установлен.")));
    EXPECT_EQ(fakes.messages().shown[0].kind, platform::fake::ShownMessage::Kind::Question);
}

#ifdef KX_PDFTOTEXT
TEST_F(PrintingTest, PdfReadsBackAsTheOrder)
{
    std::vector<PriceRow> rows{{.name = QStringLiteral("Анальгин"), .zak = 3, .price1 = 0.125},
                               {.name = QStringLiteral("Бинт"), .zak = 1, .price1 = 0.5}};
    for (int i = 0; i < 120; ++i)
        rows.push_back({.name = QStringLiteral("Позиция %1").arg(i), .zak = 0});
    openRows(rows);
    const QString pdf = dir.filePath(QStringLiteral("order.pdf"));
    printing::PdfPrinter printer(pdf);
    PrintOrder(printer, input());
    QProcess p;
    p.start(QStringLiteral(KX_PDFTOTEXT), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const QString &part :
         {QStringLiteral("Плательщик:"), QStringLiteral("Аптека-плательщик"), QStringLiteral("Заказ № _______ от"),
          QStringLiteral("Наименование"), QStringLiteral("Анальгин"), QStringLiteral("Позиция 119"),
          QStringLiteral("Итого: 0,875")})
        EXPECT_TRUE(text.contains(part)) << part.toStdString();
    EXPECT_GE(text.count(QStringLiteral("Плательщик:")), 2) << "a second page repeats the header";
}
#endif

} // namespace
