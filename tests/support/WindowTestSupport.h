#pragma once

// A program folder with its settings files and tables, built at run time.
#include "config/IniFile.h"
#include "config/ProgramFiles.h"
#include "platform/fake/FakePlatform.h"
#include "tables/Table.h"
#include "tables/TableCreate.h"
#include "windows/MainFrmServices.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QMap>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace kx::testsupport {

// Fields of a test table: name and kind (sizes from the kind).
struct Column {
    const char *name;
    tables::FieldKind kind;
};

// A record as field name -> value.
using Record = std::vector<std::pair<const char *, QVariant>>;

inline void appendRecords(const QString &path, const std::vector<Record> &records)
{
    tables::Table t(path);
    t.open();
    for (const Record &r : records) {
        t.append();
        for (const auto &[name, value] : r)
            t.field(QString::fromUtf8(name)).setValue(value);
        t.post();
    }
}

inline void createTable(const QString &path, const std::vector<Column> &columns, const std::vector<Record> &records)
{
    tables::FieldSpecs specs;
    for (const Column &c : columns) {
        tables::FieldSpec s{QString::fromUtf8(c.name), c.kind};
        if (c.kind == tables::FieldKind::String)
            s.size = 30;
        else if (c.kind == tables::FieldKind::Integer)
            s.size = 10;
        else if (c.kind == tables::FieldKind::Float) {
            s.size = 12;
            s.decimals = 2;
        }
        specs.push_back(s);
    }
    tables::createTable(path, 4, specs, {.overwrite = true});
    appendRecords(path, records);
}

inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The texts a grid shows in the column of a field, top to bottom, trimmed.
inline QStringList columnTexts(const QAbstractItemView &grid, int column)
{
    QStringList out;
    for (int row = 0; row < grid.model()->rowCount(); ++row)
        out << grid.model()->index(row, column).data().toString().trimmed();
    return out;
}

// A child window just shown in the main window's area, made the active one
// with its grid focused, as a user finds it.
template <typename Window> Window *activated(QMdiArea &area, Window *window)
{
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    area.setActiveSubWindow(qobject_cast<QMdiSubWindow *>(window->frame()));
    QApplication::setActiveWindow(&area);
    window->dbGrid()->setFocus();
    QTest::qWait(1);
    return window;
}

// The widget or action of a window by its object name, as the window names
// it; a missing one fails the test.
template <typename T> T *named(const QObject *window, const char *name)
{
    T *found = window->findChild<T *>(QString::fromUtf8(name));
    if (!found)
        throw std::runtime_error(std::string("no child named ") + name);
    return found;
}

template <typename T, typename Window> T *named(const std::unique_ptr<Window> &window, const char *name)
{
    return named<T>(window.get(), name);
}

// One thing a user does on the keyboard: text typed key by key, or one key.
struct Stroke {
    QString text;
    int key = 0;
};
inline Stroke typed(const char *text) { return {QString::fromUtf8(text)}; }
inline Stroke key(int key) { return {QString(), key}; }

// Keys go where the user's keys go: the focused widget, else `fallback`.
inline void strike(QWidget *fallback, const std::vector<Stroke> &strokes)
{
    const auto target = [fallback] { return QApplication::focusWidget() ? QApplication::focusWidget() : fallback; };
    for (const Stroke &s : strokes) {
        if (s.key != 0)
            QTest::keyClick(target(), Qt::Key(s.key));
        for (QChar c : s.text) {
            if (c.unicode() < 128)
                QTest::keyClick(target(), char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, target(), Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        QTest::qWait(1);
    }
}

// The main window as child windows see it: an MDI area and a status line.
class FakeMainFrm : public windows::MainFrmServices {
public:
    FakeMainFrm()
    {
        area.resize(900, 700);
        area.show();
    }
    QString folder(windows::WorkFolder which) const override { return folders.value(which, folderPath); }
    void setFolder(windows::WorkFolder which, const QString &path) override { folders[which] = path; }
    void setStatusText(const QString &text) override { status = text; }
    QString statusText() const override { return status; }
    QVariant lookupSubCustomer(const QString &) override { return -1; }
    QWidget *findChildByCaption(const QString &caption) const override
    {
        for (QMdiSubWindow *sub : area.subWindowList())
            if (sub->widget() && sub->widget()->windowTitle().toUpper() == caption.toUpper())
                return sub->widget();
        return nullptr;
    }
    bool childExists(const QString &caption) const override { return findChildByCaption(caption) != nullptr; }
    void rebuildTableMenus() override {}
    QWidget *childParent() override { return &area; }
    // As the program's main window does it.
    void showChild(QWidget *child) override
    {
        QMdiSubWindow *frame = area.addSubWindow(child);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        frame->show();
    }

    QMdiArea area;
    QString folderPath; // every folder not set apart
    QMap<windows::WorkFolder, QString> folders; // set apart
    QString status;
};

// The program folder is a fresh temporary folder; message boxes are answered
// by the fake platform.
class ProgramFolderFixture : public ::testing::Test {
protected:
    void SetUp() override { config::setProgramFolder(dir.path()); }
    void TearDown() override { config::setProgramFolder(QString()); }

    QString file(const QString &name) const { return dir.filePath(name); }
    config::IniFile settings() const { return config::IniFile(config::settingsFileName()); }
    config::IniFile properties() const { return config::IniFile(config::propertiesFileName()); }

    QTemporaryDir dir;
    platform::fake::FakePlatform fake;
};

} // namespace kx::testsupport
