#pragma once

// What the exchange tests share: a feedback that records, files on disk, price
// tables with their properties.ini entries, and the external package tools.
#include "exchange/ExchangeFeedback.h"

#include "config/IniFile.h"
#include "tables/Table.h"
#include "tables/TableCreate.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <vector>

// Readable failures.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QByteArray &bytes, std::ostream *os) { *os << '"' << bytes.toStdString() << '"'; }

namespace exchange_test {

struct RecordingFeedback : exchange::ExchangeFeedback {
    QStringList statuses;
    QStringList messages;
    int responsiveCalls = 0;

    void setStatusText(const QString &text) override { statuses.append(text); }
    void showMessage(const QString &text) override { messages.append(text); }
    void keepResponsive() override { ++responsiveCalls; }
};

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

inline ToolRun runTool(const QString &program, const QStringList &args, const QString &workDir = {})
{
    QProcess p;
    if (!workDir.isEmpty())
        p.setWorkingDirectory(workDir);
    p.start(program, args);
    if (!p.waitForFinished(120000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

inline bool haveProgram(const QString &name) { return !QStandardPaths::findExecutable(name).isEmpty(); }

#define SKIP_WITHOUT_PROGRAM(name)                                                                                     \
    do {                                                                                                               \
        if (!exchange_test::haveProgram(QStringLiteral(name)))                                                         \
            GTEST_SKIP() << name " is not installed here (scripts/install-deps.sh installs it)";                       \
    } while (false)

// A package written by package_tool.py from its entry list (see there).
inline void makePackage(const QString &path, const QJsonArray &entries)
{
    const QString listFile = path + QStringLiteral(".json");
    writeFile(listFile, QJsonDocument(entries).toJson());
    const ToolRun run =
        runTool(QStringLiteral("python3"), {QStringLiteral(KX_PACKAGE_TOOL), QStringLiteral("make"), path, listFile});
    QFile::remove(listFile);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
}

inline QJsonObject entry(const QString &name, const QString &data)
{
    return {{QStringLiteral("name"), name}, {QStringLiteral("data"), data}};
}

// --- price tables ---

struct PriceRow {
    qint64 id;
    QString name;
    std::optional<double> zak; // nothing: empty
    double price = 10;
};

// A level 4 table without code page mark holding `rows`, values in field
// order (a null value leaves the field empty).
inline void createTableWithRows(const QString &path, const tables::FieldSpecs &specs,
                                const std::vector<QVariantList> &rows)
{
    tables::createTable(path, 4, specs, {.languageId = 0, .overwrite = true});
    tables::Table t(path);
    t.open();
    for (const QVariantList &row : rows) {
        t.append();
        for (int i = 0; i < row.size(); ++i)
            if (!row[i].isNull())
                t.field(i).setValue(row[i]);
        t.post();
    }
}

inline void createPrice(const QString &path, const std::vector<PriceRow> &rows, bool withZak = true)
{
    using tables::FieldKind;
    tables::FieldSpecs specs{{QStringLiteral("IDRow"), FieldKind::LargeInt, 10},
                             {QStringLiteral("Name"), FieldKind::String, 40},
                             {QStringLiteral("Price1"), FieldKind::Float, 12, 2}};
    if (withZak)
        specs.push_back({QStringLiteral("Zak"), FieldKind::Float, 12, 2});
    std::vector<QVariantList> values;
    for (const PriceRow &r : rows) {
        values.push_back({r.id, r.name, r.price});
        if (withZak)
            values.back().append(r.zak ? QVariant(*r.zak) : QVariant());
    }
    createTableWithRows(path, specs, values);
}

// Zak of every record in stored order; nothing where it is empty.
inline std::vector<std::optional<double>> zakColumn(const QString &path)
{
    tables::Table t(path);
    t.setReadOnly(true);
    t.open();
    std::vector<std::optional<double>> values;
    const tables::Field zak = t.field(u"Zak");
    for (t.first(); !t.eof(); t.next())
        values.push_back(zak.isNull() ? std::nullopt : std::optional<double>(zak.asFloat()));
    return values;
}

// A properties.ini entry: name;position;title;visible;read-only;key;width.
inline void writeEntry(const QString &properties, const QString &section, const QString &field, bool visible,
                       bool readOnly, bool key)
{
    const auto yn = [](bool b) { return b ? QStringLiteral("Y") : QStringLiteral("N"); };
    config::IniFile(properties)
        .writeString(
            section, field,
            QStringList{field, QStringLiteral("1"), field, yn(visible), yn(readOnly), yn(key), QStringLiteral("10")}
                .join(u';'));
}

// The usual price.dbf entries: IDRow the key, Zak visible and editable, Name shown read-only.
inline void writePriceEntries(const QString &properties, const QString &section = QStringLiteral("price.dbf"))
{
    writeEntry(properties, section, QStringLiteral("IDRow"), false, true, true);
    writeEntry(properties, section, QStringLiteral("Name"), true, true, false);
    writeEntry(properties, section, QStringLiteral("Zak"), true, false, false);
}

} // namespace exchange_test
