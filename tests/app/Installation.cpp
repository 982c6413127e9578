#include "Installation.h"

#include "config/ProgramFiles.h"
#include "tables/CodePage.h"
#include "tables/Table.h"
#include "tables/TableCreate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

Installation::Installation() { config::setProgramFolder(dir_.path()); }

Installation::~Installation() { config::setProgramFolder(QString()); }

void Installation::mkdir(const QString &relative) const { QDir().mkpath(path(relative)); }

void Installation::writeFile(const QString &relative, const QByteArray &bytes) const
{
    QDir().mkpath(QFileInfo(path(relative)).path());
    QFile file(path(relative));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

void Installation::writeIni(const QString &relative, const QString &text) const
{
    writeFile(relative, codepages::CodePage::byNumber(1251).encode(text));
}

void Installation::writeTable(const QString &relative, const tables::FieldSpecs &fields,
                              const std::vector<QVariantList> &rows) const
{
    QDir().mkpath(QFileInfo(path(relative)).path());
    tables::createTable(path(relative), 4, fields, {.languageId = 0});
    tables::Table table(path(relative));
    table.open();
    for (const QVariantList &row : rows) {
        table.append();
        for (int i = 0; i < row.size(); ++i)
            if (!row[i].isNull())
                table.field(i).setValue(row[i]);
        table.post();
    }
}

void Installation::writeSubCustomer(const QVariant &idRow, const QString &name) const
{
    using K = tables::FieldKind;
    std::vector<QVariantList> rows;
    if (idRow.isValid())
        rows.push_back({idRow, name});
    writeTable(QStringLiteral("Reference/SubCustomer.dbf"),
               {{QStringLiteral("IDROW"), K::Integer, 10}, {QStringLiteral("NAME"), K::String, 60}}, rows);
}
