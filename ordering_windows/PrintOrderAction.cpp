#include "PrintOrderAction.h"

#include "platform/FileDialogs.h"
#include "platform/MessageService.h"
#include "platform/PlatformError.h"
#include "platform/Services.h"
#include "printing/CurrentPrinter.h"
#include "printing/PdfPrinter.h"
#include "printing/Printer.h"
#include "printing/SystemPrinter.h"
#include "tables/TableError.h"

#include <QDir>

namespace ordering {

namespace {

bool printSafely(printing::Printer &printer, const PrintOrderInput &input, QWidget *parent)
{
    try {
        PrintOrder(printer, input);
        return true;
    } catch (const platform::PlatformError &e) {
        platform::messages().showMessage(e.message(), parent);
    } catch (const tables::TableError &e) {
        platform::messages().showError(e.message(), parent);
    }
    return false;
}

} // namespace

void printOrderOnSystemPrinter(const PrintOrderInput &input, QWidget *parent)
{
    auto *system = dynamic_cast<printing::SystemPrinter *>(&printing::printer());
    if (system && !printing::SystemPrinter::hasPrinter()) {
        const bool toPdf = platform::messages().askYesNo(
            printing::SystemPrinter::noPrinterMessage() + QStringLiteral(" Сохранить заказ в файл PDF?"),
            QStringLiteral("KXOrders"), platform::MessageIcon::Question, parent);
        if (!toPdf)
            return;
        const QString name = input.orderNumber == 0 ? QStringLiteral("Заказ.pdf")
                                                    : QStringLiteral("Заказ %1.pdf").arg(input.orderNumber);
        const std::optional<QString> path = platform::fileDialogs().chooseSaveFile(
            QStringLiteral("Сохранить заказ"), QDir::home().filePath(name), QStringLiteral("PDF (*.pdf)"), parent);
        if (!path)
            return;
        printing::PdfPrinter pdf(*path);
        printSafely(pdf, input, parent);
        return;
    }
    printSafely(printing::printer(), input, parent);
}

void previewOrder(const PrintOrderInput &input, QWidget *parent)
{
    const QString title =
        input.orderNumber == 0 ? QStringLiteral("Заказ") : QStringLiteral("Заказ %1").arg(input.orderNumber);
    printing::printPreview().show(
        title, [&](printing::Printer &printer) { printSafely(printer, input, parent); }, parent);
}

} // namespace ordering
