// 100 generated filters on TDbf-made tables: the records this engine's table
// shows with the filter on (mapped reads and positioned reads alike) are the
// ones TDbf's filter keeps.
#include "tests/support/OracleHarness.h"

#include "tables/FileMapping.h"
#include "tables/Table.h"

#include <QRegularExpression>

#include <random>

using namespace tables;

namespace {

struct Filter {
    QString expr;
    QString flags; // dbfexpr's options
};

// Comparisons of text, number and date fields with values and patterns taken
// from the table's own records, joined by and / or / not.
class FilterMaker {
public:
    FilterMaker(Table &t, unsigned seed) : random_(seed)
    {
        for (t.first(); !t.eof(); t.next()) {
            names_ << t.field(u"NAME").asString();
            firms_ << t.field(u"FIRM").asString();
            prices_ << t.field(u"PRICE1").asString();
            dates_ << t.field(u"GDATE").asString();
        }
    }

    Filter next()
    {
        static const char *const flags[] = {"", "", "--nocase", "--exact", "--deleted"};
        Filter f{joined(1 + pick(3)), QString::fromLatin1(flags[pick(5)])};
        return f;
    }

private:
    int pick(int n) { return int(random_() % unsigned(n)); }
    const QString &any(const QStringList &values) { return values[pick(int(values.size()))]; }
    QString op() { return QStringList{"=", "<>", "<", ">", "<=", ">="}[pick(6)]; }
    static QString quoted(const QString &s)
    {
        return QStringLiteral("'") + QString(s).replace(QStringLiteral("'"), QStringLiteral("''"))
            + QStringLiteral("'");
    }

    QString text()
    {
        const bool name = pick(3) != 0;
        const QString field = name ? QStringLiteral("Name") : QStringLiteral("Firm");
        QString v = any(name ? names_ : firms_);
        const int cut = v.isEmpty() ? 0 : 1 + pick(int(std::min<qsizetype>(v.size(), 8)));
        switch (pick(7)) {
        case 0: return field + u' ' + op() + u' ' + quoted(v);
        case 1: return field + QLatin1String(" = ") + quoted(v.left(cut) + u'*');
        case 2: return field + QLatin1String(" = ") + quoted(u'*' + v.right(cut));
        case 3: return field + QLatin1String(" = ") + quoted(u'*' + v.mid(pick(int(v.size()) + 1), cut) + u'*');
        case 4: return field + QLatin1String(" = ") + quoted(pick(2) ? v.toUpper() : v.toLower());
        case 5: return field + QLatin1String(" = ") + quoted(v.left(cut));
        default: return field + u' ' + op() + QLatin1String(" ''");
        }
    }

    QString number()
    {
        switch (pick(4)) {
        case 0:
            return QStringLiteral("Price1 ") + op() + u' '
                + (any(prices_).isEmpty() ? QStringLiteral("0") : any(prices_));
        case 1: return QStringLiteral("Qnt ") + op() + u' ' + QString::number(pick(40));
        case 2: return QStringLiteral("Zak ") + op() + QStringLiteral(" 0");
        default: return QStringLiteral("NewFlg = ") + QString::number(pick(2));
        }
    }

    QString date()
    {
        const QString d = any(dates_);
        return QStringLiteral("DTOS(GDate) ") + op() + u' ' + quoted(d.isEmpty() ? QStringLiteral("18991230") : d);
    }

    QString atom()
    {
        const int kind = pick(5);
        QString a = kind < 3 ? text() : kind == 3 ? number() : date();
        return pick(6) == 0 ? QStringLiteral("not (%1)").arg(a) : a;
    }

    QString joined(int atoms)
    {
        QString e = atom();
        for (int i = 1; i < atoms; ++i)
            e += (pick(2) ? QStringLiteral(" and ") : QStringLiteral(" or ")) + atom();
        return e;
    }

    std::mt19937 random_;
    QStringList names_, firms_, prices_, dates_;
};

std::string tableRecnos(const QString &path, const Filter &f, bool mapped)
{
    FileMapping::setAllowed(mapped);
    Table t(path);
    t.setReadOnly(true);
    t.setShowDeleted(f.flags.contains("--deleted"));
    t.setFilterOptions(
        {.caseInsensitive = f.flags.contains("--nocase"), .noPartialCompare = f.flags.contains("--exact")});
    t.setFilter(f.expr);
    t.setFiltered(true);
    t.open();
    QStringList hits;
    for (t.first(); !t.eof(); t.next())
        hits << QString::number(t.recNo());
    FileMapping::setAllowed(true);
    return hits.join(u' ').toStdString();
}

std::string tdbfRecnos(const QString &path, const Filter &f)
{
    QStringList args = {path, f.expr};
    if (!f.flags.isEmpty())
        args << f.flags;
    const kx::testsupport::RunResult r = kx::testsupport::OracleHarness::instance().run("dbfexpr", args);
    static const QRegularExpression recnos(QStringLiteral("^#recnos\\t(.*)$"), QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = recnos.match(r.out);
    return (m.hasMatch() ? m.captured(1).trimmed() : QStringLiteral("no answer: ") + r.errors).toStdString();
}

TEST(FilterOracle, HundredGeneratedFiltersKeepWhatTdbfKeeps)
{
    SKIP_WITHOUT_TDBF_ORACLE();
    const QString path =
        kx::testsupport::OracleHarness::instance().makeFixture({"price", "p.dbf", "400", "11", "--zak", "--deleted"});
    Table source(path);
    source.setReadOnly(true);
    source.open();
    FilterMaker maker(source, 20261211);
    for (int i = 0; i < 100; ++i) {
        const Filter f = maker.next();
        const std::string ours = tableRecnos(path, f, true);
        EXPECT_EQ(ours, tdbfRecnos(path, f)) << f.expr.toStdString() << ' ' << f.flags.toStdString();
        EXPECT_EQ(ours, tableRecnos(path, f, false)) << "positioned reads: " << f.expr.toStdString();
    }
}

} // namespace
