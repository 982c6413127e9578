// order_window_bench [RUNS [PART [ROWS]]]: the order window over a generated
// price list of ROWS rows, 100 000 by default (kxdbf genprice), inside a
// program folder written by the demo installation. Run by hand, not a test. Prints one line per measurement:
// opening the window until its first rows are painted (index present, index
// built, Zak added by a restructure), the order view, quantities typed into
// the grid, a markup change and the clearing of the order. PART (open, entry,
// clear) runs one part alone, for a profiler.
#include "demo/DemoInstallation.h"
#include "grid/DBGrid.h"
#include "grid/TableModel.h"
#include "ordering_windows/OrderWindows.h"
#include "ordering_windows/uOrderFrm.h"
#include "platform/fake/FakePlatform.h"
#include "tables/CodePage.h"
#include "tables/Table.h"
#include "tables/TableCreate.h"
#include "tools/kxdbf_command.h"
#include "windows/MainFrmServices.h"

#include "config/ProgramFiles.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <stdexcept>
#include <vector>

// The generator of `kxdbf genprice` is linked in; these are the few pieces of
// the kxdbf program it calls.
namespace kxdbf {
namespace {
std::vector<Command> &registry()
{
    static std::vector<Command> all;
    return all;
}
} // namespace
void registerCommand(Command command) { registry().push_back(std::move(command)); }
const std::vector<Command> &commands() { return registry(); }
void out(const QString &) {}
void usageError(const QString &message) { throw std::invalid_argument(message.toStdString()); }
} // namespace kxdbf

namespace {

constexpr int kEntries = 1000;
constexpr int kMarkupSwitches = 20;

void generatePrice(const QString &path, int rows)
{
    for (const kxdbf::Command &c : kxdbf::commands())
        if (c.name == QStringLiteral("genprice")) {
            c.run({path, QString::number(rows), QStringLiteral("42")});
            return;
        }
    throw std::runtime_error("genprice is not linked in");
}

// The main window as the order window sees it: an MDI area and a status line.
class BenchMainFrm : public windows::MainFrmServices {
public:
    explicit BenchMainFrm(QString base) : base_(std::move(base))
    {
        area.resize(1000, 700);
        area.show();
    }
    QString folder(windows::WorkFolder which) const override
    {
        switch (which) {
        case windows::WorkFolder::Price: return base_ + QStringLiteral("IN/");
        case windows::WorkFolder::Orders: return base_ + QStringLiteral("Out/");
        case windows::WorkFolder::Invoices: return base_ + QStringLiteral("Invoice/");
        case windows::WorkFolder::References: return base_ + QStringLiteral("Reference/");
        case windows::WorkFolder::Archive: return base_ + QStringLiteral("Archiv/");
        case windows::WorkFolder::Prescriptions: return base_ + QStringLiteral("Prescription/");
        case windows::WorkFolder::Narcotics: return base_ + QStringLiteral("Outboundn/");
        }
        return base_;
    }
    void setFolder(windows::WorkFolder, const QString &) override {}
    void setStatusText(const QString &text) override { status_ = text; }
    QString statusText() const override { return status_; }
    QVariant lookupSubCustomer(const QString &) override { return 1; }
    QWidget *findChildByCaption(const QString &) const override { return nullptr; }
    bool childExists(const QString &) const override { return false; }
    void rebuildTableMenus() override {}
    QWidget *childParent() override { return &area; }
    void showChild(QWidget *child) override
    {
        QMdiSubWindow *frame = area.addSubWindow(child);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        frame->resize(980, 660);
        frame->show();
    }
    void closeAll()
    {
        area.closeAllSubWindows();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }

