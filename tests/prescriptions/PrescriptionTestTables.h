#pragma once

// prescr.dbf in a temporary folder, filled with the prescriptions a test needs.
#include "schema/Catalogue.h"
#include "schema/PrescriptionFields.h"
#include "tables/Table.h"

#include <QDir>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace prescriptions_testing {

using Values = std::vector<std::pair<QString, QVariant>>;

// A prescription every rule accepts; tests change or clear single fields.
inline Values completePrescription(const QString &number)
{
    namespace f = schema::prescr;
    return {{f::kNumber, number},
            {f::kFIO, QStringLiteral("Иванов И.И.")},
            {f::kName, QStringLiteral("Микстура")},
            {f::kCodePST, 501},
            {f::kAgeY, 40},
            {f::kDS, QStringLiteral("Бронхит")},
            {f::kQnt, 1},
            {f::kComponent1, QStringLiteral("Кофеин: 0,05 г")}};
}

inline Values with(Values values, const QString &field, const QVariant &value)
{
    for (auto &[name, v] : values)
        if (name == field) {
            v = value;
            return values;
        }
    values.emplace_back(field, value);
    return values;
}

class PrescriptionFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        folder = dir.path() + u'/';
        schema::createPrescriptionTable(folder);
        path = folder + schema::kPrescriptions;
        ordersFolder = folder + QStringLiteral("Out/");
        QDir().mkpath(ordersFolder);
        settingsFile = folder + QStringLiteral("KXOrders.ini");
    }

    void add(tables::Table &t, const Values &values)
    {
        t.append();
        for (const auto &[name, value] : values)
            t.field(name).setValue(value);
        t.post();
    }
    QStringList filesIn(const QString &folderPath) const { return QDir(folderPath).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir dir;
    QString folder, path, ordersFolder, settingsFile;
};

} // namespace prescriptions_testing
