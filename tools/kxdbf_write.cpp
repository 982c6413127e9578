// kxdbf create / append, for scripted fixtures
#include "kxdbf_command.h"

#include "tables/Table.h"
#include "tables/TableCreate.h"

namespace kxdbf {
namespace {

int create(const QStringList &args)
{
    if (args.size() != 3)
        usageError(QStringLiteral("create needs FILE LEVEL NAME:TYPE:SIZE:DEC[,...]"));
    bool ok = false;
    const int level = args[1].toInt(&ok);
    if (!ok)
        usageError(QStringLiteral("LEVEL must be 3, 4 or 7"));
    tables::FieldSpecs specs;
    for (const QString &item : args[2].split(u',', Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(u':');
        if (parts.size() < 2 || parts[1].size() != 1)
            usageError(QStringLiteral("bad field definition %1").arg(item));
        tables::FieldSpec s;
        s.name = parts[0];
        s.type = parts[1][0].toUpper().toLatin1();
        s.size = parts.size() > 2 ? parts[2].toInt() : 0;
        s.decimals = parts.size() > 3 ? parts[3].toInt() : 0;
        if (s.type == 'N' && s.size == 0)
            s.kind = s.decimals ? tables::FieldKind::Float : tables::FieldKind::Integer;
        specs.push_back(s);
    }
    tables::createTable(args[0], level, specs);
    return 0;
}

int append(const QStringList &args)
{
    if (args.size() != 2)
        usageError(QStringLiteral("append needs FILE FIELD=VALUE[;...]"));
    tables::Table t(args[0]);
    t.open();
    t.append();
    for (const QString &item : args[1].split(u';', Qt::SkipEmptyParts)) {
        const int eq = int(item.indexOf(u'='));
        if (eq <= 0)
            usageError(QStringLiteral("bad assignment %1").arg(item));
        t.field(QStringView(item).left(eq)).setString(item.mid(eq + 1));
    }
    t.post();
    out(QString::number(t.recNo()));
    return 0;
}

Registrar createCommand({QStringLiteral("create"), QStringLiteral("create FILE LEVEL NAME:TYPE:SIZE:DEC[,...]"),
                         create});
Registrar appendCommand({QStringLiteral("append"), QStringLiteral("append FILE FIELD=VALUE[;...]"), append});

} // namespace
} // namespace kxdbf
