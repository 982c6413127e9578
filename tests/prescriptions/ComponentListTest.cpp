// Component lists over two 250-character fields, and the component search.
#include "PrescriptionTestTables.h"

#include "prescriptions/ComponentFilter.h"
#include "prescriptions/ComponentList.h"
#include "tables/TableCreate.h"

using namespace prescriptions;

namespace {

QString entryOf(int length, QChar fill) { return QString(length, fill); }

} // namespace

TEST(ComponentList, AddingAnEntrySplitsAtCharacter250)
{
    const QString entry = QStringLiteral("Кофеин: 0,05 г");
    const QString list240 = entryOf(240, u'a');
    const QString list236 = entryOf(236, u'a');
    const struct {
        const char *name;
        QString stored;
        ComponentFields expected;
    } cases[] = {
        {"empty list: exactly the entry, no leading CR", QString(), {entry, QString()}},
        {"fits: 236 + CR + 14 = 251 goes on in Component2",
         list236,
         {(list236 + u'\r' + entry).left(250), (list236 + u'\r' + entry).mid(250)}},
        {"past 250: split, the entry on a line of its own",
         list240,
         {(list240 + u'\r' + entry).left(250), (list240 + u'\r' + entry).mid(250)}},
        {"short list", QStringLiteral("Сера: 1 г"), {QStringLiteral("Сера: 1 г\r") + entry, QString()}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<ComponentFields> fields = splitList(withEntry(c.stored, entry));
        ASSERT_TRUE(fields);
        EXPECT_EQ(*fields, c.expected);
        EXPECT_TRUE(storedList(*fields).endsWith(u'\r' + entry) || c.stored.isEmpty());
    }
    // 500 characters fit; one more is refused instead of cut.
    EXPECT_TRUE(splitList(withEntry(entryOf(485, u'b'), entry)));
    EXPECT_FALSE(splitList(withEntry(entryOf(486, u'b'), entry)));
}

TEST(ComponentList, RemovingALine)
{
    const QString a = entryOf(200, u'a'), b = entryOf(100, u'b'), c = QStringLiteral("Сера: 1 г");
    const QString stored = a + u'\r' + b + u'\r' + c;
    const struct {
        const char *name;
        int line;
        QString expected;
    } cases[] = {
        {"first", 0, b + u'\r' + c},
        {"middle: fits into 250 again", 1, a + u'\r' + c},
        {"last", 2, a + u'\r' + b},
        {"past the end changes nothing", 3, stored},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(withoutLine(stored, c.line), c.expected);
    }
    const std::optional<ComponentFields> fitted = splitList(withoutLine(stored, 1));
    ASSERT_TRUE(fitted);
    EXPECT_EQ(fitted->component2, QString());
    EXPECT_EQ(withoutLine(c, 0), QString());
}

TEST(ComponentList, ABlankAtCharacter250SurvivesTheEngine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("PharmCom.dbf"));
    tables::createTable(path, 3,
                        {{QStringLiteral("Component1"), tables::FieldKind::String, 250},
                         {QStringLiteral("Component2"), tables::FieldKind::String, 250}});
    const QString list = entryOf(249, u'a') + QStringLiteral(" Кофеин: 0,05 г");
    const std::optional<ComponentFields> fields = splitList(list);
    ASSERT_TRUE(fields);
    tables::Table t(path);
    t.open();
    t.append();
    t.field(u"Component1").setString(fields->component1);
    t.field(u"Component2").setString(fields->component2);
    t.post();
    t.first();
    const ComponentFields read{t.field(u"Component1").asString(), t.field(u"Component2").asString()};
    EXPECT_EQ(storedList(read), list);
    EXPECT_EQ(shownList(QStringLiteral("a\rb")), QStringLiteral("a\r\nb"));
}

TEST(ComponentFilter, PiecesAreMatchedExactlyAsTyped)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("PharmCom.dbf"));
    tables::createTable(path, 3,
                        {{QStringLiteral("Name"), tables::FieldKind::String, 30},
                         {QStringLiteral("Component1"), tables::FieldKind::String, 250},
                         {QStringLiteral("Component2"), tables::FieldKind::String, 250}});
    tables::Table t(path);
    t.open();
    const std::pair<const char *, QString> drugs[] = {
        {"A", QStringLiteral("Кофеин: 0,05 г\rПарацетамол: 0,2 г")},
        {"B", QStringLiteral("Кофеин-бензоат: 0,1 г")},
        {"C", QStringLiteral("Масло д'Арно: 5 мл")},
        {"D", QString(249, u'x') + QStringLiteral("\rСера: 1 г")},
    };
    for (const auto &[name, list] : drugs) {
        t.append();
        t.field(u"Name").setString(QString::fromUtf8(name));
        t.field(u"Component1").setString(list.left(250));
        t.field(u"Component2").setString(list.mid(250));
        t.post();
    }
    const struct {
        const char *search;
        QStringList names;
    } cases[] = {
        {"Кофеин;Парацетамол", {"A"}},
        {"Кофеин", {"A", "B"}},
        {";;;", {"A", "B", "C", "D"}},
        {" Кофеин", {}},
        {" д'Арно", {"C"}},
        {"\rПарацетамол", {"A"}},
        {"кофеин", {}},
        {"д'Арно", {"C"}},
        {"'", {"C"}},
        {"Сера", {"D"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.search);
        const QString filter = componentFilter(QString::fromUtf8(c.search));
        t.setFilter(filter);
        t.setFiltered(!filter.isEmpty());
        QStringList names;
        for (t.first(); !t.eof(); t.next())
            names << t.field(u"Name").asString();
        EXPECT_EQ(names, c.names) << filter.toStdString();
    }
    EXPECT_EQ(componentFilter(QStringLiteral("Кофеин;Парацетамол")),
              QStringLiteral("InStr('Кофеин',Component1+Component2)<>0 and "
                             "InStr('Парацетамол',Component1+Component2)<>0"));
}
