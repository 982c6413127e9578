#pragma once

#include "platform/MessageService.h"

#include <optional>

namespace platform {

// Message boxes of the widget toolkit.
class QtMessageService : public MessageService {
public:
    enum class Answer { Ok, Yes, No };

    void showMessage(const QString &text, QWidget *parent = nullptr) override;
    bool askYesNo(const QString &text, const QString &title, MessageIcon icon, QWidget *parent = nullptr) override;
    void showError(const QString &text, QWidget *parent = nullptr) override;

    // Test hook: the next box is not shown but answered with this button.
    static void setNextAnswer(Answer answer);

private:
    static std::optional<Answer> takeNextAnswer();
};

} // namespace platform
