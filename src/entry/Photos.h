#pragma once

#include <QString>
#include <QStringList>

namespace store {
class Table;
}

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

// The refusal of a file that is not a GIF or JPEG picture.
inline const QString kNotAPhoto = QStringLiteral("写真にはGIFまたはJPEG形式の画像ファイルを指定してください。");

// The pixel width of a photo whose content is a GIF or JPEG picture, as its extension (".gif",
// ".jpg", ".jpeg") says, and whose header gives a size; -1 for any other file. The content decides,
// never the name alone: a text or PNG file named ".jpg" is no photo.
int photoWidth(const QString& path);

// Whether the photo decodes whole: the GIF or JPEG picture its content is (as photoWidth() judges
// it) can be decoded through its last pixel. A file cut short or damaged behind an intact header
// does not; it gets the photo message kNotAPhoto wherever photos are checked.
bool decodesWhole(const QString& path);

// Why a chosen picture is refused at selection (not a GIF or JPEG picture, too wide, too large, not
// decodable whole);
// empty when it is accepted.
QString selectionRefusal(const QString& chosenPath);

// Copies the chosen file into `imagesFolder` as `storedName`, replacing a file of that name, and
// makes the copy writable. False, with the user's message, when the copy fails.
bool copyIntoFolder(const QString& chosenPath, const QString& imagesFolder, const QString& storedName, QString* error);

// Sets the stored photo aside when a slot is cleared: deleted when an older copy has already been
// set aside during this editing (`earlierCopySetAside`), otherwise renamed to the set-aside name,
// replacing a set-aside file left from before. A photo that is not there leaves nothing to set
// aside. False, with the user's message, when the file cannot be handled.
bool setAside(const QString& imagesFolder, const QString& storedName, bool earlierCopySetAside, QString* error);

// The stored photo file names (IMAGES_FILE) that the image rows of registration `regNo` hold in
// NT_TBL_INFO_IMAGES; the rows of every registration are read, whatever the table's cursor shows.
QStringList namedFiles(const store::Table& images, const QString& regNo);

// Deletes the photo files of registration `regNo` (REG_NO + slot letter + extension) that no name of
// `named` is (letter case aside): the old file of a slot whose photo now has another extension, or
// of a slot emptied. Returns the paths that could not be deleted.
QStringList removeUnnamedFiles(const QString& imagesFolder, const QString& regNo, const QStringList& named);

// The set-aside photos of registration `regNo` in the folder ("_" + a stored photo's name).
QStringList setAsideFilesOf(const QString& imagesFolder, const QString& regNo);
// Deletes the set-aside photos of registration `regNo` (those of another registration belong to
// its draft); returns the paths that could not be deleted.
QStringList removeSetAsideFiles(const QString& imagesFolder, const QString& regNo);

// Gives the set-aside files named in `setAsideNames` back their names, replacing the newer copies;
// returns the paths that could not be restored.
QStringList restoreSetAsideFiles(const QString& imagesFolder, const QStringList& setAsideNames);

// What the user is told when photo files cannot be deleted or restored: the heading, then the files.
inline const QString kNotDeleted = QStringLiteral("画像ファイルは削除できませんでした。");
inline const QString kNotRestored = QStringLiteral("画像ファイルをもとに戻せませんでした。");
QString fileFailureMessage(const QString& heading, const QStringList& paths);

// The folder the picture dialog starts in: the folder of the last chosen photo while it exists,
// otherwise the desktop.
QString dialogFolder(const QString& lastFolder, const QString& desktopFolder);

} // namespace photos
