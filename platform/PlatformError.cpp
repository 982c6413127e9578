#include "PlatformError.h"

namespace platform {

QString rasErrorMessage(int code, const QString &text)
{
    return QStringLiteral("RAS Error code: %1.\n\"%2\"").arg(code).arg(text);
}

} // namespace platform
