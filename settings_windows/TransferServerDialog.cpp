#include "TransferServerDialog.h"

#include "config/IniFile.h"
#include "config/PasswordScrambler.h"
#include "config/SettingsKeys.h"
#include "errors/KxError.h"
#include "platform/MessageService.h"
#include "platform/Services.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace settings {

namespace keys = config::keys;

TransferServerDialog::TransferServerDialog(QString settingsFile, QWidget *parent)
    : QDialog(parent), file_(std::move(settingsFile))
{
    setObjectName(QStringLiteral("TransferServerDialog"));
    setWindowTitle(QStringLiteral("Сервер обмена"));
    auto *form = new QFormLayout;
    const auto addField = [&](const char *name, const char *caption) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        form->addRow(QString::fromUtf8(caption), edit);
        return edit;
    };
    edServerUrl = addField("edServerUrl", "Адрес (ftp://, ftps://, sftp://, file://)");
    edServerUser = addField("edServerUser", "Пользователь");
    edServerPassword = addField("edServerPassword", "Пароль");
    edServerPassword->setEchoMode(QLineEdit::Password);
    edServerUrl->setMinimumWidth(
        edServerUrl->fontMetrics().horizontalAdvance(QStringLiteral("ftp://ftp.example.ru/orders/")));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(buttons);

    const config::IniFile ini(file_);
    edServerUrl->setText(ini.readString(keys::kServer, keys::kServerUrl));
    edServerUser->setText(ini.readString(keys::kServer, keys::kServerUser));
    storedPassword_ = ini.readString(keys::kServer, keys::kServerPassword);
    shownPassword_ = config::plainPasswordFromStored(storedPassword_);
    edServerPassword->setText(shownPassword_);
}

void TransferServerDialog::accept()
{
    try {
        const config::IniFile ini(file_);
        ini.writeString(keys::kServer, keys::kServerUrl, edServerUrl->text().trimmed());
        ini.writeString(keys::kServer, keys::kServerUser, edServerUser->text());
        ini.writeString(keys::kServer, keys::kServerPassword,
                        edServerPassword->text() == shownPassword_
                            ? storedPassword_
                            : config::storedPasswordForm(edServerPassword->text()));
    } catch (const std::exception &error) {
        // Not written: said, and the dialog stays with what was typed.
        platform::messages().showError(kx::userMessage(error), this);
        return;
    }
    QDialog::accept();
}

} // namespace settings
