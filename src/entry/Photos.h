#pragma once

#include <QString>

// The photo files of a registration: a chosen picture is copied into the photo folder Images\ under
// REG_NO + slot letter + the chosen file's extension. Clearing a photo sets the copy aside as
// "_" + that name, so that an abandoned edit can bring it back and a save can give it up.
namespace photos {

constexpr int kMaxWidth = 600;        // pixels
constexpr qint64 kMaxKiloBytes = 185; // a chosen file must be below this many KB (of 1024 bytes)

// The filter of the picture dialog.
inline const QString kPictureFilter = QStringLiteral("イメージファイル|*.gif;*.jpg;*.jpeg");

// REG_NO (without trailing blanks) + letter + the chosen file's extension with its dot, spelled as
// in the chosen name: "XXK-000001G.JPEG" for Photo.JPEG in slot G.
QString storedFileName(const QString& regNo, const QString& letter, const QString& chosenPath);
// The name a stored photo is set aside under.
QString setAsideName(const QString& storedName);

// Why a chosen picture is refused at selection (too wide, too large); empty when it is accepted.
QString selectionRefusal(const QString& chosenPath);

// Copies the chosen file into `imagesFolder` as `storedName`, replacing a file of that name, and
// makes the copy writable. False, with the user's message, when the copy fails.
bool copyIntoFolder(const QString& chosenPath, const QString& imagesFolder, const QString& storedName, QString* error);

// Sets the stored photo aside when a slot is cleared: renamed to the set-aside name, or deleted when
// an older copy has already been set aside during this editing. A photo that is not there leaves
// nothing to set aside. False, with the user's message, when the file cannot be handled.
bool setAside(const QString& imagesFolder, const QString& storedName, QString* error);

// The folder the picture dialog starts in: the folder of the last chosen photo while it exists,
// otherwise the desktop.
QString dialogFolder(const QString& lastFolder, const QString& desktopFolder);

} // namespace photos
