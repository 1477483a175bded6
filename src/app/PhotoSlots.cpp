#include "app/PhotoSlots.h"

#include "app/EntryParts.h"
#include "entry/Photos.h"
#include "store/DataModule.h"
#include "store/Table.h"
#include "util/UserInteraction.h"
#include "widgets/SjisInput.h"
#include "widgets/NamedChild.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QLineEdit>
#include <QPushButton>

namespace app {

namespace {

const QString kChosen = QStringLiteral("写真ファイルが指定されました。\r\n写真タイトルを入力してください。");
const QString kClearQuestion = QStringLiteral("選択した画像ファイルをクリアしてよろしいですか？");
const QString kClearWarning = QStringLiteral("クリアした画像をもとに戻すには、もう一度選択し直す必要があります。");

// White for a box that holds or takes a value, the button face for one that does not.
void paintBox(QWidget* box, bool white)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, white ? QColor(Qt::white) : palette.color(QPalette::Button));
    box->setPalette(palette);
}

void putInEdit(store::Table* table)
{
    if (!table->isEditing())
        table->edit();
}

} // namespace

PhotoSlots::PhotoSlots(QWidget* root, store::DataModule& dm, QObject* parent)
    : QObject(parent)
    , m_root(root)
    , m_dm(dm)
{
    for (const QString& letter : parts::kPhotoSlotLetters) {
        connect(control<QPushButton>(QStringLiteral("BtnPICTURE_"), letter), &QPushButton::clicked, this,
                [this, letter] { GetPictureInfo(letter); });
        connect(control<QPushButton>(QStringLiteral("BtnCancelPICTURE_"), letter), &QPushButton::clicked, this,
                [this, letter] { DeletePictureInfo(letter); });
        connect(control<QLineEdit>(QStringLiteral("ImagePath_"), letter), &QLineEdit::textChanged, this,
                [this, letter] { ChangeImageFile(letter); });
    }
}

template <typename T>
T* PhotoSlots::control(const QString& prefix, const QString& letter) const
{
    return widgets::namedChild<T>(m_root, prefix + letter);
}

store::Table* PhotoSlots::view(const QString& letter) const
{
    return m_dm.table(QStringLiteral("NT_TBL_INFO_IMAGES%1").arg(parts::photoSlotNumber(letter)));
}

QString PhotoSlots::imagesFolder() const
{
    return m_dm.folder().path(QStringLiteral("Images"));
}

QString PhotoSlots::pictureDialogFolder() const
{
    return photos::dialogFolder(m_lastFolder, UserInteraction::current().desktopFolder());
}

void PhotoSlots::showSlotState(const QString& letter, bool filled)
{
    auto* path = control(QStringLiteral("ImagePath_"), letter);
    auto* title = control<QLineEdit>(QStringLiteral("PICTURE_"), letter);
    control(QStringLiteral("BtnPICTURE_"), letter)->setEnabled(!filled);
    control(QStringLiteral("BtnCancelPICTURE_"), letter)->setEnabled(filled);
    // A title left without its photo stays open, so that the user can change or remove it.
    const bool titleOpen = filled || !title->text().isEmpty();
    title->setEnabled(titleOpen);
    // The source name only shows which file was chosen: it is never typed in.
    path->setEnabled(false);
    paintBox(title, titleOpen);
    paintBox(path, filled);
    showPreview(letter, filled);
}

