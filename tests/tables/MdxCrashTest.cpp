// Several processes on one table and its index, and a writer killed
// (SIGKILL) at random moments: every record it reported as posted is there,
// and the table and its index reopen sound.
#include "MdxCheck.h"
#include "MdxOracle.h"
#include "TestTables.h"

#include "tables/Table.h"
#include "tables/TableCreate.h"

#include <QSet>

#include <csignal>
#include <cstring>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace tables;

namespace {

QString makeTable(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("shared.dbf"));
    createTable(path, 4,
                {{QStringLiteral("IDRow"), FieldKind::LargeInt, 10},
                 {QStringLiteral("Name"), FieldKind::String, 40},
                 {QStringLiteral("Qnt"), FieldKind::Integer, 6}},
                {.languageId = 0});
    Table t(path);
    t.addIndexDef(QStringLiteral("Name"), QStringLiteral("Name"));
    t.addIndexDef(QStringLiteral("IDRow"), QStringLiteral("IDRow"));
    t.open();
    return path;
}

// In a child process: appends records with ids from `firstId` on (and edits
// older ones now and then), telling the parent each id once it is posted.
[[noreturn]] void writer(const QString &path, std::int64_t firstId, int count, int reportFd, unsigned seed)
{
    try {
        std::mt19937 rng(seed);
        Table t(path);
        t.setIndexName(QStringLiteral("NAME"));
        t.open();
        for (std::int64_t id = firstId; count < 0 || id < firstId + count; ++id) {
            t.append();
            t.field(u"IDRow").setInteger(id);
            t.field(u"Name").setString(QStringLiteral("Имя %1 %2").arg(rng() % 997).arg(id));
            t.post();
            if (::write(reportFd, &id, sizeof id) != sizeof id)
                ::_exit(3);
            if (id % 3 == 0 && t.gotoBookmark(std::uniform_int_distribution<std::uint32_t>(1, t.recNo())(rng))) {
                t.edit();
                t.field(u"Name").setString(QStringLiteral("Правка %1").arg(rng() % 997));
                t.field(u"Qnt").setInteger(id % 100000);
                t.post();
            }
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "writer: %s\n", e.what());
        ::_exit(2);
    }
    ::_exit(0);
}

struct Child {
    pid_t pid = -1;
    int fd = -1;
};

Child startWriter(const QString &path, std::int64_t firstId, int count, unsigned seed)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return {};
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        writer(path, firstId, count, fds[1], seed);
    }
    ::close(fds[1]);
    return {pid, fds[0]};
}

// Ids the child reported, reading until its end or `stopAfterMs`.
QSet<std::int64_t> collect(const Child &c, int stopAfterMs = -1)
{
    QSet<std::int64_t> ids;
    if (stopAfterMs >= 0) {
        ::usleep(useconds_t(stopAfterMs) * 1000);
        ::kill(c.pid, SIGKILL);
    }
    std::int64_t id;
    while (::read(c.fd, &id, sizeof id) == sizeof id)
        ids.insert(id);
    ::close(c.fd);
    int status = 0;
    ::waitpid(c.pid, &status, 0);
    if (stopAfterMs < 0) {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    return ids;
}

// Reopens writable (which repairs an interrupted update) and checks the
// records and the index.
void expectSound(const QString &path, const QSet<std::int64_t> &reported)
{
    QSet<std::int64_t> present;
    std::uint32_t records = 0;
    {
        Table t(path);
        t.setIndexName(QStringLiteral("NAME"));
        t.open();
        EXPECT_EQ(t.indexTagNames(), (QStringList{"NAME", "IDROW"}));
        t.setShowDeleted(true);
        for (t.first(); !t.eof(); t.next()) {
            const std::int64_t id = t.field(u"IDRow").asInteger();
            EXPECT_FALSE(present.contains(id)) << "id " << id << " twice";
            present.insert(id);
        }
        records = t.recordCount();
        EXPECT_EQ(std::uint32_t(present.size()), records);
    }
    for (std::int64_t id : reported)
        EXPECT_TRUE(present.contains(id)) << "posted id " << id << " is missing";
    const mdx_check::FileCheck fc = mdx_check::check(path.left(path.size() - 4) + QStringLiteral(".mdx"));
    EXPECT_TRUE(fc.problems.isEmpty()) << fc.problems.join(u'\n').toStdString();
    for (const auto &tag : fc.tags)
        EXPECT_EQ(tag.entries.size(), records) << tag.name.toStdString();
    if (mdx_oracle::ensureBuilt().isEmpty()) {
        const mdx_oracle::DumpReport report = mdx_oracle::dump(path);
        for (const QString &tag : report.tagNames)
            EXPECT_TRUE(report.tags[tag].checkOk)
                << tag.toStdString() << ": " << report.tags[tag].errors.join(u'\n').toStdString();
    }
}

} // namespace

TEST(MdxProcesses, TwoProcessesAppendAndEditWithoutLosingRecords)
{
    QTemporaryDir dir;
    const QString path = makeTable(dir);
    const Child a = startWriter(path, 1, 150, 1);
    const Child b = startWriter(path, 100001, 150, 2);
    ASSERT_GT(a.pid, 0);
    ASSERT_GT(b.pid, 0);
    QSet<std::int64_t> ids = collect(a);
    ids.unite(collect(b));
    EXPECT_EQ(ids.size(), 300);
    expectSound(path, ids);
}

TEST(MdxProcesses, KilledWriterLeavesEveryPostedRecordAndASoundIndex)
{
    QTemporaryDir dir;
    const QString path = makeTable(dir);
    std::mt19937 rng(77);
    QSet<std::int64_t> reported;
    std::int64_t nextId = 1;
    int interrupted = 0;
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        const Child c = startWriter(path, nextId, -1, unsigned(round));
        ASSERT_GT(c.pid, 0);
        const QSet<std::int64_t> ids = collect(c, std::uniform_int_distribution<int>(5, 120)(rng));
        reported.unite(ids);
        nextId += 100000;
        interrupted += testing_tables::readFile(path.left(path.size() - 4) + QStringLiteral(".mdx")).at(47) != 0;
        expectSound(path, reported);
    }
    EXPECT_GT(reported.size(), 12);
    // How many kills hit an index update (then the next opening repaired it).
    RecordProperty("interrupted_updates", interrupted);
    std::printf("killed during an index update: %d of 12\n", interrupted);
}
