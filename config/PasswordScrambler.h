#pragma once

#include <QByteArray>
#include <QString>

namespace config {

// The symmetric scrambling of the stored dial-up password: byte i of n is
// combined by exclusive-or with the low eight bits of n - i. Works on the
// code page 1251 bytes of the text; applying it twice gives the text back.
QByteArray ScramblePassword(const QByteArray &bytes);
QString ScramblePassword(const QString &text);

// The form a password takes in the settings file. It is the scrambled text
// itself, except when that text could not survive a line-oriented file (a
// byte 0, CR or LF, or a blank at either end, which reading trims) or happens
// to start with the marker below: then it is the marker followed by the
// scrambled bytes in hexadecimal, so that every password reads back exactly.
inline constexpr char kHexPasswordMarker[] = "{KXHEX}";
QString storedPasswordForm(const QString &plain);
QString plainPasswordFromStored(const QString &stored);

} // namespace config
