#pragma once

#include <QLibrary>
#include <QList>
#include <QString>

#include <functional>

namespace exchange {

// One progress line of the transfer library, in the calling thread.
using TransferLine = std::function<void(const QString &line)>;

// The transfer library libKXOrder.so, loaded for one transfer from the
// program folder or, when that holds none, from the installed program's
// library folder; both exports looked up by name; unloaded by unload() or at the
// end of its life. A library or export that is missing is an ExchangeError
// naming the file, and nothing is called.
class TransferLibrary {
public:
    // The program folder + "KXOrder" (QLibrary adds "lib" and ".so"), or the
    // installed one when the program folder holds no library.
    static QString defaultFileName();
    // The first of the two folders holding libKXOrder.so, + "KXOrder"; the
    // program folder's when neither does, so that the error names it.
    static QString fileNameIn(const QString &programFolder, const QString &installedFolder);
    // The library folder of the installed program, relative to its executable.
    static QString installedFolder();

    explicit TransferLibrary(const QString &fileName = defaultFileName());
    ~TransferLibrary();
    TransferLibrary(const TransferLibrary &) = delete;
    TransferLibrary &operator=(const TransferLibrary &) = delete;

    // InternalGetFTPFiles: ids must not be empty.
    bool getFiles(const TransferLine &line, const QList<int> &ids, bool invoices, bool passive);
    // InternalPutFTPFiles.
    bool putFiles(const TransferLine &line, bool passive);

    void unload();

private:
    QLibrary library_;
    void *get_ = nullptr;
    void *put_ = nullptr;
};

} // namespace exchange
