#include "tests/support/OrderFixtures.h"

#include "ordering/OrderArchive.h"
#include "ordering/OrderAssociation.h"
#include "ordering/OrderCreation.h"
#include "ordering/OrderError.h"
#include "ordering/OrderPricing.h"
#include "ordering/OrderWorkCopy.h"

#include "config/IniFile.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace ordering;
using namespace kx::testsupport;

namespace {

const QDateTime kNow(QDate(2008, 3, 10), QTime(14, 30));

TEST(OrderAssociation, ValuesAreLowerCasedBeforeTheyAreRead)
{
    using S = OrderAssociation::Source;
    struct Case {
        const char *value;
        S source;
        const char *field;
    } cases[] = {
        {"", S::PriceTableField, "Qnt"}, // missing key: the same-named field
        {"  ", S::PriceTableField, "Qnt"},
        {"Zak", S::PriceTableField, "zak"},
        {"CODEPST", S::PriceTableField, "codepst"},
        {"@номер заказа", S::OrderNumber, ""},
        {"@Дата", S::Date, ""},
        {"@ЦЕНА", S::Price, ""},
        {"@Получатель", S::Consignee, ""},
        {"@код получателя", S::ConsigneeId, ""},
        {"@Код Наценки", S::MarkupId, ""},
        {"@КОММЕНТАРИЙ", S::Comment, ""},
        {"?Zak", S::Nothing, ""},
        {"@unknown", S::Nothing, ""},
        {"@", S::Nothing, ""},
    };
    for (const Case &c : cases) {
        const OrderAssociation a = associationOf(QString::fromUtf8(c.value), QStringLiteral("Qnt"));
        EXPECT_EQ(a.source, c.source) << c.value;
        if (c.source == S::PriceTableField) {
            EXPECT_EQ(a.field, QString::fromUtf8(c.field)) << c.value;
        }
    }
}

TEST(OrderFileName, NoSeparatorsNoLeadingZeros)
{
    EXPECT_EQ(orderFileName(QStringLiteral("/o/"), 1234, 17), QStringLiteral("/o/Z1234_17.dbf"));
    EXPECT_EQ(orderFileName(QStringLiteral("/o"), 5, 1), QStringLiteral("/o/Z5_1.dbf"));
}

// An installation with a price table open in order mode, as the window has it.
class OrderCreationTest : public ::testing::Test {
public: // the failure cases arrange the fixture from lambdas
    void SetUp() override
    {
        createArchive(inst.archive(), headers);
        createTemplate(inst.program());
    }
    void openPrices(const std::vector<PriceRow> &rows)
    {
        const QString path = inst.price() + QStringLiteral("price.dbf");
        createPriceTable(path, rows);
        prices = std::make_unique<tables::Table>(path);
        prices->open();
        prices->setFilter(QStringLiteral("Zak<>0"));
        prices->setFiltered(true);
        prices->first();
        pricing = std::make_unique<OrderPricing>(*prices, QStringLiteral("Price1"));
        pricing->attach();
        pricing->RecountTotals();
    }
    std::vector<PriceRow> threeRows()
    {
        return {{.name = QStringLiteral("Анальгин"), .zak = 2, .price1 = 10.5, .code = 101},
                {.name = QStringLiteral("Бинт"), .price1 = 3, .code = 102},
                {.name = QStringLiteral("Вата"), .zak = 1, .price1 = 4, .code = 103},
                {.name = QStringLiteral("Грелка"), .zak = 3, .price1 = 0.125, .code = 104}};
    }
    void association(const QString &field, const QString &value)
    {
        config::IniFile(inst.program() + QStringLiteral("Order.ini"))
            .writeString(QStringLiteral("Association"), field, value);
    }
    OrderInput input()
    {
        OrderInput in;
        in.prices = prices.get();
        in.priceField = pricing->priceField();
        in.message = message;
        in.consignee = QStringLiteral("Аптека №1");
        in.consigneeId = 12;
        in.markupId = 3;
        in.subCustomerId = 5;
        in.programFolder = inst.program();
        in.archiveFolder = inst.archive();
        in.ordersFolder = inst.orders();
        in.now = kNow;
        return in;
    }
    // Empties the installation and lays it out again.
    void reset()
    {
        prices.reset();
        for (const QString &f : {inst.program(), inst.archive(), inst.orders(), inst.price()}) {
            QDir(f).removeRecursively();
            QDir().mkpath(f);
        }
        SetUp();
    }
    std::vector<StoredRecord> headerRows() { return readAll(inst.archive() + QStringLiteral("Archiv.dbf")); }
    std::vector<StoredRecord> positionRows() { return readAll(inst.archive() + QStringLiteral("ArchivPos.dbf")); }
    int quantitiesInView() { return int(prices->visibleRecords().size()); }
    QString workCopy() { return inst.program() + QStringLiteral("orderN.dbf"); }

