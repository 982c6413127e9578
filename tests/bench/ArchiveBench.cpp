// kx_archive_bench [ORDERS] [POSITIONS PER ORDER]: the archive window over a
// generated archive (5 000 orders of 20 positions by default). Prints the
// time to open the window with its index tags built and with them present,
// the time of one move to a position with another drug (statistics
// recomputed through the Statist tag) and of one statistics run alone.
#include "archive/uDblGrid.h"
#include "config/ProgramFiles.h"
#include "grid/DBGrid.h"
#include "tables/Table.h"
#include "tables/TableCreate.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <memory>

namespace {

using K = tables::FieldKind;

// Orders spread over the last two years, every month of them; a drug shows
// up in about five orders.
void generateArchive(const QString &folder, int orders, int perOrder)
{
    const QString headerPath = folder + QStringLiteral("/Archiv.dbf");
    const QString positionsPath = folder + QStringLiteral("/ArchivPos.dbf");
    tables::createTable(headerPath, 4,
                        {{"IDROW", K::Integer, 10},
                         {"NUMZ", K::Integer, 10},
                         {"DATEZ", K::Date},
                         {"SUMMA", K::Float, 14, 2},
                         {"PODR", K::String, 60},
                         {"YEAR", K::Integer, 4},
                         {"MONTH", K::Integer, 2}},
                        {.overwrite = true});
    tables::createTable(positionsPath, 4,
                        {{"IDROW", K::Integer, 10},
                         {"PARENT", K::Integer, 10},
                         {"DRUG", K::Integer, 10},
                         {"QNT", K::Float, 12, 3},
                         {"PRICE", K::Float, 12, 2},
                         {"NAME", K::String, 80},
                         {"FIRM", K::String, 40},
                         {"CNTR", K::String, 20}},
                        {.overwrite = true});
    QFile::remove(folder + QStringLiteral("/ArchivPos.mdx"));
    QRandomGenerator rng(11);
    const int drugs = std::max(1, orders * perOrder / 5);
    const QDate start = QDate::currentDate().addYears(-2);
    tables::Table headers(headerPath);
    tables::Table positions(positionsPath);
    headers.open();
    positions.open();
    int positionId = 0;
    for (int order = 1; order <= orders; ++order) {
        const QDate date = start.addDays(qint64(order) * 730 / orders);
        headers.append();
        headers.field(u"IDROW").setInteger(order);
        headers.field(u"NUMZ").setInteger(order);
        headers.field(u"DATEZ").setDate(date);
        headers.field(u"PODR").setString(QStringLiteral("Аптека №1"));
        headers.field(u"YEAR").setInteger(date.year());
        headers.field(u"MONTH").setInteger(date.month());
        headers.post();
        for (int i = 0; i < perOrder; ++i) {
            positions.append();
            positions.field(u"IDROW").setInteger(++positionId);
            positions.field(u"PARENT").setInteger(order);
            positions.field(u"DRUG").setInteger(100000 + rng.bounded(drugs));
            positions.field(u"QNT").setFloat(1 + rng.bounded(20));
            positions.field(u"PRICE").setFloat(10 + rng.bounded(50000) / 100.0);
            positions.field(u"NAME").setString(QStringLiteral("Препарат %1").arg(positionId));
            positions.post();
        }
    }
}

double openMs(const QString &folder, std::unique_ptr<windows::TDblGridFrm> &window)
{
    window.reset();
    QElapsedTimer clock;
    clock.start();
    window = std::make_unique<windows::TDblGridFrm>(nullptr, folder + QStringLiteral("/Archiv.dbf"),
                                                    folder + QStringLiteral("/ArchivPos.dbf"), nullptr);
    window->resize(900, 600);
    window->show();
    QApplication::processEvents();
    window->findChild<grid::DBGrid *>(QStringLiteral("DBGridMaster"))->viewport()->repaint();
    window->findChild<grid::DBGrid *>(QStringLiteral("DBGridDetail"))->viewport()->repaint();
    return clock.nsecsElapsed() / 1e6;
}

void key(QWidget *target, int code)
{
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int orders = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int perOrder = argc > 2 ? std::atoi(argv[2]) : 20;
    QTemporaryDir temp;
    config::setProgramFolder(temp.path());
    QTextStream out(stdout);

    QElapsedTimer clock;
    clock.start();
    generateArchive(temp.path(), orders, perOrder);
    out << "generated " << orders << " orders, " << orders * perOrder << " positions in " << clock.elapsed() << " ms\n";
    out.flush();

    std::unique_ptr<windows::TDblGridFrm> window;
    out << "window opened, tags Detail and Statist built: " << openMs(temp.path(), window) << " ms\n";
    out << "window opened, tags present: " << openMs(temp.path(), window) << " ms ("
        << window->findChild<grid::DBGrid *>(QStringLiteral("DBGridMaster"))->model()->rowCount()
        << " orders this month)\n";
    out.flush();

    // Down through the positions of the month's orders; count the moves
    // that reached another drug.
    grid::DBGrid *detail = window->findChild<grid::DBGrid *>(QStringLiteral("DBGridDetail"));
    grid::DBGrid *master = window->findChild<grid::DBGrid *>(QStringLiteral("DBGridMaster"));
    int moves = 0;
    qint64 ns = 0;
    for (int order = 0; order < master->model()->rowCount() && moves < 1000; ++order) {
        for (int row = 1; row < detail->model()->rowCount() && moves < 1000; ++row) {
            const int runs = window->statisticsRuns();
            clock.restart();
            key(detail, Qt::Key_Down);
            detail->viewport()->repaint();
            const qint64 spent = clock.nsecsElapsed();
            if (window->statisticsRuns() != runs) {
                ns += spent;
                ++moves;
            }
        }
        key(master, Qt::Key_Down);
        QApplication::processEvents();
    }
    out << "move to a position with another drug, statistics recomputed and repainted: "
        << (moves ? ns / 1e6 / moves : 0.0) << " ms (" << moves << " moves)\n";

    QRandomGenerator rng(3);
    const int runs = 1000;
    clock.restart();
    for (int i = 0; i < runs; ++i)
        window->ShowDrugStatistics(100000 + rng.bounded(orders * perOrder / 5));
    out << "statistics of a drug alone: " << clock.nsecsElapsed() / 1e6 / runs << " ms (" << runs << " drugs)\n";
    window.reset();
    config::setProgramFolder(QString());
    return 0;
}
