#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>

namespace codepages {

// A single-byte code page: conversion to and from Unicode plus the byte-level
// case tables that comparisons, UPPER/LOWER and case-insensitive locate use.
class CodePage {
public:
    // Known numbers: 866, 1251, 1252, 437, 850, 852, 1250, 10007. Anything else
    // falls back to 1252 byte semantics with Latin-1 decoding.
    static const CodePage &byNumber(int number);

    int number() const { return number_; }

    QString decode(const char *bytes, qsizetype size) const;
    QString decode(const QByteArray &bytes) const { return decode(bytes.constData(), bytes.size()); }
    // Into a buffer the caller reuses: no allocation while its capacity suffices.
    void decodeInto(const char *bytes, qsizetype size, QString &out) const;
    // Characters the code page cannot hold become '?'.
    QByteArray encode(QStringView text) const;

    char16_t toUnicode(std::uint8_t byte) const { return toUnicode_[byte]; }
    std::uint8_t upper(std::uint8_t byte) const { return upper_[byte]; }
    std::uint8_t lower(std::uint8_t byte) const { return lower_[byte]; }
    // Case folding for case-insensitive comparison (Latin and Cyrillic letters).
    std::uint8_t fold(std::uint8_t byte) const { return upper_[byte]; }

    QByteArray toUpper(QByteArray bytes) const;
    QByteArray toLower(QByteArray bytes) const;

private:
    explicit CodePage(int number, const char16_t *high);
    void decodeTo(const char *bytes, qsizetype size, QChar *dst) const;

    int number_;
    std::array<char16_t, 256> toUnicode_{};
    std::array<std::uint8_t, 256> upper_{};
    std::array<std::uint8_t, 256> lower_{};
    QHash<char16_t, std::uint8_t> fromUnicode_;
};

} // namespace codepages
