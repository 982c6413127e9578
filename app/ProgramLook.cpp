#include "ProgramLook.h"

#include "ToolIcons.h"

#include "config/ProgramLocale.h"
#include "platform/MessageService.h"
#include "tables/CodePage.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace app {

void setUpProgram(QApplication &application)
{
    QApplication::setApplicationName(QStringLiteral("KXOrders"));
    // Not Qt's display name: on X11 that would be appended to the main caption.
    platform::setApplicationTitle(QStringLiteral("ЗАКАЗ \"ОРЕЛИКС\""));
    config::useProgramLocale();
    // The toolkit's own dialogs (print preview, file and font choice) in the program's language.
    auto *translator = new QTranslator(&application);
    if (translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    QApplication::setWindowIcon(toolIcon(ToolIcon::Order));
    // The windows are laid out for Tahoma; where it is missing, a face of
    // about its width keeps labels clear of the controls beside them.
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans Narrow"),
                                QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    QFont font = QApplication::font();
    font.setPointSize(8);
    application.setFont(font);
    // The distributor's tables carry no code page mark and are DOS Cyrillic.
    tables::setDefaultOpenCodePage(866);
}

} // namespace app
