// A refresh killed (SIGKILL) at random moments never loses an entered value:
// either the ".old" copy is still there to carry from, or the new table
// already holds everything.
#include "ExchangeTestSupport.h"

#include "exchange/IncomingRefresh.h"

#include <QDir>
#include <QElapsedTimer>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace exchange;
using namespace exchange_test;

namespace {

constexpr int kRows = 20000;

std::vector<PriceRow> rows(std::mt19937 &rng, bool entered)
{
    std::vector<PriceRow> result;
    for (int i = 1; i <= kRows; ++i) {
        const bool ordered = entered && rng() % 5 == 0;
        result.push_back(
            {i, QStringLiteral("Товар %1").arg(i), ordered ? std::optional<double>(1 + rng() % 9) : std::nullopt});
    }
    return result;
}

void copyInto(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    for (const QString &name : QDir(from).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(from + name, to + name));
}

} // namespace

TEST(RefreshCrash, KilledAtAnyMomentLosesNoEnteredValue)
{
    QTemporaryDir dir;
    const QString properties = dir.filePath(QStringLiteral("properties.ini"));
    writePriceEntries(properties);
    std::mt19937 rng(4242);
    for (bool restructure : {false, true}) {
        // The template: an old copy with values, a new one without (and without Zak when restructuring).
        const QString model = dir.filePath(QStringLiteral("model%1/").arg(restructure));
        QDir().mkpath(model);
        createPrice(model + QStringLiteral("price.old"), rows(rng, true));
        createPrice(model + QStringLiteral("price.dbf"), rows(rng, false), !restructure);

        // The shortest of two runs (the first one reads cold files) sets the
        // range of the kill moments.
        RecordingFeedback quiet;
        qint64 took = 0;
        QString reference;
        for (int run = 0; run < 2; ++run) {
            reference = dir.filePath(QStringLiteral("reference%1_%2/").arg(restructure).arg(run));
            copyInto(model, reference);
            QElapsedTimer clock;
            clock.start();
            refreshTable(reference, QStringLiteral("price.dbf"), properties, quiet);
            took = run == 0 ? clock.elapsed() : std::min(took, clock.elapsed());
        }
        took = std::max<qint64>(took, 5);
        const auto expected = zakColumn(reference + QStringLiteral("price.dbf"));
        const auto entered = zakColumn(model + QStringLiteral("price.old"));

        int interrupted = 0;
        for (int round = 0; round < 12; ++round) {
            const QString folder = dir.filePath(QStringLiteral("run%1_%2/").arg(restructure).arg(round));
            copyInto(model, folder);
            std::fflush(nullptr);
            const pid_t pid = ::fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                RecordingFeedback none;
                try {
                    refreshTable(folder, QStringLiteral("price.dbf"), properties, none);
                } catch (...) {
                    ::_exit(2);
                }
                ::_exit(0);
            }
            ::usleep(useconds_t(std::uniform_int_distribution<qint64>(0, took * 1000)(rng)));
            ::kill(pid, SIGKILL);
            int status = 0;
            ::waitpid(pid, &status, 0);
            if (WIFSIGNALED(status))
                ++interrupted;
            else
                ASSERT_EQ(WEXITSTATUS(status), 0);

            const bool oldLeft = QFileInfo::exists(folder + QStringLiteral("price.old"));
            const bool tableLeft = QFileInfo::exists(folder + QStringLiteral("price.dbf"));
            if (!oldLeft) {
                // The old copy goes only after the new table is complete.
                ASSERT_TRUE(tableLeft);
                EXPECT_EQ(zakColumn(folder + QStringLiteral("price.dbf")), expected) << "round " << round;
                continue;
            }
            EXPECT_EQ(zakColumn(folder + QStringLiteral("price.old")), entered) << "round " << round;
            if (!tableLeft)
                continue; // killed between the renames of the restructure: the old copy goes back in service
            // The next refresh finishes the work from the old copy.
            refreshTable(folder, QStringLiteral("price.dbf"), properties, quiet, CarryMode::FillEmpty);
            EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("price.old")));
            EXPECT_EQ(zakColumn(folder + QStringLiteral("price.dbf")), expected) << "round " << round;
        }
        EXPECT_GT(interrupted, 0) << "no run was interrupted; the kill came too late every time";
    }
}