void PhotoSlots::showPreview(const QString& letter, bool filled)
{
    auto* preview = widgets::namedChild<QLabel>(m_root, parts::photoPreviewName(letter));
    const QString stored = filled ? view(letter)->field(QStringLiteral("IMAGES_FILE")).asString().trimmed() : QString();
    QImage picture;
    if (!stored.isEmpty()) {
        // Read afresh each time: a photo chosen again keeps its stored name.
        QImageReader reader(QDir(imagesFolder()).filePath(stored));
        picture = reader.read();
    }
    if (picture.isNull()) {
        preview->clear();
        preview->setToolTip(QString());
        return;
    }
    preview->setPixmap(QPixmap::fromImage(picture.scaled(parts::kPhotoPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    preview->setToolTip(stored);
}

void PhotoSlots::SetPhotoSlotControls(const QString& letter)
{
    showSlotState(letter, !control<QLineEdit>(QStringLiteral("ImagePath_"), letter)->text().isEmpty());
}

void PhotoSlots::ChangeImageFile(const QString& letter)
{
    const bool named = !control<QLineEdit>(QStringLiteral("ImagePath_"), letter)->text().isEmpty();
    auto* title = control<QLineEdit>(QStringLiteral("PICTURE_"), letter);
    const bool titleOpen = named || !title->text().isEmpty();
    title->setEnabled(titleOpen);
    paintBox(title, titleOpen);
    paintBox(control(QStringLiteral("ImagePath_"), letter), named);
    showPreview(letter, named);
}

void PhotoSlots::GetPictureInfo(const QString& letter)
{
    UserInteraction& ui = UserInteraction::current();
    UserInteraction::FileRequest request;
    request.folder = pictureDialogFolder();
    request.filters = {photos::kPictureFilter};
    const QString chosen = ui.fileDialog(UserInteraction::FileKind::Picture, request).path;
    if (chosen.isEmpty() || !QFileInfo::exists(chosen))
        return;
    m_lastFolder = QFileInfo(chosen).absolutePath();

    // The name is kept in the image row and submitted: it must hold in code page 932.
    if (widgets::refuseUnencodable(QFileInfo(chosen).fileName()))
        return;
    if (const QString refusal = photos::selectionRefusal(chosen); !refusal.isEmpty()) {
        ui.error(QStringLiteral("エラー"), refusal);
        return;
    }
    const QString regNo = m_dm.table(QStringLiteral("NT_TBL_MAIN"))->field(QStringLiteral("REG_NO")).asString();
    const QString stored = photos::storedFileName(regNo, letter, chosen);
    QString error;
    if (!photos::copyIntoFolder(chosen, imagesFolder(), stored, &error)) {
        ui.inform(kProgramTitle, error);
        return;
    }
    ui.inform(kProgramTitle, kChosen);

    // A row still being inserted (the slot cleared since it was chosen) takes the new photo.
    store::Table* images = view(letter);
    if (!images->isEditing()) {
        if (images->recordCount() > 0)
            images->edit();
        else
            images->append();
    }
    images->field(QStringLiteral("REG_NO")).setString(regNo);
    images->field(QStringLiteral("IMAGES_TYPE")).setString(letter);
    images->field(QStringLiteral("IMAGES_FILE")).setString(stored);
    images->field(QStringLiteral("IMAGES_ORIGINAL")).setString(QFileInfo(chosen).fileName());
    showSlotState(letter, true);
    control(QStringLiteral("PICTURE_"), letter)->setFocus();
}

void PhotoSlots::DeletePictureInfo(const QString& letter)
{
    UserInteraction& ui = UserInteraction::current();
    const UserInteraction::Buttons okCancel = UserInteraction::Buttons(UserInteraction::Ok) | UserInteraction::Cancel;
    if (ui.message(UserInteraction::Icon::Question, QStringLiteral("確認"), kClearQuestion, okCancel) != UserInteraction::Ok
        || ui.message(UserInteraction::Icon::Warning, QStringLiteral("注意"), kClearWarning, okCancel) != UserInteraction::Ok)
        return;
    store::Table* images = view(letter);
    const QString stored = images->field(QStringLiteral("IMAGES_FILE")).asString().trimmed();
    const QString setAsideName = photos::setAsideName(stored);
    const bool earlierCopySetAside = m_setAside.contains(setAsideName);
    QString error;
    if (!photos::setAside(imagesFolder(), stored, earlierCopySetAside, &error)) {
        ui.inform(kProgramTitle, error);
        return;
    }
    if (!earlierCopySetAside && QFileInfo::exists(QDir(imagesFolder()).filePath(setAsideName)))
        m_setAside.append(setAsideName);
    EmptySlot(letter);
}

void PhotoSlots::EmptySlot(const QString& letter, bool keepTitle)
{
    store::Table* images = view(letter);
    if (!keepTitle) {
        store::Table* pictures = m_dm.table(QStringLiteral("NT_TBL_PICTURE"));
        putInEdit(pictures);
        pictures->field(QStringLiteral("PICTURE_") + letter).clear();
    }
    // The view shows the slot's row; moving to it would post a pending change that the No to the
    // save question must still be able to drop.
    const bool onRow = (images->isEditing() || images->recordCount() > 0)
        && images->field(QStringLiteral("IMAGES_TYPE")).asString() == letter;
    if (onRow || images->locate(QStringLiteral("IMAGES_TYPE"), letter)) {
        putInEdit(images);
        images->field(QStringLiteral("IMAGES_ORIGINAL")).clear();
    }
    control<QLineEdit>(QStringLiteral("ImagePath_"), letter)->clear();
    showSlotState(letter, false);
}

void PhotoSlots::photosSaved(const QString& regNo)
{
    m_setAside.clear();
    reportFailure(photos::kNotDeleted, photos::removeSetAsideFiles(imagesFolder(), regNo));
    removeUnnamedPhotos(regNo);
}

void PhotoSlots::photosAbandoned(const QString& regNo)
{
    const QStringList setAside = std::exchange(m_setAside, {});
    reportFailure(photos::kNotRestored, photos::restoreSetAsideFiles(imagesFolder(), setAside));
    removeUnnamedPhotos(regNo);
}

void PhotoSlots::adoptSetAside(const QString& regNo)
{
    for (const QString& name : photos::setAsideFilesOf(imagesFolder(), regNo)) {
        if (!m_setAside.contains(name))
            m_setAside.append(name);
    }
}

void PhotoSlots::removeUnnamedPhotos(const QString& regNo)
{
    store::Table* images = m_dm.table(QStringLiteral("NT_TBL_INFO_IMAGES"));
    if (!images->isActive())
        return; // without the rows every photo would look unnamed
    const QStringList named = photos::namedFiles(*images, regNo);
    reportFailure(photos::kNotDeleted, photos::removeUnnamedFiles(imagesFolder(), regNo, named));
}

void PhotoSlots::reportFailure(const QString& heading, const QStringList& paths)
{
    if (!paths.isEmpty())
        UserInteraction::current().error(kProgramTitle, photos::fileFailureMessage(heading, paths));
}

} // namespace app
