// The transfer library through its C exports, against a real FTP server.
#include "TransferTestSupport.h"

#include "config/SettingsKeys.h"
#include "exchange/ExchangeError.h"
#include "exchange/TransferLibrary.h"

#include <QElapsedTimer>
#include <QScopeGuard>

namespace {

using namespace transfer_test;

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

struct Mode {
    const char *name;
    bool ftp;
    bool passive;
    bool tls = false;
};

class TransferLibraryTest : public ::testing::TestWithParam<Mode> {
protected:
    void SetUp() override
    {
        if (GetParam().tls) {
            const TestCertificate certificate = makeCertificate(inst.dir.path());
            if (certificate.caFile.isEmpty())
                GTEST_SKIP() << "NOT TESTED: FTPS needs python3-openssl and openssl (scripts/install-deps.sh)";
            server = std::make_unique<FtpServer>(inst.root, QStringList{"--tls-cert", certificate.serverFile});
            ASSERT_GT(server->port(), 0) << "the FTPS server did not start";
            inst.useServer(server->tlsUrl());
            config::IniFile(inst.program + "KXOrder.ini").writeString("Server", "CAFile", certificate.caFile);
        } else if (GetParam().ftp) {
            server = std::make_unique<FtpServer>(inst.root);
            ASSERT_GT(server->port(), 0) << "the FTP server did not start";
            inst.useServer(server->url());
        } else {
            inst.useLocalRoot();
        }
    }

    bool fetch(const QList<int> &ids, bool invoices)
    {
        exchange::TransferLibrary library(inst.library());
        return library.getFiles([this](const QString &l) { lines << l; }, ids, invoices, GetParam().passive);
    }
    bool upload()
    {
        exchange::TransferLibrary library(inst.library());
        return library.putFiles([this](const QString &l) { lines << l; }, GetParam().passive);
    }
    QString joined() const { return lines.join(u'\n'); }

