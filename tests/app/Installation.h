#pragma once

#include "tables/FieldDef.h"

#include <QString>
#include <QTemporaryDir>
#include <QVariantList>

#include <vector>

// A program folder built at run time for one test: settings files, working
// folders and small tables.
class Installation {
public:
    Installation();
    ~Installation();

    QString folder() const { return dir_.path() + u'/'; }
    QString path(const QString &relative) const { return folder() + relative; }

    void mkdir(const QString &relative) const;
    void writeFile(const QString &relative, const QByteArray &bytes) const;
    // Settings text in UTF-8, stored in code page 1251.
    void writeIni(const QString &relative, const QString &text) const;
    // A level 4 table without code page mark; rows hold values in field order.
    void writeTable(const QString &relative, const tables::FieldSpecs &fields,
                    const std::vector<QVariantList> &rows = {}) const;
    void writeSubCustomer(const QVariant &idRow, const QString &name) const;

private:
    QTemporaryDir dir_;
};
