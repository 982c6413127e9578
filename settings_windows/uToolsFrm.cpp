#include "uToolsFrm.h"

#include "TransferServerDialog.h"

#include "settings/FolderCheck.h"
#include "settings/TableProperties.h"

#include "config/IniFile.h"
#include "config/PasswordScrambler.h"
#include "config/ProgramFiles.h"
#include "config/SettingsKeys.h"
#include "errors/KxError.h"
#include "platform/CodePageRegistry.h"
#include "platform/FileDialogs.h"
#include "platform/MessageService.h"
#include "platform/Services.h"
#include "schema/Catalogue.h"
#include "tables/FileLookup.h"
#include "windows/Captions.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace settings {

using windows::WorkFolder;
namespace keys = config::keys;

namespace {

const QString &kCaption = windows::captions::kTools;
const QString kAdministratorArgument = QStringLiteral("KVT");
const QString kFolderDialogTitle = QStringLiteral("Выберите папку");
const QString kCodePageEntry = QStringLiteral("1252");
const QString kLatinCodePageFile = QStringLiteral("c_1252.nls");
const QString kCyrillicCodePageFile = QStringLiteral("c_1251.nls");
constexpr int kTableRowHeight = 18;

struct PathRowSpec {
    WorkFolder folder;
    const char *label;
    const char *edit;
    const char *button;
    const QString &key;
};

const std::array<PathRowSpec, 7> &pathRowSpecs()
{
    static const std::array<PathRowSpec, 7> specs = {{
        {WorkFolder::Price, "Прайс", "edPricePath", "btOpenPrice", keys::kPrice},
        {WorkFolder::Orders, "Заказы", "edOrderPath", "btOpenOrder", keys::kOrder},
        {WorkFolder::Invoices, "Накладные", "edNaklPath", "btOpenNakl", keys::kInvoice},
        {WorkFolder::References, "Справочники", "edReferPath", "btOpenRef", keys::kReference},
        {WorkFolder::Archive, "Архив", "edArchPath", "btOpenArch", keys::kArchiv},
        {WorkFolder::Prescriptions, "Рецепты", "edPrescrPath", "btOpenPrescr", keys::kPrescription},
        {WorkFolder::Narcotics, "Наркотика", "edOutboundnPath", "btOpenOutboundn", keys::kOutboundn},
    }};
    return specs;
}

const QStringList &tableHeader()
{
    static const QStringList header = {QStringLiteral("Поле"),      QStringLiteral("№"),   QStringLiteral("Название"),
                                       QStringLiteral("Видимость"), QStringLiteral("R/O"), QStringLiteral("Ключ"),
                                       QStringLiteral("Ширирна")};
    return header;
}

constexpr std::array<int, 7> kColumnWidths = {64, 32, 132, 46, 37, 33, 52};

bool administratorMode(const QStringList &arguments)
{
    return !arguments.isEmpty() && arguments.first().toUpper() == kAdministratorArgument;
}

} // namespace

