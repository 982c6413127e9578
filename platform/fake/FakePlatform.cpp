#include "FakePlatform.h"

#include "platform/PlatformError.h"

namespace platform::fake {

namespace {

template <class T> T takeFront(std::deque<T> &queue)
{
    T value{};
    if (!queue.empty()) {
        value = queue.front();
        queue.pop_front();
    }
    return value;
}

} // namespace

void FakeMessageService::record(ShownMessage message)
{
    shown.push_back(message);
    if (onShown)
        onShown(shown.back());
}

void FakeMessageService::showMessage(const QString &text, QWidget *)
{
    record({ShownMessage::Kind::Message, text, QString(), MessageIcon::None});
}

bool FakeMessageService::askYesNo(const QString &text, const QString &title, MessageIcon icon, QWidget *)
{
    record({ShownMessage::Kind::Question, text, title, icon});
    if (answers.empty())
        return defaultAnswer;
    return takeFront(answers);
}

void FakeMessageService::showError(const QString &text, QWidget *)
{
    record({ShownMessage::Kind::Error, text, QString(), MessageIcon::Critical});
}

QStringList FakeMessageService::texts() const
{
    QStringList list;
    for (const ShownMessage &m : shown)
        list << m.text;
    return list;
}

QStringList FakeMessageService::errors() const
{
    QStringList list;
    for (const ShownMessage &m : shown)
        if (m.kind == ShownMessage::Kind::Error)
            list << m.text;
    return list;
}

std::vector<DialUpConnection> FakeDialUpConnections::activeConnections()
{
    if (listError)
        throw PlatformError(*listError);
    return active;
}

void FakeDialUpConnections::hangUp(const DialUpConnection &connection, int waitSeconds)
{
    if (hangUpError)
        throw PlatformError(*hangUpError);
    hungUp.push_back({connection.name, waitSeconds});
    std::erase_if(active, [&](const DialUpConnection &c) { return c.id == connection.id; });
}

std::optional<QString> FakeFileDialogs::chooseFolder(const QString &title, QWidget *)
{
    titles << title;
    return takeFront(folders);
}

std::optional<QString> FakeFileDialogs::chooseSaveFile(const QString &title, const QString &, const QString &,
                                                       QWidget *)
{
    titles << title;
    return takeFront(files);
}

std::optional<QString> FakeFileDialogs::chooseOpenFile(const QString &title, const QString &, const QString &,
                                                       QWidget *)
{
    titles << title;
    return takeFront(files);
}

std::optional<QFont> FakeFileDialogs::chooseFont(const QFont &, QWidget *)
{
    titles << QString();
    return takeFront(fonts);
}

void FakeKeyInput::postKey(QWidget *target, int key, const QString &text) { posted.push_back({target, key, text}); }

std::optional<QString> FakeCodePageRegistry::readValue(const QString &name)
{
    if (!available)
        return std::nullopt;
    return values.value(name);
}

FakePlatform::FakePlatform()
    : override_(
        Services{messages_, connectivity_, dialUp_, fileDialogs_, shell_, keyInput_, codePageRegistry_, diallers_})
{
}

} // namespace platform::fake
