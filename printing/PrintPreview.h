#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace printing {

class Printer;

// Shows the pages a printout would give before anything is printed; from
// there the user prints them or saves them as a PDF file. `paint` draws the
// whole printout on the printer it is given and is the same code a direct
// print runs, so the preview is exactly what the printer gets.
class PrintPreview {
public:
    virtual ~PrintPreview() = default;
    virtual void show(const QString &title, const std::function<void(Printer &)> &paint, QWidget *parent) = 0;
};

} // namespace printing
