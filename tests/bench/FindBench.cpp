// Find as you type over the demo's price list of ROWS rows (default 100 000):
// the word index built at the first keystroke, then each keystroke's search.
//   build/tests/bench/kx_find_bench [ROWS]
#include "demo/DemoTables.h"
#include "grid/NameFinder.h"
#include "tables/CodePage.h"
#include "tables/Table.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const int rows = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("price.dbf"));
    tables::setDefaultOpenCodePage(866);
    demo::writePriceTable(path, rows, 20240305, QDate::currentDate());
    tables::Table table(path);
    table.open();

    QElapsedTimer clock;
    clock.start();
    const grid::NameFinder finder(table, QStringLiteral("Name"));
    std::printf("index of %d rows built: %.1f ms\n", rows, clock.nsecsElapsed() / 1e6);

    // What a pharmacist types, a key at a time, on both layouts.
    const QStringList typed = {QStringLiteral("кардио аспирин"), QStringLiteral("rfhlbj"), QStringLiteral("табл 100"),
                               QStringLiteral("но-шпа"), QStringLiteral("а")};
    std::vector<double> costs;
    for (const QString &text : typed) {
        for (qsizetype n = 1; n <= text.size(); ++n) {
            clock.restart();
            const std::size_t found = finder.find(text.left(n)).size();
            costs.push_back(clock.nsecsElapsed() / 1e6);
            if (n == text.size())
                std::printf("%-16s %7zu found, last key %.2f ms\n", qPrintable(text), found, costs.back());
        }
    }
    std::sort(costs.begin(), costs.end());
    std::printf("per keystroke: median %.2f ms, worst %.2f ms over %zu keys\n", costs[costs.size() / 2], costs.back(),
                costs.size());
    return 0;
}
