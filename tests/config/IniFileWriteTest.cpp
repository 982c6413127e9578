#include "IniTestFiles.h"

#include "config/ConfigError.h"
#include "config/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

using config::ConfigError;
using config::IniFile;

namespace {

const QString kName = QStringLiteral("KXOrders.ini");

TEST(IniFileWrite, CreatesFileAndSectionInCodePage1251)
{
    IniTestFolder folder;
    const IniFile ini(folder.path(kName));
    ini.writeString(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActiveCustomer"), QStringLiteral("Аптека"));
    EXPECT_EQ(folder.bytes(kName), QByteArray("[\xC7\xC0\xCA\xC0\xC7]\r\nActiveCustomer=\xC0\xEF\xF2\xE5\xEA\xE0\r\n"));
    EXPECT_EQ(ini.readString(QStringLiteral("заказ"), QStringLiteral("activecustomer")), QStringLiteral("Аптека"));
}

struct WriteCase {
    const char *label;
    const char16_t *before;
    const char16_t *section;
    const char16_t *key;
    const char16_t *value;
    const char16_t *after;
};

const WriteCase kWriteCases[] = {
    {"replaces the value and keeps the key's spelling, other lines untouched",
     u"; note\r\n[Main]\r\nTop = 1\r\nLeft=2\r\n", u"MAIN", u"top", u"280",
     u"; note\r\n[Main]\r\nTop=280\r\nLeft=2\r\n"},
    {"adds a key at the end of its section, before the blank line", u"[Main]\r\nTop=1\r\n\r\n[Path]\r\nPrice=/x/\r\n",
     u"main", u"Left", u"367", u"[Main]\r\nTop=1\r\nLeft=367\r\n\r\n[Path]\r\nPrice=/x/\r\n"},
    {"adds a key to an empty last section", u"[A]\r\nx=1\r\n[B]\r\n", u"b", u"K", u"v",
     u"[A]\r\nx=1\r\n[B]\r\nK=v\r\n"},
    {"adds a missing section at the end", u"[A]\r\nx=1\r\n", u"Архив", u"Top", u"-2",
     u"[A]\r\nx=1\r\n[Архив]\r\nTop=-2\r\n"},
    {"keeps LF line ends of the file", u"[A]\nx=1\n", u"A", u"y", u"2", u"[A]\nx=1\ny=2\n"},
    {"writes the value as typed, quotes and semicolons included", u"", u"price.dbf", u"Name",
     u"Name;2;\"Full name\";Y;Y;N;250", u"[price.dbf]\r\nName=Name;2;\"Full name\";Y;Y;N;250\r\n"},
    {"an empty value", u"[A]\r\nx=1\r\n", u"A", u"x", u"", u"[A]\r\nx=\r\n"},
};

class IniFileWriteCases : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniFileWriteCases, ChangesOnlyWhatIsWritten)
{
    const WriteCase &c = GetParam();
    IniTestFolder folder;
    folder.putText(kName, QString::fromUtf16(c.before));
    IniFile(folder.path(kName))
        .writeString(QString::fromUtf16(c.section), QString::fromUtf16(c.key), QString::fromUtf16(c.value));
    EXPECT_EQ(folder.text(kName).toStdString(), QString::fromUtf16(c.after).toStdString());
}

INSTANTIATE_TEST_SUITE_P(Cases, IniFileWriteCases, ::testing::ValuesIn(kWriteCases));

TEST(IniFileWrite, TypedValuesAreStoredAsText)
{
    IniTestFolder folder;
    const IniFile ini(folder.path(kName));
    ini.writeInteger(QStringLiteral("Main"), QStringLiteral("Top"), -2);
    ini.writeBool(QStringLiteral("FTP"), QStringLiteral("Passive"), true);
    ini.writeBool(QStringLiteral("FTP"), QStringLiteral("Other"), false);
    EXPECT_EQ(folder.text(kName), QStringLiteral("[Main]\r\nTop=-2\r\n[FTP]\r\nPassive=1\r\nOther=0\r\n"));
    EXPECT_EQ(ini.readInteger(QStringLiteral("Main"), QStringLiteral("Top"), 0), -2);
    EXPECT_TRUE(ini.readBool(QStringLiteral("FTP"), QStringLiteral("Passive"), false));
}

TEST(IniFileWrite, EveryAccessSeesTheFileAsItIsNow)
{
    IniTestFolder folder;
    const IniFile ini(folder.path(kName));
    ini.writeInteger(QStringLiteral("Prescription"), QStringLiteral("NumZ"), 4);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Prescription"), QStringLiteral("NumZ"), 0), 4);
    folder.putText(kName, QStringLiteral("[Prescription]\r\nNumZ=11\r\n")); // another writer
    EXPECT_EQ(ini.readInteger(QStringLiteral("Prescription"), QStringLiteral("NumZ"), 0), 11);
    ini.writeInteger(QStringLiteral("Prescription"), QStringLiteral("Other"), 1);
    EXPECT_EQ(folder.text(kName), QStringLiteral("[Prescription]\r\nNumZ=11\r\nOther=1\r\n"));
}

TEST(IniFileWrite, CharactersOutsideCodePage1251BecomeQuestionMarks)
{
    IniTestFolder folder;
    const IniFile ini(folder.path(kName));
    ini.writeString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("a\u4E2Dб"));
    EXPECT_EQ(ini.readString(QStringLiteral("S"), QStringLiteral("K")), QStringLiteral("a?б"));
}

