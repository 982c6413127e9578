#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Subcommands of kxdbf register themselves; main() dispatches by name.
namespace kxdbf {

struct Command {
    QString name;
    QString usage;
    std::function<int(const QStringList &args)> run;
};

void registerCommand(Command command);
const std::vector<Command> &commands();

struct Registrar {
    explicit Registrar(Command command) { registerCommand(std::move(command)); }
};

// Output helpers: UTF-8 to stdout; usage errors throw.
void out(const QString &line);
[[noreturn]] void usageError(const QString &message);
QString escapeValue(const QString &value);

// Global options taken from the command line before the subcommand runs.
void applyCodePageOption(QStringList &args); // --cp=N

} // namespace kxdbf
