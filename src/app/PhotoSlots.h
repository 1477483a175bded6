#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace store {
class TDM1;
class Table;
}

namespace app {

// The seven photo slots (A, B, S, T, G, H, I) of the entry pages: "選択" picks a picture, checks it
// and copies it into the photo folder; "クリア" sets the copy aside and empties the slot. A slot is
// either empty (select enabled, title box disabled and grey) or filled (clear enabled, title box
// enabled and white).
class PhotoSlots : public QObject
{
    Q_OBJECT

public:
    // Finds the slots' controls below `root` by their names and connects them.
    PhotoSlots(QWidget* root, store::TDM1& dm, QObject* parent = nullptr);

    void GetPictureInfo(const QString& letter);
    void DeletePictureInfo(const QString& letter);
    // The file-name box of a slot changed: the title box follows it.
    void ChangeImageFile(const QString& letter);
    // Empties a slot (after its clear button, or when its photo failed the save check): the title
    // and the source name are emptied and the slot shows as empty; the stored file name stays.
    void EmptySlot(const QString& letter);
    // The controls of a slot set from its file name, when a registration is created or opened.
    void SetPhotoSlotControls(const QString& letter);
    // The folder the picture dialog starts in.
    QString OpenPictureDialog1Show() const;

private:
    template <typename T = QWidget>
    T* control(const QString& prefix, const QString& letter) const;
    store::Table* view(const QString& letter) const;
    QString imagesFolder() const;
    // Enables or disables the slot's buttons and boxes as an empty or filled slot.
    void showSlotState(const QString& letter, bool filled);

    QWidget* m_root;
    store::TDM1& m_dm;
    QString m_lastFolder; // of the last photo chosen during this run
};

} // namespace app
