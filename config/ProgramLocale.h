#pragma once

#include <QLocale>

namespace config {

// The locale the program shows and writes dates and numbers in: the system's
// when its language is one the users read (Russian, Ukrainian, Belarusian,
// Kazakh), otherwise Russian, so that a machine left in English or C shows
// "10.12.2026" and "0,12" next to the Russian texts.
QLocale programLocale(const QLocale &system = QLocale::system());

// Makes programLocale() the default locale; done once at program start.
void useProgramLocale();

} // namespace config
