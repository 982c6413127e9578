#pragma once

#include <QDialog>

class QLineEdit;

namespace settings {

// The exchange server of the transfer library (KXOrder.ini beside the
// program): address, account and password; the passive mode stays on the
// connection page. An unedited password is stored again exactly as it was.
class TransferServerDialog : public QDialog {
    Q_OBJECT
public:
    explicit TransferServerDialog(QString settingsFile, QWidget *parent = nullptr);

    QLineEdit *edServerUrl;
    QLineEdit *edServerUser;
    QLineEdit *edServerPassword;

    void accept() override;

private:
    QString file_;
    QString storedPassword_;
    QString shownPassword_;
};

} // namespace settings
