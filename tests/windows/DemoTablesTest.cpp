// Every reference and invoice table of the demo installation in its table
// grid window: titles, widths and order from properties.ini, and a layout
// that survives closing and reopening.
#include "tests/support/WindowTestSupport.h"

#include "config/TableEntry.h"
#include "demo/DemoInstallation.h"
#include "grid/DBGrid.h"
#include "grid/TableModel.h"
#include "windows/TableWindows.h"
#include "windows/uGridFrm.h"

#include <QDir>

using namespace kx::testsupport;

namespace {

class DemoTables : public ProgramFolderFixture {
protected:
    void SetUp() override
    {
        ProgramFolderFixture::SetUp();
        demo::createDemoInstallation(dir.path(), {.priceRows = 50});
    }
    windows::TGridFrm *open(const QString &caption, const QString &path)
    {
        windows::TGridFrm *w = windows::OpenTableWindow(main, caption, path);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
        return w;
    }
    void closeAll()
    {
        main.area.closeAllSubWindows();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    struct Layout {
        QStringList fields;
        QStringList titles;
        std::vector<int> widths;
        bool operator==(const Layout &) const = default;
    };
    static Layout layoutOf(const grid::DBGrid &g)
    {
        Layout l;
        for (int c = 0; c < g.columnCount(); ++c) {
            l.fields << g.columnFieldName(c);
            l.titles << g.columnTitle(c);
            l.widths.push_back(g.columnWidth(c));
        }
        return l;
    }
    FakeMainFrm main;
};

TEST_F(DemoTables, EveryReferenceAndInvoiceTableOpensWithItsLayout)
{
    int opened = 0;
    for (const char *folder : {"Reference", "Invoice"}) {
        const QDir d(dir.filePath(QString::fromUtf8(folder)));
        for (const QString &name : d.entryList({QStringLiteral("*.dbf")}, QDir::Files)) {
            SCOPED_TRACE(name.toStdString());
            const QString caption = properties().readString(name, QStringLiteral("DBFCaption"), name);
            windows::TGridFrm *w = open(caption, d.filePath(name));
            ASSERT_NE(w->table(), nullptr);
            EXPECT_TRUE(fake.messages().shown.empty());
            grid::DBGrid *g = w->dbGrid();
            ASSERT_GT(g->columnCount(), 0);
            EXPECT_EQ(g->tableModel()->rowCount(), int(w->table()->visibleRecords().size()));
            // Each column as its entry says; visible columns in order of position.
            int lastPosition = 0;
            for (int c = 0; c < g->columnCount(); ++c) {
                const QString field = g->columnFieldName(c);
                const QString stored = properties().readString(name, field);
                if (stored.isEmpty())
                    continue;
                const config::TableEntry entry = config::TableEntry::parse(stored, field, name);
                EXPECT_TRUE(entry.visible()) << field.toStdString();
                EXPECT_EQ(g->columnTitle(c), entry.title());
                if (entry.width() != 0) {
                    EXPECT_EQ(g->columnWidth(c), entry.width()) << field.toStdString();
                }
                EXPECT_GE(entry.position(), lastPosition) << field.toStdString();
                lastPosition = entry.position();
            }
            // The user rearranges; the next window shows it so.
            if (g->columnCount() > 1)
                g->moveColumn(g->columnCount() - 1, 0);
            g->setColumnWidth(0, 111);
            const Layout arranged = layoutOf(*g);
            closeAll();
            w = open(caption, d.filePath(name));
            EXPECT_TRUE(layoutOf(*w->dbGrid()) == arranged);
            closeAll();
            // Unchanged now: closing again writes nothing.
            const QByteArray before = fileBytes(config::propertiesFileName());
            open(caption, d.filePath(name));
            closeAll();
            EXPECT_EQ(fileBytes(config::propertiesFileName()), before);
            ++opened;
        }
    }
    EXPECT_GE(opened, 5);
}

} // namespace
