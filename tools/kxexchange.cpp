// kxexchange: packages and the incoming refresh from the command line, on the
// program's own exchange code, for administrators and scripted checks.
#include "exchange/CarryReport.h"
#include "exchange/ExchangeFeedback.h"
#include "exchange/IncomingRefresh.h"
#include "exchange/PackageUnzip.h"
#include "exchange/PackageZip.h"

#include "config/IniFile.h"
#include "config/ProgramFiles.h"
#include "config/SettingsKeys.h"
#include "tables/CodePage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <stdexcept>

namespace {

constexpr int kDefaultLevel = 8;
const QString kDefaultPriceFolder = QStringLiteral("IN");

void print(std::FILE *to, const QString &line)
{
    const QByteArray utf8 = line.toUtf8();
    std::fwrite(utf8.constData(), 1, size_t(utf8.size()), to);
    std::fputc('\n', to);
    std::fflush(to);
}

// Status lines on standard output, messages on standard error.
struct ConsoleFeedback : exchange::ExchangeFeedback {
    void setStatusText(const QString &text) override { print(stdout, text); }
    void showMessage(const QString &text) override { print(stderr, text); }
};

int usage()
{
    std::fputs("usage:\n"
               "  kxexchange pack MASK [LEVEL] [--subcustomer ID]\n"
               "  kxexchange unpack FOLDER\n"
               "  kxexchange refresh INSTALLATION\n",
               stderr);
    return 2;
}

int pack(QStringList args)
{
    int subCustomer = -1;
    const qsizetype option = args.indexOf(QStringLiteral("--subcustomer"));
    if (option >= 0) {
        bool ok = false;
        subCustomer = args.value(option + 1).toInt(&ok);
        if (!ok)
            return usage();
        args.remove(option, 2);
    }
    if (args.isEmpty() || args.size() > 2)
        return usage();
    bool ok = true;
    const int level = args.size() > 1 ? args[1].toInt(&ok) : kDefaultLevel;
    if (!ok)
        return usage();
    ConsoleFeedback feedback;
    const QString package =
        exchange::ZipFiles(QFileInfo(args[0]).absoluteFilePath(), level, QString(), subCustomer, feedback);
    if (package.isEmpty())
        print(stderr, QStringLiteral("Нет файлов по маске ") + args[0]);
    else
        print(stdout, QDir::toNativeSeparators(package));
    return 0;
}

int unpack(const QStringList &args)
{
    if (args.size() != 1)
        return usage();
    const QFileInfo folder(args[0]);
    if (!folder.isDir() || !folder.isReadable() || !QDir(args[0]).isReadable()) {
        print(stderr, QStringLiteral("Не читается папка ") + args[0]);
        return 1;
    }
    ConsoleFeedback feedback;
    exchange::unpackFolder(folder.absoluteFilePath(), feedback);
    return 0;
}

// The price folder as the program finds it: the settings file's Path/Price
// when that folder exists, else IN under the installation.
QString priceFolderOf(const QString &installation)
{
    const QString fallback = installation + kDefaultPriceFolder + u'/';
    const QString stored = config::withTrailingSeparator(
        config::IniFile(config::settingsFileName()).readString(config::keys::kPath, config::keys::kPrice));
    return !stored.isEmpty() && QFileInfo(stored).isDir() ? stored : fallback;
}

int refresh(const QStringList &args)
{
    if (args.size() != 1)
        return usage();
    const QString installation = config::withTrailingSeparator(QFileInfo(args[0]).absoluteFilePath());
    config::setProgramFolder(installation);
    ConsoleFeedback feedback;
    const exchange::CarryReport report =
        exchange::RefreshIncomingTables(priceFolderOf(installation), config::propertiesFileName(), feedback);
    for (const exchange::DroppedValue &dropped : report.dropped)
        print(stdout, exchange::droppedLine(dropped));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    tables::setDefaultOpenCodePage(866);
    try {
        if (command == u"pack")
            return pack(args);
        if (command == u"unpack")
            return unpack(args);
        if (command == u"refresh")
            return refresh(args);
    } catch (const std::exception &e) {
        print(stderr, QString::fromUtf8(e.what()));
        return 2;
    }
    return usage();
}
