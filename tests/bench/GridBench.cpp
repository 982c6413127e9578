// kx_grid_bench [ROWS] [FOLDER]: a table grid window over a generated price
// list (100 000 rows by default). Prints the time to construct and show the
// window with its first screen painted, the time to page from the first row
// to the last, the time to enter a quantity and post it, and the peak
// resident memory next to the table's file size.
#include "config/IniFile.h"
#include "config/ProgramFiles.h"
#include "grid/DBGrid.h"
#include "grid/TableModel.h"
#include "tables/Table.h"
#include "tables/TableCreate.h"
#include "windows/uGridFrm.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <ctime>
#include <memory>

namespace {

// Resident memory figures of this process in kB, from /proc.
long statusValue(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLong();
    return -1;
}

// Starts a new peak: the generation of the table is not the window's memory.
void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

void generatePrice(const QString &path, int rows)
{
    using K = tables::FieldKind;
    tables::createTable(path, 4,
                        {{"IDROW", K::Integer, 10},
                         {"NAME", K::String, 80},
                         {"FIRM", K::String, 40},
                         {"CNTR", K::String, 20},
                         {"CODEPST", K::Integer, 10},
                         {"QNT", K::Integer, 10},
                         {"PRICE1", K::Float, 12, 2},
                         {"PRICE2", K::Float, 12, 2},
                         {"PRICE3", K::Float, 12, 2},
                         {"CONSTA", K::Float, 10, 4},
                         {"CONSTB", K::Float, 10, 4},
                         {"NEWFLG", K::Integer, 1},
                         {"GDATE", K::Date},
                         {"ZAK", K::Float, 18, 8}},
                        {.languageId = 0, .overwrite = true});
    const QStringList drugs = {
        QStringLiteral("Аспирин табл. 500мг №10"),   QStringLiteral("Парацетамол табл. 200мг №10"),
        QStringLiteral("Анальгин амп. 50% 2мл №10"), QStringLiteral("Но-шпа табл. 40мг №20"),
        QStringLiteral("Цитрамон П табл. №10"),      QStringLiteral("Валидол табл. 60мг №10")};
    QRandomGenerator rng(7);
    tables::Table t(path);
    t.open();
    for (int i = 1; i <= rows; ++i) {
        t.append();
        t.field(u"IDROW").setInteger(i);
        t.field(u"NAME").setString(drugs[i % drugs.size()] + QStringLiteral(" (%1)").arg(i));
        t.field(u"FIRM").setString(QStringLiteral("Фармстандарт"));
        t.field(u"CNTR").setString(QStringLiteral("Россия"));
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
}

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

void key(grid::DBGrid *grid, int code, const QString &text = {})
{
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
    QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : grid, &press);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir temp;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temp.path();
    QDir().mkpath(folder);
    config::setProgramFolder(folder);
    const QString path = folder + QStringLiteral("/price.dbf");
    QTextStream out(stdout);

    QElapsedTimer clock;
    clock.start();
    generatePrice(path, rows);
    out << "generated " << rows << " rows in " << clock.elapsed() << " ms, file " << QFileInfo(path).size() / 1024
        << " kB\n";
    // Only the quantity is editable, as in a price list.
    config::IniFile(config::propertiesFileName())
        .writeString(QStringLiteral("price.dbf"), QStringLiteral("ZAK"), QStringLiteral("ZAK;2;Кол-во;Y;N;N;60"));
    out.flush();

    // The program's main window is up before any table window: fonts and
    // styles are loaded by then.
    {
        QLabel warm(QStringLiteral("Прайс 123,45"));
        warm.show();
        warm.repaint();
    }
    QApplication::processEvents();

    // The rows in view alone, as the model lists them.
    {
        tables::Table t(path);
        t.open();
        clock.restart();
        const std::size_t listed = t.visibleRecords().size();
        out << "rows in view listed: " << listed << " in " << clock.elapsed() << " ms\n";
    }

    resetPeak();
    const long baseKb = statusValue("VmRSS");

    // Construct and show, first screen painted.
    double cpu = cpuMs();
    clock.restart();
    auto window = std::make_unique<windows::TGridFrm>(nullptr, QStringLiteral("ПРАЙС"), path, nullptr);
    window->resize(1000, 700);
    window->show();
    QApplication::processEvents();
    grid::DBGrid *grid = window->dbGrid();
    grid->viewport()->repaint();
    const qint64 shownMs = clock.elapsed();
    out << "window constructed and shown, first screen painted: " << shownMs << " ms (cpu " << cpuMs() - cpu << " ms, "
        << grid->tableModel()->rowCount() << " rows)\n";

    // Page by page from the first row to the last, every page painted.
    grid->setFocus();
    QApplication::setActiveWindow(window.get());
    window->table()->first();
    QApplication::processEvents();
    int pages = 0;
    cpu = cpuMs();
    clock.restart();
    while (grid->currentIndex().row() < grid->tableModel()->rowCount() - 1) {
        key(grid, Qt::Key_PageDown);
        grid->viewport()->repaint();
        ++pages;
    }
    const qint64 scrollMs = clock.elapsed();
    const double scrollCpu = cpuMs() - cpu;
    out << "paged to the last row: " << pages << " pages in " << scrollMs
        << " ms = " << (scrollMs > 0 ? pages * 1000.0 / scrollMs : 0.0) << " pages/s (cpu " << scrollCpu
        << " ms = " << (scrollCpu > 0 ? pages * 1000.0 / scrollCpu : 0.0) << " pages/s)\n";

    // A quantity typed into the current row, posted with Down.
    grid->setSelectedIndex(grid->findColumn(QStringLiteral("ZAK")));
    window->table()->first();
    QApplication::processEvents();
    clock.restart();
    key(grid, Qt::Key_5, QStringLiteral("5"));
    key(grid, Qt::Key_Return, QStringLiteral("\r"));
    key(grid, Qt::Key_Down);
    grid->viewport()->repaint();
    const qint64 editUs = clock.nsecsElapsed() / 1000;
    double stored = 0;
    window->table()->withRecord(1, [&] { stored = window->table()->field(u"ZAK").asFloat(); });
    out << "quantity typed, posted and repainted: " << editUs << " us (stored " << stored << ")\n";

    const long peakKb = statusValue("VmHWM");
    const long fileKb = QFileInfo(path).size() / 1024;
    out << "resident memory: before the window " << baseKb << " kB, peak " << peakKb << " kB, growth "
        << (peakKb - baseKb) << " kB for a " << fileKb << " kB table ("
        << (fileKb > 0 ? double(peakKb - baseKb) / fileKb : 0.0) << " x the file)\n";
    window.reset();
    config::setProgramFolder(QString());
    return 0;
}
