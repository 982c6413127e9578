#include "PasswordScrambler.h"

#include "codepages/CodePage.h"

#include <cctype>
#include <cstdint>

namespace config {

namespace {

const codepages::CodePage &windowsCyrillic() { return codepages::CodePage::byNumber(1251); }

bool fitsInLine(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return true;
    if (std::uint8_t(bytes.front()) <= 0x20 || std::uint8_t(bytes.back()) <= 0x20)
        return false;
    return !bytes.contains('\0') && !bytes.contains('\r') && !bytes.contains('\n')
        && !bytes.startsWith(kHexPasswordMarker);
}

bool isHex(const QByteArray &text)
{
    if (text.size() % 2 != 0)
        return false;
    for (char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

} // namespace

QByteArray ScramblePassword(const QByteArray &bytes)
{
    QByteArray out = bytes;
    const qsizetype n = out.size();
    for (qsizetype i = 0; i < n; ++i)
        out[i] = char(std::uint8_t(out[i]) ^ std::uint8_t((n - i) & 0xFF));
    return out;
}

QString ScramblePassword(const QString &text)
{
    const codepages::CodePage &cp = windowsCyrillic();
    return cp.decode(ScramblePassword(cp.encode(text)));
}

QString storedPasswordForm(const QString &plain)
{
    const codepages::CodePage &cp = windowsCyrillic();
    const QByteArray scrambled = ScramblePassword(cp.encode(plain));
    if (fitsInLine(scrambled))
        return cp.decode(scrambled);
    return QString::fromLatin1(kHexPasswordMarker) + QString::fromLatin1(scrambled.toHex().toUpper());
}

QString plainPasswordFromStored(const QString &stored)
{
    const codepages::CodePage &cp = windowsCyrillic();
    const QByteArray bytes = cp.encode(stored);
    if (bytes.startsWith(kHexPasswordMarker)) {
        const QByteArray hex = bytes.mid(qsizetype(sizeof(kHexPasswordMarker)) - 1);
        if (isHex(hex))
            return cp.decode(ScramblePassword(QByteArray::fromHex(hex)));
    }
    return cp.decode(ScramblePassword(bytes));
}

} // namespace config
