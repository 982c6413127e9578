// Unpacking received packages: into the package's folder without stored
// folders, replacing files, and refusing whatever could harm the disk.
#include "ExchangeTestSupport.h"

#include "exchange/PackageUnzip.h"

#include "config/ProgramFiles.h"

#include <QDir>
#include <QFileInfo>

#include <random>

using namespace exchange;
using namespace exchange_test;

namespace {

struct Folders {
    QTemporaryDir root;
    QString folder; // where the packages arrive, one level below root
    Folders()
    {
        QDir(root.path()).mkdir(QStringLiteral("in"));
        folder = root.path() + QStringLiteral("/in/");
    }
    QStringList inFolder() const { return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    QStringList inRoot() const { return QDir(root.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
};

} // namespace

TEST(UnzipFile, EntriesLandInThePackageFolderWithoutTheirFoldersAndReplaceFilesOfTheSameName)
{
    Folders f;
    writeFile(f.folder + QStringLiteral("PRICE.DBF"), "old price");
    makePackage(f.folder + QStringLiteral("in.zip"),
                {entry(QStringLiteral("data/2024/price.dbf"), QStringLiteral("new price")),
                 entry(QStringLiteral("data\\ref\\SubCustomer.dbf"), QStringLiteral("subs")),
                 QJsonObject{{QStringLiteral("name"), QStringLiteral("data/")}, {QStringLiteral("data"), QString()}}});
    RecordingFeedback feedback;
    UnzipFile(f.folder + QStringLiteral("in.zip"), QString(), true, feedback);
    EXPECT_TRUE(feedback.messages.isEmpty()) << feedback.messages.join(u'\n').toStdString();
    // The existing file keeps its spelling: one price table, not two.
    EXPECT_EQ(f.inFolder(), (QStringList{QStringLiteral("PRICE.DBF"), QStringLiteral("SubCustomer.dbf")}));
    EXPECT_EQ(readFile(f.folder + QStringLiteral("PRICE.DBF")), "new price");
    EXPECT_EQ(feedback.statuses,
              (QStringList{QStringLiteral("price.dbf распакован"), QStringLiteral("SubCustomer.dbf распакован")}));
    EXPECT_EQ(QFileInfo(f.folder + QStringLiteral("PRICE.DBF")).lastModified().date(), QDate(2024, 1, 2));
}

TEST(UnzipFile, KeepsThePackageWithoutDeleteAfterAndIgnoresAMissingOne)
{
    Folders f;
    makePackage(f.folder + QStringLiteral("keep.zip"), {entry(QStringLiteral("a.dbf"), QStringLiteral("a"))});
    RecordingFeedback feedback;
    UnzipFile(f.folder + QStringLiteral("keep.zip"), QString(), false, feedback);
    UnzipFile(f.folder + QStringLiteral("missing.zip"), QString(), true, feedback);
    EXPECT_EQ(f.inFolder(), (QStringList{QStringLiteral("a.dbf"), QStringLiteral("keep.zip")}));
    EXPECT_TRUE(feedback.messages.isEmpty());
}

TEST(UnpackFolder, ADamagedPackageAmongThreeGivesOneMessageAndAllThreeGo)
{
    Folders f;
    makePackage(f.folder + QStringLiteral("a.zip"), {entry(QStringLiteral("a.dbf"), QStringLiteral("a"))});
    writeFile(f.folder + QStringLiteral("b.zip"), "PK\x03\x04 this is no package");
    makePackage(f.folder + QStringLiteral("C.ZIP"), {entry(QStringLiteral("c.dbf"), QStringLiteral("c"))});
    RecordingFeedback feedback;
    unpackFolder(f.folder, feedback);
    ASSERT_EQ(feedback.messages.size(), 1);
    EXPECT_TRUE(
        feedback.messages[0].startsWith(QStringLiteral("Ошибка при распаковке ") + f.folder + QStringLiteral("b.zip")))
        << feedback.messages[0].toStdString();
    EXPECT_EQ(f.inFolder(), (QStringList{QStringLiteral("a.dbf"), QStringLiteral("c.dbf")}));
}

TEST(UnzipFile, NamesWithoutTheUtf8FlagAreCodePage866)
{
    Folders f;
    // "Прайс.dbf" in code page 866, as Russian Windows zip tools store it, and in flagged UTF-8.
    makePackage(f.folder + QStringLiteral("names.zip"),
                {QJsonObject{{QStringLiteral("raw"), QStringLiteral("8fe0a0a9e12e646266")},
                             {QStringLiteral("data"), QStringLiteral("866")}},
                 QJsonObject{{QStringLiteral("name"), QStringLiteral("Счёт.dbf")},
                             {QStringLiteral("utf8"), true},
                             {QStringLiteral("data"), QStringLiteral("utf8")}}});
    RecordingFeedback feedback;
    UnzipFile(f.folder + QStringLiteral("names.zip"), QString(), true, feedback);
    EXPECT_TRUE(feedback.messages.isEmpty()) << feedback.messages.join(u'\n').toStdString();
    EXPECT_EQ(readFile(f.folder + QStringLiteral("Прайс.dbf")), "866");
    EXPECT_EQ(readFile(f.folder + QStringLiteral("Счёт.dbf")), "utf8");
}

namespace {

struct HostileCase {
    const char *what;
    QJsonObject entry;
    UnzipLimits limits;
    bool foundWhileWriting = false; // the files before it are out already
};

UnzipLimits tight(qint64 maxEntry, double ratio, qint64 floor = 0, qint64 margin = 0)
{
    UnzipLimits l;
    l.maxEntrySize = maxEntry;
    l.maxRatio = ratio;
    l.ratioFloor = floor;
    l.freeSpaceMargin = margin;
    return l;
}

QJsonObject named(const QString &name) { return entry(name, QStringLiteral("payload")); }
QJsonObject withMode(const QString &name, int mode)
{
    QJsonObject e = named(name);
    e[QStringLiteral("mode")] = mode;
    return e;
}
QJsonObject zeros(int count, int declare = -1)
{
    QJsonObject e{{QStringLiteral("name"), QStringLiteral("big.dbf")}, {QStringLiteral("zeros"), count}};
    if (declare >= 0)
        e[QStringLiteral("declare")] = declare;
    return e;
}

class RefusedPackage : public ::testing::TestWithParam<HostileCase> {};

} // namespace

// Each package holds a good file first and the hostile entry second: every
// entry is judged before the first is written, so nothing is, inside the
// folder or beside it; only a lie found while writing leaves the good file.
TEST_P(RefusedPackage, CountsAsDamagedAndWritesNothing)
{
    const HostileCase &c = GetParam();
    Folders f;
    makePackage(f.folder + QStringLiteral("evil.zip"),
                {entry(QStringLiteral("good.dbf"), QStringLiteral("good")), c.entry});
    RecordingFeedback feedback;
    unpackFolder(f.folder, feedback, c.limits);
    ASSERT_EQ(feedback.messages.size(), 1) << c.what;
    EXPECT_TRUE(feedback.messages[0].startsWith(QStringLiteral("Ошибка при распаковке ") + f.folder
                                                + QStringLiteral("evil.zip (")));
    const QStringList left = c.foundWhileWriting ? QStringList{QStringLiteral("good.dbf")} : QStringList{};
    EXPECT_EQ(f.inFolder(), left) << c.what;
    EXPECT_TRUE(f.inRoot().isEmpty()) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedPackage,
    ::testing::Values(HostileCase{"dot-dot", named(QStringLiteral("..")), {}},
                      HostileCase{"dot-dot after a folder", named(QStringLiteral("x/..")), {}},
                      HostileCase{"dot", named(QStringLiteral("a\\.")), {}},
                      HostileCase{"drive letter", named(QStringLiteral("C:evil.dbf")), {}},
                      HostileCase{"control character", named(QStringLiteral("evil\x01.dbf")), {}},
                      HostileCase{"symbolic link", withMode(QStringLiteral("link.dbf"), 0120777), {}},
                      HostileCase{"device", withMode(QStringLiteral("dev.dbf"), 0020666), {}},
                      HostileCase{"declared size above the cap", zeros(5000), tight(4096, 1e9)},
                      HostileCase{"ratio above the limit", zeros(200000), tight(qint64(1) << 30, 100)},
                      HostileCase{"declared size smaller than the data", zeros(200000, 100), {}, true},
                      HostileCase{"no room left on the disk", zeros(1000),
                                  tight(qint64(1) << 30, 1e9, 0, qint64(1) << 62)}),
    [](const ::testing::TestParamInfo<HostileCase> &info) {
        std::string name = info.param.what;
        for (char &ch : name)
            if (!std::isalnum(uchar(ch)))
                ch = '_';
        return name;
    });

TEST(UnzipFile, PathsPointingOutsideStayInsideTheFolder)
{
    Folders f;
    makePackage(f.folder + QStringLiteral("slip.zip"),
                {named(QStringLiteral("../../outside1.dbf")), named(QStringLiteral("/tmp/outside2.dbf")),
                 named(QStringLiteral("..\\..\\outside3.dbf")), named(QStringLiteral("C:\\outside4.dbf"))});
    RecordingFeedback feedback;
    UnzipFile(f.folder + QStringLiteral("slip.zip"), QString(), true, feedback);
    EXPECT_TRUE(feedback.messages.isEmpty()) << feedback.messages.join(u'\n').toStdString();
    EXPECT_EQ(f.inFolder(),
              (QStringList{QStringLiteral("outside1.dbf"), QStringLiteral("outside2.dbf"),
                           QStringLiteral("outside3.dbf"), QStringLiteral("outside4.dbf")}));
    EXPECT_TRUE(f.inRoot().isEmpty());
}

TEST(UnzipFile, ExecutePermissionOnlyInTheProgramFolder)
{
    Folders f;
    const auto unpackTool = [&](const QString &folder) {
        makePackage(folder + QStringLiteral("tool.zip"), {withMode(QStringLiteral("tool.sh"), 0100755)});
        RecordingFeedback feedback;
        UnzipFile(folder + QStringLiteral("tool.zip"), QString(), true, feedback);
        EXPECT_TRUE(feedback.messages.isEmpty());
        return QFileInfo(folder + QStringLiteral("tool.sh")).permissions();
    };
    const QFileDevice::Permissions inData = unpackTool(f.folder);
    EXPECT_FALSE(inData & QFileDevice::ExeOwner);
    EXPECT_TRUE(inData & QFileDevice::ReadOther);

    config::setProgramFolder(f.root.path());
    const QFileDevice::Permissions inProgram = unpackTool(f.root.path() + u'/');
    config::setProgramFolder(QString());
    EXPECT_TRUE(inProgram & QFileDevice::ExeOwner);
}

// Damaged in transit, anywhere: either the file comes out whole and right, or
// the package is reported and nothing half-written is left.
TEST(UnzipFile, RandomlyDamagedPackagesNeverLeaveAWrongFile)
{
    Folders f;
    QByteArray content;
    for (int i = 0; i < 4000; ++i)
        content += QByteArray::number(i * 7919 % 10007) + ' ';
    makePackage(f.folder + QStringLiteral("model.zip"),
                {entry(QStringLiteral("price.dbf"), QString::fromLatin1(content))});
    const QByteArray model = readFile(f.folder + QStringLiteral("model.zip"));
    QFile::remove(f.folder + QStringLiteral("model.zip"));
    std::mt19937 rng(99);
    int reported = 0;
    for (int round = 0; round < 200; ++round) {
        QByteArray damaged = model;
        for (int flips = 1 + int(rng() % 3); flips > 0; --flips)
            damaged[qsizetype(rng() % quint32(damaged.size()))] = char(rng());
        writeFile(f.folder + QStringLiteral("p.zip"), damaged);
        RecordingFeedback feedback;
        UnzipFile(f.folder + QStringLiteral("p.zip"), QString(), true, feedback);
        reported += int(feedback.messages.size());
        const QStringList left = f.inFolder();
        EXPECT_FALSE(QFileInfo::exists(f.folder + QStringLiteral("p.zip")));
        for (const QString &name : left) {
            // A damaged name may come out under another name; the content is whole or not there.
            EXPECT_EQ(readFile(f.folder + name), content) << "round " << round << ": " << name.toStdString();
            QFile::remove(f.folder + name);
        }
    }
    EXPECT_GT(reported, 100);
}