TToolsFrm::TToolsFrm(windows::MainFrmServices &main, const QStringList &arguments)
    : TSaveChildFrm(main.childParent(), &main), main_(main), arguments_(arguments)
{
    setObjectName(QStringLiteral("ToolsFrm"));
    setWindowTitle(kCaption);
    resize(548, 275);

    pcTools = new QTabWidget(this);
    pcTools->setObjectName(QStringLiteral("pcTools"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pcTools);
    buildPathsPage();
    buildConnectionPage();
    buildStructurePage();
    buildOtherPage();
    connect(pcTools, &QTabWidget::currentChanged, this, &TToolsFrm::tsStructureEnter);
    FormCreate();
}

TToolsFrm::~TToolsFrm() { runFormDestroy(); }

void TToolsFrm::buildPathsPage()
{
    tsPath = new QWidget;
    tsPath->setObjectName(QStringLiteral("tsPath"));
    auto *grid = new QGridLayout(tsPath);
    for (std::size_t i = 0; i < paths_.size(); ++i) {
        const PathRowSpec &wanted = pathRowSpecs()[i];
        PathRow &row = paths_[i];
        row.folder = wanted.folder;
        row.label = new QLabel(QString::fromUtf8(wanted.label), tsPath);
        row.edit = new QLineEdit(tsPath);
        row.edit->setObjectName(QString::fromLatin1(wanted.edit));
        row.edit->setReadOnly(true);
        row.label->setBuddy(row.edit);
        row.button = new QToolButton(tsPath);
        row.button->setObjectName(QString::fromLatin1(wanted.button));
        row.button->setText(QStringLiteral("..."));
        row.button->setFixedSize(21, 21);
        connect(row.button, &QToolButton::clicked, this, [this, &row] { openFolder(row); });
        const int line = int(i);
        grid->addWidget(row.label, line, 0);
        grid->addWidget(row.edit, line, 1);
        grid->addWidget(row.button, line, 2);
    }
    grid->setRowStretch(int(paths_.size()), 1);
    pcTools->addTab(tsPath, QStringLiteral("Пути"));
}

void TToolsFrm::buildConnectionPage()
{
    tsInternet = new QWidget;
    tsInternet->setObjectName(QStringLiteral("tsInternet"));
    auto *row = new QHBoxLayout(tsInternet);
    auto *modem = new QGroupBox(QStringLiteral("Модемное соединение"), tsInternet);
    auto *form = new QGridLayout(modem);
    const auto addField = [&](const char *caption, const char *name, int line) {
        auto *edit = new QLineEdit(modem);
        edit->setObjectName(QString::fromLatin1(name));
        auto *label = new QLabel(QString::fromUtf8(caption), modem);
        label->setBuddy(edit);
        form->addWidget(label, line, 0);
        form->addWidget(edit, line, 1);
        return edit;
    };
    edPhone = addField("Телефон", "edPhone", 0);
    edUserName = addField("Пользователь", "edUserName", 1);
    edPassword = addField("Пароль", "edPassword", 2);
    edPassword->setEchoMode(QLineEdit::Password);
    form->setRowStretch(3, 1);
    row->addWidget(modem, 3);
    auto *divider = new QFrame(tsInternet);
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Sunken);
    row->addWidget(divider);
    auto *exchange = new QVBoxLayout;
    cbPassive = new QCheckBox(QStringLiteral("Пассивный режим обмена по FTP"), tsInternet);
    cbPassive->setObjectName(QStringLiteral("cbPassive"));
    exchange->addWidget(cbPassive);
    // The transfer library's own server settings, in its file beside the program.
    btTransferServer = new QPushButton(QStringLiteral("Сервер обмена..."), tsInternet);
    btTransferServer->setObjectName(QStringLiteral("btTransferServer"));
    connect(btTransferServer, &QPushButton::clicked, this, [this] {
        TransferServerDialog dialog(config::programFolder() + config::keys::kTransferFile, this);
        dialog.exec();
    });
    exchange->addWidget(btTransferServer, 0, Qt::AlignLeft);
    exchange->addStretch(1);
    row->addLayout(exchange, 2);
    pcTools->addTab(tsInternet, QStringLiteral("Соединение"));
}

void TToolsFrm::buildStructurePage()
{
    tsStructure = new QWidget;
    tsStructure->setObjectName(QStringLiteral("tsStructure"));
    auto *row = new QHBoxLayout(tsStructure);
    lbInTables = new QListWidget(tsStructure);
    lbInTables->setObjectName(QStringLiteral("lbInTables"));
    lbInTables->setMaximumWidth(130);
    row->addWidget(lbInTables);
    auto *right = new QVBoxLayout;
    auto *captionRow = new QHBoxLayout;
    edDBFCaption = new QLineEdit(tsStructure);
    edDBFCaption->setObjectName(QStringLiteral("edDBFCaption"));
    auto *captionLabel = new QLabel(QStringLiteral("Название:"), tsStructure);
    captionLabel->setBuddy(edDBFCaption);
    captionRow->addWidget(captionLabel);
    captionRow->addWidget(edDBFCaption, 1);
    right->addLayout(captionRow);
    sgTableProperties = new QTableWidget(0, int(kColumnWidths.size()), tsStructure);
    sgTableProperties->setObjectName(QStringLiteral("sgTableProperties"));
    sgTableProperties->setHorizontalHeaderLabels(tableHeader());
    sgTableProperties->verticalHeader()->hide();
    sgTableProperties->verticalHeader()->setDefaultSectionSize(kTableRowHeight);
    sgTableProperties->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    sgTableProperties->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The form's widths, but never narrower than a column's title.
    const QFontMetrics titles(sgTableProperties->horizontalHeader()->font());
    for (std::size_t c = 0; c < kColumnWidths.size(); ++c)
        sgTableProperties->setColumnWidth(
            int(c), std::max(kColumnWidths[c], titles.horizontalAdvance(tableHeader()[qsizetype(c)]) + 12));
    right->addWidget(sgTableProperties, 1);
    row->addLayout(right, 1);

    // The list is bound to an action whose idle-time update loads the table chosen.
    acnList = new QAction(this);
    acnList->setObjectName(QStringLiteral("acnList"));
    connect(lbInTables, &QListWidget::currentRowChanged, this, [this] { acnListUpdate(); });
    pcTools->addTab(tsStructure, QStringLiteral("Таблицы"));
}