    QMdiArea area;

private:
    QString base_;
    QString status_;
};

void copyTable(const QString &fromFolder, const QString &toFolder)
{
    for (const char *ext : {"dbf", "mdx"}) {
        const QString to = toFolder + QStringLiteral("price.") + QLatin1String(ext);
        QFile::remove(to);
        const QString from = fromFolder + QStringLiteral("price.") + QLatin1String(ext);
        if (QFile::exists(from) && !QFile::copy(from, to))
            throw std::runtime_error("cannot copy the price list");
    }
}

// Wall clock and this process's processor time, in ms: on a shared machine
// the second tells what the window cost while other programs take the cores.
struct Figure {
    double wall = 0;
    double cpu = 0;
    Figure &operator+=(const Figure &other)
    {
        wall += other.wall;
        cpu += other.cpu;
        return *this;
    }
};

double cpuNowMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

class Stopwatch {
public:
    Stopwatch() { restart(); }
    void restart()
    {
        wall_.start();
        cpu_ = cpuNowMs();
    }
    Figure elapsed() const { return {double(wall_.nsecsElapsed()) / 1e6, cpuNowMs() - cpu_}; }

private:
    QElapsedTimer wall_;
    double cpu_ = 0;
};

void report(const char *what, Figure f, int times = 1)
{
    std::printf("%-62s %10.3f ms (cpu %.3f)\n", what, f.wall / times, f.cpu / times);
}

// The median run by wall clock, with the fastest and the slowest.
void reportRuns(const char *what, std::vector<Figure> runs)
{
    std::sort(runs.begin(), runs.end(), [](const Figure &a, const Figure &b) { return a.wall < b.wall; });
    const Figure &median = runs[runs.size() / 2];
    std::printf("%-62s %10.3f ms (cpu %.3f; min %.3f, max %.3f, %zu runs)\n", what, median.wall, median.cpu,
                runs.front().wall, runs.back().wall, runs.size());
}

struct Opened {
    ordering::TOrderFrm *window;
    Figure cost;
};

// From the call until the first screen of rows is painted.
Opened openWindow(BenchMainFrm &main, ordering::OrderWindowMode mode, const QString &path)
{
    const Stopwatch clock;
    ordering::TOrderFrm *w = ordering::OpenOrderWindow(main, mode, path);
    QApplication::processEvents();
    w->dbGrid()->viewport()->repaint();
    const Figure cost = clock.elapsed();
    if (!w->hasTable() || w->dbGrid()->tableModel()->rowCount() == 0)
        throw std::runtime_error("the order window shows no rows: " + main.statusText().toStdString());
    main.area.setActiveSubWindow(qobject_cast<QMdiSubWindow *>(w->frame()));
    QApplication::setActiveWindow(&main.area);
    w->dbGrid()->setFocus();
    QApplication::processEvents();
    return {w, cost};
}

void key(ordering::TOrderFrm *w, Qt::Key code, char text = 0)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : w->dbGrid();
    if (text)
        QTest::keyClick(target, text);
    else
        QTest::keyClick(target, code);
}