    Installation inst;
    std::unique_ptr<FtpServer> server;
    QStringList lines;
};

TEST_P(TransferLibraryTest, FetchTakesEveryKindIntoItsFolderAndEmptiesTheServer)
{
    const QByteArray price(70000, 'p');
    ASSERT_TRUE(writeBytes(inst.root + "price/price.zip", price));
    ASSERT_TRUE(writeBytes(inst.root + "reference/ref.zip", "r"));
    ASSERT_TRUE(writeBytes(inst.root + "narcotics/n.zip", "n"));
    ASSERT_TRUE(writeBytes(inst.root + "archive/a.zip", "a"));
    ASSERT_TRUE(writeBytes(inst.root + "invoice/17/inv.zip", "i"));
    ASSERT_TRUE(writeBytes(inst.root + "price/readme.txt", "not a package"));

    ASSERT_TRUE(fetch({17}, false)) << joined().toStdString();
    EXPECT_EQ(bytesOf(inst.program + "IN/price.zip"), price);
    EXPECT_EQ(bytesOf(inst.program + "Reference/ref.zip"), "r");
    EXPECT_EQ(bytesOf(inst.program + "Outboundn/n.zip"), "n");
    EXPECT_FALSE(QFile::exists(inst.program + "Archiv/a.zip")) << "archive only for the single id -1";
    EXPECT_FALSE(QFile::exists(inst.program + "Invoice/inv.zip")) << "invoices only for the invoices refresh";
    EXPECT_FALSE(QFile::exists(inst.root + "price/price.zip"));
    EXPECT_TRUE(QFile::exists(inst.root + "price/readme.txt"));
    EXPECT_TRUE(QFile::exists(inst.root + "archive/a.zip"));
    EXPECT_TRUE(QDir(inst.program + "IN").entryList({"*.part", ".*.part"}, QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_TRUE(config::IniFile(inst.program + "KXOrders.ini").valueExists("FTP", "LastRefresh"));
    EXPECT_TRUE(joined().contains("Получен price.zip (70000 байт)")) << joined().toStdString();
}

TEST_P(TransferLibraryTest, SingleIdMinusOneAlsoTakesTheArchive)
{
    ASSERT_TRUE(writeBytes(inst.root + "archive/a.zip", "a"));
    ASSERT_TRUE(fetch({-1}, false)) << joined().toStdString();
    EXPECT_EQ(bytesOf(inst.program + "Archiv/a.zip"), "a");
    EXPECT_FALSE(config::IniFile(inst.program + "KXOrders.ini").valueExists("FTP", "LastRefresh"))
        << "no price list came";
}

TEST_P(TransferLibraryTest, InvoicesRefreshTakesOnlyTheListedSubCustomersInvoices)
{
    ASSERT_TRUE(writeBytes(inst.root + "price/price.zip", "p"));
    ASSERT_TRUE(writeBytes(inst.root + "invoice/17/a.zip", "17"));
    ASSERT_TRUE(writeBytes(inst.root + "invoice/18/b.zip", "18"));
    ASSERT_TRUE(writeBytes(inst.root + "invoice/19/c.zip", "19"));
    ASSERT_TRUE(fetch({17, 18}, true)) << joined().toStdString();
    EXPECT_EQ(QDir(inst.program + "Invoice").entryList(QDir::Files), QStringList({"a.zip", "b.zip"}));
    EXPECT_TRUE(QDir(inst.program + "IN").entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(QFile::exists(inst.root + "price/price.zip"));
    EXPECT_TRUE(QFile::exists(inst.root + "invoice/19/c.zip"));
}

TEST_P(TransferLibraryTest, NamesAServerShouldNotSendAreLeftThere)
{
    for (const char *name : {".hidden.zip", "with space.zip", "-dash.zip"})
        ASSERT_TRUE(writeBytes(inst.root + "price/" + name, "x"));
    ASSERT_TRUE(fetch({17}, false)) << joined().toStdString();
    EXPECT_TRUE(QDir(inst.program + "IN").entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(QDir(inst.root + "price").entryList(QDir::Files | QDir::Hidden).size(), 3);
    // A local root does not list the hidden one at all.
    EXPECT_GE(lines.filter("Пропущен файл").size(), 2) << joined().toStdString();
}

TEST_P(TransferLibraryTest, UploadRenamesOnTheServerThenDeletesTheLocalPackage)
{
    const QByteArray package(50000, 'z');
    ASSERT_TRUE(writeBytes(inst.program + "Out/Z17_.zip", package));
    ASSERT_TRUE(upload()) << joined().toStdString();
    EXPECT_EQ(bytesOf(inst.root + "incoming/Z17_.zip"), package);
    EXPECT_EQ(QDir(inst.root + "incoming").entryList(QDir::Files), QStringList{"Z17_.zip"});
    EXPECT_FALSE(QFile::exists(inst.program + "Out/Z17_.zip"));
}

TEST_P(TransferLibraryTest, UploadNeverReplacesAPackageNotCollectedYet)
{
    ASSERT_TRUE(writeBytes(inst.root + "incoming/Z17_.zip", "earlier"));
    ASSERT_TRUE(writeBytes(inst.program + "Out/Z17_.zip", "later"));
    ASSERT_TRUE(upload()) << joined().toStdString();
    EXPECT_EQ(bytesOf(inst.root + "incoming/Z17_.zip"), "earlier");
    const QStringList names = QDir(inst.root + "incoming").entryList(QDir::Files);
    ASSERT_EQ(names.size(), 2) << names.join(' ').toStdString();
    EXPECT_EQ(bytesOf(inst.root + "incoming/" + names.at(names.at(0) == "Z17_.zip" ? 1 : 0)), "later");
}

INSTANTIATE_TEST_SUITE_P(Modes, TransferLibraryTest,
                         ::testing::Values(Mode{"passive", true, true}, Mode{"active", true, false},
                                           Mode{"tlsPassive", true, true, true}, Mode{"fileRoot", false, true}),
                         [](const auto &info) { return std::string(info.param.name); });

// A server that refuses part of the upload: the package stays for the next send.
struct Refusal {
    const char *name;
    const char *incomingPerm;
    bool partialRemoved;
};

class UploadRefusalTest : public ::testing::TestWithParam<Refusal> {};

TEST_P(UploadRefusalTest, KeepsThePackageAndLeavesNoPartialFile)
{
    Installation inst;
    FtpServer server(inst.root, {"--incoming-perm", GetParam().incomingPerm});
    ASSERT_GT(server.port(), 0);
    inst.useServer(server.url());
    const QByteArray package(20000, 'q');
    ASSERT_TRUE(writeBytes(inst.program + "Out/Z17_.zip", package));
    QStringList lines;
    exchange::TransferLibrary library(inst.library());
    EXPECT_FALSE(library.putFiles([&](const QString &l) { lines << l; }, true));
    EXPECT_EQ(bytesOf(inst.program + "Out/Z17_.zip"), package);
    EXPECT_TRUE(lines.join('\n').contains("ответ сервера: 550")) << lines.join('\n').toStdString();
    EXPECT_TRUE(QDir(inst.root + "incoming").entryList({"Z17_.zip"}, QDir::Files).isEmpty());
    if (GetParam().partialRemoved) {
        EXPECT_TRUE(QDir(inst.root + "incoming").entryList(QDir::Files).isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Server, UploadRefusalTest,
                         ::testing::Values(Refusal{"storeRefused", "elr", true},
                                           Refusal{"renameRefused", "elradw", true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(TransferLibraryFetch, AFetchThatFailsHalfWayLeavesEveryPackageOnTheServer)
{
    Installation inst;
    FtpServer server(inst.root, {"--unreadable", "reference"});
    ASSERT_GT(server.port(), 0);
    inst.useServer(server.url());
    ASSERT_TRUE(writeBytes(inst.root + "price/price.zip", "p"));
    ASSERT_TRUE(writeBytes(inst.root + "reference/ref.zip", "r"));
    QStringList lines;
    exchange::TransferLibrary library(inst.library());
    EXPECT_FALSE(library.getFiles([&](const QString &l) { lines << l; }, {17}, false, true));
    EXPECT_TRUE(QFile::exists(inst.root + "price/price.zip")) << "taken again by the next fetch";
    EXPECT_TRUE(QFile::exists(inst.root + "reference/ref.zip"));
    EXPECT_TRUE(QDir(inst.program + "Reference").entryList(QDir::Files | QDir::Hidden).isEmpty()) << "no partial file";
    EXPECT_FALSE(config::IniFile(inst.program + "KXOrders.ini").valueExists("FTP", "LastRefresh"));
}

TEST(TransferLibraryTimeouts, DeadAndSilentServersEndTheCallWithFalse)
{
    constexpr int deadPort = 1; // tcpmux: nothing listens there

    Installation inst;
    FtpServer silent(inst.root, {"--silent"});
    ASSERT_GT(silent.port(), 0);
    const struct {
        const char *name;
        QString url;
    } cases[] = {{"dead", QStringLiteral("ftp://127.0.0.1:%1/").arg(deadPort)}, {"silent", silent.url()}};
    for (const auto &c : cases) {
        constexpr int kResponseSeconds = 1;
        inst.useServer(c.url, kResponseSeconds);
        QStringList lines;
        QElapsedTimer clock;
        clock.start();
        exchange::TransferLibrary library(inst.library());
        EXPECT_FALSE(library.getFiles([&](const QString &l) { lines << l; }, {17}, false, true)) << c.name;
        EXPECT_LT(clock.elapsed(), 8000) << c.name;
        EXPECT_TRUE(lines.join('\n').contains("Ошибка")) << c.name << lines.join('\n').toStdString();
    }
}

TEST(TransferLibraryLoading, MissingLibraryOrExportIsAnErrorNamingTheFile)
{
    QTemporaryDir dir;
    try {
        exchange::TransferLibrary library(dir.path() + "/KXOrder");
        ADD_FAILURE() << "loaded a library that is not there";
    } catch (const exchange::ExchangeError &error) {
        EXPECT_TRUE(error.message().contains(dir.path() + "/libKXOrder.so")) << error.what();
    }
    // A real library without the exports: nothing may be called.
    QFile::copy(KX_NO_EXPORT_LIBRARY, dir.path() + "/libKXOrder.so");
    try {
        exchange::TransferLibrary library(dir.path() + "/KXOrder");
        ADD_FAILURE() << "accepted a library without the exports";
    } catch (const exchange::ExchangeError &error) {
        EXPECT_TRUE(error.message().contains("InternalGetFTPFiles")) << error.what();
    }
}

// An installed program: the library in a folder of its own, both settings
// files in the folder the program names for it.
TEST(TransferLibraryInstalled, TheLibraryIsFoundInTheInstalledFolderAndWorksInTheProgramsFolder)
{
    Installation inst;
    inst.useLocalRoot();
    const QString installed = inst.dir.path() + "/usr/lib/kxorders";
    ASSERT_TRUE(QDir().mkpath(installed));
    ASSERT_TRUE(QFile::rename(inst.program + "libKXOrder.so", installed + "/libKXOrder.so"));
    const QString empty = inst.dir.path() + "/empty";
    struct Case {
        const char *name;
        QString programFolder, installedFolder, chosen;
    };
    const Case cases[] = {
        {"only installed", inst.program, installed, installed + "/KXOrder"},
        {"neither: the program folder's name for the error", empty, empty, empty + "/KXOrder"},
        {"no installed folder", empty, QString(), empty + "/KXOrder"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(exchange::TransferLibrary::fileNameIn(c.programFolder, c.installedFolder), c.chosen) << c.name;
    QDir().mkpath(empty);
    QFile::copy(installed + "/libKXOrder.so", empty + "/libKXOrder.so");
    EXPECT_EQ(exchange::TransferLibrary::fileNameIn(empty, installed), empty + "/KXOrder") << "the program's own first";

    ASSERT_TRUE(writeBytes(inst.root + "price/price.zip", "p"));
    qputenv(config::keys::kProgramFolderVariable, QFile::encodeName(inst.program));
    const auto unset = qScopeGuard([] { qunsetenv(config::keys::kProgramFolderVariable); });
    QStringList lines;
    exchange::TransferLibrary library(exchange::TransferLibrary::fileNameIn(inst.program, installed));
    ASSERT_TRUE(library.getFiles([&](const QString &l) { lines << l; }, {17}, false, true))
        << lines.join(u'\n').toStdString();
    EXPECT_EQ(bytesOf(inst.program + "IN/price.zip"), "p");
}

} // namespace

namespace {

TEST(TransferLibraryTls, AServerCertificateNotTrustedEndsTheCallAndSendsNothing)
{
    Installation inst;
    const TestCertificate certificate = makeCertificate(inst.dir.path());
    if (certificate.caFile.isEmpty())
        GTEST_SKIP() << "NOT TESTED: FTPS needs python3-openssl and openssl (scripts/install-deps.sh)";
    FtpServer server(inst.root, {"--tls-cert", certificate.serverFile});
    ASSERT_GT(server.port(), 0);
    inst.useServer(server.tlsUrl()); // no CAFile: the system's authorities do not know it
    ASSERT_TRUE(writeBytes(inst.program + "Out/Z17_.zip", "z"));
    QStringList lines;
    exchange::TransferLibrary library(inst.library());
    EXPECT_FALSE(library.putFiles([&](const QString &l) { lines << l; }, true));
    EXPECT_TRUE(QFile::exists(inst.program + "Out/Z17_.zip"));
    EXPECT_TRUE(QDir(inst.root + "incoming").entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(lines.join('\n').contains("Ошибка")) << lines.join('\n').toStdString();
}

} // namespace
