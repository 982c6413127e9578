#pragma once

#include <QString>

namespace exchange {

class ExchangeFeedback;

// The outgoing package for a mask: with "*" in its file-name part, the mask's
// folder + "Z" + sub-customer identifier + "_.zip" (Z17_.zip, Z-1_.zip);
// otherwise the named file with the extension ".zip".
QString packageNameFor(const QString &mask, int subCustomerId);

// Packs every file matched by the mask in the mask's folder and its subfolders
// (letter case ignored; the package itself left out) under its name alone,
// deflated at `level` 0-9 (0 stores), AES-256 encrypted when a password is
// given. After each file the status line shows "упакован " + name +
// " размер до: " + size + " размер после: " + packed size. Returns the
// package's path, or nothing (and does nothing) when no file matches. Two
// files of one name in different folders would overwrite each other when
// unpacked: that is an ExchangeError, as is a package that cannot be written;
// then no package is left.
QString ZipFiles(const QString &mask, int level, const QString &password, int subCustomerId,
                 ExchangeFeedback &feedback);

} // namespace exchange