    // Expects CreateOrder to fail with a message holding every part.
    void expectFailure(const QStringList &parts)
    {
        try {
            CreateOrder(input());
            ADD_FAILURE() << "no error";
        } catch (const OrderError &e) {
            for (const QString &p : parts)
                EXPECT_TRUE(e.message().contains(p)) << e.message().toStdString() << " lacks " << p.toStdString();
        }
    }

    Installation inst;
    std::vector<ArchiveHeader> headers;
    std::unique_ptr<tables::Table> prices;
    std::unique_ptr<OrderPricing> pricing;
    QString message;
};

TEST_F(OrderCreationTest, FirstOrderArchivesHeaderAndPositionsAndClearsTheOrder)
{
    openPrices(threeRows());
    const CreatedOrder created = CreateOrder(input());
    EXPECT_EQ(created.number, 1);
    EXPECT_EQ(created.archiveId, 1);
    EXPECT_EQ(created.positions, 3);
    EXPECT_EQ(created.filePath, inst.orders() + QStringLiteral("Z5_1.dbf"));
    EXPECT_TRUE(QFileInfo::exists(created.filePath));
    EXPECT_FALSE(QFileInfo::exists(workCopy()));

    const auto header = headerRows();
    ASSERT_EQ(header.size(), 1u);
    EXPECT_EQ(header[0].at("IDROW").toInt(), 1);
    EXPECT_EQ(header[0].at("NUMZ").toInt(), 1);
    EXPECT_EQ(header[0].at("DATEZ").toDate(), kNow.date());
    EXPECT_DOUBLE_EQ(header[0].at("SUMMA").toDouble(), 25.38); // 25.375 in a field of 2 decimals
    EXPECT_EQ(header[0].at("PODR").toString(), QStringLiteral("Аптека №1"));
    EXPECT_EQ(header[0].at("YEAR").toInt(), 2008);
    EXPECT_EQ(header[0].at("MONTH").toInt(), 3);

    const auto pos = positionRows();
    ASSERT_EQ(pos.size(), 3u);
    const QStringList names{QStringLiteral("Анальгин"), QStringLiteral("Вата"), QStringLiteral("Грелка")};
    const double prices1[] = {10.5, 4, 0.125};
    const double quantities[] = {2, 1, 3};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(pos[i].at("IDROW").toInt(), i + 1);
        EXPECT_EQ(pos[i].at("PARENT").toInt(), 1);
        EXPECT_EQ(pos[i].at("NAME").toString(), names[i]);
        EXPECT_DOUBLE_EQ(pos[i].at("PRICE").toDouble(), prices1[i]);
        EXPECT_DOUBLE_EQ(pos[i].at("QNT").toDouble(), quantities[i]);
        EXPECT_EQ(pos[i].at("DRUG").toInt(), i == 0 ? 101 : 102 + i);
        EXPECT_EQ(pos[i].at("CNTR").toString(), QStringLiteral("Россия"));
    }

    EXPECT_EQ(quantitiesInView(), 0);
    // Every post rounds to cents: half cents may leave one behind.
    EXPECT_NEAR(pricing->orderSum(), 0, 0.0101);
    EXPECT_EQ(pricing->positionCount(), 0);
}