void TToolsFrm::buildOtherPage()
{
    tsOther = new QWidget;
    tsOther->setObjectName(QStringLiteral("tsOther"));
    auto *row = new QHBoxLayout(tsOther);
    bt1252 = new QPushButton(QStringLiteral("Изменить"), tsOther);
    bt1252->setObjectName(QStringLiteral("bt1252"));
    row->addWidget(bt1252, 0, Qt::AlignTop);
    row->addWidget(new QLabel(QStringLiteral("Исправить в реестре кодировку 1252"), tsOther), 1, Qt::AlignTop);
    connect(bt1252, &QPushButton::clicked, this, &TToolsFrm::bt1252Click);
    pcTools->addTab(tsOther, QStringLiteral("Прочее"));
}

const TToolsFrm::PathRow &TToolsFrm::pathRow(WorkFolder folder) const
{
    for (const PathRow &row : paths_)
        if (row.folder == folder)
            return row;
    return paths_.front();
}

void TToolsFrm::FormCreate()
{
    TSaveChildFrm::FormCreate();
    for (PathRow &row : paths_)
        row.edit->setText(main_.folder(row.folder));

    const config::IniFile settingsFile(config::settingsFileName());
    edPhone->setText(settingsFile.readString(keys::kModem, keys::kPhone));
    edUserName->setText(settingsFile.readString(keys::kModem, keys::kUserName));
    storedPassword_ = settingsFile.readString(keys::kModem, keys::kPassword);
    shownPassword_ = config::plainPasswordFromStored(storedPassword_);
    edPassword->setText(shownPassword_);
    cbPassive->setChecked(settingsFile.readBool(keys::kFtp, keys::kPassive, false));

    pcTools->setCurrentWidget(tsPath);
    currentTable_ = -1;
    const bool administrator = administratorMode(arguments_);
    pcTools->setTabVisible(pcTools->indexOf(tsStructure), administrator);
    pcTools->setTabVisible(pcTools->indexOf(tsOther), administrator);

    // Rows of tables the installation lacks are hidden; the layout closes the gap.
    const auto has = [this](WorkFolder folder, const QString &table) {
        return QFileInfo(tables::findFileNoCase(main_.folder(folder), table)).isFile();
    };
    const auto hideRow = [](const PathRow &row) {
        row.label->hide();
        row.edit->hide();
        row.button->hide();
    };
    if (!has(WorkFolder::Prescriptions, schema::kPharmCom))
        hideRow(pathRow(WorkFolder::Prescriptions));
    if (!has(WorkFolder::Narcotics, schema::kNarcoticsPrice))
        hideRow(pathRow(WorkFolder::Narcotics));
}

void TToolsFrm::openFolder(PathRow &row)
{
    if (const std::optional<QString> chosen = platform::fileDialogs().chooseFolder(kFolderDialogTitle, this)) {
        const QString folder = config::withTrailingSeparator(*chosen);
        // A folder the program could not work in is refused; the previous one stays.
        if (const std::optional<QString> problem = folderProblem(folder))
            platform::messages().showMessage(*problem, this);
        else
            row.edit->setText(folder);
    }
    main_.setFolder(row.folder, row.edit->text());
}

// --- table presentation ---

QStringList TToolsFrm::listedFolders() const
{
    // Orders and invoices are the distributor's business, never listed.
    QStringList folders;
    for (WorkFolder folder : {WorkFolder::Price, WorkFolder::References, WorkFolder::Archive, WorkFolder::Prescriptions,
                              WorkFolder::Narcotics})
        folders << main_.folder(folder);
    return folders;
}

void TToolsFrm::tsStructureEnter()
{
    if (pcTools->currentWidget() == tsStructure)
        FillTableList();
}

