// kxdbf bench: the engine's speed on a table, measured the way the TDbf
// oracle's dbfbench measures TDbf (same tasks, same keys), plus building the
// index and posting with it open.
#include "kxdbf_command.h"

#include "tables/Table.h"
#include "tables/TableError.h"
#include "tables/TableIndexes.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <vector>

namespace kxdbf {
namespace {

struct Options {
    QString file;
    int repeat = 5;
    int locates = 1000;
    QString field = QStringLiteral("NAME");
    QString numField = QStringLiteral("PRICE1");
    QString filter = QStringLiteral("NewFlg=1");
};

Options parse(const QStringList &args)
{
    Options o;
    for (const QString &a : args) {
        if (a.startsWith(QLatin1String("--repeat=")))
            o.repeat = std::max(1, a.mid(9).toInt());
        else if (a.startsWith(QLatin1String("--locates=")))
            o.locates = std::max(1, a.mid(10).toInt());
        else if (a.startsWith(QLatin1String("--field=")))
            o.field = a.mid(8);
        else if (a.startsWith(QLatin1String("--numfield=")))
            o.numField = a.mid(11);
        else if (a.startsWith(QLatin1String("--filter=")))
            o.filter = a.mid(9);
        else if (a.startsWith(QLatin1String("--")))
            usageError(QStringLiteral("unknown option %1").arg(a));
        else if (o.file.isEmpty())
            o.file = a;
        else
            usageError(QStringLiteral("bench takes one FILE"));
    }
    if (o.file.isEmpty())
        usageError(QStringLiteral("bench needs FILE"));
    return o;
}

double sink = 0;

// Median of `repeat` runs, in milliseconds; `prepare` runs untimed before each.
double median(int repeat, const std::function<void()> &run, const std::function<void()> &prepare = {})
{
    std::vector<double> ms;
    for (int i = 0; i < repeat; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        run();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms.size() % 2 ? ms[ms.size() / 2] : (ms[ms.size() / 2 - 1] + ms[ms.size() / 2]) / 2;
}

void report(const QString &name, double ms) { out(name + u'\t' + QString::number(ms, 'f', 3)); }

bool copyFile(const QString &from, const QString &to)
{
    QFile::remove(to);
    return QFile::copy(from, to);
}

// Upper-cased beginnings (3..8 characters) of the field in records spread
// over the table: dbfbench's keys.
QStringList locateKeys(tables::Table &t, const Options &o)
{
    QStringList keys;
    const std::uint32_t n = t.recordCount();
    if (n == 0)
        throw tables::TableError(QStringLiteral("Table %1 is empty").arg(o.file));
    const std::uint32_t step = std::max<std::uint32_t>(1, n / std::uint32_t(o.locates));
    tables::Field f = t.field(o.field);
    for (int i = 0; i < o.locates; ++i) {
        const std::uint32_t recno = 1 + std::uint32_t((std::uint64_t(i) * step + std::uint64_t(i) * 7919) % n);
        QString s;
        t.withRecord(recno, [&] { s = f.asString(); });
        keys << s.left(3 + i % 6).toUpper();
    }
    return keys;
}

void locateAll(tables::Table &t, const Options &o, const QStringList &keys)
{
    int hits = 0;
    for (const QString &k : keys)
        hits += t.locate(o.field, k, {.caseInsensitive = true, .partialKey = true});
    sink += hits;
}

void locateMisses(tables::Table &t, const Options &o)
{
    for (int i = 0; i < 10; ++i)
        sink += t.locate(o.field, QStringLiteral("ЯЯЯ_NO_SUCH_KEY"), {.caseInsensitive = true, .partialKey = true});
}

int bench(const QStringList &args)
{
    const Options o = parse(args);
    report(QStringLiteral("open"), median(o.repeat, [&] {
               tables::Table t(o.file);
               t.setReadOnly(true);
               t.open();
           }));

    tables::Table t(o.file);
    t.setReadOnly(true);
    t.open();
    out(QStringLiteral("#records %1").arg(t.recordCount()));
    report(QStringLiteral("read_file"), median(o.repeat, [&] {
               QFile f(o.file);
               if (f.open(QIODevice::ReadOnly)) {
                   QByteArray chunk(1 << 20, Qt::Uninitialized);
                   qint64 total = 0;
                   for (qint64 n; (n = f.read(chunk.data(), chunk.size())) > 0;)
                       total += n;
                   sink += double(total);
               }
           }));
    report(QStringLiteral("scan_strings"), median(o.repeat, [&] {
               qint64 length = 0;
               const int n = t.fieldCount();
               std::vector<tables::Field> fields;
               for (int i = 0; i < n; ++i)
                   fields.push_back(t.field(i));
               QString text; // reused, as a loop that does not keep the values reads them
               for (t.first(); !t.eof(); t.next())
                   for (const tables::Field &f : fields) {
                       f.readString(text);
                       length += text.size();
                   }
               sink += double(length);
           }));
    report(QStringLiteral("scan_sum"), median(o.repeat, [&] {
               const tables::Field f = t.field(o.numField);
               double sum = 0;
               for (t.first(); !t.eof(); t.next())
                   sum += f.asFloat();
               sink += sum;
           }));
    report(QStringLiteral("filter_count"), median(o.repeat, [&] {
               t.setFilter(o.filter);
               t.setFiltered(true);
               int count = 0;
               for (t.first(); !t.eof(); t.next())
                   ++count;
               t.setFiltered(false);
               t.setFilter(QString());
               sink += count;
           }));
    const QStringList keys = locateKeys(t, o);
    const bool tagged = std::any_of(t.indexTagNames().begin(), t.indexTagNames().end(),
                                    [&](const QString &n) { return n.compare(o.field, Qt::CaseInsensitive) == 0; });
    if (tagged)
        out(QStringLiteral("#locate through index tag %1").arg(o.field.toUpper()));
    const std::uint64_t before = t.indexes().locatesThroughTags();
    report(QStringLiteral("locate_hit"), median(o.repeat, [&] { locateAll(t, o, keys); }));
    report(QStringLiteral("locate_miss"), median(o.repeat, [&] { locateMisses(t, o); }));
    out(QStringLiteral("#locates through a tag %1").arg(t.indexes().locatesThroughTags() - before));
    t.close();

    // The same table without its index, in a scratch folder.
    QTemporaryDir scratch;
    const QString copy = scratch.filePath(QFileInfo(o.file).fileName());
    if (!copyFile(o.file, copy))
        throw tables::TableError(QStringLiteral("Cannot copy %1 to %2").arg(o.file, copy));
    {
        tables::Table plain(copy);
        plain.setReadOnly(true);
        plain.open();
        report(QStringLiteral("locate_hit_linear"), median(o.repeat, [&] { locateAll(plain, o, keys); }));
        report(QStringLiteral("locate_miss_linear"), median(o.repeat, [&] { locateMisses(plain, o); }));
    }
    const QString mdx = copy.left(copy.size() - 4) + QStringLiteral(".mdx");
    report(QStringLiteral("index_build"),
           median(
               o.repeat,
               [&] {
                   tables::Table w(copy);
                   w.addIndexDef(o.field, o.field);
                   w.open();
               },
               [&] {
                   QFile::remove(mdx);
                   copyFile(o.file, copy);
               }));
    report(QStringLiteral("post_1000"), median(o.repeat, [&] {
               tables::Table w(copy);
               w.setIndexName(o.field);
               w.open();
               const std::uint32_t n = w.recordCount();
               tables::Field zak = w.findField(u"ZAK");
               if (!zak.isValid())
                   throw tables::TableError(QStringLiteral("Table %1 has no field ZAK").arg(o.file));
               for (int i = 0; i < 1000; ++i) {
                   if (!w.gotoBookmark(1 + std::uint32_t((std::uint64_t(i) * 7919) % n)))
                       continue;
                   w.edit();
                   zak.setFloat(i % 7);
                   w.post();
               }
           }));
    if (sink == -1)
        out(QString());
    return 0;
}

Registrar benchCommand({QStringLiteral("bench"),
                        QStringLiteral("bench FILE [--repeat=5] [--locates=1000] [--field=NAME] [--numfield=PRICE1] "
                                       "[--filter=EXPR]"),
                        bench});

} // namespace
} // namespace kxdbf
