// kxdemo DIR [--program EXECUTABLE] [--rows N]: writes a complete demo
// installation into DIR (created when missing), the program's executable
// copied in when given. A DIR that already holds an installation is left as
// it is (exit status 3).
#include "DemoInstallation.h"

#include "config/ProgramLocale.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <exception>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    config::useProgramLocale(); // the settings it writes hold Russian dates, as the program writes them
    QStringList args = QCoreApplication::arguments().mid(1);
    demo::DemoOptions options;
    QString folder;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == QLatin1String("--program") && !args.isEmpty()) {
            options.executable = args.takeFirst();
        } else if (arg == QLatin1String("--rows") && !args.isEmpty()) {
            bool ok = false;
            options.priceRows = args.takeFirst().toInt(&ok);
            if (!ok || options.priceRows < 1 || options.priceRows > 100000) {
                std::fputs("kxdemo: --rows takes 1 to 100000\n", stderr);
                return 2;
            }
        } else if (folder.isEmpty() && !arg.startsWith(u'-')) {
            folder = arg;
        } else {
            folder.clear();
            break;
        }
    }
    if (folder.isEmpty()) {
        std::fputs("usage: kxdemo DIR [--program EXECUTABLE] [--rows N]\n", stderr);
        return 2;
    }
    if (demo::holdsInstallation(folder)) {
        std::fprintf(stderr, "kxdemo: %s already holds an installation; left as it is\n", qPrintable(folder));
        return 3;
    }
    try {
        demo::createDemoInstallation(folder, options);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "kxdemo: %s\n", error.what());
        return 1;
    }
    std::printf("demo installation written to %s\n", qPrintable(folder));
    return 0;
}
