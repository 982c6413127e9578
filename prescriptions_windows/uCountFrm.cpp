#include "uCountFrm.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>

namespace prescriptions_windows {

namespace {
constexpr QSize kClientSize(306, 90);
}

TCountFrm::TCountFrm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TCountFrm"));
    setWindowTitle(QStringLiteral("Количество"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(QFont(QStringLiteral("Tahoma"), 8));

    Label1 = new QLabel(QStringLiteral("Количество и Ед.Изм:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    edValue = new QLineEdit(this);
    edValue->setObjectName(QStringLiteral("edValue"));
    edValue->installEventFilter(this);

    // The label keeps its place and grows with the font, the box follows it.
    Label1->move(32, 32);
    Label1->adjustSize();
    const int boxLeft = std::max(150, Label1->geometry().right() + 8);
    edValue->setGeometry(boxLeft, 29, 121, std::max(21, edValue->sizeHint().height()));
    Label1->move(32, edValue->geometry().center().y() - Label1->height() / 2);
    setFixedSize(std::max(kClientSize.width(), edValue->geometry().right() + 35),
                 std::max(kClientSize.height(), edValue->geometry().bottom() + 40));
    if (QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
}

QString TCountFrm::value() const { return edValue->text(); }

bool TCountFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edValue && event->type() == QEvent::KeyPress)
        return edValueKeyDown(static_cast<QKeyEvent *>(event)->key());
    return QDialog::eventFilter(watched, event);
}

bool TCountFrm::edValueKeyDown(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    accept();
    return true;
}

} // namespace prescriptions_windows
