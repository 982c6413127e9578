#include "DemoSettings.h"

#include "config/IniFile.h"
#include "config/SettingsKeys.h"
#include "config/TableEntry.h"

#include <QStringList>

namespace demo {

namespace keys = config::keys;

namespace {

struct Column {
    const char *field;
    const char *title;
    bool visible;
    bool readOnly;
    bool key;
    int width;
};

// Writes a table's caption and the entries of its columns, in order.
void writeTable(const config::IniFile &ini, const QString &table, const QString &caption,
                std::initializer_list<Column> columns)
{
    ini.writeString(table, keys::kDBFCaption, caption);
    int position = 0;
    for (const Column &c : columns) {
        const QString field = QString::fromLatin1(c.field);
        config::TableEntry entry = config::TableEntry::defaultFor(field, ++position);
        entry.setItem(config::TableEntry::Title, QString::fromUtf8(c.title));
        entry.setItem(config::TableEntry::Visible, c.visible ? QStringLiteral("Y") : QStringLiteral("N"));
        entry.setItem(config::TableEntry::ReadOnly, c.readOnly ? QStringLiteral("Y") : QStringLiteral("N"));
        entry.setItem(config::TableEntry::Key, c.key ? QStringLiteral("Y") : QStringLiteral("N"));
        entry.setWidth(c.width);
        ini.writeString(table, field, entry.toString());
    }
}

const std::initializer_list<Column> kPriceColumns = {
    {"Name", "Наименование", true, true, false, 260}, {"Zak", "Заказ", true, false, false, 50},
    {"Price1", "Цена", true, true, false, 70},        {"Extra", "Наценка", true, true, false, 70},
    {"Qnt", "Остаток", true, true, false, 55},        {"Firm", "Производитель", true, true, false, 130},
    {"Cntr", "Страна", true, true, false, 80},        {"GDATE", "Срок годности", true, true, false, 80},
    {"CodePst", "Код", true, true, false, 60},        {"IDRow", "IDRow", false, true, true, 0},
    {"Price2", "Цена 2", false, true, false, 0},      {"Price3", "Цена 3", false, true, false, 0},
    {"Price4", "Цена 4", false, true, false, 0},      {"Price5", "Цена 5", false, true, false, 0},
    {"ConstA", "ConstA", false, true, false, 0},      {"ConstB", "ConstB", false, true, false, 0},
    {"NewFlg", "Новинка", false, true, false, 0},
};

} // namespace

void writeSettingsFile(const QString &fileName, const QDateTime &lastRefresh)
{
    const config::IniFile ini(fileName);
    ini.writeInteger(keys::kMain, keys::kTop, 60);
    ini.writeInteger(keys::kMain, keys::kLeft, 80);
    ini.writeInteger(keys::kMain, keys::kWidth, 960);
    ini.writeInteger(keys::kMain, keys::kHeight, 640);
    ini.writeBool(keys::kFtp, keys::kPassive, true);
    ini.writeDateTime(keys::kFtp, keys::kLastRefresh, lastRefresh);
    ini.writeString(keys::kFont, keys::kName, QStringLiteral("Tahoma"));
    ini.writeInteger(keys::kFont, keys::kSize, 8);
    ini.writeInteger(keys::kFont, keys::kColor, 0);
    ini.writeInteger(keys::kFont, keys::kStyle, 0);
    ini.writeString(keys::kOrderSection, keys::kActiveField, QStringLiteral("Price1"));
    ini.writeInteger(keys::kOrderSection, keys::kDeltaEx, 9);
    ini.writeInteger(keys::kPrescription, keys::kNumZ, 1);
}

void writeProperties(const QString &fileName, const QString &invoiceFileName)
{
    const config::IniFile ini(fileName);
    writeTable(ini, QStringLiteral("price.dbf"), QStringLiteral("Прайс-лист"), kPriceColumns);
    writeTable(ini, QStringLiteral("PriceN.dbf"), QStringLiteral("Прайс-лист наркотических средств"), kPriceColumns);
    writeTable(ini, QStringLiteral("SubCustomer.dbf"), QStringLiteral("Подразделения"),
               {{"IDRow", "Код", true, true, true, 50},
                {"Name", "Наименование", true, true, false, 280},
                {"ParentGet", "Получает пакеты", true, true, false, 100}});
    writeTable(ini, QStringLiteral("WorkScheme.dbf"), QStringLiteral("Наценки"),
               {{"IDRow", "Код", true, true, true, 50}, {"Procent", "Наценка, %", true, true, false, 80}});
    writeTable(ini, QStringLiteral("Firms.dbf"), QStringLiteral("Производители"),
               {{"IDRow", "Код", true, true, true, 50},
                {"Name", "Производитель", true, true, false, 200},
                {"Cntr", "Страна", true, true, false, 100}});
    ini.writeString(QStringLiteral("Countries.dbf"), keys::kDBFCaption, QStringLiteral("Страны"));
    writeTable(ini, invoiceFileName, QStringLiteral("Накладная №") + invoiceFileName.mid(1).section(u'.', 0, 0),
               {{"IDRow", "№", true, true, true, 30},
                {"Name", "Наименование", true, true, false, 260},
                {"Qnt", "Кол-во", true, true, false, 50},
                {"Price", "Цена", true, true, false, 70},
                {"Summa", "Сумма", true, true, false, 80},
                {"Firm", "Производитель", true, true, false, 130}});
    writeTable(ini, QStringLiteral("Archiv.dbf"), QStringLiteral("Архив заказов"),
               {{"NumZ", "№ заказа", true, true, false, 60},
                {"DateZ", "Дата", true, true, false, 80},
                {"Summa", "Сумма", true, true, false, 80},
                {"Podr", "Получатель", true, true, false, 200},
                {"IDRow", "Код", false, true, true, 40},
                {"Year", "Год", false, true, false, 40},
                {"Month", "Месяц", false, true, false, 40}});
    writeTable(ini, QStringLiteral("ArchivPos.dbf"), QStringLiteral("Позиции архива"),
               {{"Name", "Наименование", true, true, false, 260},
                {"Qnt", "Кол-во", true, true, false, 55},
                {"Price", "Цена", true, true, false, 70},
                {"Firm", "Производитель", true, true, false, 130},
                {"Cntr", "Страна", true, true, false, 80},
                {"Drug", "Код", true, true, false, 60},
                {"IDRow", "№", false, true, true, 40},
                {"Parent", "Заказ", false, true, false, 40}});
    // Titles with "|" share an upper title row in the prescriptions grid.
    writeTable(ini, QStringLiteral("prescr.dbf"), QStringLiteral("Рецепты"),
               {{"Number", "№ рецепта", true, true, false, 75},
                {"DateCreate", "Дата", true, true, false, 75},
                {"FIO", "Ф.И.О. пациента", true, false, false, 160},
                {"AgeY", "Возраст|лет", true, false, false, 40},
                {"AgeM", "Возраст|мес.", true, false, false, 40},
                {"AgeD", "Возраст|дн.", true, false, false, 40},
                {"DS", "Диагноз", true, false, false, 120},
                {"Name", "Препарат", true, false, false, 200},
                {"Qnt", "Кол-во", true, false, false, 50},
                {"Component1", "Компоненты|1-250", true, true, false, 200},
                {"Component2", "Компоненты|251-500", true, true, false, 120},
                {"CodePst", "Код препарата", true, true, false, 80},
                {"DESC", "Примечание", true, false, false, 150},
                {"DateSnd", "Отправлен", true, true, false, 70},
                {"Provided", "Выдан", true, true, false, 45},
                {"IDRow", "IDRow", false, true, true, 0},
                {"DateRC", "DateRC", false, true, false, 0},
                {"DELIVDATE", "DELIVDATE", false, true, false, 0}});
    writeTable(ini, QStringLiteral("PharmCom.dbf"), QStringLiteral("Препараты"),
               {{"Name", "Препарат", true, true, false, 270},
                {"Drug", "Код", true, true, false, 60},
                {"Component1", "Component1", false, true, false, 0},
                {"Component2", "Component2", false, true, false, 0},
                {"Components", "Компоненты", false, true, false, 0}});
    writeTable(ini, QStringLiteral("PharmComP.dbf"), QStringLiteral("Компоненты"),
               {{"Name", "Компонент", true, true, false, 260}});
}

void writeOrderMapping(const QString &fileName)
{
    const config::IniFile ini(fileName);
    const QString section = QStringLiteral("Association");
    ini.writeString(section, QStringLiteral("NumZ"), QStringLiteral("@номер заказа"));
    ini.writeString(section, QStringLiteral("DateZ"), QStringLiteral("@дата"));
    ini.writeString(section, QStringLiteral("CodePst"), QString());
    ini.writeString(section, QStringLiteral("PayID"), QStringLiteral("@код наценки"));
    ini.writeString(section, QStringLiteral("Date"), QStringLiteral("@Дата"));
    ini.writeString(section, QStringLiteral("Podr"), QStringLiteral("@получатель"));
    ini.writeString(section, QStringLiteral("Qnt"), QStringLiteral("Zak"));
    ini.writeString(section, QStringLiteral("Price"), QStringLiteral("@цена"));
    ini.writeString(section, QStringLiteral("PodrCD"), QStringLiteral("@код получателя"));
    ini.writeString(section, QStringLiteral("Comment"), QStringLiteral("@комментарий"));
}

void writeHeaderLayout(const QString &fileName)
{
    const config::IniFile ini(fileName);
    const QString properties = QStringLiteral("Properties");
    ini.writeInteger(properties, QStringLiteral("StepX"), 384);
    ini.writeInteger(properties, QStringLiteral("StepY"), 18);
    ini.writeInteger(properties, QStringLiteral("Between"), 83);
    ini.writeInteger(properties, QStringLiteral("StartTop"), 45);
    ini.writeInteger(properties, QStringLiteral("StartLeft"), 16);
    int n = 0;
    for (const char *field : {"Name", "Firm", "Cntr", "Qnt", "GDATE", "CodePst"})
        ini.writeString(QStringLiteral("Objects"), QStringLiteral("F%1").arg(++n), QString::fromLatin1(field));
}

} // namespace demo
