#pragma once

#include "PrintPreview.h"

namespace printing {

// Qt's print preview dialog over the system's printer, with "Печать" (to that
// printer, or a PDF file where there is none) and "Сохранить в PDF".
class QtPrintPreview : public PrintPreview {
public:
    void show(const QString &title, const std::function<void(Printer &)> &paint, QWidget *parent) override;
};

} // namespace printing
