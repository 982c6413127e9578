#pragma once

#include "windows/ActionUpdateGuard.h"
#include "windows/MainFrmServices.h"
#include "windows/uSChildFrm.h"

#include <QString>
#include <QStringList>

#include <array>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QToolButton;

namespace settings {

// The settings window "Настройки": the seven working folders, the modem
// account and the exchange mode; with the first argument "KVT" also the
// table presentation of properties.ini and the code page fix.
class TToolsFrm : public windows::TSaveChildFrm {
    Q_OBJECT
public:
    // arguments: the program's command line without the program name.
    TToolsFrm(windows::MainFrmServices &main, const QStringList &arguments);
    ~TToolsFrm() override;

    // One row of the page "Пути".
    struct PathRow {
        windows::WorkFolder folder;
        QLabel *label = nullptr;
        QLineEdit *edit = nullptr;
        QToolButton *button = nullptr;
    };
    const PathRow &pathRow(windows::WorkFolder folder) const;

    void FillTableList();
    void acnListUpdate();

protected:
    void FormClose() override;
    void FormDestroy() override;

private:
    QTabWidget *pcTools;
    QWidget *tsPath;
    QWidget *tsInternet;
    QWidget *tsStructure;
    QWidget *tsOther;
    QLineEdit *edPhone;
    QLineEdit *edUserName;
    QLineEdit *edPassword;
    QCheckBox *cbPassive;
    QPushButton *btTransferServer;
    QListWidget *lbInTables;
    QLineEdit *edDBFCaption;
    QTableWidget *sgTableProperties;
    QPushButton *bt1252;
    QAction *acnList;

    void buildPathsPage();
    void buildConnectionPage();
    void buildStructurePage();
    void buildOtherPage();
    void FormCreate();
    void openFolder(PathRow &row);
    void LoadTableProperties();
    void SaveTableProperties(int index);
    void tsStructureEnter();
    void bt1252Click();
    QStringList listedFolders() const;
    void report(const std::exception &error);

    windows::MainFrmServices &main_;
    QStringList arguments_;
    std::array<PathRow, 7> paths_;
    int currentTable_ = -1;
    // The stored password and what it showed: an unedited one is stored again as it was.
    QString storedPassword_;
    QString shownPassword_;
    windows::ActionUpdateGuard listGuard_{[this](const QString &text) { showStatus(text); }};
};

} // namespace settings
