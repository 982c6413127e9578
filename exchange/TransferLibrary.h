#pragma once

#include <QLibrary>
#include <QList>
#include <QString>

#include <functional>

namespace exchange {

// One progress line of the transfer library, in the calling thread.
using TransferLine = std::function<void(const QString &line)>;

// The transfer library libKXOrder.so, loaded from the program folder for one
// transfer, both exports looked up by name; unloaded by unload() or at the
// end of its life. A library or export that is missing is an ExchangeError
// naming the file, and nothing is called.
class TransferLibrary {
public:
    // The program folder + "KXOrder" (QLibrary adds "lib" and ".so").
    static QString defaultFileName();

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
