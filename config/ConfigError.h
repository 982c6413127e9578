#pragma once

#include "errors/KxError.h"

#include <QString>

namespace config {

// What went wrong with a settings file, for the text a user reads.
enum class ConfigErrorKind { General, TooLarge, Unwritable, InvalidValue, BadEntry };

// Failure of a settings file operation; what() is the technical text (UTF-8).
class ConfigError : public kx::Error {
public:
    explicit ConfigError(const QString &message) : kx::Error(message) {}
    ConfigError(ConfigErrorKind kind, const QString &file, const QString &message)
        : kx::Error(message), kind_(kind), file_(file)
    {
    }

    ConfigErrorKind kind() const { return kind_; }
    QString userMessage() const override
    {
        switch (kind_) {
        case ConfigErrorKind::TooLarge:
            return withDetail(QStringLiteral("Файл настроек %1 слишком велик и, видимо, повреждён").arg(file_));
        case ConfigErrorKind::Unwritable:
            return withDetail(QStringLiteral("Не удалось записать файл настроек %1").arg(file_));
        case ConfigErrorKind::InvalidValue:
            return withDetail(QStringLiteral("Значение нельзя записать в файл настроек %1").arg(file_));
        case ConfigErrorKind::BadEntry:
            return withDetail(QStringLiteral("Неверная запись в файле настроек %1").arg(file_));
        case ConfigErrorKind::General: break;
        }
        return withDetail(QStringLiteral("Ошибка файла настроек"));
    }

private:
    ConfigErrorKind kind_ = ConfigErrorKind::General;
    QString file_;
};

} // namespace config
