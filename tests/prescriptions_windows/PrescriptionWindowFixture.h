#pragma once

// A program folder with prescr.dbf and the drug tables, a main window with
// the pharmacy's code 5, and the user's keys and clicks.
#include "tests/support/WindowTestSupport.h"

#include "grid/DBGrid.h"
#include "prescriptions_windows/PrescriptionWindows.h"
#include "prescriptions_windows/uPrescrFrm.h"
#include "schema/Catalogue.h"
#include "schema/PrescriptionFields.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace prescriptions_windows_testing {

using kx::testsupport::Record;

class PharmacyMainFrm : public kx::testsupport::FakeMainFrm {
public:
    QString folder(windows::WorkFolder which) const override
    {
        return which == windows::WorkFolder::Orders ? ordersFolder : folderPath;
    }
    QVariant lookupSubCustomer(const QString &) override { return pharmacyCode; }
    QString ordersFolder;
    QVariant pharmacyCode = 5;
};

class PrescriptionWindow : public kx::testsupport::ProgramFolderFixture {
protected:
    void SetUp() override
    {
        ProgramFolderFixture::SetUp();
        main.folderPath = dir.path() + QStringLiteral("/Prescription/");
        main.ordersFolder = dir.path() + QStringLiteral("/Out/");
        QDir().mkpath(main.folderPath);
        QDir().mkpath(main.ordersFolder);
        schema::createPrescriptionTable(main.folderPath);
        prescrPath = main.folderPath + schema::kPrescriptions;
    }
    void TearDown() override
    {
        closeAll();
        ProgramFolderFixture::TearDown();
    }

    // Prescriptions as field -> value, appended to prescr.dbf.
    void addPrescriptions(const std::vector<Record> &records) { kx::testsupport::appendRecords(prescrPath, records); }
    // Stamps the prescription with a send date, as a request did.
    void markSent(std::uint32_t recno, const QDate &date)
    {
        tables::Table t(prescrPath);
        t.open();
        ASSERT_TRUE(t.gotoBookmark(recno));
        t.edit();
        t.field(u"DateSnd").setDate(date);
        t.post();
    }
    static Record complete(const char *number, const char *fio = "Иванов И.И.")
    {
        return {{"IDRow", QString::fromUtf8(number).toInt()},
                {"Number", QString::fromUtf8(number)},
                {"FIO", QString::fromUtf8(fio)},
                {"Name", QStringLiteral("Микстура")},
                {"CodePst", 501},
                {"AgeY", 40},
                {"DS", QStringLiteral("Бронхит")},
                {"Qnt", 2},
                {"Component1", QStringLiteral("Кофеин: 0,05 г")}};
    }
    // Values of one field of a table, in stored order.
    QStringList column(const QString &path, const QString &field)
    {
        tables::Table t(path);
        t.open();
        QStringList out;
        for (t.first(); !t.eof(); t.next())
            out << t.field(field).asString();
        return out;
    }

    prescriptions_windows::TPrescrFrm *open()
    {
        window = prescriptions_windows::OpenPrescriptionsWindow(main, QStringLiteral("Рецепты"), prescrPath);
        EXPECT_NE(window, nullptr);
        return kx::testsupport::activated(main.area, window);
    }
    void idle() { QTest::qWait(1); }
    void clickTool(const char *button)
    {
        auto *b = window->findChild<QToolButton *>(QString::fromUtf8(button));
        ASSERT_NE(b, nullptr) << button;
        QTest::mouseClick(b, Qt::LeftButton);
        idle();
    }
    QWidget *focused() const
    {
        return QApplication::focusWidget() ? QApplication::focusWidget() : static_cast<QWidget *>(window->dbGrid());
    }
    void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(focused(), Qt::Key(key), mods); }
    void type(const QString &text)
    {
        for (QChar c : text) {
            if (c.unicode() < 128)
                QTest::keyClick(focused(), char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, focused(), Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    // Right-click on the grid, then a click on the item of the menu that opens.
    void contextMenuItem(grid::DBGrid *grid, QMenu *menu, QAction *item)
    {
        const QPoint at = grid->visualRect(grid->currentIndex()).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, grid->viewport()->mapToGlobal(at));
        QApplication::sendEvent(grid->viewport(), &event);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        idle();
    }
    void closeAll()
    {
        main.area.closeAllSubWindows();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        window = nullptr;
    }
    int counter() const { return settings().readInteger(QStringLiteral("Prescription"), QStringLiteral("NumZ"), -99); }
    QStringList requestFiles() const { return QDir(main.ordersFolder).entryList(QDir::Files, QDir::Name); }

    PharmacyMainFrm main;
    QString prescrPath;
    prescriptions_windows::TPrescrFrm *window = nullptr;
};

// Runs `step` once the modal window of that object name is the active one
// (the picker, the names list, the quantity dialog).
inline void whenModal(const QString &name, std::function<void(QWidget *)> step)
{
    QTimer::singleShot(1, [name, step = std::move(step)] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal->objectName() != name) {
            whenModal(name, step);
            return;
        }
        EXPECT_TRUE(QTest::qWaitForWindowExposed(modal));
        step(modal);
    });
}

} // namespace prescriptions_windows_testing
