#pragma once

#include "tables/FieldDef.h"
#include "tables/Table.h"

#include <QDate>
#include <QDir>
#include <QLocale>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace kx::testsupport {

// One price row; unset values stay empty.
struct PriceRow {
    QString name;
    std::optional<double> zak;
    std::optional<double> price1;
    std::optional<double> price3;
    std::optional<double> constA;
    std::optional<double> constB;
    int newFlag = 0;
    int code = 0;
    QString firm = QStringLiteral("Фирма");
    QString country = QStringLiteral("Россия");
    std::optional<double> qnt;
};

// The fields of a price table: Name, Firm, Cntr, CodePst, Qnt, Zak, Price1..3, ConstA, ConstB, GDATE, NewFlg.
tables::FieldSpecs priceFields();
void createPriceTable(const QString &path, const std::vector<PriceRow> &rows);

// Archiv.dbf and ArchivPos.dbf in `folder`; `headers` as (IDRow, NumZ, DateZ).
struct ArchiveHeader {
    int id;
    int number;
    QDate date;
};
void createArchive(const QString &folder, const std::vector<ArchiveHeader> &headers = {},
                   const tables::FieldSpecs &positionFields = {});
tables::FieldSpecs archivePositionFields();

// order.dbf: NumZ, DateZ, CodePst, PayID, Date, Podr, Qnt, Price, PodrCD, Comment and Name.
tables::FieldSpecs templateFields();
void createTemplate(const QString &programFolder, const tables::FieldSpecs &fields = templateFields());

// Every record of a table: field name (upper case) -> value.
using StoredRecord = std::map<QString, QVariant>;
std::vector<StoredRecord> readAll(const QString &path);

// A program, archive and orders folder in a temporary folder.
struct Installation {
    QTemporaryDir root;
    QString program() const { return root.filePath(QStringLiteral("prog")) + u'/'; }
    QString archive() const { return root.filePath(QStringLiteral("arch")) + u'/'; }
    QString orders() const { return root.filePath(QStringLiteral("out")) + u'/'; }
    QString price() const { return root.filePath(QStringLiteral("in")) + u'/'; }
    Installation();
};

// Sets the default locale for a scope.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale &locale) : previous_(QLocale()) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(previous_); }

private:
    QLocale previous_;
};

inline QLocale russian() { return QLocale(QLocale::Russian, QLocale::Russia); }

} // namespace kx::testsupport
