// The components picker and its quantity dialog: the search box, placing
// and picking a drug for a prescription, adding and removing components.
#include "PrescriptionWindowFixture.h"

#include "demo/DemoSettings.h"
#include "grid/TableModel.h"
#include "prescriptions/ComponentList.h"
#include "prescriptions_windows/uCountFrm.h"
#include "prescriptions_windows/uPharmComp.h"
#include "windows/uGridFrm.h"

#include <QLineEdit>
#include <QPlainTextEdit>

using namespace prescriptions_windows_testing;
using kx::testsupport::columnTexts;
using kx::testsupport::named;
using prescriptions_windows::TPharmComp;

namespace {

struct Drug {
    QString name;
    int code;
    QString list; // CR-separated, split over the two fields at 250
};

class Picker : public PrescriptionWindow {
protected:
    void SetUp() override
    {
        PrescriptionWindow::SetUp();
        writeDrugs({{QStringLiteral("Цитрамон"), 501, QStringLiteral("Кофеин: 0,05 г\rПарацетамол: 0,2 г")},
                    {QStringLiteral("Бензоат"), 502, QStringLiteral("Кофеин-бензоат: 0,1 г")},
                    {QStringLiteral("Мазь"), 503, QStringLiteral("Масло д'Арно: 5 мл")},
                    {QStringLiteral("Сбор"), 504, QString()}});
        kx::testsupport::createTable(main.folderPath + QStringLiteral("PharmComP.dbf"),
                                     {{"NAME", tables::FieldKind::String}},
                                     {{{"NAME", QStringLiteral("Кофеин")}}, {{"NAME", QStringLiteral("Сера")}}});
    }
    void writeDrugs(const std::vector<Drug> &drugs)
    {
        const QString path = main.folderPath + QStringLiteral("PharmCom.dbf");
        tables::createTable(path, 3,
                            {{QStringLiteral("NAME"), tables::FieldKind::String, 50},
                             {QStringLiteral("DRUG"), tables::FieldKind::Integer, 10},
                             {QStringLiteral("COMPONENT1"), tables::FieldKind::String, 250},
                             {QStringLiteral("COMPONENT2"), tables::FieldKind::String, 250}},
                            {.overwrite = true});
        tables::Table t(path);
        t.open();
        for (const Drug &d : drugs) {
            t.append();
            t.field(u"NAME").setString(d.name);
            t.field(u"DRUG").setInteger(d.code);
            t.field(u"COMPONENT1").setString(d.list.left(250));
            t.field(u"COMPONENT2").setString(d.list.mid(250));
            t.post();
        }
    }
    std::pair<QString, QString> storedComponents(int recno)
    {
        tables::Table t(main.folderPath + QStringLiteral("PharmCom.dbf"));
        t.open();
        std::pair<QString, QString> out;
        t.withRecord(std::uint32_t(recno), [&] {
            out = {t.field(u"COMPONENT1").asString(), t.field(u"COMPONENT2").asString()};
        });
        return out;
    }
    std::unique_ptr<TPharmComp> showPicker()
    {
        auto picker = std::make_unique<TPharmComp>(nullptr, main.folderPath);
        picker->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(picker.get()));
        QApplication::setActiveWindow(picker.get());
        named<grid::DBGrid>(picker, "DBGridP")->setFocus();
        idle();
        return picker;
    }
    QStringList listed(TPharmComp &picker)
    {
        return columnTexts(*named<grid::DBGrid>(&picker, "DBGridP"),
                           named<grid::DBGrid>(&picker, "DBGridP")->findColumn(QStringLiteral("Name")));
    }
    void typeInto(QWidget *target, const QString &text)
    {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    // "Добавить компонент": the name on row `nameRow` of the names list, then the quantity.
    void addComponent(TPharmComp &picker, int nameRow, const QString &quantity)
    {
        whenModal(QStringLiteral("TGridFrm"), [this, nameRow, quantity](QWidget *list) {
            auto *grid = list->findChild<grid::DBGrid *>(QStringLiteral("DBGrid"));
            grid->setFocus();
            for (int i = 0; i < nameRow; ++i)
                QTest::keyClick(grid, Qt::Key_Down);
            whenModal(QStringLiteral("TCountFrm"), [this, quantity](QWidget *dialog) {
                auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("edValue"));
                typeInto(edit, quantity);
                QTest::keyClick(edit, Qt::Key_Return);
            });
            QTest::keyClick(grid, Qt::Key_Return);
        });
        memoMenuItem(picker, named<QAction>(&picker, "N2"));
    }
    void memoMenuItem(TPharmComp &picker, QAction *item)
    {
        QPlainTextEdit *memo = named<QPlainTextEdit>(&picker, "dbComponents");
        const QPoint at = memo->cursorRect().center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, memo->viewport()->mapToGlobal(at));
        QApplication::sendEvent(memo->viewport(), &event);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(named<QMenu>(&picker, "pmMemo")));
        QTest::mouseClick(named<QMenu>(&picker, "pmMemo"), Qt::LeftButton, {},
                          named<QMenu>(&picker, "pmMemo")->actionGeometry(item).center());
        idle();
    }
};

