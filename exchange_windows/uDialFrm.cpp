#include "uDialFrm.h"

#include "config/IniFile.h"
#include "config/PasswordScrambler.h"
#include "config/ProgramFiles.h"
#include "config/SettingsKeys.h"
#include "errors/KxError.h"
#include "platform/Dialler.h"
#include "platform/MessageService.h"
#include "platform/Services.h"
#include "windows/Captions.h"
#include "windows/MainFrmServices.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace exchange_windows {

namespace keys = config::keys;

namespace {

const QString &kCaption = windows::captions::kDialUp;

// A value the dial would have to cut, named for the message.
QString tooLong(const platform::DialParameters &p)
{
    if (p.phoneNumber.size() > platform::kMaxPhoneNumber)
        return QStringLiteral("номер телефона длиннее %1 символов").arg(platform::kMaxPhoneNumber);
    if (p.userName.size() > platform::kMaxUserName)
        return QStringLiteral("имя пользователя длиннее %1 символов").arg(platform::kMaxUserName);
    if (p.password.size() > platform::kMaxPassword)
        return QStringLiteral("пароль длиннее %1 символов").arg(platform::kMaxPassword);
    return {};
}

} // namespace

TDialFrm::TDialFrm(windows::MainFrmServices &main) : TSaveChildFrm(main.childParent(), &main), main_(main)
{
    setObjectName(QStringLiteral("DialFrm"));
    setWindowTitle(kCaption);
    resize(218, 205);
    InfoBox = new QListWidget(this);
    InfoBox->setObjectName(QStringLiteral("InfoBox"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(InfoBox);

    Timer1.setInterval(kCloseAfterFailureMs);
    Timer2.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, &TDialFrm::Timer1Timer);
    connect(&Timer2, &QTimer::timeout, this, &TDialFrm::Timer2Timer);
    FormCreate();
}

TDialFrm::~TDialFrm() { runFormDestroy(); }

void TDialFrm::showEvent(QShowEvent *event)
{
    TSaveChildFrm::showEvent(event);
    // Once the window is on screen, so that the first states show in it.
    QTimer::singleShot(0, this, &TDialFrm::FormActivate);
}

void TDialFrm::FormActivate()
{
    if (DialState != NotStarted)
        return;
    DialState = Dialling;
    const config::IniFile settings(config::settingsFileName());
    platform::DialParameters parameters;
    parameters.phoneNumber = settings.readString(keys::kModem, keys::kPhone);
    parameters.userName = settings.readString(keys::kModem, keys::kUserName);
    parameters.password = config::plainPasswordFromStored(settings.readString(keys::kModem, keys::kPassword));
    if (parameters.phoneNumber.isEmpty() || parameters.userName.isEmpty() || parameters.password.isEmpty()) {
        platform::messages().showMessage(QStringLiteral("Заполните информацию в Настройках->Соединение"), this);
        return;
    }
    if (const QString problem = tooLong(parameters); !problem.isEmpty()) {
        // The account could not be passed on whole: nothing is dialled.
        platform::messages().showMessage(
            QStringLiteral("Модемное соединение не набрано: %1. Исправьте его в Настройках->Соединение").arg(problem),
            this);
        return;
    }
    dialler_ = platform::diallers().create();
    connect(dialler_.get(), &platform::Dialler::notification, this, &TDialFrm::DialerNotification);
    try {
        dialler_->dial(parameters);
    } catch (const std::exception &error) {
        platform::messages().showError(kx::userMessage(error), this);
    }
}

void TDialFrm::DialerNotification(int state, int error)
{
    InfoBox->addItem(platform::dialStatusText(state, error));
    InfoBox->setCurrentRow(InfoBox->count() - 1);
    if (error != 0) {
        DialState = Failed;
        ElapsedSeconds = 0;
        Timer1.start();
    }
}

void TDialFrm::startHangUpCountdown()
{
    Timer1.setInterval(kHangUpCountdownMs);
    ElapsedSeconds = 0;
    Timer1.start();
    Timer2.start();
}

void TDialFrm::stopHangUpCountdown() { Timer1.stop(); }

void TDialFrm::Timer2Timer()
{
    if (!Timer1.isActive())
        return;
    ++ElapsedSeconds;
    main_.setStatusText(
        QStringLiteral("До отключения Интернета осталось %1 секунд").arg(Timer1.interval() / 1000 - ElapsedSeconds));
}

void TDialFrm::Timer1Timer()
{
    Timer1.stop();
    Timer2.stop();
    closeWindow();
}

void TDialFrm::FormClose() { main_.setStatusText(QString()); }

void TDialFrm::FormDestroy()
{
    TSaveChildFrm::FormDestroy();
    // Whatever this window dialled goes down with it, a failed dial too:
    // no line is left open to be paid for. Nothing dialled, nothing to hang up.
    if (dialler_ && dialler_->lineUp())
        dialler_->hangUp(kHangUpWaitSeconds);
    dialler_.reset();
}

} // namespace exchange_windows
