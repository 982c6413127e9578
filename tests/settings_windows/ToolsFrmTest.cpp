// The settings window over a program folder built at run time.
#include "tests/support/WindowTestSupport.h"

#include "config/PasswordScrambler.h"
#include "settings_windows/ToolsWindow.h"
#include "settings_windows/TransferServerDialog.h"
#include "settings_windows/uToolsFrm.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

using namespace kx::testsupport;
using windows::WorkFolder;
using K = tables::FieldKind;

namespace {

class ToolsMainFrm : public FakeMainFrm {
public:
    void rebuildTableMenus() override { ++menuRebuilds; }
    int menuRebuilds = 0;
};

class ToolsWindow : public ProgramFolderFixture {
protected:
    void SetUp() override
    {
        ProgramFolderFixture::SetUp();
        for (const auto &[folder, name] : kFolders) {
            QDir().mkpath(file(QString::fromLatin1(name)));
            main.folders[folder] = file(QString::fromLatin1(name)) + u'/';
        }
    }
    void TearDown() override
    {
        closeAll();
        ProgramFolderFixture::TearDown();
    }
    QString folderFile(WorkFolder folder, const QString &name) const { return main.folders.value(folder) + name; }
    settings::TToolsFrm *open(const QStringList &arguments = {})
    {
        settings::TToolsFrm *w = settings::OpenToolsWindow(main, arguments);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
        return w;
    }
    void closeAll()
    {
        main.area.closeAllSubWindows();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static QStringList visibleTabs(settings::TToolsFrm *w)
    {
        QStringList tabs;
        for (int i = 0; i < named<QTabWidget>(w, "pcTools")->count(); ++i)
            if (named<QTabWidget>(w, "pcTools")->isTabVisible(i))
                tabs << named<QTabWidget>(w, "pcTools")->tabText(i);
        return tabs;
    }
    static QStringList listed(settings::TToolsFrm *w)
    {
        QStringList names;
        for (int i = 0; i < named<QListWidget>(w, "lbInTables")->count(); ++i)
            names << named<QListWidget>(w, "lbInTables")->item(i)->text();
        return names;
    }
    void toTables(settings::TToolsFrm *w)
    {
        named<QTabWidget>(w, "pcTools")->setCurrentWidget(named<QWidget>(w, "tsStructure"));
        QTest::qWait(1);
    }
    static void editCell(settings::TToolsFrm *w, int row, int column, const QString &text)
    {
        named<QTableWidget>(w, "sgTableProperties")->setCurrentCell(row, column);
        named<QTableWidget>(w, "sgTableProperties")
            ->editItem(named<QTableWidget>(w, "sgTableProperties")->item(row, column));
        auto *editor = QApplication::focusWidget();
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        for (QChar c : text) {
            if (c.unicode() < 128)
                QTest::keyClick(editor, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    static constexpr std::pair<WorkFolder, const char *> kFolders[] = {
        {WorkFolder::Price, "IN"},           {WorkFolder::Orders, "Out"},
        {WorkFolder::Invoices, "Invoice"},   {WorkFolder::References, "Reference"},
        {WorkFolder::Archive, "Archiv"},     {WorkFolder::Prescriptions, "Prescription"},
        {WorkFolder::Narcotics, "Outboundn"}};
    ToolsMainFrm main;
};

TEST_F(ToolsWindow, AdministratorPagesOnlyWithTheWordKvtFirst)
{
    const QStringList everyone = {QStringLiteral("Пути"), QStringLiteral("Соединение")};
    const QStringList administrator = everyone + QStringList{QStringLiteral("Таблицы"), QStringLiteral("Прочее")};
    const struct {
        QStringList arguments;
        QStringList tabs;
    } cases[] = {
        {{}, everyone},
        {{QStringLiteral("KVT")}, administrator},
        {{QStringLiteral("kVt"), QStringLiteral("x")}, administrator},
        {{QStringLiteral("KVTX")}, everyone},
        {{QStringLiteral("x"), QStringLiteral("KVT")}, everyone},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        settings::TToolsFrm *w = open(c.arguments);
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Настройки"));
        EXPECT_EQ(visibleTabs(w), c.tabs);
        EXPECT_EQ(named<QTabWidget>(w, "pcTools")->currentWidget(), named<QWidget>(w, "tsPath"));
        closeAll();
    }
}

TEST_F(ToolsWindow, RowsOfMissingTablesAreHiddenAndTheRestMoveUp)
{
    const struct {
        const char *name;
        bool pharmCom, narcotics;
        bool prescriptionsRow, narcoticsRow;
    } cases[] = {
        {"both tables", true, true, true, true},
        {"no components table", false, true, false, true},
        {"neither", false, false, false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(folderFile(WorkFolder::Prescriptions, QStringLiteral("PharmCom.dbf")));
        QFile::remove(folderFile(WorkFolder::Narcotics, QStringLiteral("PriceN.dbf")));
        if (c.pharmCom)
            createTable(folderFile(WorkFolder::Prescriptions, QStringLiteral("PharmCom.dbf")), {{"NAME", K::String}},
                        {});
        if (c.narcotics)
            createTable(folderFile(WorkFolder::Narcotics, QStringLiteral("PriceN.dbf")), {{"NAME", K::String}}, {});
        settings::TToolsFrm *w = open();
        const auto &prescriptions = w->pathRow(WorkFolder::Prescriptions);
        const auto &narcotics = w->pathRow(WorkFolder::Narcotics);
        EXPECT_EQ(prescriptions.edit->isVisible(), c.prescriptionsRow);
        EXPECT_EQ(prescriptions.button->isVisible(), c.prescriptionsRow);
        EXPECT_EQ(narcotics.label->isVisible(), c.narcoticsRow);
        if (c.narcoticsRow && !c.prescriptionsRow) {
            // Right under the archive row, where the prescriptions row stood.
            const auto &archive = w->pathRow(WorkFolder::Archive);
            EXPECT_LT(narcotics.edit->y() - archive.edit->y(), 2 * archive.edit->height());
        }
        closeAll();
    }
}

TEST_F(ToolsWindow, FolderChoicesTakeEffectAtOnceAndAreStoredOnClosing)
{
    const QString chosen = file(QStringLiteral("elsewhere")) + u'/';
    QFile blocker(file(QStringLiteral("plain-file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString orders = main.folders.value(WorkFolder::Orders);
    const struct {
        const char *name;
        std::optional<QString> answer;
        QString shown;
        bool message;
    } cases[] = {
        {"a new folder, created", chosen, chosen, false},
        {"the dialog cancelled", std::nullopt, orders, false},
        {"a folder that cannot be made", file(QStringLiteral("plain-file/sub/")), orders, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        main.folders[WorkFolder::Orders] = orders;
        settings().writeString(QStringLiteral("Path"), QStringLiteral("Order"), QStringLiteral("stored"));
        const qsizetype messages = fake.messages().texts().size();
        settings::TToolsFrm *w = open();
        fake.fileDialogs().folders.push_back(c.answer);
        QTest::mouseClick(w->pathRow(WorkFolder::Orders).button, Qt::LeftButton);
        EXPECT_EQ(fake.fileDialogs().titles.last(), QStringLiteral("Выберите папку"));
        EXPECT_EQ(w->pathRow(WorkFolder::Orders).edit->text(), c.shown);
        EXPECT_EQ(main.folder(WorkFolder::Orders), c.shown); // at once
        EXPECT_EQ(settings().readString(QStringLiteral("Path"), QStringLiteral("Order")), QStringLiteral("stored"));
        EXPECT_EQ(fake.messages().texts().size() > messages, c.message);
        if (c.message) {
            EXPECT_TRUE(fake.messages().texts().last().contains(file(QStringLiteral("plain-file/sub"))));
        }
        closeAll();
        EXPECT_EQ(settings().readString(QStringLiteral("Path"), QStringLiteral("Order")), c.shown);
        EXPECT_EQ(settings().readString(QStringLiteral("Path"), QStringLiteral("Price")),
                  main.folders.value(WorkFolder::Price)); // every row, hidden ones too
    }
}

TEST_F(ToolsWindow, ConnectionValuesAndThePasswordKeptInItsStoredForm)
{
    const QString stored = config::storedPasswordForm(QStringLiteral("секрет 1"));
    const struct {
        const char *name;
        const char *typed; // nullptr: left as it is
        QString storedAfter;
    } cases[] = {
        {"unedited", nullptr, stored},
        {"retyped", "new", config::storedPasswordForm(QStringLiteral("new"))},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        settings().writeString(QStringLiteral("Modem"), QStringLiteral("Password"), stored);
        settings().writeString(QStringLiteral("Modem"), QStringLiteral("Phone"), QStringLiteral("8-800"));
        settings::TToolsFrm *w = open();
        EXPECT_EQ(named<QLineEdit>(w, "edPassword")->text(), QStringLiteral("секрет 1"));
        EXPECT_EQ(named<QLineEdit>(w, "edPassword")->echoMode(), QLineEdit::Password);
        EXPECT_EQ(named<QLineEdit>(w, "edPhone")->text(), QStringLiteral("8-800"));
        EXPECT_FALSE(named<QCheckBox>(w, "cbPassive")->isChecked());
        if (c.typed) {
            named<QLineEdit>(w, "edPassword")->selectAll();
            QTest::keyClicks(named<QLineEdit>(w, "edPassword"), QString::fromLatin1(c.typed));
        }
        named<QLineEdit>(w, "edUserName")->selectAll();
        QTest::keyClicks(named<QLineEdit>(w, "edUserName"), QStringLiteral("apteka"));
        named<QCheckBox>(w, "cbPassive")->click();
        closeAll();
        EXPECT_EQ(settings().readString(QStringLiteral("Modem"), QStringLiteral("Password")), c.storedAfter);
        EXPECT_EQ(settings().readString(QStringLiteral("Modem"), QStringLiteral("UserName")), QStringLiteral("apteka"));
        EXPECT_TRUE(settings().readBool(QStringLiteral("FTP"), QStringLiteral("Passive"), false));
        settings().writeBool(QStringLiteral("FTP"), QStringLiteral("Passive"), false);
    }
}

TEST_F(ToolsWindow, TablesOfTheListedFoldersOnly)
{
    createTable(folderFile(WorkFolder::Price, QStringLiteral("price.dbf")), {{"NAME", K::String}}, {});
    createTable(folderFile(WorkFolder::References, QStringLiteral("Firms.dbf")), {{"NAME", K::String}}, {});
    createTable(folderFile(WorkFolder::Archive, QStringLiteral("Firms.dbf")), {{"CODE", K::Integer}}, {});
    createTable(folderFile(WorkFolder::Orders, QStringLiteral("Z5_1.dbf")), {{"NAME", K::String}}, {});
    createTable(folderFile(WorkFolder::Invoices, QStringLiteral("N1.dbf")), {{"NAME", K::String}}, {});
    settings::TToolsFrm *w = open({QStringLiteral("KVT")});
    toTables(w);
    EXPECT_EQ(listed(w),
              QStringList({QStringLiteral("price.dbf"), QStringLiteral("Firms.dbf"), QStringLiteral("Firms.dbf")}));
    EXPECT_EQ(named<QListWidget>(w, "lbInTables")->currentRow(), 0);
    EXPECT_EQ(named<QTableWidget>(w, "sgTableProperties")->rowCount(), 1);
    // Both entries of a name show the table of the folder searched first.
    named<QListWidget>(w, "lbInTables")->setCurrentRow(2);
    ASSERT_EQ(named<QTableWidget>(w, "sgTableProperties")->rowCount(), 1);
    EXPECT_EQ(named<QTableWidget>(w, "sgTableProperties")->item(0, 0)->text(), QStringLiteral("NAME"));
    QStringList header;
    for (int c = 0; c < named<QTableWidget>(w, "sgTableProperties")->columnCount(); ++c)
        header << named<QTableWidget>(w, "sgTableProperties")->horizontalHeaderItem(c)->text();
    EXPECT_EQ(header,
              QStringList({QStringLiteral("Поле"), QStringLiteral("№"), QStringLiteral("Название"),
                           QStringLiteral("Видимость"), QStringLiteral("R/O"), QStringLiteral("Ключ"),
                           QStringLiteral("Ширирна")}));
}

// Edits go to properties.ini when another table is chosen and when the window
// closes; unchanged rows are not written.
TEST_F(ToolsWindow, TableEntriesWrittenOnLeavingATable)
{
    const QString price = folderFile(WorkFolder::Price, QStringLiteral("price.dbf"));
    createTable(price, {{"NAME", K::String}, {"ZAK", K::Float}}, {});
    createTable(folderFile(WorkFolder::References, QStringLiteral("Firms.dbf")), {{"NAME", K::String}}, {});
    properties().writeString(QStringLiteral("PRICE.DBF"), QStringLiteral("NAME"),
                             QStringLiteral("NAME;1;Имя;Y;Y;N;200"));
    properties().writeString(QStringLiteral("PRICE.DBF"), QStringLiteral("ZAK"),
                             QStringLiteral("ZAK;2;Заказ;Y;N;N;50"));
    properties().writeString(QStringLiteral("PRICE.DBF"), QStringLiteral("DBFCaption"), QStringLiteral("Прайс"));
    properties().writeString(QStringLiteral("FIRMS.DBF"), QStringLiteral("DBFCaption"), QString());
    properties().writeString(QStringLiteral("FIRMS.DBF"), QStringLiteral("NAME"),
                             QStringLiteral("NAME;1;NAME;Y;Y;N;0"));
    settings::TToolsFrm *w = open({QStringLiteral("KVT")});
    toTables(w);
    ASSERT_EQ(named<QTableWidget>(w, "sgTableProperties")->rowCount(), 2);
    EXPECT_EQ(named<QLineEdit>(w, "edDBFCaption")->text(), QStringLiteral("Прайс"));
    EXPECT_EQ(named<QTableWidget>(w, "sgTableProperties")->item(0, 2)->text(), QStringLiteral("Имя"));
    EXPECT_EQ(named<QTableWidget>(w, "sgTableProperties")->currentColumn(), 1);

    const QByteArray before = fileBytes(config::propertiesFileName());
    named<QListWidget>(w, "lbInTables")->setCurrentRow(1); // nothing edited: nothing written differs
    named<QListWidget>(w, "lbInTables")->setCurrentRow(0);
    EXPECT_EQ(fileBytes(config::propertiesFileName()), before);

    editCell(w, 0, 2, QStringLiteral("Полное имя"));
    named<QLineEdit>(w, "edDBFCaption")->clear();
    named<QListWidget>(w, "lbInTables")->setCurrentRow(1); // the editor still open: its text counts
    EXPECT_EQ(properties().readString(QStringLiteral("price.dbf"), QStringLiteral("NAME")),
              QStringLiteral("NAME;1;\"Полное имя\";Y;Y;N;200"));
    EXPECT_EQ(properties().readString(QStringLiteral("price.dbf"), QStringLiteral("ZAK")),
              QStringLiteral("ZAK;2;Заказ;Y;N;N;50"));
    EXPECT_TRUE(properties().valueExists(QStringLiteral("price.dbf"), QStringLiteral("DBFCaption")));
    EXPECT_EQ(properties().readString(QStringLiteral("price.dbf"), QStringLiteral("DBFCaption"), QStringLiteral("x")),
              QString());
    named<QListWidget>(w, "lbInTables")->setCurrentRow(0);
    EXPECT_EQ(named<QTableWidget>(w, "sgTableProperties")->item(0, 2)->text(), QStringLiteral("Полное имя"));

    // Closing writes the table shown and rebuilds the table menus.
    editCell(w, 1, 6, QStringLiteral("70"));
    closeAll();
    EXPECT_EQ(properties().readString(QStringLiteral("price.dbf"), QStringLiteral("ZAK")),
              QStringLiteral("ZAK;2;Заказ;Y;N;N;70"));
    EXPECT_EQ(main.menuRebuilds, 1);
}

// properties.ini that cannot be written: said, and the edits stay on screen.
TEST_F(ToolsWindow, UnwritableTableEntriesAreReported)
{
    createTable(folderFile(WorkFolder::Price, QStringLiteral("price.dbf")), {{"NAME", K::String}}, {});
    createTable(folderFile(WorkFolder::References, QStringLiteral("Firms.dbf")), {{"NAME", K::String}}, {});
    settings::TToolsFrm *w = open({QStringLiteral("KVT")});
    toTables(w);
    ASSERT_TRUE(QDir().mkpath(config::propertiesFileName())); // a folder where the file should be
    editCell(w, 0, 2, QStringLiteral("Имя"));
    named<QListWidget>(w, "lbInTables")->setCurrentRow(1);
    ASSERT_EQ(fake.messages().errors().size(), 1);
    EXPECT_TRUE(fake.messages().errors().at(0).contains(QStringLiteral("properties.ini")));
    EXPECT_EQ(named<QListWidget>(w, "lbInTables")->currentRow(), 0);
    EXPECT_EQ(named<QTableWidget>(w, "sgTableProperties")->item(0, 2)->text(), QStringLiteral("Имя"));
    closeAll();
    EXPECT_EQ(fake.messages().errors().size(), 2); // once more on closing
    QDir(config::propertiesFileName()).removeRecursively();
}

TEST_F(ToolsWindow, CodePageFixOnlyWhereTheRegistryHasIt)
{
    const struct {
        const char *name;
        bool available;
        const char *value;
        const char *written;
        const char *message; // nullptr: none
    } cases[] = {
        {"no registry", false, "", nullptr, nullptr},
        {"Latin table, in capitals", true, "C_1252.NLS", "c_1251.nls", "Необходимо перезагрузить компьютер"},
        {"already changed", true, "c_1251.nls", "c_1251.nls", "Данные в реестре уже были изменены"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        fake.codePageRegistry().available = c.available;
        fake.codePageRegistry().values[QStringLiteral("1252")] = QString::fromLatin1(c.value);
        const qsizetype before = fake.messages().texts().size();
        settings::TToolsFrm *w = open({QStringLiteral("KVT")});
        named<QTabWidget>(w, "pcTools")->setCurrentWidget(named<QWidget>(w, "tsOther"));
        QTest::mouseClick(named<QPushButton>(w, "bt1252"), Qt::LeftButton);
        if (c.message) {
            ASSERT_EQ(fake.messages().texts().size(), before + 1);
            EXPECT_EQ(fake.messages().texts().last(), QString::fromUtf8(c.message));
            EXPECT_EQ(fake.codePageRegistry().values.value(QStringLiteral("1252")), QString::fromLatin1(c.written));
        } else {
            EXPECT_EQ(fake.messages().texts().size(), before);
        }
        closeAll();
    }
}

// The exchange server of the transfer library is set from the connection
// page; an unedited password keeps its stored form.
TEST_F(ToolsWindow, TransferServerSettingsBesideTheProgram)
{
    const QString transferFile = file(QStringLiteral("KXOrder.ini"));
    const QString stored = config::storedPasswordForm(QStringLiteral("пароль"));
    config::IniFile(transferFile).writeString(QStringLiteral("Server"), QStringLiteral("Password"), stored);
    const struct {
        const char *name;
        const char *password; // typed; nullptr: left as it is
        QString storedAfter;
    } cases[] = {
        {"password unedited", nullptr, stored},
        {"password retyped", "new", config::storedPasswordForm(QStringLiteral("new"))},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        settings::TToolsFrm *w = open();
        named<QTabWidget>(w, "pcTools")->setCurrentWidget(named<QWidget>(w, "tsInternet"));
        QTimer::singleShot(0, w, [&] {
            auto *dialog = qobject_cast<settings::TransferServerDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->edServerPassword->text(), QStringLiteral("пароль"));
            dialog->edServerUrl->setText(QStringLiteral("ftp://127.0.0.1:2121/"));
            dialog->edServerUser->setText(QStringLiteral("apteka"));
            if (c.password)
                dialog->edServerPassword->setText(QString::fromLatin1(c.password));
            dialog->accept();
        });
        QTest::mouseClick(named<QPushButton>(w, "btTransferServer"), Qt::LeftButton);
        const config::IniFile ini(transferFile);
        EXPECT_EQ(ini.readString(QStringLiteral("Server"), QStringLiteral("URL")),
                  QStringLiteral("ftp://127.0.0.1:2121/"));
        EXPECT_EQ(ini.readString(QStringLiteral("Server"), QStringLiteral("User")), QStringLiteral("apteka"));
        EXPECT_EQ(ini.readString(QStringLiteral("Server"), QStringLiteral("Password")), c.storedAfter);
        closeAll();
        ini.writeString(QStringLiteral("Server"), QStringLiteral("Password"), stored);
    }
}

} // namespace