void TToolsFrm::FillTableList()
{
    const QSignalBlocker quiet(lbInTables);
    lbInTables->clear();
    lbInTables->addItems(listTableFiles(listedFolders()));
    if (lbInTables->count() > 0)
        lbInTables->setCurrentRow(0);
    acnListUpdate();
}

void TToolsFrm::acnListUpdate()
{
    listGuard_.run({acnList}, [this] {
        const int selected = lbInTables->currentRow();
        if (selected < 0 || selected == currentTable_)
            return;
        if (currentTable_ != -1) {
            try {
                SaveTableProperties(currentTable_);
            } catch (const std::exception &error) {
                // The edits stay on screen instead of being replaced by another table's.
                report(error);
                const QSignalBlocker quiet(lbInTables);
                lbInTables->setCurrentRow(currentTable_);
                return;
            }
        }
        currentTable_ = selected;
        try {
            LoadTableProperties();
        } catch (const std::exception &error) {
            report(error);
        }
    });
}

void TToolsFrm::LoadTableProperties()
{
    sgTableProperties->setRowCount(0);
    edDBFCaption->clear();
    const QString name = lbInTables->currentItem()->text();
    const QString path = findTableFile(listedFolders(), name);
    const TableProperties loaded = loadTableProperties(path, config::propertiesFileName());
    edDBFCaption->setText(loaded.caption);
    sgTableProperties->setRowCount(int(loaded.rows.size()));
    for (int r = 0; r < int(loaded.rows.size()); ++r)
        for (int c = 0; c < settings::kEntryItems; ++c)
            sgTableProperties->setItem(r, c, new QTableWidgetItem(loaded.rows[std::size_t(r)].value(c)));
    if (sgTableProperties->rowCount() > 0)
        sgTableProperties->setCurrentCell(0, 1);
}

void TToolsFrm::SaveTableProperties(int index)
{
    if (index < 0 || index >= lbInTables->count())
        return;
    // An open cell editor gives its text to the cell first.
    const QModelIndex current = sgTableProperties->currentIndex();
    sgTableProperties->setCurrentIndex(QModelIndex());
    sgTableProperties->setCurrentIndex(current);
    TableProperties edited;
    edited.caption = edDBFCaption->text();
    for (int r = 0; r < sgTableProperties->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < settings::kEntryItems; ++c) {
            const QTableWidgetItem *item = sgTableProperties->item(r, c);
            row << (item ? item->text() : QString());
        }
        edited.rows.push_back(row);
    }
    saveTableProperties(lbInTables->item(index)->text(), edited, config::propertiesFileName());
}

void TToolsFrm::report(const std::exception &error) { platform::messages().showError(kx::userMessage(error), this); }

// --- code page ---

void TToolsFrm::bt1252Click()
{
    platform::CodePageRegistry &registry = platform::codePageRegistry();
    const std::optional<QString> value = registry.readValue(kCodePageEntry);
    if (!value)
        return; // no such registry here: nothing to fix, nothing to say
    if (value->toLower() == kLatinCodePageFile) {
        registry.writeValue(kCodePageEntry, kCyrillicCodePageFile);
        platform::messages().showMessage(QStringLiteral("Необходимо перезагрузить компьютер"), this);
    } else {
        platform::messages().showMessage(QStringLiteral("Данные в реестре уже были изменены"), this);
    }
}

// --- closing ---

void TToolsFrm::FormClose()
{
    if (currentTable_ != -1) {
        try {
            SaveTableProperties(currentTable_);
        } catch (const std::exception &error) {
            report(error); // said, not lost silently; the window still closes
        }
    }
    main_.rebuildTableMenus();
}

void TToolsFrm::FormDestroy()
{
    TSaveChildFrm::FormDestroy();
    const config::IniFile settingsFile(config::settingsFileName());
    for (std::size_t i = 0; i < paths_.size(); ++i)
        settingsFile.writeString(keys::kPath, pathRowSpecs()[i].key, paths_[i].edit->text());
    settingsFile.writeString(keys::kModem, keys::kPhone, edPhone->text());
    settingsFile.writeString(keys::kModem, keys::kUserName, edUserName->text());
    settingsFile.writeString(keys::kModem, keys::kPassword,
                             edPassword->text() == shownPassword_ ? storedPassword_
                                                                  : config::storedPasswordForm(edPassword->text()));
    settingsFile.writeBool(keys::kFtp, keys::kPassive, cbPassive->isChecked());
}

} // namespace settings
