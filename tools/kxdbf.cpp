// kxdbf: inspect and script dBase tables with the program's own engine.
#include "kxdbf_command.h"

#include "tables/CodePage.h"
#include "tables/TableError.h"

#include <QCoreApplication>

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace kxdbf {

namespace {
std::vector<Command> &registry()
{
    static std::vector<Command> all;
    return all;
}

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
} // namespace

void registerCommand(Command command) { registry().push_back(std::move(command)); }
const std::vector<Command> &commands() { return registry(); }

void out(const QString &line)
{
    const QByteArray utf8 = line.toUtf8();
    std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stdout);
    std::fputc('\n', stdout);
}

void usageError(const QString &message) { throw UsageError(message.toStdString()); }

QString escapeValue(const QString &value)
{
    QString s;
    s.reserve(value.size());
    for (QChar c : value) {
        switch (c.unicode()) {
        case '\\': s += QStringLiteral("\\\\"); break;
        case '\t': s += QStringLiteral("\\t"); break;
        case '\r': s += QStringLiteral("\\r"); break;
        case '\n': s += QStringLiteral("\\n"); break;
        default: s += c;
        }
    }
    return s;
}

void applyCodePageOption(QStringList &args)
{
    for (int i = 0; i < args.size(); ++i)
        if (args[i].startsWith(QStringLiteral("--cp="))) {
            bool ok = false;
            const int cp = args[i].mid(5).toInt(&ok);
            if (!ok || cp <= 0)
                usageError(QStringLiteral("--cp needs a code page number"));
            tables::setDefaultOpenCodePage(cp);
            args.removeAt(i--);
        }
}

} // namespace kxdbf

static void printUsage()
{
    std::fputs("usage: kxdbf COMMAND ARGS... [--cp=N]\n"
               "  --cp=N  code page of tables without a code page mark (default 866)\n",
               stderr);
    for (const kxdbf::Command &c : kxdbf::commands())
        std::fprintf(stderr, "  kxdbf %s\n", c.usage.toUtf8().constData());
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    tables::setDefaultOpenCodePage(866);
    if (args.isEmpty() || args[0] == QStringLiteral("--help") || args[0] == QStringLiteral("-h")) {
        printUsage();
        return args.isEmpty() ? 1 : 0;
    }
    const QString name = args.takeFirst();
    try {
        kxdbf::applyCodePageOption(args);
        for (const kxdbf::Command &c : kxdbf::commands())
            if (c.name == name)
                return c.run(args);
        kxdbf::usageError(QStringLiteral("unknown command %1").arg(name));
    } catch (const kxdbf::UsageError &e) {
        std::fprintf(stderr, "kxdbf: %s\n", e.what());
        printUsage();
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "kxdbf: %s\n", e.what());
        return 1;
    }
}
