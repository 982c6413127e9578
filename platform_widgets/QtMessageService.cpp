#include "QtMessageService.h"

#include <QApplication>
#include <QDebug>
#include <QMessageBox>

namespace platform {

namespace {

std::optional<QtMessageService::Answer> &nextAnswer()
{
    static std::optional<QtMessageService::Answer> answer;
    return answer;
}

QWidget *ownerOr(QWidget *parent) { return parent ? parent : QApplication::activeWindow(); }

QMessageBox::Icon toolkitIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

int run(QMessageBox::Icon icon, const QString &title, const QString &text, QMessageBox::StandardButtons buttons,
        QWidget *parent)
{
    QMessageBox box(icon, title, text, buttons, ownerOr(parent));
    return box.exec();
}

QString &storedTitle()
{
    static QString title;
    return title;
}

} // namespace

void setApplicationTitle(const QString &title) { storedTitle() = title; }

QString applicationTitle()
{
    if (!storedTitle().isEmpty())
        return storedTitle();
    const QString name = QApplication::applicationDisplayName();
    return name.isEmpty() ? QApplication::applicationName() : name;
}

void QtMessageService::setNextAnswer(Answer answer) { nextAnswer() = answer; }

std::optional<QtMessageService::Answer> QtMessageService::takeNextAnswer()
{
    std::optional<Answer> answer = nextAnswer();
    nextAnswer().reset();
    return answer;
}

void QtMessageService::showMessage(const QString &text, QWidget *parent)
{
    if (takeNextAnswer())
        return;
    run(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, parent);
}

bool QtMessageService::askYesNo(const QString &text, const QString &title, MessageIcon icon, QWidget *parent)
{
    if (const std::optional<Answer> answer = takeNextAnswer())
        return *answer == Answer::Yes;
    return run(toolkitIcon(icon), title, text, QMessageBox::Yes | QMessageBox::No, parent) == QMessageBox::Yes;
}

void QtMessageService::showError(const QString &text, QWidget *parent)
{
    // Also on standard error, for a program started from a terminal or a script.
    qWarning().noquote() << QApplication::applicationName() + QStringLiteral(": ") + text;
    if (takeNextAnswer())
        return;
    run(QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok, parent);
}

} // namespace platform