TEST_F(OrderCreationTest, NumbersRestartYearlyAndIdsKeepGrowing)
{
    struct Case {
        std::vector<ArchiveHeader> archive;
        int id;
        int number;
    } cases[] = {
        {{}, 1, 1},
        {{{40, 56, QDate(2007, 12, 1)}, {41, 57, QDate(2007, 12, 30)}}, 42, 1},
        {{{41, 57, QDate(2008, 1, 3)}}, 42, 58},
        {{{9, 3, QDate()}}, 10, 1}, // an empty date is another year
    };
    for (const Case &c : cases) {
        QFile::remove(inst.archive() + QStringLiteral("Archiv.dbf"));
        QFile::remove(inst.archive() + QStringLiteral("ArchivPos.dbf"));
        createArchive(inst.archive(), c.archive);
        OrderArchive archive(inst.archive());
        const ArchiveNumbers next = archive.nextNumbers(kNow);
        EXPECT_EQ(next.id, c.id);
        EXPECT_EQ(next.number, c.number);
    }
}

TEST_F(OrderCreationTest, PositionIdsFollowTheLastPosition)
{
    openPrices(threeRows());
    CreateOrder(input());
    prices->setFiltered(false);
    prices->first();
    prices->edit();
    prices->field(QStringLiteral("Zak")).setFloat(4);
    prices->post();
    prices->setFiltered(true);
    const CreatedOrder second = CreateOrder(input());
    EXPECT_EQ(second.number, 2);
    EXPECT_EQ(second.filePath, inst.orders() + QStringLiteral("Z5_2.dbf"));
    const auto pos = positionRows();
    ASSERT_EQ(pos.size(), 4u);
    EXPECT_EQ(pos[3].at("IDROW").toInt(), 4);
    EXPECT_EQ(pos[3].at("PARENT").toInt(), 2);
}

TEST_F(OrderCreationTest, PositionsEnterAnExistingProductionIndex)
{
    {
        // The archive window's statistics tag, made before any order.
        tables::Table positions(inst.archive() + "ArchivPos.dbf");
        positions.addIndexDef(QStringLiteral("Statist"), QStringLiteral("Drug"));
        positions.open();
    }
    openPrices(threeRows());
    CreateOrder(input());
    tables::Table positions(inst.archive() + "ArchivPos.dbf");
    positions.setIndexName(QStringLiteral("Statist"));
    positions.open();
    ASSERT_TRUE(positions.indexTagNames().contains(QStringLiteral("STATIST"), Qt::CaseInsensitive));
    ASSERT_TRUE(positions.locate(QStringLiteral("Drug"), 103));
    EXPECT_EQ(positions.field(QStringLiteral("Name")).asString(), QStringLiteral("Вата"));
    std::vector<int> drugs;
    for (positions.first(); !positions.eof(); positions.next())
        drugs.push_back(int(positions.field(QStringLiteral("Drug")).asInteger()));
    EXPECT_EQ(drugs, (std::vector<int>{101, 103, 104}));
}

