#pragma once

#include "store/Table.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

namespace store {

// One line of the technology list: what it shows of a registration and the text its find box
// matches.
struct RegistrationEntry
{
    QString number;   // REG_NO, trimmed
    QString title;    // TECH_TITLE
    QString subtitle; // TECH_SUBTITLE
    QString company;  // TECH_DVLP_COMPANY
    QDateTime saved;  // the last save, invalid when the program has none
    QString findText; // the four texts above in their find form, one per line
};

// The find form of a text: widths normalised as the entry boxes do (full-width letters, digits
// and signs half-width, half-width katakana full-width) and letters case-folded, so that a text
// typed either way finds the other.
QString findForm(const QString& text);

// The find form of what the user typed into the find box: blanks at either end do not count.
QString typedFindText(const QString& typed);

// The stored registrations of the main table (in its natural order; a row being inserted is not
// among them), each with its save time from `saveTimes`.
QList<RegistrationEntry> registrationEntries(const Table& main, const QHash<QString, QDateTime>& saveTimes);

// True when the entry's number, technology name, subtitle or developer holds `findText` (a text in
// find form; an empty one matches every entry).
bool entryMatches(const RegistrationEntry& entry, const QString& findText);

// The entries the find box shows for what the user typed.
QList<RegistrationEntry> entriesMatching(const QList<RegistrationEntry>& entries, const QString& typed);

} // namespace store
