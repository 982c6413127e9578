#pragma once

#include "exchange/TransferLibrary.h"
#include "windows/uSChildFrm.h"

#include <QList>
#include <QTimer>

#include <functional>

#include <memory>

class QListWidget;
class QThread;

namespace windows {
class MainFrmServices;
}

namespace exchange_windows {

// The transfer window "FTP": one fetch or one upload through the transfer
// library, run once on its first showing; the library's lines fill InfoBox.
// After a fetch it unpacks and refreshes what arrived and rebuilds the table
// menus. The library's call runs in a worker thread so the window stays
// alive; Mode 2 makes every later activation do nothing, and the window
// cannot be closed until the call has returned. It closes itself 3 seconds
// after the transfer.
class TFtpFrm : public windows::TSaveChildFrm {
    Q_OBJECT
public:
    enum Modes { FetchPending = 0, UploadPending = 1, Started = 2 };
    static constexpr int kCloseAfterMs = 3000;

    TFtpFrm(windows::MainFrmServices &main, bool fetch, bool invoices);
    ~TFtpFrm() override;

    QTimer Timer1;
    int Mode;
    bool Invoices;

    bool transferRunning() const { return busy_; }
    QSize sizeHint() const override;

signals:
    // The sequence has ended: true when it ran to its end (Timer1 started).
    void transferDone(bool completed);
    void lineArrived(const QString &line);

protected:
    void showEvent(QShowEvent *event) override;
    void FormClose() override;

private:
    QListWidget *InfoBox;
    void FormActivate();
    void Timer1Timer();
    void startFetch();
    void startUpload();
    // The library's call in the worker thread; `returned` follows in this one.
    void runCall(std::function<bool(const exchange::TransferLine &)> call, void (TFtpFrm::*returned)(bool));
    void fetchReturned(bool result);
    void uploadReturned(bool result);
    void finishWorker();
    void fail(const std::exception &error);
    void addLine(const QString &line);

    windows::MainFrmServices &main_;
    std::unique_ptr<exchange::TransferLibrary> library_;
    QThread *worker_ = nullptr;
    bool busy_ = false; // from the first activation to the end of the sequence
    QList<int> ids_;
};

// Opens the transfer window inside the main window and shows it.
TFtpFrm *OpenTransferWindow(windows::MainFrmServices &main, bool fetch, bool invoices);

} // namespace exchange_windows
