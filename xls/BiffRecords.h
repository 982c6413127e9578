#pragma once

#include "xls/ByteWriter.h"

#include <QStringView>

#include <cstdint>

// Framing and string encoding shared by the BIFF8 records of a workbook stream.
namespace xls::biff {

// Largest data part of one record; longer contents go on in CONTINUE records.
constexpr qsizetype MaxRecordData = 8224;

namespace id {
constexpr std::uint16_t Bof = 0x0809;
constexpr std::uint16_t Eof = 0x000A;
constexpr std::uint16_t Codepage = 0x0042;
constexpr std::uint16_t Window1 = 0x003D;
constexpr std::uint16_t Font = 0x0031;
constexpr std::uint16_t Xf = 0x00E0;
constexpr std::uint16_t Style = 0x0293;
constexpr std::uint16_t BoundSheet = 0x0085;
constexpr std::uint16_t Sst = 0x00FC;
constexpr std::uint16_t Continue = 0x003C;
constexpr std::uint16_t ExtSst = 0x00FF;
constexpr std::uint16_t ColInfo = 0x007D;
constexpr std::uint16_t Dimensions = 0x0200;
constexpr std::uint16_t LabelSst = 0x00FD;
constexpr std::uint16_t Number = 0x0203;
constexpr std::uint16_t BoolErr = 0x0205;
constexpr std::uint16_t Window2 = 0x023E;
} // namespace id

// Appends a record header and its data; data over MaxRecordData is a logic error.
void appendRecord(ByteWriter &stream, std::uint16_t recordId, const QByteArray &data);

// True when every character is below 256, so one byte per character holds it.
bool fitsCompressed(QStringView text);

// The characters alone: one byte each when compressed, UTF-16LE otherwise.
void appendCharacters(ByteWriter &out, QStringView text, bool compressed);

// A string with a one-byte length (at most 255 characters) and the option byte.
void appendShortString(ByteWriter &out, QStringView text);

} // namespace xls::biff
