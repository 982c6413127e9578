// kxdbf genprice: a realistic price list for benchmarks (cp866 without mark).
#include "kxdbf_command.h"

#include "tables/Table.h"
#include "tables/TableCreate.h"

#include <QDate>

#include <random>

namespace kxdbf {
namespace {

const char16_t *const kDrugs[] = {u"Аспирин",         u"Анальгин",     u"Амоксициллин",
                                  u"Ацикловир",       u"Валидол",      u"Валериана",
                                  u"Диклофенак",      u"Ибупрофен",    u"Кагоцел",
                                  u"Корвалол",        u"Лоратадин",    u"Мезим форте",
                                  u"Нафтизин",        u"Но-шпа",       u"Омепразол",
                                  u"Парацетамол",     u"Пенталгин",    u"Ранитидин",
                                  u"Смекта",          u"Супрастин",    u"Терафлю",
                                  u"Фестал",          u"Фурацилин",    u"Цитрамон",
                                  u"Энтерофурил",     u"Арбидол",      u"Бисопролол",
                                  u"Гептрал",         u"Дротаверин",   u"Ингавирин",
                                  u"Кетонал",         u"Лизиноприл",   u"Метформин",
                                  u"Нурофен",         u"Панангин",     u"Регидрон",
                                  u"Сумамед",         u"Троксевазин",  u"Уголь активированный",
                                  u"Флемоксин",       u"Хлоргексидин", u"Эналаприл",
                                  u"Aspirin Cardio",  u"Omeprazole",   u"Paracetamol",
                                  u"Ibuprofen",       u"Loratadine",   u"Amoxicillin",
                                  u"Nurofen Express", u"Tantum Verde"};
const char16_t *const kForms[] = {u"табл.", u"табл. п/о",    u"капс.",      u"сироп",       u"р-р д/ин.",  u"мазь",
                                  u"гель",  u"капли глазн.", u"спрей наз.", u"пор. д/р-ра", u"супп. рект."};
const char16_t *const kDoses[] = {u"5мг",   u"10мг", u"20мг", u"50мг", u"100мг", u"250мг",
                                  u"500мг", u"1г",   u"2%",   u"5%",   u"100мл", u"200мл"};
const char16_t *const kPacks[] = {u"№10", u"№20", u"№30", u"№50", u"№100", u"фл.", u"туба", u"амп. №5"};
const char16_t *const kFirms[] = {
    u"Фармстандарт",   u"Озон ООО", u"Bayer AG", u"Гедеон Рихтер", u"ОАО Биосинтез", u"Татхимфармпрепараты",
    u"KRKA",           u"Sandoz",   u"Валента",  u"Верофарм",      u"Sanofi",        u"Teva",
    u"Материа Медика", u"Полисан",  u"Акрихин"};
const char16_t *const kCountries[] = {u"РОССИЯ",  u"Германия", u"ВЕНГРИЯ",   u"Индия",   u"Словения",
                                      u"ФРАНЦИЯ", u"Израиль",  u"Швейцария", u"Беларусь"};

template <size_t N> QString pick(const char16_t *const (&list)[N], std::mt19937 &rng)
{
    return QString::fromUtf16(list[std::uniform_int_distribution<size_t>(0, N - 1)(rng)]);
}

int genprice(const QStringList &args)
{
    if (args.isEmpty() || args.size() > 3)
        usageError(QStringLiteral("genprice needs FILE [ROWS [SEED]]"));
    const int rows = args.size() > 1 ? args[1].toInt() : 100000;
    std::mt19937 rng(args.size() > 2 ? args[2].toUInt() : 42u);
    using tables::FieldKind;
    tables::FieldSpecs specs{
        {QStringLiteral("IDRow"), FieldKind::LargeInt, 10}, {QStringLiteral("CodePst"), FieldKind::LargeInt, 10},
        {QStringLiteral("Name"), FieldKind::String, 80},    {QStringLiteral("Firm"), FieldKind::String, 40},
        {QStringLiteral("Cntr"), FieldKind::String, 20},    {QStringLiteral("Qnt"), FieldKind::LargeInt, 10}};
    for (int i = 1; i <= 5; ++i)
        specs.push_back({QStringLiteral("Price%1").arg(i), FieldKind::Float, 12, 2});
    specs.push_back({QStringLiteral("ConstA"), FieldKind::Float, 10, 4});
    specs.push_back({QStringLiteral("ConstB"), FieldKind::Float, 10, 4});
    specs.push_back({QStringLiteral("NewFlg"), FieldKind::SmallInt, 1});
    specs.push_back({QStringLiteral("GDATE"), FieldKind::Date, 8});
    specs.push_back({QStringLiteral("Zak"), FieldKind::Float, 18, 8});
    tables::createTable(args[0], 4, specs, {.languageId = 0, .overwrite = true});
    tables::Table t(args[0]);
    t.open();
    auto percent = [&] { return std::uniform_int_distribution<int>(0, 99)(rng); };
    const QDate base(2024, 1, 1);
    for (int i = 1; i <= rows; ++i) {
        t.append();
        QString name =
            pick(kDrugs, rng) + u' ' + pick(kForms, rng) + u' ' + pick(kDoses, rng) + u' ' + pick(kPacks, rng);
        if (percent() < 30)
            name = name.toUpper();
        t.field(u"IDRow").setInteger(i);
        t.field(u"CodePst").setInteger(100000 + (std::int64_t(i) * 7919) % 900000);
        t.field(u"Name").setString(name);
        t.field(u"Firm").setString(pick(kFirms, rng));
        t.field(u"Cntr").setString(pick(kCountries, rng));
        if (percent() >= 3)
            t.field(u"Qnt").setInteger(std::uniform_int_distribution<int>(0, 999)(rng));
        const double price = std::uniform_int_distribution<int>(100, 500000)(rng) / 100.0;
        for (int p = 1; p <= 5; ++p)
            t.field(QStringLiteral("Price%1").arg(p)).setFloat(std::round(price * (100 + 10 * (p - 1))) / 100);
        t.field(u"ConstA").setFloat(1 + std::uniform_int_distribution<int>(0, 9999)(rng) / 10000.0);
        t.field(u"ConstB").setFloat(std::uniform_int_distribution<int>(0, 4999)(rng) / 10000.0);
        const int flag = percent();
        if (flag < 10)
            t.field(u"NewFlg").setInteger(1);
        else if (flag < 98)
            t.field(u"NewFlg").setInteger(0);
        if (percent() >= 5)
            t.field(u"GDATE").setDate(base.addDays(std::uniform_int_distribution<int>(0, 4 * 365)(rng)));
        if (percent() < 2) // about 2% of the rows are ordered
            t.field(u"Zak").setFloat(1 + std::uniform_int_distribution<int>(0, 39)(rng) / 2.0);
        t.post();
    }
    out(QStringLiteral("%1 records").arg(t.recordCount()));
    return 0;
}

Registrar genpriceCommand({QStringLiteral("genprice"), QStringLiteral("genprice FILE [ROWS [SEED]]"), genprice});

} // namespace
} // namespace kxdbf
