// exchange_bench [ROWS] [RUNS] [refresh|packages]: the refresh and the packages on a generated
// price list (100 000 rows by default, from `kxdbf genprice`). Prints the best
// of RUNS (3) for: carrying the quantities into a new copy where 10% of the
// rows moved, 1% vanished and 1% are new and Zak is missing (restructure
// included), keyed by IDRow and by Name; packing the list at level 8 next to
// Info-ZIP's `zip -8`, unpacking it next to `unzip`.
#include "tests/support/PriceCopies.h"

#include "exchange/CarryReport.h"
#include "exchange/ExchangeFeedback.h"
#include "exchange/IncomingRefresh.h"
#include "exchange/PackageUnzip.h"
#include "exchange/PackageZip.h"

#include "config/IniFile.h"
#include "tables/CodePage.h"
#include "tables/Table.h"
#include "tables/TableCreate.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>

namespace {

struct Quiet : exchange::ExchangeFeedback {
    void setStatusText(const QString &) override {}
    void showMessage(const QString &text) override { std::fprintf(stderr, "%s\n", text.toUtf8().constData()); }
};

void say(const QString &line) { std::printf("%s\n", line.toUtf8().constData()); }

bool run(const QString &program, const QStringList &args, const QString &dir = {})
{
    QProcess p;
    p.setWorkingDirectory(dir);
    p.start(program, args);
    return p.waitForFinished(600000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// Best of `runs`: prepare (not timed), then the timed step.
double best(int runs, const std::function<void()> &prepare, const std::function<void()> &step)
{
    double bestMs = 1e18;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer t;
        t.start();
        step();
        bestMs = std::min(bestMs, t.nsecsElapsed() / 1e6);
    }
    return bestMs;
}

// The distributor's next list: the same rows without Zak, 10% moved
// elsewhere, 1% gone, 1% new ones at the end.
void makeNewCopy(const QString &oldPath, const QString &newPath)
{
    std::vector<std::uint32_t> order;
    {
        tables::Table old(oldPath);
        old.setReadOnly(true);
        old.open();
        order = kx::testsupport::recordNumbers(old);
    }
    std::mt19937 rng(7);
    std::vector<std::uint32_t> kept;
    std::vector<std::uint32_t> moved;
    for (std::uint32_t r : order) {
        const int dice = int(rng() % 100);
        if (dice == 0)
            continue; // vanished
        (dice <= 10 ? moved : kept).push_back(r);
    }
    for (std::uint32_t r : moved)
        kept.insert(kept.begin() + qsizetype(rng() % (kept.size() + 1)), r);
    kx::testsupport::copyPriceRows(oldPath, newPath, kept);
    tables::Table fresh(newPath);
    fresh.open();
    const qint64 newRows = qint64(order.size()) / 100;
    for (qint64 i = 0; i < newRows; ++i) {
        fresh.append();
        fresh.field(u"IDRow").setInteger(10000000 + i);
        fresh.field(u"Name").setString(QStringLiteral("Новинка %1").arg(i));
        fresh.post();
    }
}

void writeKeys(const QString &properties, const QStringList &keys)
{
    const config::IniFile ini(properties);
    const QString section = QStringLiteral("price.dbf");
    for (const QString &field : {QStringLiteral("IDRow"), QStringLiteral("Name"), QStringLiteral("Firm")})
        ini.writeString(section, field,
                        QStringList{field, QStringLiteral("1"), field, QStringLiteral("Y"), QStringLiteral("Y"),
                                    keys.contains(field) ? QStringLiteral("Y") : QStringLiteral("N"),
                                    QStringLiteral("10")}
                            .join(u';'));
    ini.writeString(section, QStringLiteral("Zak"), QStringLiteral("Zak;2;Заказ;Y;N;N;10"));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    const QString only = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    tables::setDefaultOpenCodePage(866);
    QTemporaryDir dir;
    const QString base = dir.path() + u'/';
    const QString model = base + QStringLiteral("model/");
    QDir().mkpath(model);
    if (!run(QStringLiteral(KX_KXDBF),
             {QStringLiteral("genprice"), model + QStringLiteral("price.old"), QString::number(rows)})) {
        say(QStringLiteral("kxdbf genprice failed"));
        return 1;
    }
    makeNewCopy(model + QStringLiteral("price.old"), model + QStringLiteral("price.dbf"));
    const QString work = base + QStringLiteral("IN/");
    const QString properties = base + QStringLiteral("properties.ini");
    Quiet quiet;
    say(QStringLiteral("%1 rows, best of %2 runs").arg(rows).arg(runs));

    for (const QStringList &keys : only == u"packages"
             ? QList<QStringList>{}
             : QList<QStringList>{QStringList{QStringLiteral("IDRow")},
                                  QStringList{QStringLiteral("Name"), QStringLiteral("Firm")}}) {
        QFile::remove(properties);
        writeKeys(properties, keys);
        exchange::CarryReport report;
        const double ms = best(
            runs,
            [&] {
                QDir(work).removeRecursively();
                QDir().mkpath(work);
                for (const char *name : {"price.old", "price.dbf"})
                    QFile::copy(model + QLatin1String(name), work + QLatin1String(name));
            },
            [&] { report = exchange::refreshTable(work, QStringLiteral("price.dbf"), properties, quiet); });
        say(QStringLiteral("refresh keyed by %1 (restructure included): %2 ms, dropped %3, price hints %4")
                .arg(keys.join(u';'))
                .arg(ms, 0, 'f', 1)
                .arg(report.dropped.size())
                .arg(report.hints.size()));
    }

    if (only == u"refresh")
        return 0;
    // Packages of the list itself.
    const QString packDir = base + QStringLiteral("pack/");
    QDir().mkpath(packDir);
    QFile::copy(model + QStringLiteral("price.old"), packDir + QStringLiteral("price.dbf"));
    const QString ours = packDir + QStringLiteral("price.zip");
    const QString theirs = base + QStringLiteral("infozip.zip");
    const double packOurs = best(
        runs, [&] { QFile::remove(ours); },
        [&] { exchange::ZipFiles(packDir + QStringLiteral("price.dbf"), 8, QString(), 17, quiet); });
    const double packTheirs = best(
        runs, [&] { QFile::remove(theirs); },
        [&] {
            run(QStringLiteral("zip"),
                {QStringLiteral("-8"), QStringLiteral("-q"), QStringLiteral("-j"), theirs,
                 packDir + QStringLiteral("price.dbf")});
        });
    say(QStringLiteral("pack: ours %1 ms (%2 bytes), zip -8 %3 ms (%4 bytes), ratio %5")
            .arg(packOurs, 0, 'f', 1)
            .arg(QFileInfo(ours).size())
            .arg(packTheirs, 0, 'f', 1)
            .arg(QFileInfo(theirs).size())
            .arg(packOurs / packTheirs, 0, 'f', 2));

    const QString unpackDir = base + QStringLiteral("unpack/");
    QDir().mkpath(unpackDir);
    const QString received = unpackDir + QStringLiteral("price.zip");
    const double unpackOurs = best(
        runs, [&] { QFile::copy(ours, received); }, [&] { exchange::UnzipFile(received, QString(), true, quiet); });
    const QString infoDir = base + QStringLiteral("infozip/");
    QDir().mkpath(infoDir);
    const double unpackTheirs = best(
        runs, [&] { QFile::remove(infoDir + QStringLiteral("price.dbf")); },
        [&] {
            run(QStringLiteral("unzip"),
                {QStringLiteral("-o"), QStringLiteral("-q"), ours, QStringLiteral("-d"), infoDir});
        });
    say(QStringLiteral("unpack: ours %1 ms, unzip %2 ms, ratio %3")
            .arg(unpackOurs, 0, 'f', 1)
            .arg(unpackTheirs, 0, 'f', 1)
            .arg(unpackOurs / unpackTheirs, 0, 'f', 2));
    return 0;
}
