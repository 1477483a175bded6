#pragma once

#include <QString>

class QFileDevice;

namespace store {

// What a power cut cannot take back. A new file is durable when its data is on the disk and so is
// the folder entry that names it: flush a file before renaming it into place, and sync its folder
// after the renames, links and removals that make a change visible or complete it. A change of
// several files in the program folder goes through a WriteSet, which keeps that order.

// Writes an open file's data through to the disk.
bool flushToDisk(QFileDevice* file);
// The same, with the system's reason when it fails.
bool flushToDisk(QFileDevice* file, QString* why);
// Writes a closed file's data through to the disk.
bool syncFile(const QString& path, QString* error);
// Writes a folder's entries (names created, renamed, linked or removed in it) through to the disk.
bool syncFolder(const QString& folder, QString* error);
// Makes the folder and any missing folder above it, each new name synced into its parent, so
// that files put there later cannot outlive a power cut that takes the folder.
bool makeFolderDurably(const QString& folder, QString* error);
// Puts the complete file `from` in the place of `to` in one step, durably: its data, the rename
// and the folders of both names reach the disk before it returns. For one file outside a WriteSet.
bool replaceDurably(const QString& from, const QString& to, QString* error);
// Copies `from` to the new file `to` with its data on the disk; syncing the folder of `to` is left
// to the caller, once for all the files it puts there.
bool copyDurably(const QString& from, const QString& to, QString* error);

} // namespace store
