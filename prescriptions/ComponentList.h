#pragma once

#include <QString>

#include <optional>

namespace prescriptions {

// A drug's component list: one entry ("name: quantity") a line, lines
// separated by CR, stored over two text fields of 250 characters each.
struct ComponentFields {
    QString component1;
    QString component2;

    friend bool operator==(const ComponentFields &, const ComponentFields &) = default;
};

constexpr int kComponentFieldSize = 250;
constexpr int kComponentListSize = 2 * kComponentFieldSize;

// The list as stored. The engine drops the blanks that end a field, so when
// the list goes on in Component2 the first field is padded back to its
// size: a blank at character 250 belongs to the list.
QString storedList(const ComponentFields &fields);
// The list as the picker's memo shows it: every CR widened to CR LF.
QString shownList(const QString &stored);
// The list split over the two fields at character 250; nothing when it is
// longer than both fields hold.
std::optional<ComponentFields> splitList(const QString &stored);

// "name: quantity".
QString componentEntry(const QString &name, const QString &quantity);
// The list with the entry on a line of its own at its end.
QString withEntry(const QString &stored, const QString &entry);
// The list without its line `line` (0-based); out of range changes nothing.
QString withoutLine(const QString &stored, int line);

// Why a list was refused.
QString listTooLongText();

} // namespace prescriptions
