#pragma once

#include "codepages/CodePage.h"

#include <QByteArray>

#include <cstdint>

// The engine's choice of code page for a table: the dBase language driver
// marks and the default for tables without one.
namespace tables {

using codepages::CodePage;

// Code page meant by a dBase language driver id (header byte 29); 0 when the
// id is 0 (no mark) or unknown.
int codePageOfLanguageId(std::uint8_t id);
// Code page named by a dBase 7 language driver name ("DB866RU0"); 0 if none.
int codePageOfDriverName(const QByteArray &name);

// The default code page for tables without a mark; the program sets 866.
int defaultOpenCodePage();
void setDefaultOpenCodePage(int number);

// The mark written into tables this engine creates (levels 4 and 7) and into
// unmarked tables that a restructure rewrites: dBase "RUS cp866".
constexpr std::uint8_t kDefaultCreateLanguageId = 0x26;
QByteArray driverNameOfLanguageId(std::uint8_t id);

} // namespace tables
