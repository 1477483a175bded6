#pragma once

#include <QString>

// The data folders the benchmarks run on: a program folder (the shipped one) whose registration
// tables hold generated registrations.
namespace benchdata {

enum class Shape {
    Full,     // what a complete registration holds: every table, long texts, a few contacts, breakdown rows
    AtLimits, // every table at the row limits its adding operations enforce
    SmallRows, // many small rows: 6 contacts, 15 records of each kind, 20 breakdown rows of each kind,
               // 5 conditions, short texts and no long memos
};

// Copies the shipped program folder into `home` and writes `registrations` registrations into its
// registration tables. False, with a message on stderr, when a file cannot be written.
bool makeProgramFolder(const QString& home, int registrations, Shape shape);

} // namespace benchdata
