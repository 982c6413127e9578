#pragma once

#include <QWidget>

class QPushButton;
class QTreeWidget;

namespace windows {
class MainFrmServices;
}

namespace exchange_windows {

// The window "Удаление": the prepared files of the orders folder with a check
// box each; "Удалить" deletes the checked ones after a question and lists
// the folder again.
class TDeleteSend : public QWidget {
    Q_OBJECT
public:
    explicit TDeleteSend(windows::MainFrmServices &main);
    QSize sizeHint() const override;

    QTreeWidget *LView;
    QPushButton *btDel;
    QPushButton *btCancel;

private:
    void btDelClick();
    void btCancelClick();
    void DeleteMyFiles();

    windows::MainFrmServices &main_;
};

// Fills the list with the ".dbf" files of the folder; returns the rows.
int FillSendList(const QString &folder, QTreeWidget &list);

// acnDelete: a new deletion window inside the main window.
TDeleteSend *OpenDeleteSendWindow(windows::MainFrmServices &main);

} // namespace exchange_windows
