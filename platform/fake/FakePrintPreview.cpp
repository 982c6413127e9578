#include "FakePrintPreview.h"

#include "platform/Printer.h"

namespace platform::fake {

void PrintingPreview::show(const QString &title, const std::function<void(Printer &)> &paint, QWidget *)
{
    titles << title;
    paint(printer());
}

} // namespace platform::fake
