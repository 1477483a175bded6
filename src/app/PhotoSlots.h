#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace store {
class DataModule;
class Table;
}

namespace app {

// The seven photo slots (A, B, S, T, G, H, I) of the entry pages: "選択" picks a picture, checks it
// and copies it into the photo folder; "クリア" sets the copy aside and empties the slot. A slot is
// either empty (select enabled, title box disabled and grey, no preview) or filled (clear enabled,
// title box enabled and white, a small picture of the photo beside its file name).
class PhotoSlots : public QObject
{
    Q_OBJECT

public:
    // Finds the slots' controls below `root` by their names and connects them.
    PhotoSlots(QWidget* root, store::DataModule& dm, QObject* parent = nullptr);

    void GetPictureInfo(const QString& letter);
    void DeletePictureInfo(const QString& letter);
    // The file-name box of a slot changed: the title box follows it.
    void ChangeImageFile(const QString& letter);
    // Empties a slot (after its clear button, or when its photo failed the save check): the source
    // name is emptied, and the title unless `keepTitle`; the slot shows as empty (a kept title stays
    // in an enabled box, for the user to change or remove). The stored file name stays.
    void EmptySlot(const QString& letter, bool keepTitle = false);
    // The controls of a slot set from its file name, when a registration is created or opened.
    void SetPhotoSlotControls(const QString& letter);
    // The folder the picture dialog starts in.
    QString pictureDialogFolder() const;

    // The photo files at a save: every set-aside photo is given up, and the files of registration
    // `regNo` that its saved image rows no longer name are deleted. A file that cannot be deleted is
    // reported. Nothing set aside before can come back afterwards.
    void photosSaved(const QString& regNo);
    // The photo files when the edit of registration `regNo` is abandoned (its rows cancelled or
    // deleted): the photos set aside during this editing get back their names, and the files the
    // remaining rows do not name are deleted.
    void photosAbandoned(const QString& regNo);
    // The photos of registration `regNo` that an earlier run set aside, taken over as if set aside
    // in this editing (its draft was restored or given up).
    void adoptSetAside(const QString& regNo);

private:
    template <typename T = QWidget>
    T* control(const QString& prefix, const QString& letter) const;
    store::Table* view(const QString& letter) const;
    QString imagesFolder() const;
    // Enables or disables the slot's buttons and boxes as an empty or filled slot.
    void showSlotState(const QString& letter, bool filled);
    // The slot's preview: its photo's copy in the photo folder, scaled down; nothing for an empty
    // slot or a copy that cannot be read.
    void showPreview(const QString& letter, bool filled);
    void removeUnnamedPhotos(const QString& regNo);
    void reportFailure(const QString& heading, const QStringList& paths);

    QWidget* m_root;
    store::DataModule& m_dm;
    QString m_lastFolder; // of the last photo chosen during this run
    QStringList m_setAside; // the set-aside names of the photos cleared since the last save
};

} // namespace app
