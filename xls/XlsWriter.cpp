#include "xls/XlsWriter.h"

#include "xls/BiffRecords.h"
#include "xls/ByteWriter.h"
#include "xls/CompoundFile.h"
#include "xls/SharedStringTable.h"

#include <QDir>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace xls {

namespace {

// XF 0..14 are the style XFs every workbook carries, 15 the default cell format.
constexpr std::uint16_t NormalXf = 15;
constexpr std::uint16_t BoldXf = 16;
// BIFF skips font index 4: the fifth FONT record is font 5.
constexpr std::uint16_t BoldFont = 5;

constexpr std::uint16_t WorkbookGlobals = 0x0005;
constexpr std::uint16_t Worksheet = 0x0010;
constexpr std::uint16_t Utf16CodePage = 1200;
constexpr std::uint8_t NumError = 0x24;

void checkRow(int row)
{
    if (row < 0 || row >= XlsWriter::MaxRows)
        throw std::out_of_range("row " + std::to_string(row) + " is outside the sheet");
}

void checkColumn(int column)
{
    if (column < 0 || column >= XlsWriter::MaxColumns)
        throw std::out_of_range("column " + std::to_string(column) + " is outside the sheet");
}

QString cleanSheetName(const QString &name)
{
    QString clean = name;
    for (QChar &c : clean) {
        if (QStringView(u"[]:*?/\\").contains(c))
            c = QLatin1Char('_');
    }
    clean = clean.left(XlsWriter::MaxSheetNameLength);
    if (!clean.isEmpty() && clean.back().isHighSurrogate())
        clean.chop(1);
    // Excel refuses a name that starts or ends with an apostrophe.
    if (clean.startsWith(QLatin1Char('\'')))
        clean[0] = QLatin1Char('_');
    if (clean.endsWith(QLatin1Char('\'')))
        clean.back() = QLatin1Char('_');
    return clean.isEmpty() ? QStringLiteral("Лист1") : clean;
}

QString cutText(const QString &text)
{
    if (text.size() <= XlsWriter::MaxTextLength)
        return text;
    qsizetype length = XlsWriter::MaxTextLength;
    if (text[length - 1].isHighSurrogate())
        --length;
    return text.left(length);
}

QByteArray bof(std::uint16_t substream)
{
    ByteWriter r;
    r.u16(0x0600); // BIFF8
    r.u16(substream);
    r.u16(0x0DBB); // build
    r.u16(0x07CC); // year
    r.u32(0); // file history
    r.u32(0x06); // lowest BIFF version that can read all records
    return r.bytes();
}

QByteArray u16Record(std::uint16_t value)
{
    ByteWriter r;
    r.u16(value);
    return r.bytes();
}

QByteArray window1()
{
    ByteWriter r;
    r.u16(0x0168); // left, twips
    r.u16(0x001E); // top
    r.u16(0x3A98); // width
    r.u16(0x2328); // height
    r.u16(0x0038); // horizontal and vertical scroll bars, sheet tabs
    r.u16(0); // active sheet
    r.u16(0); // first visible tab
    r.u16(1); // selected sheets
    r.u16(0x0258); // tab bar width ratio
    return r.bytes();
}

QByteArray font(bool bold)
{
    ByteWriter r;
    r.u16(200); // 10 pt in twips
    r.u16(bold ? 0x0001 : 0x0000);
    r.u16(0x7FFF); // automatic colour
    r.u16(bold ? 700 : 400); // weight
    r.u16(0); // no super- or subscript
    r.u8(0); // no underline
    r.u8(0); // family
    r.u8(1); // default character set
    r.u8(0);
    biff::appendShortString(r, u"Arial");
    return r.bytes();
}

QByteArray xf(std::uint16_t fontIndex, bool style, std::uint8_t usedAttributes)
{
    ByteWriter r;
    r.u16(fontIndex);
    r.u16(0); // General number format
    r.u16(style ? 0xFFF5 : 0x0001); // locked; a style has no parent, a cell XF style 0
    r.u8(0x20); // aligned to the bottom
    r.u8(0); // no rotation
    r.u8(0); // no indent
    r.u8(usedAttributes);
    r.u32(0); // no borders
    r.u32(0);
    r.u16(0x20C0); // default pattern colours
    return r.bytes();
}

void appendCellFormats(ByteWriter &stream)
{
    for (int i = 0; i < 4; ++i)
        biff::appendRecord(stream, biff::id::Font, font(false));
    biff::appendRecord(stream, biff::id::Font, font(true));

    // The style XFs Excel itself writes: Normal, then fourteen outline-level styles.
    biff::appendRecord(stream, biff::id::Xf, xf(0, true, 0x00));
    for (std::uint16_t fontIndex : {1, 1, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})
        biff::appendRecord(stream, biff::id::Xf, xf(fontIndex, true, 0xF4));
    biff::appendRecord(stream, biff::id::Xf, xf(0, false, 0x00));
    biff::appendRecord(stream, biff::id::Xf, xf(BoldFont, false, 0x08)); // font differs from the style

    ByteWriter normalStyle;
    normalStyle.u16(0x8000); // built-in style on XF 0
    normalStyle.u8(0); // Normal
    normalStyle.u8(0xFF);
    biff::appendRecord(stream, biff::id::Style, normalStyle.bytes());
}

QByteArray window2()
{
    ByteWriter r;
    // Grid lines, headers, zeros, default header colour, outline symbols, selected, shown.
    r.u16(0x06B6);
    r.u16(0); // top row
    r.u16(0); // left column
    r.u16(0x40); // header colour: automatic
    r.u16(0);
    r.u16(0); // page break preview zoom: default
    r.u16(0); // normal zoom: default
    r.u32(0);
    return r.bytes();
}

} // namespace