TEST(IniFileWrite, LineBreaksInValuesOrNamesAreRefusedAndNothingIsWritten)
{
    IniTestFolder folder;
    const IniFile ini(folder.path(kName));
    ini.writeString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("1"));
    const QByteArray before = folder.bytes(kName);
    EXPECT_THROW(ini.writeString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("a\r\n[X]")), ConfigError);
    EXPECT_THROW(ini.writeString(QStringLiteral("S"), QStringLiteral("K=1"), QStringLiteral("a")), ConfigError);
    EXPECT_THROW(ini.writeString(QStringLiteral("S]"), QStringLiteral("K"), QStringLiteral("a")), ConfigError);
    EXPECT_THROW(ini.writeString(QStringLiteral("S"), QStringLiteral(" "), QStringLiteral("a")), ConfigError);
    EXPECT_EQ(folder.bytes(kName), before);
}

// The message names the file with its full path.
void expectRefused(const QString &fileName)
{
    const IniFile ini(fileName);
    try {
        ini.writeInteger(QStringLiteral("Main"), QStringLiteral("Top"), 1);
        FAIL() << "write was not refused";
    } catch (const ConfigError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Unable to write to ") + QFileInfo(fileName).absoluteFilePath());
    }
}

TEST(IniFileWriteRefused, MissingFolder)
{
    IniTestFolder folder;
    expectRefused(folder.path(QStringLiteral("no/such/folder/") + kName));
}

TEST(IniFileWriteRefused, NameOfAFolder)
{
    IniTestFolder folder;
    QDir(folder.folder()).mkdir(kName);
    expectRefused(folder.path(kName));
}

TEST(IniFileWriteRefused, ParentIsAFile)
{
    IniTestFolder folder;
    folder.putText(QStringLiteral("plain"), QStringLiteral("x"));
    expectRefused(folder.path(QStringLiteral("plain/") + kName));
}

TEST(IniFileWriteRefused, RelativeNameIsReportedInFull)
{
    const QString relative = QStringLiteral("no-such-folder-kx/") + kName;
    expectRefused(relative);
}

constexpr uid_t kNobody = 65534;

// Permissions do not bind the super-user, so then the attempt runs in a child
// process that has dropped to an unprivileged user. Returns what went wrong.
std::string unprivileged(const std::function<std::string()> &attempt)
{
    if (geteuid() != 0)
        return attempt();
    int fds[2];
    if (pipe(fds) != 0)
        return "pipe failed";
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        std::string problem = (setgid(kNobody) == 0 && setuid(kNobody) == 0) ? attempt() : "cannot drop privileges";
        [[maybe_unused]] const auto n = write(fds[1], problem.data(), problem.size());
        _exit(0);
    }
    close(fds[1]);
    std::string problem;
    char buffer[256];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        problem.append(buffer, size_t(n));
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return problem;
}

std::string refusalProblem(const QString &fileName)
{
    return unprivileged([&]() -> std::string {
        try {
            IniFile(fileName).writeInteger(QStringLiteral("Main"), QStringLiteral("Top"), 1);
            return "write was not refused";
        } catch (const ConfigError &e) {
            const QString expected = QStringLiteral("Unable to write to ") + QFileInfo(fileName).absoluteFilePath();
            return e.message() == expected ? std::string() : "message: " + e.message().toStdString();
        }
    });
}

class ReadOnlyFolder : public ::testing::Test {
protected:
    void TearDown() override
    {
        QFile::setPermissions(folder_.path(kName), QFile::ReadOwner | QFile::WriteOwner);
        QFile::setPermissions(folder_.folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // Readable and enterable by everyone, writable by nobody.
    void makeFolderReadOnly()
    {
        QFile::setPermissions(folder_.folder(),
                              QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
                                  | QFile::ExeOther);
    }
    IniTestFolder folder_;
};

TEST_F(ReadOnlyFolder, NewFileIsRefused)
{
    makeFolderReadOnly();
    EXPECT_EQ(refusalProblem(folder_.path(kName)), "");
    EXPECT_FALSE(QFile::exists(folder_.path(kName)));
}

TEST_F(ReadOnlyFolder, ReadOnlyFileIsRefusedAndKept)
{
    folder_.putText(kName, QStringLiteral("[Main]\r\nTop=5\r\n"));
    QFile::setPermissions(folder_.path(kName), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    makeFolderReadOnly();
    EXPECT_EQ(refusalProblem(folder_.path(kName)), "");
    EXPECT_EQ(folder_.text(kName), QStringLiteral("[Main]\r\nTop=5\r\n"));
}

TEST_F(ReadOnlyFolder, WritableFileInReadOnlyFolderIsWrittenInPlace)
{
    folder_.putText(kName, QStringLiteral("[Main]\r\nTop=5\r\n"));
    if (geteuid() == 0) {
        ASSERT_EQ(chown(folder_.path(kName).toLocal8Bit().constData(), kNobody, kNobody), 0);
    }
    makeFolderReadOnly();
    EXPECT_EQ(unprivileged([&]() -> std::string {
                  try {
                      IniFile(folder_.path(kName)).writeInteger(QStringLiteral("Main"), QStringLiteral("Top"), 6);
                      return {};
                  } catch (const ConfigError &e) {
                      return e.message().toStdString();
                  }
              }),
              "");
    EXPECT_EQ(folder_.text(kName), QStringLiteral("[Main]\r\nTop=6\r\n"));
}

} // namespace
