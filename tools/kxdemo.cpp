// kxdemo FOLDER: writes a demo price list (price.dbf, unmarked code page 866,
// as the distributor sends it) for trying the table tool.
#include "tables/Table.h"
#include "tables/TableCreate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: kxdemo FOLDER [ROWS]\n", stderr);
        return 1;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int rows = argc > 2 ? std::atoi(argv[2]) : 2000;
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/price.dbf");
    QFile::remove(path);
    using K = tables::FieldKind;
    try {
        tables::createTable(path, 4,
                            {{"IDROW", K::Integer, 10}, {"NAME", K::String, 80}, {"FIRM", K::String, 40},
                             {"CNTR", K::String, 20}, {"CODEPST", K::Integer, 10}, {"QNT", K::Integer, 10},
                             {"PRICE1", K::Float, 12, 2}, {"PRICE2", K::Float, 12, 2}, {"PRICE3", K::Float, 12, 2},
                             {"CONSTA", K::Float, 10, 4}, {"CONSTB", K::Float, 10, 4}, {"NEWFLG", K::Integer, 1},
                             {"GDATE", K::Date}},
                            {.languageId = 0});
        const QStringList drugs = {QStringLiteral("Аспирин табл. 500мг №10"), QStringLiteral("Парацетамол табл. 200мг №10"),
                                   QStringLiteral("Анальгин амп. 50% 2мл №10"), QStringLiteral("Но-шпа табл. 40мг №20"),
                                   QStringLiteral("Цитрамон П табл. №10"), QStringLiteral("Ацикловир крем 5% 5г"),
                                   QStringLiteral("Валидол табл. 60мг №10"), QStringLiteral("Корвалол капли 25мл")};
        const QStringList firms = {QStringLiteral("Фармстандарт"), QStringLiteral("Bayer"), QStringLiteral("Дарница"),
                                   QStringLiteral("Sanofi")};
        const QStringList countries = {QStringLiteral("Россия"), QStringLiteral("Германия"), QStringLiteral("Украина"),
                                       QStringLiteral("Франция")};
        QRandomGenerator rng(42);
        tables::Table t(path);
        t.open();
        for (int i = 1; i <= rows; ++i) {
            t.append();
            t.field(u"IDROW").setInteger(i);
            t.field(u"NAME").setString(drugs[i % drugs.size()] + QStringLiteral(" (%1)").arg(i));
            t.field(u"FIRM").setString(firms[rng.bounded(firms.size())]);
            t.field(u"CNTR").setString(countries[rng.bounded(countries.size())]);
            t.field(u"CODEPST").setInteger(100000 + i);
            t.field(u"QNT").setInteger(rng.bounded(500));
            const double base = 10 + rng.bounded(50000) / 100.0;
            t.field(u"PRICE1").setFloat(base);
            t.field(u"PRICE2").setFloat(base * 1.05);
            t.field(u"PRICE3").setFloat(base * 1.10);
            t.field(u"CONSTA").setFloat(base / 100.0);
            t.field(u"CONSTB").setFloat(base);
            t.field(u"NEWFLG").setInteger(i % 10 == 0 ? 1 : 0);
            t.field(u"GDATE").setDate(QDate(2027, 1, 1).addDays(rng.bounded(900)));
            t.post();
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "kxdemo: %s\n", e.what());
        return 1;
    }
    std::printf("wrote %s with %d rows\n", path.toLocal8Bit().constData(), rows);
    return 0;
}
