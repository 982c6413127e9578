// kxdbf dump / filter / locate
#include "kxdbf_command.h"

#include "tables/CodePage.h"
#include "tables/Table.h"

#include <QVariantList>

namespace kxdbf {
namespace {

QString languageText(const tables::Table &t) { return QString::number(t.codePage().number()); }

int dump(const QStringList &args)
{
    if (args.size() != 1)
        usageError(QStringLiteral("dump needs FILE"));
    tables::Table t(args[0]);
    t.setReadOnly(true);
    t.setShowDeleted(true);
    t.open();
    out(QStringLiteral("level\t%1").arg(t.level()));
    out(QStringLiteral("codepage\t%1").arg(languageText(t)));
    out(QStringLiteral("records\t%1").arg(t.recordCount()));
    for (const tables::FieldDef &f : t.schema().fields)
        out(QStringLiteral("field\t%1\t%2\t%3\t%4").arg(f.name, QString(QChar(f.type))).arg(f.size).arg(f.decimals));
    out(QString());
    const int n = int(t.schema().fields.size());
    for (t.first(); !t.eof(); t.next()) {
        QString line = QString::number(t.recNo()) + u'\t' + (t.isDeleted() ? u'*' : u' ');
        for (int i = 0; i < n; ++i)
            line += u'\t' + escapeValue(t.field(i).asString());
        out(line);
    }
    return 0;
}

int filter(const QStringList &args)
{
    if (args.size() != 2)
        usageError(QStringLiteral("filter needs FILE EXPR"));
    tables::Table t(args[0]);
    t.setReadOnly(true);
    t.setFilter(args[1]);
    t.setFiltered(true);
    t.open();
    QStringList hits;
    for (t.first(); !t.eof(); t.next())
        hits << QString::number(t.recNo());
    out(QString::number(hits.size()));
    for (const QString &h : hits)
        out(h);
    return 0;
}

int locate(const QStringList &input)
{
    QStringList args = input;
    tables::LocateOptions options;
    options.partialKey = args.removeAll(QStringLiteral("--partial")) > 0;
    options.caseInsensitive = args.removeAll(QStringLiteral("--nocase")) > 0;
    if (args.size() != 3)
        usageError(QStringLiteral("locate needs FILE FIELD[;FIELD...] VALUE[|VALUE...]"));
    tables::Table t(args[0]);
    t.setReadOnly(true);
    t.open();
    QVariantList values;
    for (const QString &v : args[2].split(u'|'))
        values << v;
    out(QString::number(t.locate(args[1], values, options) ? t.recNo() : 0));
    return 0;
}

Registrar dumpCommand({QStringLiteral("dump"), QStringLiteral("dump FILE"), dump});
Registrar filterCommand({QStringLiteral("filter"), QStringLiteral("filter FILE EXPR"), filter});
Registrar locateCommand({QStringLiteral("locate"),
                         QStringLiteral("locate FILE FIELD[;FIELD...] VALUE[|VALUE...] [--partial] [--nocase]"),
                         locate});

} // namespace
} // namespace kxdbf