QString fieldName(ordering::TOrderFrm *w)
{
    const tables::Field f = w->dbGrid()->selectedField();
    return f.isValid() ? f.name().toUpper() : QString();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const QString part = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const auto wanted = [&](const char *name) { return part.isEmpty() || part == QLatin1String(name); };
    const int rows = argc > 3 ? std::max(1, std::atoi(argv[3])) : 100000;
    platform::fake::FakePlatform fake; // no message box may wait for an answer
    QTemporaryDir temp;
    const QString base = temp.path() + QStringLiteral("/inst/");
    const QString master = temp.path() + QStringLiteral("/master/");
    const QString noZak = temp.path() + QStringLiteral("/nozak/");
    QDir().mkpath(master);
    QDir().mkpath(noZak);

    QElapsedTimer clock;
    clock.start();
    demo::DemoOptions options;
    options.priceRows = 200;
    demo::createDemoInstallation(base, options);
    config::setProgramFolder(base);
    tables::setDefaultOpenCodePage(866);
    generatePrice(master + QStringLiteral("price.dbf"), rows);
    {
        // The same list without Zak, with its index, for the restructure on open.
        tables::FieldSpecs specs;
        tables::Table t(master + QStringLiteral("price.dbf"));
        t.open();
        for (const tables::FieldSpec &s : tables::fieldSpecsOf(t))
            if (s.name.compare(QStringLiteral("Zak"), Qt::CaseInsensitive) != 0)
                specs.push_back(s);
        t.close();
        QFile::copy(master + QStringLiteral("price.dbf"), noZak + QStringLiteral("price.dbf"));
        QFile::remove(tables::restructureTable(noZak + QStringLiteral("price.dbf"), specs));
        tables::Table indexed(noZak + QStringLiteral("price.dbf"));
        indexed.addIndexDef(QStringLiteral("Name"), QStringLiteral("Name"));
        indexed.open();
    }
    std::printf("generated %d rows in %lld ms\n", rows, clock.elapsed());

    BenchMainFrm main(base);
    const QString in = main.folder(windows::WorkFolder::Price);
    const QString price = in + QStringLiteral("price.dbf");
    // The program's main window is up before any order window: fonts and
    // styles are loaded by then. The demo's own small list warms them up.
    openWindow(main, ordering::OrderWindowMode::Price, price);
    main.closeAll();

    std::vector<Figure> built, present, restructured, orderView;
    int ordered = 0;
    copyTable(master, in);
    for (int run = 0; run < runs && wanted("open"); ++run) {
        copyTable(noZak, in);
        restructured.push_back(openWindow(main, ordering::OrderWindowMode::Price, price).cost);
        main.closeAll();

        copyTable(master, in);
        QFile::remove(in + QStringLiteral("price.mdx"));
        built.push_back(openWindow(main, ordering::OrderWindowMode::Price, price).cost);
        if (!QFile::exists(in + QStringLiteral("price.mdx")))
            throw std::runtime_error("no index was built");
        main.closeAll();

        present.push_back(openWindow(main, ordering::OrderWindowMode::Price, price).cost);
        main.closeAll();

        const Opened order = openWindow(main, ordering::OrderWindowMode::Order, price);
        orderView.push_back(order.cost);
        ordered = int(order.window->table()->visibleRecords().size());
        main.closeAll();
    }
    if (!QFile::exists(in + QStringLiteral("price.mdx"))) {
        // The index is built once for the later openings.
        openWindow(main, ordering::OrderWindowMode::Price, price);
        main.closeAll();
    }
    // Kept for the later openings: the list with its index.
    copyTable(in, master);
    if (wanted("open")) {
        reportRuns("open \"ПРАЙС\", index present, first rows painted", present);
        reportRuns("open \"ПРАЙС\", the Name tag built (no .mdx)", built);
        reportRuns("open \"ПРАЙС\", Zak added by a restructure (.mdx present)", restructured);
        reportRuns("open \"ЗАКАЗ\" (Zak<>0), first rows painted", orderView);
        std::printf("  rows in the order view: %d\n", ordered);
    }

    if (wanted("entry")) {
        ordering::TOrderFrm *w = openWindow(main, ordering::OrderWindowMode::Price, price).window;
        if (fieldName(w) != QStringLiteral("NAME"))
            throw std::runtime_error("the grid does not start on Name");
        const double sumBefore = w->OrderSum();
        Figure keys, painted;
        Stopwatch entry;
        for (int i = 0; i < kEntries; ++i) {
            entry.restart();
            key(w, Qt::Key_Return); // to the quantity
            key(w, Qt::Key_unknown, char('1' + i % 9));
            key(w, Qt::Key_Return); // posts, totals follow, back to Name
            keys += entry.elapsed();
            QApplication::processEvents(); // what the post made dirty is painted
            painted += entry.elapsed();
            key(w, Qt::Key_Down);
            QApplication::processEvents();
        }
        if (fieldName(w) != QStringLiteral("NAME") || w->OrderSum() == sumBefore)
            throw std::runtime_error("the typed quantities were not posted");
        report("quantity typed, Enter: posted with totals (keys), each", keys, kEntries);
        report("the same until the window is painted again, each", painted, kEntries);
        std::printf("  positions now: %d, sum %.2f (before %.2f)\n", w->PositionCount(), w->OrderSum(), sumBefore);

        std::vector<Figure> markup;
        for (int i = 0; i < kMarkupSwitches; ++i) {
            const int index = i % 2 == 0 ? 2 : 0; // 12 -> Price3, 10 -> Price1
            const Stopwatch clockMarkup;
            auto *cbPay = w->findChild<QComboBox *>(QStringLiteral("cbPay"));
            cbPay->setCurrentIndex(index);
            emit cbPay->activated(index);
            markup.push_back(clockMarkup.elapsed());
            QApplication::processEvents();
        }
        std::printf("  price column now %s\n", qPrintable(w->PriceField()));
        reportRuns("markup changed in the combo (ApplyMarkup, RecountTotals)", markup);
        main.closeAll();
    }

    if (wanted("clear")) {
        // Where the button is offered (the order view), and over the whole list.
        for (const auto mode : {ordering::OrderWindowMode::Order, ordering::OrderWindowMode::Price}) {
            copyTable(master, in);
            ordering::TOrderFrm *w = openWindow(main, mode, price).window;
            const int rowsInView = int(w->table()->visibleRecords().size());
            const int positions = w->PositionCount();
            const Stopwatch clearing;
            w->btClearOrderClick();
            const Figure cost = clearing.elapsed();
            std::printf("  rows in view %d, positions before %d, after %d\n", rowsInView, positions,
                        w->PositionCount());
            report(mode == ordering::OrderWindowMode::Order ? "btClearOrderClick in \"ЗАКАЗ\" (the ordered rows)"
                                                            : "btClearOrderClick in \"ПРАЙС\" (every row)",
                   cost);
            main.closeAll();
        }
    }
    config::setProgramFolder(QString());
    return 0;
}
