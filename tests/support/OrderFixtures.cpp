#include "OrderFixtures.h"

#include "tables/TableCreate.h"

using tables::FieldKind;

namespace kx::testsupport {

namespace {

void setOptional(tables::Table &t, const char *name, const std::optional<double> &v)
{
    if (v)
        t.field(QString::fromLatin1(name)).setFloat(*v);
}

} // namespace

tables::FieldSpecs priceFields()
{
    return {{QStringLiteral("Name"), FieldKind::String, 254},    {QStringLiteral("Firm"), FieldKind::String, 30},
            {QStringLiteral("Cntr"), FieldKind::String, 20},     {QStringLiteral("CodePst"), FieldKind::Integer, 9},
            {QStringLiteral("Qnt"), FieldKind::Float, 10, 2},    {QStringLiteral("Zak"), FieldKind::Float, 18, 8},
            {QStringLiteral("Price1"), FieldKind::Float, 12, 4}, {QStringLiteral("Price2"), FieldKind::Float, 12, 4},
            {QStringLiteral("Price3"), FieldKind::Float, 12, 4}, {QStringLiteral("ConstA"), FieldKind::Float, 10, 4},
            {QStringLiteral("ConstB"), FieldKind::Float, 10, 4}, {QStringLiteral("GDATE"), FieldKind::Date},
            {QStringLiteral("NewFlg"), FieldKind::Integer, 2}};
}

void createPriceTable(const QString &path, const std::vector<PriceRow> &rows)
{
    tables::createTable(path, 4, priceFields());
    tables::Table t(path);
    t.open();
    for (const PriceRow &r : rows) {
        t.append();
        t.field(QStringLiteral("Name")).setString(r.name);
        t.field(QStringLiteral("Firm")).setString(r.firm);
        t.field(QStringLiteral("Cntr")).setString(r.country);
        t.field(QStringLiteral("CodePst")).setInteger(r.code);
        t.field(QStringLiteral("NewFlg")).setInteger(r.newFlag);
        setOptional(t, "Zak", r.zak);
        setOptional(t, "Price1", r.price1);
        setOptional(t, "Price3", r.price3);
        setOptional(t, "ConstA", r.constA);
        setOptional(t, "ConstB", r.constB);
        setOptional(t, "Qnt", r.qnt);
        t.post();
    }
}

tables::FieldSpecs archivePositionFields()
{
    return {{QStringLiteral("IDRow"), FieldKind::Integer, 9},   {QStringLiteral("Parent"), FieldKind::Integer, 9},
            {QStringLiteral("Price"), FieldKind::Float, 12, 4}, {QStringLiteral("Qnt"), FieldKind::Float, 12, 3},
            {QStringLiteral("Name"), FieldKind::String, 254},   {QStringLiteral("Firm"), FieldKind::String, 30},
            {QStringLiteral("Cntr"), FieldKind::String, 20},    {QStringLiteral("Drug"), FieldKind::Integer, 9}};
}

void createArchive(const QString &folder, const std::vector<ArchiveHeader> &headers,
                   const tables::FieldSpecs &positionFields)
{
    const QString header = QDir(folder).filePath(QStringLiteral("Archiv.dbf"));
    tables::createTable(header, 4,
                        {{QStringLiteral("IDRow"), FieldKind::Integer, 9},
                         {QStringLiteral("NumZ"), FieldKind::Integer, 9},
                         {QStringLiteral("DateZ"), FieldKind::Date},
                         {QStringLiteral("Summa"), FieldKind::Float, 15, 2},
                         {QStringLiteral("Podr"), FieldKind::String, 60},
                         {QStringLiteral("Year"), FieldKind::Integer, 4},
                         {QStringLiteral("Month"), FieldKind::Integer, 2}});
    tables::createTable(QDir(folder).filePath(QStringLiteral("ArchivPos.dbf")), 4,
                        positionFields.empty() ? archivePositionFields() : positionFields);
    tables::Table t(header);
    t.open();
    for (const ArchiveHeader &h : headers) {
        t.append();
        t.field(QStringLiteral("IDRow")).setInteger(h.id);
        t.field(QStringLiteral("NumZ")).setInteger(h.number);
        t.field(QStringLiteral("DateZ")).setDate(h.date);
        t.field(QStringLiteral("Year")).setInteger(h.date.year());
        t.field(QStringLiteral("Month")).setInteger(h.date.month());
        t.post();
    }
}

tables::FieldSpecs templateFields()
{
    return {{QStringLiteral("NumZ"), FieldKind::Integer, 9},    {QStringLiteral("DateZ"), FieldKind::Date},
            {QStringLiteral("CodePst"), FieldKind::Integer, 9}, {QStringLiteral("PayID"), FieldKind::Integer, 9},
            {QStringLiteral("Date"), FieldKind::Date},          {QStringLiteral("Podr"), FieldKind::String, 60},
            {QStringLiteral("Qnt"), FieldKind::Float, 12, 3},   {QStringLiteral("Price"), FieldKind::Float, 12, 4},
            {QStringLiteral("PodrCD"), FieldKind::Integer, 9},  {QStringLiteral("Comment"), FieldKind::String, 50},
            {QStringLiteral("Name"), FieldKind::String, 120}};
}

void createTemplate(const QString &programFolder, const tables::FieldSpecs &fields)
{
    tables::createTable(QDir(programFolder).filePath(QStringLiteral("order.dbf")), 4, fields);
}

std::vector<StoredRecord> readAll(const QString &path)
{
    tables::Table t(path);
    t.setReadOnly(true);
    t.open();
    std::vector<StoredRecord> out;
    for (t.first(); !t.eof(); t.next()) {
        StoredRecord r;
        for (int i = 0; i < t.fieldCount(); ++i)
            r[t.field(i).name()] = t.field(i).value();
        out.push_back(r);
    }
    return out;
}

Installation::Installation()
{
    for (const QString &f : {program(), archive(), orders(), price()})
        QDir().mkpath(f);
}

} // namespace kx::testsupport