TEST_F(Picker, SearchBoxShowsItsHintAndFiltersByEveryPiece)
{
    std::unique_ptr<TPharmComp> picker = showPicker();
    QLineEdit *search = named<QLineEdit>(picker, "Edit1");
    EXPECT_EQ(search->text(), QStringLiteral("Для поиска введите компоненты через ;"));
    EXPECT_EQ(search->palette().color(QPalette::Text), QColor(128, 128, 128));

    QTest::mouseClick(search, Qt::LeftButton);
    EXPECT_EQ(search->text(), QString());
    EXPECT_EQ(listed(*picker).size(), 4);
    const struct {
        const char *typed;
        QStringList drugs;
    } cases[] = {
        {"Кофеин;Парацетамол", {"Цитрамон"}},
        {"Кофеин", {"Цитрамон", "Бензоат"}},
        {";;;", {"Цитрамон", "Бензоат", "Мазь", "Сбор"}},
        {" Парацетамол", {}},
        {" д'Арно", {"Мазь"}},
        {"кофеин", {}},
        {"'", {"Мазь"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        search->selectAll();
        QTest::keyClick(search, Qt::Key_Delete);
        typeInto(search, QString::fromUtf8(c.typed));
        EXPECT_EQ(listed(*picker), c.drugs);
        EXPECT_TRUE(fake.messages().shown.empty());
    }
    search->selectAll();
    QTest::keyClick(search, Qt::Key_Delete);
    QTest::mouseClick(named<grid::DBGrid>(picker, "DBGridP")->viewport(), Qt::LeftButton);
    EXPECT_EQ(search->text(), TPharmComp::searchHint());
    EXPECT_EQ(search->palette().color(QPalette::Text), QColor(128, 128, 128));
    EXPECT_FALSE(picker->drugTable()->isFiltered());
    EXPECT_EQ(listed(*picker).size(), 4);
}

TEST_F(Picker, TheEllipsisPlacesThePickerOnTheDrugAndCopiesThePickedOne)
{
    const struct {
        const char *name;
        const char *current; // the prescription's drug
        int downs; // then Down so many times, and Enter
        const char *expected; // the drug on which the picker opened
        QStringList stored; // Name, CodePST, Component1 afterwards
    } cases[] = {
        {"same name: placed on it", "Бензоат", 1, "Бензоат", {"Мазь", "503", "Масло д'Арно: 5 мл"}},
        {"other case: first drug", "бензоат", 0, "Цитрамон", {"Цитрамон", "501", "Кофеин: 0,05 г\rПарацетамол: 0,2 г"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(prescrPath);
        schema::createPrescriptionTable(main.folderPath);
        addPrescriptions({{{"IDRow", 1}, {"Number", "1"}, {"Name", QString::fromUtf8(c.current)}}});
        open();
        window->dbGrid()->setSelectedField(QStringLiteral("Name"));
        QString placedOn;
        whenModal(QStringLiteral("TPharmComp"), [&](QWidget *w) {
            auto *picker = static_cast<TPharmComp *>(w);
            placedOn = picker->drugTable()->field(u"Name").asString();
            named<grid::DBGrid>(picker, "DBGridP")->setFocus();
            for (int i = 0; i < c.downs; ++i)
                QTest::keyClick(named<grid::DBGrid>(picker, "DBGridP"), Qt::Key_Down);
            QTest::keyClick(named<grid::DBGrid>(picker, "DBGridP"), Qt::Key_Return);
        });
        press(Qt::Key_F4);
        EXPECT_EQ(placedOn, QString::fromUtf8(c.expected));
        closeAll();
        EXPECT_EQ((QStringList{column(prescrPath, QStringLiteral("Name")).value(0),
                               column(prescrPath, QStringLiteral("CodePST")).value(0),
                               column(prescrPath, QStringLiteral("Component1")).value(0)}),
                  c.stored);
    }
}

TEST_F(Picker, ClosingThePickerOrAMissingDrugTableChangesNothing)
{
    addPrescriptions({{{"IDRow", 1}, {"Number", "1"}, {"Name", QStringLiteral("Бензоат")}}});
    open();
    window->dbGrid()->setSelectedField(QStringLiteral("Name"));
    whenModal(QStringLiteral("TPharmComp"), [](QWidget *w) { w->close(); });
    press(Qt::Key_F4);
    EXPECT_EQ(column(prescrPath, QStringLiteral("CodePST")), QStringList{QString()});

    QFile::remove(main.folderPath + QStringLiteral("PharmCom.dbf"));
    press(Qt::Key_F4);
    EXPECT_EQ(fake.messages().texts(),
              QStringList{QStringLiteral("Не найден файл ") + main.folderPath + QStringLiteral("PharmCom.dbf")});
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(column(prescrPath, QStringLiteral("Name")), QStringList{QStringLiteral("Бензоат")});
}

TEST_F(Picker, AddingAComponentSplitsTheListAtCharacter250)
{
    const QString entry = QStringLiteral("Сера: 0,05 г");
    const struct {
        const char *name;
        QString list;
        std::pair<QString, QString> stored;
        bool refused;
    } cases[] = {
        {"empty list: the entry alone", QString(), {entry, QString()}, false},
        {"still within 250",
         QStringLiteral("Кофеин: 1 г"),
         {QStringLiteral("Кофеин: 1 г\r") + entry, QString()},
         false},
        {"past 250: split, the entry on its own line",
         QString(240, u'x'),
         {(QString(240, u'x') + u'\r' + entry).left(250), (QString(240, u'x') + u'\r' + entry).mid(250)},
         false},
        {"past 500: refused", QString(490, u'x'), {QString(250, u'x'), QString(240, u'x')}, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        writeDrugs({{QStringLiteral("Сбор"), 504, c.list}});
        fake.messages().shown.clear();
        std::unique_ptr<TPharmComp> picker = showPicker();
        addComponent(*picker, 1, QStringLiteral("0,05 г"));
        EXPECT_EQ(storedComponents(1), c.stored);
        EXPECT_EQ(fake.messages().texts(), c.refused ? QStringList{prescriptions::listTooLongText()} : QStringList());
        EXPECT_TRUE(named<QPlainTextEdit>(picker, "dbComponents")
                        ->toPlainText()
                        .endsWith(c.refused ? QStringLiteral("xx") : u'\n' + entry)
                    || c.list.isEmpty());
    }
}

TEST_F(Picker, RemovingTheCaretsLineRefitsTheList)
{
    const QString a(200, u'a'), b(100, u'b'), c = QStringLiteral("Сера: 1 г");
    writeDrugs({{QStringLiteral("Сбор"), 504, a + u'\r' + b + u'\r' + c}});
    std::unique_ptr<TPharmComp> picker = showPicker();
    named<QPlainTextEdit>(picker, "dbComponents")->setFocus();
    QTest::keyClick(named<QPlainTextEdit>(picker, "dbComponents"), Qt::Key_Home, Qt::ControlModifier);
    // The long first entry wraps over several lines; Down until the caret is in the second entry.
    for (int i = 0; i < 20 && named<QPlainTextEdit>(picker, "dbComponents")->textCursor().blockNumber() == 0; ++i)
        QTest::keyClick(named<QPlainTextEdit>(picker, "dbComponents"), Qt::Key_Down);
    memoMenuItem(*picker, named<QAction>(picker, "N3"));
    EXPECT_EQ(storedComponents(1), (std::pair<QString, QString>{a + u'\r' + c, QString()}));
    EXPECT_EQ(named<QPlainTextEdit>(picker, "dbComponents")->toPlainText(), a + u'\n' + c);
}

TEST_F(Picker, ANewDrugsNameIsTypedOnlyWhileItIsNew)
{
    std::unique_ptr<TPharmComp> picker = showPicker();
    tables::Field name = picker->drugTable()->field(u"Name");
    EXPECT_TRUE(name.isReadOnly());
    grid::DBGrid *grid = named<grid::DBGrid>(picker, "DBGridP");
    const QPoint at = grid->visualRect(grid->currentIndex()).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, grid->viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid->viewport(), &event);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(named<QMenu>(picker, "pmGrid")));
    QTest::mouseClick(named<QMenu>(picker, "pmGrid"), Qt::LeftButton, {},
                      named<QMenu>(picker, "pmGrid")->actionGeometry(named<QAction>(picker, "N1")).center());
    EXPECT_FALSE(name.isReadOnly());
    for (QChar c : QStringLiteral("Новый сбор")) // the first key opens the cell's editor
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // picks it: the window closes and posts
    EXPECT_EQ(picker->modalResult(), TPharmComp::ModalResult::OK);
    EXPECT_TRUE(name.isReadOnly());
    EXPECT_EQ(column(main.folderPath + QStringLiteral("PharmCom.dbf"), QStringLiteral("Name")).value(4),
              QStringLiteral("Новый сбор"));
}

TEST_F(Picker, QuantityDialogEndsWithOKOnlyOnEnter)
{
    prescriptions_windows::TCountFrm enter;
    enter.show();
    typeInto(enter.edValue, QStringLiteral("0,05 г"));
    QTest::keyClick(enter.edValue, Qt::Key_Return);
    EXPECT_EQ(enter.result(), QDialog::Accepted);
    EXPECT_EQ(enter.value(), QStringLiteral("0,05 г"));

    prescriptions_windows::TCountFrm closed;
    closed.show();
    typeInto(closed.edValue, QStringLiteral("1 г"));
    QTest::keyClick(closed.edValue, Qt::Key_Tab);
    closed.close();
    EXPECT_EQ(closed.result(), QDialog::Rejected);
}

// The user's way through: a prescription typed in, its drug picked with two
// components added in the picker, then "Заказать".
TEST_F(Picker, ANewPrescriptionTypedPickedAndOrdered)
{
    demo::writeProperties(config::propertiesFileName(), QStringLiteral("N1001.dbf"));
    open();
    clickTool("ToolButton4");
    grid::DBGrid *grid = window->dbGrid();
    grid->setFocus();
    const auto typeAt = [&](const char *field, const QString &text) {
        while (grid->columnFieldName(grid->selectedIndex()).compare(QString::fromUtf8(field), Qt::CaseInsensitive))
            press(Qt::Key_Right);
        type(text);
        press(Qt::Key_Return);
    };
    press(Qt::Key_Home);
    typeAt("FIO", QStringLiteral("Сидоров С.С."));
    typeAt("AgeY", QStringLiteral("7"));
    typeAt("DS", QStringLiteral("ОРВИ"));
    press(Qt::Key_Right); // Препарат: typing there opens the picker
    ASSERT_EQ(grid->columnFieldName(grid->selectedIndex()), QStringLiteral("NAME"));
    whenModal(QStringLiteral("TPharmComp"), [this](QWidget *w) {
        auto *picker = static_cast<TPharmComp *>(w);
        QTest::mouseClick(named<QLineEdit>(picker, "Edit1"), Qt::LeftButton);
        typeInto(named<QLineEdit>(picker, "Edit1"), QStringLiteral("д'Арно"));
        addComponent(*picker, 0, QStringLiteral("0,1 г"));
        addComponent(*picker, 1, QStringLiteral("2 г"));
        named<grid::DBGrid>(picker, "DBGridP")->setFocus();
        QTest::keyClick(named<grid::DBGrid>(picker, "DBGridP"), Qt::Key_Return);
    });
    type(QStringLiteral("м"));
    idle();
    EXPECT_EQ(column(main.folderPath + QStringLiteral("PharmCom.dbf"), QStringLiteral("Component1")).value(2),
              QStringLiteral("Масло д'Арно: 5 мл\rКофеин: 0,1 г\rСера: 2 г"));
    clickTool("ToolButton12");
    EXPECT_EQ(main.status, QStringLiteral("Заявка из 1 рецепта(ов) сформирована!"));
    EXPECT_EQ(requestFiles(), QStringList{QStringLiteral("P5_0.dbf")});
    const QString request = main.ordersFolder + QStringLiteral("P5_0.dbf");
    EXPECT_EQ(
        (QStringList{column(request, QStringLiteral("FIO")).value(0), column(request, QStringLiteral("AgeY")).value(0),
                     column(request, QStringLiteral("DS")).value(0), column(request, QStringLiteral("Name")).value(0),
                     column(request, QStringLiteral("CodePST")).value(0),
                     column(request, QStringLiteral("Component1")).value(0)}),
        (QStringList{"Сидоров С.С.", "7", "ОРВИ", "Мазь", "503", "Масло д'Арно: 5 мл\rКофеин: 0,1 г\rСера: 2 г"}));
    EXPECT_EQ(grid->tableModel()->rowCount(), 0);
    EXPECT_TRUE(fake.messages().shown.empty()) << fake.messages().texts().join(u'\n').toStdString();
}

} // namespace
