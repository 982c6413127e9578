#include "Dialler.h"

#include <QHash>

namespace platform {

QString dialStateText(int state)
{
    static const QHash<int, QString> texts = {
        {0, QStringLiteral("Открытие порта")},
        {1, QStringLiteral("Порт открыт")},
        {2, QStringLiteral("Ожидаем ответ провайдера")},
        {3, QStringLiteral("Устройство получило ответ")},
        {4, QStringLiteral("Все устройства в цепочке устройства успешно соединились")},
        {5, QStringLiteral("Авторизация на сервере")},
        {6, QStringLiteral("Устройство опознано")},
        {7, QStringLiteral("The client has requested another validation attempt with a new user name/password/domain")},
        {8, QStringLiteral("The remote access server has requested a callback number")},
        {9, QStringLiteral("The client has requested to change the password on the account")},
        {10, QStringLiteral("The projection phase is starting")},
        {11, QStringLiteral("The link-speed calculation phase is starting")},
        {12, QStringLiteral("An authentication request is being acknowledged")},
        {13, QStringLiteral("Reauthentication (after callback) is starting")},
        {14, QStringLiteral("The client has successfully completed authentication")},
        {15, QStringLiteral("The line is about to disconnect in preparation for callback")},
        {16,
         QStringLiteral("The client is delaying in order to give the modem time to reset itself in preparation "
                        "for callback")},
        {17, QStringLiteral("The client is waiting for an incoming call from the remote access server")},
        {18, QStringLiteral("Projection result information is available")},
        {19, QStringLiteral("User authentication is being initiated or retried")},
        {20, QStringLiteral("Client has been called back and is about to resume authentication")},
        {21, QStringLiteral("Client is logging on to the network")},
        {22, QStringLiteral("Subentry has been connected during the dialing process")},
        {23, QStringLiteral("Subentry has been disconnected during the dialing process")},
        {4096, QStringLiteral("Terminal state supported by RASPHONE.EXE")},
        {4097, QStringLiteral("Retry authentication state supported by RASPHONE.EXE")},
        {4098, QStringLiteral("Callback state supported by RASPHONE.EXE")},
        {4099, QStringLiteral("Change password state supported by RASPHONE.EXE")},
        {dialstate::kConnected, QStringLiteral("Подключено")},
        {dialstate::kDisconnected, QStringLiteral("Отключено")},
    };
    return texts.value(state);
}

QString dialErrorText(int code)
{
    static const QHash<int, QString> texts = {
        {600, QStringLiteral("Операция ещё не завершена.")},
        {602, QStringLiteral("Порт уже открыт.")},
        {603, QStringLiteral("Слишком мал буфер для ответа.")},
        {608, QStringLiteral("Указанное устройство не существует.")},
        {619, QStringLiteral("Не удаётся подключиться к удалённому компьютеру: порт закрыт.")},
        {623, QStringLiteral("Не найдена запись о подключении.")},
        {628, QStringLiteral("Подключение было закрыто.")},
        {629, QStringLiteral("Подключение было закрыто удалённым компьютером.")},
        {633, QStringLiteral("Модем или другое устройство связи уже используется или не настроено.")},
        {635, QStringLiteral("Неизвестная ошибка.")},
        {638, QStringLiteral("Удалённый сервер не отвечает вовремя.")},
        {645, QStringLiteral("Внутренняя ошибка проверки подлинности.")},
        {676, QStringLiteral("Линия занята.")},
        {678, QStringLiteral("Удалённый компьютер не отвечает.")},
        {680, QStringLiteral("Нет гудка в линии.")},
        {691, QStringLiteral("Доступ запрещён: неверное имя пользователя или пароль.")},
        {718, QStringLiteral("Удалённый компьютер не ответил вовремя при согласовании соединения (PPP).")},
        {734, QStringLiteral("Протокол управления связью PPP был прерван.")},
        {777, QStringLiteral("Модем на удалённом компьютере не отвечает.")},
    };
    if (const auto found = texts.constFind(code); found != texts.constEnd())
        return *found;
    return QStringLiteral("Ошибка удалённого доступа %1.").arg(code);
}

QString dialStatusText(int state, int error) { return error != 0 ? dialErrorText(error) : dialStateText(state); }

} // namespace platform
