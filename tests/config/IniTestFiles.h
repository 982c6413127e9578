#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary folder with helpers to put and take raw file bytes, the text
// given in UTF-8 and stored in code page 1251 as the settings files are.
class IniTestFolder {
public:
    QString path(const QString &name) const { return dir_.filePath(name); }
    QString folder() const { return dir_.path(); }
    void putBytes(const QString &name, const QByteArray &bytes) const;
    void putText(const QString &name, const QString &text) const;
    QByteArray bytes(const QString &name) const;
    QString text(const QString &name) const;

private:
    QTemporaryDir dir_;
};
