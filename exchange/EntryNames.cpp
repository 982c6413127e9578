#include "EntryNames.h"

#include "tables/CodePage.h"

#include <QStringDecoder>

#include <algorithm>

namespace exchange {

namespace {

constexpr int kPackageCodePage = 866;

bool isAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

} // namespace

std::optional<QString> decodeEntryName(const QByteArray &raw, bool utf8Flag)
{
    if (isAscii(raw))
        return QString::fromLatin1(raw);
    if (!utf8Flag)
        return codepages::CodePage::byNumber(kPackageCodePage).decode(raw);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString name = utf8.decode(raw);
    if (utf8.hasError())
        return std::nullopt;
    return name;
}

bool needsUtf8Flag(const QString &name)
{
    return std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() >= 0x80; });
}

EntryTarget entryTarget(const QString &storedName)
{
    EntryTarget target;
    if (storedName.endsWith(u'/') || storedName.endsWith(u'\\')) {
        target.isFolder = true;
        return target;
    }
    const qsizetype cut = std::max(storedName.lastIndexOf(u'/'), storedName.lastIndexOf(u'\\'));
    const QString name = storedName.mid(cut + 1);
    target.fileName = name;
    if (name.isEmpty() || name == u"." || name == u"..")
        target.refusal = QStringLiteral("недопустимое имя файла \"%1\"").arg(storedName);
    else if (name.contains(u':'))
        target.refusal = QStringLiteral("имя файла с диском или потоком \"%1\"").arg(storedName);
    else if (std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20 || c == u'\x7f'; }))
        target.refusal = QStringLiteral("управляющие символы в имени файла \"%1\"").arg(storedName);
    return target;
}

} // namespace exchange
