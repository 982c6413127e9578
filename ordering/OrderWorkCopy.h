#pragma once

#include <QString>

namespace ordering {

// orderN.dbf in the program folder: a fresh copy of the template order.dbf
// while an order file is filled. Made by the constructor (OrderError when
// the template is missing, the copy fails, or a filled copy of an earlier
// order is still there: that one is never overwritten); removed again by
// the destructor unless it was moved away or kept.
class OrderWorkCopy {
public:
    explicit OrderWorkCopy(const QString &programFolder);
    ~OrderWorkCopy();
    OrderWorkCopy(const OrderWorkCopy &) = delete;
    OrderWorkCopy &operator=(const OrderWorkCopy &) = delete;

    const QString &path() const { return path_; }
    const QString &templatePath() const { return templatePath_; }

    // Moves the copy to `target`, never replacing an existing file. False
    // when the move failed; the copy then stays where it is.
    bool moveTo(const QString &target);
    // Moves the copy to `target` in one step, replacing a file of that name
    // (also one spelt in other letter case). False when the move failed.
    bool replace(const QString &target);
    // Leaves the copy in the program folder (after a failed move, for the user).
    void keep();

private:
    QString templatePath_;
    QString path_;
    bool owned_ = false;
};

// orders folder + "Z" + sub-customer id + "_" + number + ".dbf".
QString orderFileName(const QString &ordersFolder, int subCustomerId, int number);

} // namespace ordering
