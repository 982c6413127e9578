#include "CodePage.h"

#include "CodePageTables.h"

#include <QHash>

#include <memory>
#include <mutex>

namespace codepages {

CodePage::CodePage(int number, const char16_t *high) : number_(number)
{
    for (int b = 0; b < 128; ++b)
        toUnicode_[b] = char16_t(b);
    for (int b = 128; b < 256; ++b)
        toUnicode_[b] = high ? high[b - 128] : char16_t(b);

    auto &fromUnicode = fromUnicode_;
    for (int b = 255; b >= 128; --b)
        fromUnicode.insert(toUnicode_[b], std::uint8_t(b));
    for (int b = 0; b < 128; ++b)
        fromUnicode.insert(char16_t(b), std::uint8_t(b));
    for (int b = 0; b < 256; ++b) {
        const QChar ch(toUnicode_[b]);
        const char16_t up = ch.toUpper().unicode();
        const char16_t low = ch.toLower().unicode();
        upper_[b] = fromUnicode.value(up, std::uint8_t(b));
        lower_[b] = fromUnicode.value(low, std::uint8_t(b));
    }
}

const CodePage &CodePage::byNumber(int number)
{
    static std::mutex mutex;
    static QHash<int, std::shared_ptr<CodePage>> pages;
    std::lock_guard lock(mutex);
    auto it = pages.find(number);
    if (it != pages.end())
        return **it;
    const char16_t *high = nullptr;
    for (int i = 0; i < detail::kCodePageTableCount; ++i)
        if (detail::kCodePageTables[i].number == number)
            high = detail::kCodePageTables[i].high;
    std::shared_ptr<CodePage> page(new CodePage(number, high));
    pages.insert(number, page);
    return *page;
}

void CodePage::decodeTo(const char *bytes, qsizetype size, QChar *dst) const
{
    for (qsizetype i = 0; i < size; ++i)
        dst[i] = QChar(toUnicode_[std::uint8_t(bytes[i])]);
}

QString CodePage::decode(const char *bytes, qsizetype size) const
{
    QString out(size, Qt::Uninitialized);
    decodeTo(bytes, size, out.data());
    return out;
}

void CodePage::decodeInto(const char *bytes, qsizetype size, QString &out) const
{
    out.resize(size);
    decodeTo(bytes, size, out.data());
}

QByteArray CodePage::encode(QStringView text) const
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 128) {
            out.append(char(c));
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i; // one character outside the BMP: one '?'
        out.append(char(fromUnicode_.value(c, std::uint8_t('?'))));
    }
    return out;
}

QByteArray CodePage::toUpper(QByteArray bytes) const
{
    for (char &c : bytes)
        c = char(upper_[std::uint8_t(c)]);
    return bytes;
}

QByteArray CodePage::toLower(QByteArray bytes) const
{
    for (char &c : bytes)
        c = char(lower_[std::uint8_t(c)]);
    return bytes;
}

} // namespace codepages
