#include "app/UserInstallation.h"

#include "platform/fake/FakePlatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using app::DemoOffer;
using platform::fake::FakeMessageService;
using platform::fake::ShownMessage;

void touch(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
}

TEST(UserInstallation, AProgramFolderWithItsFilesIsUsedAsItIsAndAnInstalledProgramKeepsOnePerUser)
{
    struct Case {
        const char *name;
        QStringList executableFolderFiles;
        bool perUser;
    };
    const Case cases[] = {
        {"settings beside the program", {QStringLiteral("KXOrders.ini")}, false},
        {"transfer library beside the program (the build)", {QStringLiteral("libKXOrder.so")}, false},
        {"installed: neither", {QStringLiteral("KXOrders")}, true},
    };
    for (const Case &c : cases) {
        QTemporaryDir executableFolder;
        for (const QString &file : c.executableFolderFiles)
            touch(executableFolder.filePath(file));
        const QString user = QStringLiteral("/home/someone/.local/share/KXOrders");
        EXPECT_EQ(app::installationFolder(executableFolder.path(), user),
                  c.perUser ? user + u'/' : executableFolder.path() + u'/')
            << c.name;
    }
}

TEST(UserInstallation, FirstStartOffersTheDemoDataAndWritesItOnlyWhenWanted)
{
    struct Case {
        const char *name;
        bool folderExists;
        DemoOffer offer;
        bool answer;
        bool questionAsked;
        bool demoWritten;
    };
    const Case cases[] = {
        {"new folder, yes", false, DemoOffer::Ask, true, true, true},
        {"new folder, no", false, DemoOffer::Ask, false, true, false},
        {"empty folder, yes", true, DemoOffer::Ask, true, true, true},
        {"--demo asks nothing", false, DemoOffer::Create, false, false, true},
    };
    for (const Case &c : cases) {
        QTemporaryDir home;
        const QString folder = home.filePath(QStringLiteral("share/KXOrders"));
        if (c.folderExists) {
            ASSERT_TRUE(QDir().mkpath(folder));
        }
        FakeMessageService messages;
        messages.answers = {c.answer};
        EXPECT_TRUE(app::prepareUserInstallation(folder, c.offer, messages)) << c.name;
        EXPECT_TRUE(messages.errors().isEmpty()) << c.name << qPrintable(messages.errors().join(u'\n'));
        ASSERT_EQ(messages.shown.size(), c.questionAsked ? 1u : 0u) << c.name;
        if (c.questionAsked) {
            EXPECT_EQ(messages.shown[0].kind, ShownMessage::Kind::Question);
            EXPECT_TRUE(messages.shown[0].text.contains(QDir::toNativeSeparators(folder))) << c.name;
        }
        const QDir dir(folder);
        EXPECT_TRUE(dir.exists()) << c.name;
        for (const char *file : {"KXOrders.ini", "properties.ini", "IN/price.dbf", "Archiv/Archiv.dbf", "KXOrder.ini"})
            EXPECT_EQ(dir.exists(QString::fromLatin1(file)), c.demoWritten) << c.name << ' ' << file;
        // Nothing written aside is left behind.
        EXPECT_EQ(QDir(home.filePath(QStringLiteral("share")))
                      .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("KXOrders")})
            << c.name;
    }
}

TEST(UserInstallation, AFolderAlreadyInUseIsLeftAsItIsAndAskedNothing)
{
    QTemporaryDir folder;
    touch(folder.filePath(QStringLiteral("notes.txt")));
    FakeMessageService messages;
    EXPECT_TRUE(app::prepareUserInstallation(folder.path(), DemoOffer::Ask, messages));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"notes.txt"});
}

TEST(UserInstallation, AFolderThatCannotBeCreatedIsReportedAndTheProgramDoesNotStart)
{
    QTemporaryDir home;
    touch(home.filePath(QStringLiteral("share"))); // a file where the parent folder should be
    const QString folder = home.filePath(QStringLiteral("share/KXOrders"));
    for (const bool wantsDemo : {false, true}) {
        FakeMessageService messages;
        messages.answers = {wantsDemo};
        EXPECT_FALSE(app::prepareUserInstallation(folder, DemoOffer::Ask, messages));
        ASSERT_FALSE(messages.errors().isEmpty());
        EXPECT_TRUE(messages.errors().constLast().startsWith(QStringLiteral("Не удалось создать папку программы")))
            << qPrintable(messages.errors().constLast());
    }
}

} // namespace