TEST_F(OrderCreationTest, TemplateFieldsAreFilledByTheirAssociation)
{
    association(QStringLiteral("NumZ"), QStringLiteral("@Номер заказа"));
    association(QStringLiteral("DateZ"), QStringLiteral("@ДАТА"));
    association(QStringLiteral("CodePst"), QString()); // blank: the same-named field
    association(QStringLiteral("PayID"), QStringLiteral("@код наценки"));
    association(QStringLiteral("Date"), QStringLiteral("?"));
    association(QStringLiteral("Podr"), QStringLiteral("@получатель"));
    association(QStringLiteral("Qnt"), QStringLiteral("ZAK"));
    association(QStringLiteral("Price"), QStringLiteral("@цена"));
    association(QStringLiteral("PodrCD"), QStringLiteral("@Код получателя"));
    association(QStringLiteral("Comment"), QStringLiteral("@прочее"));
    // Name has no key: the price table's Name.
    openPrices(threeRows());
    const CreatedOrder created = CreateOrder(input());
    const auto rows = readAll(created.filePath);
    ASSERT_EQ(rows.size(), 3u);
    const StoredRecord &r = rows[1];
    EXPECT_EQ(r.at("NUMZ").toInt(), 1);
    EXPECT_EQ(r.at("DATEZ").toDate(), kNow.date());
    EXPECT_EQ(r.at("CODEPST").toInt(), 103);
    EXPECT_EQ(r.at("PAYID").toInt(), 3);
    EXPECT_TRUE(r.at("DATE").isNull());
    EXPECT_EQ(r.at("PODR").toString(), QStringLiteral("Аптека №1"));
    EXPECT_DOUBLE_EQ(r.at("QNT").toDouble(), 1);
    EXPECT_DOUBLE_EQ(r.at("PRICE").toDouble(), 4);
    EXPECT_EQ(r.at("PODRCD").toInt(), 12);
    EXPECT_TRUE(r.at("COMMENT").isNull());
    EXPECT_EQ(r.at("NAME").toString(), QStringLiteral("Вата"));
}

TEST_F(OrderCreationTest, WithoutOrderIniEveryFieldTakesTheSameNamedOne)
{
    openPrices(threeRows());
    const auto rows = readAll(CreateOrder(input()).filePath);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].at("CODEPST").toInt(), 101);
    EXPECT_DOUBLE_EQ(rows[0].at("QNT").toDouble(), 0); // the price table's Qnt is empty
    EXPECT_TRUE(rows[0].at("PRICE").isNull()); // no field "Price" in the price table
    EXPECT_TRUE(rows[0].at("NUMZ").isNull());
    EXPECT_EQ(rows[2].at("NAME").toString(), QStringLiteral("Грелка"));
}

TEST_F(OrderCreationTest, MessageIsSpreadFiftyCharactersPerRow)
{
    QString text;
    for (int i = 0; i < 120; ++i)
        text += QChar(u'а' + i % 32);
    struct Case {
        int rows;
        std::vector<QString> comments;
    } cases[] = {
        {3, {text.left(50), text.mid(50, 50), text.mid(100)}},
        {2, {text.left(50), text.mid(50, 50)}}, // the rest is dropped
    };
    association(QStringLiteral("Comment"), QStringLiteral("@комментарий"));
    for (const Case &c : cases) {
        auto rows = threeRows();
        if (c.rows == 2)
            rows[2].zak.reset();
        prices.reset();
        QFile::remove(inst.price() + QStringLiteral("price.dbf"));
        openPrices(rows);
        message = text;
        const auto written = readAll(CreateOrder(input()).filePath);
        ASSERT_EQ(written.size(), c.comments.size());
        for (std::size_t i = 0; i < written.size(); ++i)
            EXPECT_EQ(written[i].at("COMMENT").toString(), c.comments[i]) << c.rows << " " << i;
    }
}

TEST_F(OrderCreationTest, EmptyViewStillArchivesAHeaderAndWritesAnEmptyFile)
{
    openPrices({{.name = QStringLiteral("A"), .price1 = 1}});
    const CreatedOrder created = CreateOrder(input());
    EXPECT_EQ(created.positions, 0);
    EXPECT_TRUE(readAll(created.filePath).empty());
    ASSERT_EQ(headerRows().size(), 1u);
    EXPECT_DOUBLE_EQ(headerRows()[0].at("SUMMA").toDouble(), 0);
    EXPECT_TRUE(positionRows().empty());
}

TEST_F(OrderCreationTest, OnlyRowsWithAQuantityAreOrderedInAnyView)
{
    openPrices({{.name = QStringLiteral("A"), .zak = 1, .price1 = 1, .newFlag = 1},
                {.name = QStringLiteral("B"), .price1 = 1, .newFlag = 1},
                {.name = QStringLiteral("C"), .zak = 0, .price1 = 1, .newFlag = 1}});
    prices->setFilter(QStringLiteral("NewFlg=1"));
    const CreatedOrder created = CreateOrder(input());
    EXPECT_EQ(created.positions, 1);
    EXPECT_EQ(readAll(created.filePath).size(), 1u);
}

