#include "FakePrintPreview.h"

#include "printing/CurrentPrinter.h"

namespace printing::fake {

void PrintingPreview::show(const QString &title, const std::function<void(Printer &)> &paint, QWidget *)
{
    titles << title;
    paint(printer());
}

} // namespace printing::fake
