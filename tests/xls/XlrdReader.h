#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

// Runs xlrd_dump.py under Debian's Python (which carries python3-xlrd) and
// returns its JSON; a failing reader throws std::runtime_error with its output.
QJsonObject readWithXlrd(const QStringList &arguments);
