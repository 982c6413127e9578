#pragma once

#include <QString>

class QWidget;

namespace platform {

enum class MessageIcon { None, Information, Warning, Critical, Question };

// Notices and Yes/No questions. A null parent means the active window.
class MessageService {
public:
    virtual ~MessageService() = default;

    // A notice with an OK button, titled with the application title.
    virtual void showMessage(const QString &text, QWidget *parent = nullptr) = 0;
    // True for "Yes".
    virtual bool askYesNo(const QString &text, const QString &title, MessageIcon icon, QWidget *parent = nullptr) = 0;
    // The program-wide error report: an error icon, the error's message, OK.
    virtual void showError(const QString &text, QWidget *parent = nullptr) = 0;
};

// The program's title for its message boxes and task bar entry. Kept apart
// from Qt's application display name, which the X11 platform appends to every
// window caption. Until set: the display name, else the application name.
void setApplicationTitle(const QString &title);
QString applicationTitle();

} // namespace platform
