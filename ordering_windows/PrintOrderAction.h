#pragma once

#include "ordering/OrderPrinting.h"

class QWidget;

namespace ordering {

// "Печать" of the order and archive windows: prints on the system printer.
// Without a printer the user is told so and may save the printout as a PDF
// file instead. Printer errors are shown as messages; nothing is thrown.
void printOrderOnSystemPrinter(const PrintOrderInput &input, QWidget *parent = nullptr);

// "Печать" with a look first: the preview shows exactly the pages the printer
// would get, and prints them or saves them as a PDF file from there.
void previewOrder(const PrintOrderInput &input, QWidget *parent = nullptr);

} // namespace ordering
