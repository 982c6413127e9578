#pragma once

#include <QString>

namespace platform {

// Hand-over of files to the desktop.
class Shell {
public:
    virtual ~Shell() = default;
    // Opens the file with the application associated with its type; false
    // when the desktop could not do so.
    virtual bool openWithAssociatedApplication(const QString &path) = 0;
};

} // namespace platform
