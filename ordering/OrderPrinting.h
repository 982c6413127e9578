#pragma once

#include <QDateTime>
#include <QFont>
#include <QString>

#include <array>

class QPainter;

namespace printing {
class Printer;
class PrintJob;
} // namespace printing
namespace tables {
class Table;
}

namespace ordering {

// What an order printout shows.
struct PrintOrderInput {
    tables::Table *rows = nullptr; // the rows in view are printed, the cursor stays
    int orderNumber = 0; // 0: not numbered yet ("_______")
    QString quantityField; // "Zak" in the order window, "Qnt" in the archive
    QString priceField;
    QString consignee;
    QString payer; // the first record of SubCustomer.dbf: the pharmacy itself
    QDateTime orderDate;
};

// Prints the order as a ruled table: a header on every page, one row per
// position with wrapped cells, and the "Итого: " total. Fields are checked
// before the job begins. Empty rows still print the header and a zero total.
void PrintOrder(printing::Printer &printer, const PrintOrderInput &input);

// The drawing of one printout on a job's painter, in printer dots.
class OrderPrintout {
public:
    OrderPrintout(printing::PrintJob &job, const PrintOrderInput &input);

    void print();

    // The header of a page; leaves the position below it.
    void PrintPageHeader();
    // The frame of one row: left border, bottom line and the column separators.
    void DrawRowLines(int top, int height, double scale);

    // Column weights (adding up to 1000) and titles, left to right.
    static constexpr std::array<int, 5> kWeights{400, 225, 175, 100, 100};
    static constexpr int kLeft = 40;

private:
    void setFontSize(int points);
    void setBold(bool bold);
    int textWidth(const QString &text) const;
    int textHeight() const;
    void textOut(int x, int y, const QString &text);
    int columnWidth(int weight) const;
    void printRow();

    printing::PrintJob &job_;
    QPainter &painter_;
    const PrintOrderInput &input_;
    QFont font_;
    int pageWidth_;
    int pageHeight_;
    double scale_;
    int x_ = kLeft;
    int y_ = 0;
    int lineHeight_ = 0; // text height of the row font
    double total_ = 0;
};

} // namespace ordering
