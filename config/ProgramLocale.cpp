#include "ProgramLocale.h"

namespace config {

QLocale programLocale(const QLocale &system)
{
    switch (system.language()) {
    case QLocale::Russian:
    case QLocale::Ukrainian:
    case QLocale::Belarusian:
    case QLocale::Kazakh: return system;
    default: return QLocale(QLocale::Russian, QLocale::Russia);
    }
}

void useProgramLocale() { QLocale::setDefault(programLocale()); }

} // namespace config
