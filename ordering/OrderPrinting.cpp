#include "OrderPrinting.h"

#include "config/IniDateTime.h"

#include "NumberText.h"
#include "Rounding.h"
#include "ViewWalk.h"

#include "printing/Printer.h"
#include "tables/Table.h"

#include <QLocale>
#include <QPainter>

#include <algorithm>

namespace ordering {

namespace {

const std::array<QString, 5> kTitles{QStringLiteral("Наименование"), QStringLiteral("Изготовитель"),
                                     QStringLiteral("Страна"), QStringLiteral("Кол-во"), QStringLiteral("Цена")};
const QString kSample = QStringLiteral("ПЕНТАЛГИН");
constexpr int kTitleBoxHeight = 250;
constexpr int kRowFontSize = 7;
// A cell's text may wrap this far; the rest of a longer value is dropped.
constexpr int kMaxCellTail = 500;

std::array<tables::Field, 5> printedFields(const PrintOrderInput &input)
{
    tables::Table &rows = *input.rows;
    return {rows.field(QStringLiteral("Name")), rows.field(QStringLiteral("Firm")), rows.field(QStringLiteral("Cntr")),
            rows.field(input.quantityField), rows.field(input.priceField)};
}

} // namespace

void PrintOrder(printing::Printer &printer, const PrintOrderInput &input)
{
    printedFields(input); // a missing field fails before the job begins
    std::unique_ptr<printing::PrintJob> job = printer.beginJob(QStringLiteral("Заказ"));
    OrderPrintout(*job, input).print();
    job->finish();
}

OrderPrintout::OrderPrintout(printing::PrintJob &job, const PrintOrderInput &input)
    : job_(job), painter_(job.painter()), input_(input), font_(QStringLiteral("Tahoma")),
      pageWidth_(painter_.device()->width()), pageHeight_(painter_.device()->height()),
      scale_((pageWidth_ - 80) / 1000.0)
{
    painter_.setBrush(Qt::NoBrush);
    painter_.setPen(QPen(Qt::black, 0));
}

void OrderPrintout::setFontSize(int points)
{
    font_.setPointSize(points);
    painter_.setFont(font_);
}

void OrderPrintout::setBold(bool bold)
{
    font_.setBold(bold);
    painter_.setFont(font_);
}

int OrderPrintout::textWidth(const QString &text) const { return painter_.fontMetrics().horizontalAdvance(text); }

int OrderPrintout::textHeight() const { return painter_.fontMetrics().height(); }

void OrderPrintout::textOut(int x, int y, const QString &text)
{
    // Text is placed by its top edge, as on a printer canvas.
    painter_.drawText(x, y + painter_.fontMetrics().ascent(), text);
}

int OrderPrintout::columnWidth(int weight) const { return roundToInt(weight * scale_); }

void OrderPrintout::print()
{
    const std::array<tables::Field, 5> fields = printedFields(input_);
    tables::Table &rows = *input_.rows;
    ControlsSuspended suspended(rows);
    bool firstPage = true;
    auto startPage = [&] {
        if (!firstPage)
            job_.newPage();
        PrintPageHeader();
        setFontSize(kRowFontSize);
        firstPage = false;
    };
    for (std::uint32_t recno : rows.visibleRecords()) {
        // A row starting in the bottom eleventh of the page goes to the next one.
        if (firstPage || y_ + pageHeight_ / 11.0 > pageHeight_)
            startPage();
        rows.withRecord(recno, [&] {
            total_ += numberOrZero(fields[3]) * numberOrZero(fields[4]);
            lineHeight_ = painter_.fontMetrics().height();
            const int step = roundToInt(lineHeight_ * 1.1);
            int rowHeight = step;
            x_ = 50;
            for (std::size_t c = 0; c < fields.size(); ++c) {
                QString s = fieldDisplayText(fields[c]);
                const int yStart = y_;
                const int width = columnWidth(kWeights[c]);
                while (!s.isEmpty() && textWidth(s) > width - 10) {
                    // Break where the average character width says the column is full,
                    // but always take a character, so a narrow column still ends.
                    const int n = std::max(1, int(qint64(s.size()) * (width - 20) / textWidth(s)));
                    textOut(x_, y_, s.left(n));
                    s = s.mid(n, kMaxCellTail);
                    y_ += step;
                    if (y_ - yStart >= rowHeight)
                        rowHeight += step;
                }
                if (fields[c].isNumeric())
                    textOut(x_ + width - 20 - textWidth(s), y_, s);
                else
                    textOut(x_, y_, s);
                y_ = yStart;
                x_ += width;
            }
            DrawRowLines(y_, rowHeight, scale_);
            y_ += rowHeight;
        });
    }
    if (firstPage) {
        startPage();
        lineHeight_ = painter_.fontMetrics().height();
    }

    // The total, in a box under the quantity and price columns.
    const int boxLeft = kLeft + columnWidth(800);
    painter_.drawRect(QRect(boxLeft, y_, kLeft + columnWidth(1000) - boxLeft, roundToInt(lineHeight_ * 1.1)));
    setBold(true);
    const QString text = QStringLiteral("Итого: ") + generalNumberText(total_);
    textOut(roundToInt((200 * scale_ - textWidth(text)) / 2) + columnWidth(800) + kLeft, y_, text);
}

void OrderPrintout::PrintPageHeader()
{
    x_ = kLeft;
    y_ = 20;
    font_.setFamily(QStringLiteral("Tahoma"));
    setFontSize(14);
    const int valueLeft = kLeft + textWidth(QStringLiteral("Грузополучатель")) + 100;
    textOut(kLeft, 20, QStringLiteral("Плательщик:"));
    textOut(valueLeft, 20, input_.payer);
    y_ = 20 + textHeight() + 25;
    textOut(kLeft, y_, QStringLiteral("Грузополучатель: "));
    textOut(valueLeft, y_, input_.consignee);
    y_ += textHeight() + 50;
    setBold(true);

    const QString date = QLocale().toString(input_.orderDate.date(), config::shortDateFormat(QLocale()));
    const QString title = input_.orderNumber == 0 ? QStringLiteral("Заказ № _______ от ") + date
                                                  : QStringLiteral("Заказ № _%1_ от ").arg(input_.orderNumber) + date;
    textOut((pageWidth_ - textWidth(title)) / 2, y_, title);
    y_ += textHeight() + 75;

    painter_.setBrush(Qt::NoBrush);
    painter_.setPen(QPen(Qt::black, 0));
    painter_.drawRect(QRect(kLeft, y_, pageWidth_ - 2 * kLeft, kTitleBoxHeight));
    for (int start : {400, 625, 800, 900}) {
        const int x = kLeft + columnWidth(start);
        painter_.drawLine(x, y_, x, y_ + kTitleBoxHeight);
    }

    setFontSize(10);
    setBold(false);
    int start = 0;
    for (std::size_t c = 0; c < kTitles.size(); ++c) {
        const int x = kLeft + columnWidth(start) + (columnWidth(kWeights[c]) - textWidth(kTitles[c])) / 2;
        textOut(x, y_ + (kTitleBoxHeight - textHeight()) / 2, kTitles[c]);
        start += kWeights[c];
    }
    y_ += kTitleBoxHeight;
}

void OrderPrintout::DrawRowLines(int top, int height, double scale)
{
    painter_.drawLine(kLeft, top, kLeft, top + height);
    painter_.drawLine(kLeft, top + height, pageWidth_ - kLeft, top + height);
    int c = kLeft;
    for (int weight : kWeights) {
        c += roundToInt(weight * scale);
        painter_.drawLine(c, top, c, top + height);
    }
}

} // namespace ordering
