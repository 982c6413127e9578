#pragma once

#include "Remote.h"

namespace transfer {

// A file:// root: the distributor's folders on a local or mounted disk.
class LocalRemote : public Remote {
public:
    explicit LocalRemote(QString root);

    QStringList list(const QString &folder) override;
    qint64 size(const QString &folder, const QString &name) override;
    qint64 download(const QString &folder, const QString &name, const QString &localPath) override;
    void upload(const QString &localPath, const QString &folder, const QString &name) override;
    void rename(const QString &folder, const QString &from, const QString &to) override;
    void remove(const QString &folder, const QString &name) override;

private:
    QString path(const QString &folder, const QString &name = {}) const;
    QString root_;
};

} // namespace transfer