XlsWriter::XlsWriter(const QString &sheetName) : sheetName_(cleanSheetName(sheetName)) {}

XlsWriter::Cell &XlsWriter::cellAt(int row, int column)
{
    checkRow(row);
    checkColumn(column);
    if (std::size_t(row) >= rows_.size())
        rows_.resize(std::size_t(row) + 1);
    auto &cells = rows_[std::size_t(row)];
    if (std::size_t(column) >= cells.size())
        cells.resize(std::size_t(column) + 1);
    return cells[std::size_t(column)];
}

void XlsWriter::setCell(int row, int column, const QString &text)
{
    if (!text.isEmpty()) {
        cellAt(row, column) = cutText(text);
        return;
    }
    checkRow(row);
    checkColumn(column);
    if (std::size_t(row) < rows_.size() && std::size_t(column) < rows_[std::size_t(row)].size())
        rows_[std::size_t(row)][std::size_t(column)] = std::monostate();
}

void XlsWriter::setCell(int row, int column, double number) { cellAt(row, column) = number; }

void XlsWriter::setRowBold(int row)
{
    checkRow(row);
    boldRows_.insert(row);
}

void XlsWriter::setColumnWidth(int column, int characters)
{
    checkColumn(column);
    columnWidths_[column] = std::clamp(characters, 0, MaxColumnWidth);
}

QByteArray XlsWriter::workbookStream() const
{
    // The sheet comes first so that the shared strings are known for the globals.
    SharedStringTable strings;
    ByteWriter cells;
    int firstRow = MaxRows, lastRow = -1, firstColumn = MaxColumns, lastColumn = -1;
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        const auto row = std::uint16_t(r);
        const std::uint16_t format = boldRows_.contains(int(r)) ? BoldXf : NormalXf;
        for (std::size_t c = 0; c < rows_[r].size(); ++c) {
            const Cell &cell = rows_[r][c];
            if (std::holds_alternative<std::monostate>(cell))
                continue;
            firstRow = std::min(firstRow, int(r));
            lastRow = std::max(lastRow, int(r));
            firstColumn = std::min(firstColumn, int(c));
            lastColumn = std::max(lastColumn, int(c));

            ByteWriter record;
            record.u16(row);
            record.u16(std::uint16_t(c));
            record.u16(format);
            if (const auto *text = std::get_if<QString>(&cell)) {
                record.u32(strings.add(*text));
                biff::appendRecord(cells, biff::id::LabelSst, record.bytes());
            } else if (const double number = std::get<double>(cell); std::isfinite(number)) {
                record.f64(number);
                biff::appendRecord(cells, biff::id::Number, record.bytes());
            } else {
                record.u8(NumError);
                record.u8(1); // an error, not a boolean
                biff::appendRecord(cells, biff::id::BoolErr, record.bytes());
            }
        }
    }

    ByteWriter stream;
    biff::appendRecord(stream, biff::id::Bof, bof(WorkbookGlobals));
    biff::appendRecord(stream, biff::id::Codepage, u16Record(Utf16CodePage));
    biff::appendRecord(stream, biff::id::Window1, window1());
    appendCellFormats(stream);

    ByteWriter boundSheet;
    boundSheet.u32(0); // stream position of the sheet's BOF, patched below
    boundSheet.u8(0); // visible
    boundSheet.u8(0); // worksheet
    biff::appendShortString(boundSheet, sheetName_);
    const qsizetype sheetPositionAt = stream.size() + 4;
    biff::appendRecord(stream, biff::id::BoundSheet, boundSheet.bytes());

    strings.write(stream);
    biff::appendRecord(stream, biff::id::Eof, {});

    stream.patchU32(sheetPositionAt, std::uint32_t(stream.size()));
    biff::appendRecord(stream, biff::id::Bof, bof(Worksheet));
    for (const auto &[column, width] : columnWidths_) {
        ByteWriter info;
        info.u16(std::uint16_t(column));
        info.u16(std::uint16_t(column));
        info.u16(std::uint16_t(width * 256));
        info.u16(NormalXf);
        info.u16(0); // shown, no outline
        info.u16(0);
        biff::appendRecord(stream, biff::id::ColInfo, info.bytes());
    }
    ByteWriter dimensions;
    const bool empty = lastRow < 0;
    dimensions.u32(empty ? 0 : std::uint32_t(firstRow));
    dimensions.u32(empty ? 0 : std::uint32_t(lastRow + 1));
    dimensions.u16(empty ? 0 : std::uint16_t(firstColumn));
    dimensions.u16(empty ? 0 : std::uint16_t(lastColumn + 1));
    dimensions.u16(0);
    biff::appendRecord(stream, biff::id::Dimensions, dimensions.bytes());
    stream.raw(cells.bytes());
    biff::appendRecord(stream, biff::id::Window2, window2());
    biff::appendRecord(stream, biff::id::Eof, {});

    // Zeros after the last EOF keep the stream out of the mini stream.
    stream.zeros(std::max<qsizetype>(0, MiniStreamCutoff - stream.size()));
    return stream.bytes();
}

QByteArray XlsWriter::toBytes() const { return compoundFile(QStringLiteral("Workbook"), workbookStream()); }

void XlsWriter::save(const QString &path) const
{
    const QByteArray bytes = toBytes();
    QSaveFile file(path);
    const auto fail = [&](const QString &reason) {
        throw std::runtime_error(
            QStringLiteral("Cannot write the file %1: %2").arg(QDir::toNativeSeparators(path), reason).toStdString());
    };
    if (!file.open(QIODevice::WriteOnly))
        fail(file.errorString());
    if (file.write(bytes) != bytes.size())
        fail(file.errorString());
    if (!file.commit())
        fail(file.errorString());
}

} // namespace xls