// The archived sum is that of the archived positions, also where the view
// (the new arrivals) shows fewer ordered rows than the window's sum counts.
TEST_F(OrderCreationTest, ArchivedSumIsTheSumOfTheArchivedPositions)
{
    const struct {
        const char *filter;
        double sum;
    } cases[] = {{"Zak<>0", 14.6}, {"NewFlg=1", 2.6}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.filter);
        reset();
        openPrices({{.name = QStringLiteral("A"), .zak = 2, .price1 = 1.25, .newFlag = 1},
                    {.name = QStringLiteral("B"), .zak = 3, .price1 = 4},
                    {.name = QStringLiteral("C"), .price1 = 9, .newFlag = 1},
                    {.name = QStringLiteral("D"), .zak = 1, .price1 = 0.1, .newFlag = 1}});
        prices->setFilter(QString::fromLatin1(c.filter));
        prices->first();
        CreateOrder(input());
        double positions = 0;
        for (const StoredRecord &p : positionRows())
            positions += p.at("QNT").toDouble() * p.at("PRICE").toDouble();
        EXPECT_NEAR(positions, c.sum, 1e-9);
        EXPECT_DOUBLE_EQ(headerRows().at(0).at("SUMMA").toDouble(), c.sum);
    }
}

// Each failure found before writing leaves no archive row, no order file and
// every quantity in place, and says which file is the cause.
TEST_F(OrderCreationTest, ChecksStopBeforeAnythingIsWritten)
{
    struct Case {
        const char *what;
        std::function<void(OrderCreationTest &)> arrange;
        std::function<QStringList(OrderCreationTest &)> message;
    } cases[] = {
        {"template missing", [](OrderCreationTest &t) { QFile::remove(t.inst.program() + "order.dbf"); },
         [](OrderCreationTest &t) {
             return QStringList{t.inst.program() + "order.dbf", "Заказ не сформирован"};
         }},
        {"archive missing", [](OrderCreationTest &t) { QFile::remove(t.inst.archive() + "ArchivPos.dbf"); },
         [](OrderCreationTest &t) {
             return QStringList{"Не найден файл", t.inst.archive() + "ArchivPos.dbf"};
         }},
        {"order file exists",
         [](OrderCreationTest &t) {
             QFile f(t.inst.orders() + "z5_1.DBF");
             f.open(QIODevice::WriteOnly);
             f.write("earlier");
         },
         [](OrderCreationTest &t) {
             return QStringList{t.inst.orders() + "Z5_1.dbf", "уже существует"};
         }},
        {"filled copy of an earlier order",
         [](OrderCreationTest &t) {
             QFile::copy(t.inst.program() + "order.dbf", t.workCopy());
             tables::Table w(t.workCopy());
             w.open();
             w.append();
             w.field(QStringLiteral("NumZ")).setInteger(77);
             w.post();
         },
         [](OrderCreationTest &t) {
             return QStringList{t.workCopy(), "Перенесите"};
         }},
        {"no sub-customer", [](OrderCreationTest &) {},
         [](OrderCreationTest &) { return QStringList{"SubCustomer.dbf"}; }},
        {"price field missing", [](OrderCreationTest &) {},
         [](OrderCreationTest &) { return QStringList{"нет поля Price7"}; }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        reset();
        openPrices(threeRows());
        c.arrange(*this);
        const QByteArray earlierFile = [&] {
            QFile f(inst.orders() + "z5_1.DBF");
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        OrderInput in = input();
        if (QString(c.what) == "no sub-customer")
            in.subCustomerId = -1;
        if (QString(c.what) == "price field missing")
            in.priceField = QStringLiteral("Price7");
        try {
            CreateOrder(in);
            ADD_FAILURE() << "no error";
        } catch (const OrderError &e) {
            for (const QString &p : c.message(*this))
                EXPECT_TRUE(e.message().contains(p)) << e.message().toStdString();
        }
        if (QFileInfo::exists(inst.archive() + "Archiv.dbf")) {
            EXPECT_TRUE(headerRows().empty());
        }
        EXPECT_FALSE(QFileInfo::exists(inst.orders() + "Z5_1.dbf"));
        QFile earlier(inst.orders() + "z5_1.DBF");
        if (earlier.open(QIODevice::ReadOnly)) {
            EXPECT_EQ(earlier.readAll(), earlierFile) << "an order file was replaced";
        }
        EXPECT_EQ(quantitiesInView(), 3);
    }
}

TEST_F(OrderCreationTest, EmptyCopyLeftBehindIsReplacedByAFreshOne)
{
    QFile::copy(inst.program() + "order.dbf", workCopy());
    openPrices(threeRows());
    EXPECT_EQ(readAll(CreateOrder(input()).filePath).size(), 3u);
    EXPECT_FALSE(QFileInfo::exists(workCopy()));
}

TEST_F(OrderCreationTest, FillFailureWritesNothingToTheArchive)
{
    QFile::remove(inst.program() + "order.dbf");
    createTemplate(inst.program(), {{QStringLiteral("Qnt"), tables::FieldKind::Integer, 1}});
    association(QStringLiteral("Qnt"), QStringLiteral("Zak"));
    openPrices({{.name = QStringLiteral("A"), .zak = 12, .price1 = 1}});
    expectFailure({workCopy(), "В архив ничего не записано", "Заказ не сформирован"});
    EXPECT_TRUE(headerRows().empty());
    EXPECT_FALSE(QFileInfo::exists(workCopy()));
    EXPECT_EQ(quantitiesInView(), 1);
}

TEST_F(OrderCreationTest, ArchiveFailureTellsWhatTheArchiveHolds)
{
    QFile::remove(inst.archive() + "Archiv.dbf");
    QFile::remove(inst.archive() + "ArchivPos.dbf");
    auto fields = archivePositionFields();
    fields[3] = {QStringLiteral("Qnt"), tables::FieldKind::Integer, 1}; // too small for 12
    createArchive(inst.archive(), {}, fields);
    openPrices(
        {{.name = QStringLiteral("A"), .zak = 2, .price1 = 1}, {.name = QStringLiteral("B"), .zak = 12, .price1 = 1}});
    expectFailure(
        {"№ 1", "1 из 2", inst.archive() + "Archiv.dbf", "Файл заказа не создан", "количества в заказе сохранены"});
    EXPECT_EQ(headerRows().size(), 1u);
    EXPECT_FALSE(QFileInfo::exists(inst.orders() + "Z5_1.dbf"));
    EXPECT_FALSE(QFileInfo::exists(workCopy()));
    EXPECT_EQ(quantitiesInView(), 2);
}

TEST_F(OrderCreationTest, FailedMoveKeepsTheFilledCopyAndTheQuantities)
{
    // Nothing can be created in /proc, not even by root.
    if (!QFileInfo(QStringLiteral("/proc")).isDir())
        GTEST_SKIP() << "no /proc";
    openPrices(threeRows());
    OrderInput in = input();
    in.ordersFolder = QStringLiteral("/proc/");
    try {
        CreateOrder(in);
        ADD_FAILURE() << "no error";
    } catch (const OrderError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("записан в архив"))) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(workCopy())) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QStringLiteral("/proc/Z5_1.dbf"))) << e.message().toStdString();
    }
    EXPECT_EQ(headerRows().size(), 1u);
    EXPECT_EQ(readAll(workCopy()).size(), 3u);
    EXPECT_EQ(quantitiesInView(), 3);
    // The next order refuses to overwrite that copy.
    in.ordersFolder = inst.orders();
    expectFailure({workCopy()});
    EXPECT_EQ(readAll(workCopy()).size(), 3u);
}

} // namespace
