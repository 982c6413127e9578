#pragma once

#include "FakeDialler.h"

#include "platform/CodePageRegistry.h"
#include "platform/Connectivity.h"
#include "platform/DialUpConnections.h"
#include "platform/FileDialogs.h"
#include "platform/KeyInput.h"
#include "platform/MessageService.h"
#include "platform/Services.h"
#include "platform/Shell.h"

#include <QFont>
#include <QMap>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Scriptable stand-ins for the platform services, for tests.
namespace platform::fake {

struct ShownMessage {
    enum class Kind { Message, Question, Error };
    Kind kind = Kind::Message;
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::None;
};

class FakeMessageService : public MessageService {
public:
    void showMessage(const QString &text, QWidget *parent = nullptr) override;
    bool askYesNo(const QString &text, const QString &title, MessageIcon icon, QWidget *parent = nullptr) override;
    void showError(const QString &text, QWidget *parent = nullptr) override;

    // Answers to the next questions, in order; then defaultAnswer.
    std::deque<bool> answers;
    bool defaultAnswer = false;
    // Called for every box shown, with the box, before it is answered.
    std::function<void(const ShownMessage &)> onShown;

    std::vector<ShownMessage> shown;
    QStringList texts() const;
    QStringList errors() const;

private:
    void record(ShownMessage message);
};

class FakeConnectivity : public Connectivity {
public:
    bool IsConnected() override
    {
        ++queries;
        return connected;
    }
    bool connected = false;
    int queries = 0;
};

class FakeDialUpConnections : public DialUpConnections {
public:
    std::vector<DialUpConnection> activeConnections() override;
    void hangUp(const DialUpConnection &connection, int waitSeconds) override;

    std::vector<DialUpConnection> active;
    // Raised as PlatformError by the next list or hang-up when set.
    std::optional<QString> listError;
    std::optional<QString> hangUpError;
    struct HangUp {
        QString name;
        int waitSeconds = 0;
    };
    std::vector<HangUp> hungUp;
};

class FakeFileDialogs : public FileDialogs {
public:
    std::optional<QString> chooseFolder(const QString &title, QWidget *parent = nullptr) override;
    std::optional<QString> chooseSaveFile(const QString &title, const QString &suggestedPath, const QString &filter,
                                          QWidget *parent = nullptr) override;
    std::optional<QString> chooseOpenFile(const QString &title, const QString &folder, const QString &filter,
                                          QWidget *parent = nullptr) override;
    std::optional<QFont> chooseFont(const QFont &initial, QWidget *parent = nullptr) override;

    // Results of the next dialogs of each kind, in order; cancelled when empty.
    std::deque<std::optional<QString>> folders;
    std::deque<std::optional<QString>> files;
    std::deque<std::optional<QFont>> fonts;
    QStringList titles; // of every dialog shown
};

class FakeShell : public Shell {
public:
    bool openWithAssociatedApplication(const QString &path) override
    {
        opened << path;
        return succeeds;
    }
    QStringList opened;
    bool succeeds = true;
};

class FakeKeyInput : public KeyInput {
public:
    void postKey(QWidget *target, int key, const QString &text = {}) override;
    struct Key {
        QPointer<QWidget> target;
        int key = 0;
        QString text;
    };
    std::vector<Key> posted;
};

class FakeCodePageRegistry : public CodePageRegistry {
public:
    std::optional<QString> readValue(const QString &name) override;
    void writeValue(const QString &name, const QString &value) override { values[name] = value; }
    bool available = true;
    QMap<QString, QString> values;
};

// Every service replaced by its fake while the object lives.
class FakePlatform {
public:
    FakePlatform();

    FakeMessageService &messages() { return *messages_; }
    FakeConnectivity &connectivity() { return *connectivity_; }
    FakeDialUpConnections &dialUp() { return *dialUp_; }
    FakeFileDialogs &fileDialogs() { return *fileDialogs_; }
    FakeShell &shell() { return *shell_; }
    FakeKeyInput &keyInput() { return *keyInput_; }
    FakeCodePageRegistry &codePageRegistry() { return *codePageRegistry_; }
    FakeDiallerFactory &diallers() { return *diallers_; }

private:
    std::shared_ptr<FakeMessageService> messages_ = std::make_shared<FakeMessageService>();
    std::shared_ptr<FakeConnectivity> connectivity_ = std::make_shared<FakeConnectivity>();
    std::shared_ptr<FakeDialUpConnections> dialUp_ = std::make_shared<FakeDialUpConnections>();
    std::shared_ptr<FakeFileDialogs> fileDialogs_ = std::make_shared<FakeFileDialogs>();
    std::shared_ptr<FakeShell> shell_ = std::make_shared<FakeShell>();
    std::shared_ptr<FakeKeyInput> keyInput_ = std::make_shared<FakeKeyInput>();
    std::shared_ptr<FakeCodePageRegistry> codePageRegistry_ = std::make_shared<FakeCodePageRegistry>();
    std::shared_ptr<FakeDiallerFactory> diallers_ = std::make_shared<FakeDiallerFactory>();
    ServicesOverride override_;
};

} // namespace platform::fake
