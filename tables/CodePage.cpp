#include "CodePage.h"

#include <atomic>

namespace tables {

int codePageOfLanguageId(std::uint8_t id)
{
    switch (id) {
    case 0x01: return 437;
    case 0x02: return 850;
    case 0x03:
    case 0x57:
    case 0x58:
    case 0x59: return 1252;
    case 0x26:
    case 0x65: return 866;
    case 0x64: return 852;
    case 0x96: return 10007;
    case 0xC8: return 1250;
    case 0xC9: return 1251;
    default: return 0;
    }
}

int codePageOfDriverName(const QByteArray &name)
{
    QByteArray n = name;
    const int nul = n.indexOf('\0');
    if (nul >= 0)
        n.truncate(nul);
    if (n.startsWith("DBWIN"))
        return 1252;
    qsizetype i = 0;
    if (n.startsWith("DB"))
        i = 2;
    else if (n.startsWith("FOX"))
        i = 3;
    else
        return 0;
    qsizetype j = i;
    while (j < n.size() && n[j] >= '0' && n[j] <= '9')
        ++j;
    return j > i ? n.mid(i, j - i).toInt() : 0;
}

QByteArray driverNameOfLanguageId(std::uint8_t id)
{
    switch (id) {
    case 0x26: return "DB866RU0";
    case 0x01: return "DB437US0";
    case 0x02: return "DB850US0";
    case 0x58:
    case 0x57:
    case 0x03: return "DBWINWE0";
    default: return {};
    }
}

namespace {
std::atomic<int> g_defaultOpenCodePage{866};
}

int defaultOpenCodePage() { return g_defaultOpenCodePage.load(); }
void setDefaultOpenCodePage(int number) { g_defaultOpenCodePage.store(number); }

} // namespace tables
