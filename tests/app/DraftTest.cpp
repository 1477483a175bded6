#include "app/DraftKeeper.h"
#include "app/MainWindow.h"
#include "store/Draft.h"
#include "store/Table.h"
#include "support/CliRunner.h"
#include "support/PhotoBytes.h"
#include "support/ScriptedUserInteraction.h"
#include "support/ShippedProgramFolder.h"
#include "support/TempDir.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using app::MainWindow;
using testsupport::ScriptedUserInteraction;
using UI = UserInteraction;

namespace {

const QString kSaveQuestion = QStringLiteral("編集データを保存しますか？");
const QString kLeftBehind = QStringLiteral("前回、保存されずに終了した入力があります。");

// A JPEG picture `width` × 8 pixels, padded behind its end with `tag` to `size` bytes (at least one).
QByteArray jpeg(int width, int size, char tag)
{
    const QByteArray bytes = testsupport::jpegPhoto(width, 8);
    return bytes + QByteArray(std::max(1, size - int(bytes.size())), tag);
}

// Copies a program folder as a crash leaves it: every file as it is on disk, without the lock of
// the run that did not end (a lock of a dead process).
void copyAsLeftByACrash(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = QDir(from).relativeFilePath(source);
        if (relative.contains(QLatin1String(".lock")))
            continue;
        const QString target = QDir(to).filePath(relative);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(source, target);
    }
}

// The table files' contents, to show that a draft never changes them.
QByteArray tableFilesDigest(const QString& root)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const QDir data(QDir(root).filePath(QStringLiteral("FLATT_FILES")));
    for (const QString& name : data.entryList({QStringLiteral("*.cds")}, QDir::Files, QDir::Name)) {
        QFile file(data.filePath(name));
        file.open(QIODevice::ReadOnly);
        hash.addData(name.toUtf8());
        hash.addData(file.readAll());
    }
    return hash.result();
}

// The main window over a copy of the shipped program folder; `crash()` leaves the running window
// behind as a killed process would and starts the program again on what it left on disk.
class DraftTest : public ::testing::Test
{
public: // the cases of a table reach the fixture
    void SetUp() override { freshStart(); }
    // A fresh program folder, started.
    void freshStart()
    {
        window.reset();
        old.reset();
        firstDir = std::make_unique<testsupport::TempDir>();
        secondDir = std::make_unique<testsupport::TempDir>();
        testsupport::copyShippedProgramFolder(first().path());
        QDir(first().path()).mkpath(QStringLiteral("Images"));
        start(first().path());
    }
    testsupport::TempDir& first() { return *firstDir; }
    testsupport::TempDir& second() { return *secondDir; }
    void TearDown() override
    {
        window.reset();
        old.reset();
    }

    void start(const QString& folder)
    {
        home = folder;
        window = std::make_unique<MainWindow>(folder);
        ASSERT_TRUE(window->start());
        window->show();
    }
    // The program killed now, started again on what it left.
    void crash()
    {
        window->drafts().waitForWrites();
        copyAsLeftByACrash(home, second().path());
        old = std::move(window); // never closed: it stands for the killed process
        start(second().path());
    }

    template <typename T = QWidget>
    T* find(const QString& name) const
    {
        T* control = window->control<T>(name);
        EXPECT_TRUE(control) << name.toStdString();
        return control;
    }
    QString mainField(const QString& name) const
    {
        return window->dm().table(QStringLiteral("NT_TBL_MAIN"))->field(name).asString().trimmed();
    }
    QString draftPath(const QString& number) const { return store::drafts::pathFor(store::ProgramFolder(home), number); }
    store::Draft readDraft(const QString& number) const
    {
        store::Draft draft;
        QString error;
        EXPECT_TRUE(store::drafts::read(draftPath(number), &draft, &error)) << error.toStdString();
        return draft;
    }
    // Keys typed into a box, which keeps the focus (nothing is written to its field yet).
    void type(const QString& box, const QString& text)
    {
        auto* edit = find<QLineEdit>(box);
        edit->setFocus();
        // One key event a character, as a keyboard (or an input method's commit) delivers them.
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(edit, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(edit, &release);
        }
        // The handlers the keys set off have run once the registration counts as changed.
        EXPECT_TRUE(QTest::qWaitFor([this] { return window->cycle().isModified(); }, 2000));
    }
    // A registration with a name and a conventional technology, saved and still shown.
    QString saveNew(const QString& title)
    {
        window->cycle().newRegistration();
        find<QLineEdit>("TECH_TITLE")->setText(title);
        find<QLineEdit>("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
        ui.expectBox(UI::Yes);
        window->cycle().save();
        EXPECT_FALSE(window->cycle().isModified());
        return mainField("REG_NO");
    }
    void selectPhoto(const QString& letter, const QString& path)
    {
        ui.expectFile(path);
        ui.expectBox(UI::Ok);
        find<QPushButton>("BtnPICTURE_" + letter)->click();
    }
    void clearPhoto(const QString& letter)
    {
        ui.expectBox(UI::Ok);
        ui.expectBox(UI::Ok);
        find<QPushButton>("BtnCancelPICTURE_" + letter)->click();
    }

    std::unique_ptr<testsupport::TempDir> firstDir, secondDir;
    QString home;
    ScriptedUserInteraction ui;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<MainWindow> old;
};

} // namespace

// Typing is kept in the draft after a pause (the box not even left), and at once on a page change;
// the table files never change for it; the command line lists what changed.
TEST_F(DraftTest, TypingIsKeptAfterAPauseAndAtOnceOnAPageChange)
{
    const QString number = saveNew(QStringLiteral("防波堤"));
    const QByteArray tables = tableFilesDigest(home);
    type("TECH_TITLE", QStringLiteral("の新工法"));
    EXPECT_FALSE(QFileInfo::exists(draftPath(number))) << "written after the pause, not at every key";
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(draftPath(number)); }, 3000));
    window->drafts().waitForWrites();
    EXPECT_EQ(readDraft(number).techTitle(), QStringLiteral("防波堤の新工法"));
    EXPECT_EQ(readDraft(number).isNew, false);

    type("SALES_SECTION", QStringLiteral("技術部"));
    window->pages()->setCurrentIndex(3);
    window->drafts().waitForWrites();
    const store::Draft draft = readDraft(number);
    EXPECT_EQ(draft.page, 3);
    EXPECT_EQ(draft.rowsOf("NT_TBL_DETAIL")->value(0, "SALES_SECTION").toString(), QStringLiteral("技術部"));
    EXPECT_EQ(tableFilesDigest(home), tables);

    const testsupport::CliResult listed = testsupport::runCli({"--home", home, "drafts"});
    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    const QStringList lines = listed.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << listed.out.toStdString();
    const QStringList title = lines.first().split('\t');
    ASSERT_EQ(title.size(), 6);
    EXPECT_EQ(title.at(0), number);
    EXPECT_EQ(title.mid(2), (QStringList{QStringLiteral("名称・分類等"), QStringLiteral("技術名称"), QStringLiteral("防波堤"),
                                         QStringLiteral("防波堤の新工法")}));
    EXPECT_TRUE(lines.last().endsWith(QStringLiteral("\t\t技術部"))) << lines.last().toStdString();
    EXPECT_TRUE(window->dm().holdsFolder()) << "the listing leaves the running window its folder";
}

// A save, the No to the save question, 取消 and deleting the registration each remove its draft;
// closing the program after answering leaves none.
TEST_F(DraftTest, SaveNoDiscardAndDeleteRemoveTheDraft)
{
    const struct
    {
        const char* name;
        std::function<void(DraftTest&)> act;
    } cases[] = {
        {"save", [](DraftTest& t) { t.ui.expectBox(UI::Yes); t.window->cycle().save(); }},
        {"No on the way back", [](DraftTest& t) { t.ui.expectBox(UI::No); t.window->cycle().backToList(); }},
        {"取消", [](DraftTest& t) { t.ui.expectBox(UI::Ok); t.window->cycle().discardChanges(); }},
        {"delete",
         [](DraftTest& t) {
             // A draft an earlier run left of a registration deleted from the list.
             const QString number = t.mainField("REG_NO");
             const QByteArray kept = QFileInfo(t.draftPath(number)).exists() ? [&] {
                 QFile file(t.draftPath(number));
                 file.open(QIODevice::ReadOnly);
                 return file.readAll();
             }() : QByteArray();
             t.ui.expectBox(UI::No);
             t.window->cycle().backToList();
             t.window->drafts().waitForWrites();
             ASSERT_TRUE(store::drafts::write(t.draftPath(number), kept, nullptr));
             t.ui.expectBox(UI::Yes);
             t.window->cycle().deleteRegistration();
         }},
        {"No when closing", [](DraftTest& t) { t.ui.expectBox(UI::No); EXPECT_TRUE(t.window->close()); }},
    };
    for (const auto& c : cases) {
        const QString number = saveNew(QStringLiteral("岸壁補修"));
        type("TECH_TITLE", QStringLiteral("工法"));
        window->drafts().writeNow();
        window->drafts().waitForWrites();
        ASSERT_TRUE(QFileInfo::exists(draftPath(number)))
            << c.name << " modified " << window->cycle().isModified() << " mode " << window->cycle().mode() << " "
            << store::drafts::list(store::ProgramFolder(home)).join(',').toStdString() << " " << draftPath(number).toStdString();
        c.act(*this);
        window->drafts().waitForWrites();
        EXPECT_FALSE(QFileInfo::exists(draftPath(number))) << c.name << " " << ui.boxTexts().join('|').toStdString();
        EXPECT_TRUE(store::drafts::list(store::ProgramFolder(home)).isEmpty()) << c.name;
        if (!window->isVisible())
            return;
        if (window->pages()->currentIndex() != 0) {
            if (window->cycle().isModified())
                ui.expectBox(UI::No);
            window->cycle().backToList();
        }
        ui.clearBoxes();
    }
}

// After a crash the edit of a saved registration is offered back before the list; restored, it is
// shown changed on its page, and the No to the save question brings back exactly the saved rows.
TEST_F(DraftTest, CrashedEditIsOfferedBackAndRestoredAsChanged)
{
    const QString number = saveNew(QStringLiteral("消波ブロック"));
    window->pages()->setCurrentIndex(3); // 従来技術との比較
    type("COMPARE_TECH_TITLE", QStringLiteral("と在来工法"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(draftPath(number)); }, 3000));

    ui.clearBoxes(); // the save question of saveNew()
    ui.expectBox(UI::Yes); // 復元する
    crash();
    ASSERT_EQ(ui.boxes().size(), 1) << ui.boxTexts().join('|').toStdString();
    EXPECT_TRUE(ui.boxes().first().text.startsWith(kLeftBehind)) << ui.boxTexts().join('|').toStdString();
    EXPECT_TRUE(ui.boxes().first().text.contains(number));
    EXPECT_TRUE(ui.boxes().first().text.contains(QStringLiteral("消波ブロック")));
    EXPECT_EQ(window->cycle().mode(), app::EditingCycle::Edited);
    EXPECT_TRUE(window->cycle().isModified());
    EXPECT_EQ(window->pages()->currentIndex(), 3);
    EXPECT_EQ(find<QLineEdit>("COMPARE_TECH_TITLE")->text(), QStringLiteral("従来の工法と在来工法"));
    EXPECT_EQ(mainField("REG_NO"), number);

    ui.clearBoxes();
    ui.expectBox(UI::No);
    window->cycle().backToList();
    window->drafts().waitForWrites();
    EXPECT_EQ(ui.boxTexts().value(0), kSaveQuestion);
    EXPECT_EQ(window->pages()->currentIndex(), 0);
    EXPECT_FALSE(QFileInfo::exists(draftPath(number)));
    window->cycle().openRegistration();
    EXPECT_EQ(find<QLineEdit>("COMPARE_TECH_TITLE")->text(), QStringLiteral("従来の工法"));
    EXPECT_FALSE(window->cycle().isModified());
}

// A new registration never saved comes back as a new one: under its number when that is free,
// otherwise under the next; saved, it is there with what was typed, beside the one saved before.
TEST_F(DraftTest, NewRegistrationIsRestoredAsNewUnderItsNumberOrTheNext)
{
    for (const bool numberTaken : {false, true}) {
        const QString saved = saveNew(QStringLiteral("保存済み"));
        window->cycle().backToList();
        window->cycle().newRegistration();
        const QString number = mainField("REG_NO");
        type("TECH_TITLE", QStringLiteral("新しい技術"));
        window->drafts().writeNow();
        window->drafts().waitForWrites();
        if (numberTaken) {
            // The draft names a number that is in use by now.
            store::Draft draft = readDraft(number);
            draft.number = saved;
            QFile::remove(draftPath(number));
            ASSERT_TRUE(store::drafts::write(draftPath(saved), store::drafts::serialise(draft), nullptr));
        }
        ui.clearBoxes();
        ui.expectBox(UI::Yes);
        crash();
        ASSERT_EQ(ui.boxes().size(), 1) << ui.boxTexts().join('|').toStdString();
        EXPECT_EQ(window->cycle().mode(), app::EditingCycle::New);
        EXPECT_TRUE(window->cycle().isModified());
        EXPECT_EQ(mainField("TECH_TITLE"), QStringLiteral("新しい技術"));
        const QString restoredAs = mainField("REG_NO");
        // Free, its own number; taken, the next one.
        EXPECT_NE(restoredAs, saved);
        if (!numberTaken)
            EXPECT_EQ(restoredAs, number);
        window->drafts().waitForWrites();
        EXPECT_EQ(store::drafts::list(store::ProgramFolder(home)), QStringList{draftPath(restoredAs)});

        find<QLineEdit>("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
        ui.expectBox(UI::Yes);
        window->cycle().save();
        window->drafts().waitForWrites();
        EXPECT_TRUE(store::drafts::list(store::ProgramFolder(home)).isEmpty());
        window->cycle().backToList();
        // The registration saved before is as it was.
        store::Table* main = window->dm().table("NT_TBL_MAIN");
        QStringList titles;
        for (main->first(); !main->eof(); main->next())
            titles << main->field("REG_NO").asString().trimmed() + "=" + main->field("TECH_TITLE").asString();
        EXPECT_TRUE(titles.contains(saved + QStringLiteral("=保存済み"))) << titles.join(',').toStdString();
        EXPECT_TRUE(titles.contains(restoredAs + QStringLiteral("=新しい技術"))) << titles.join(',').toStdString();
        freshStart();
    }
}

// The photos of a crashed edit wait for the user's word: 破棄する moves the draft to the discarded
// drafts and brings the saved photo back; 復元する and a save give the old photo up.
TEST_F(DraftTest, PhotosOfACrashedEditFollowTheRestoreOrTheDiscard)
{
    for (const bool restore : {false, true}) {
        const QString number = saveNew(QStringLiteral("写真の技術"));
        selectPhoto("A", first().write("old.jpg", jpeg(600, 5000, 'o')));
        ui.expectBox(UI::Yes);
        window->cycle().save();
        clearPhoto("A");
        selectPhoto("A", first().write("new.jpg", jpeg(600, 6000, 'n')));
        window->drafts().writeNow();
        ui.clearBoxes();
        ui.expectBox(restore ? UI::Yes : UI::No);
        crash();
        ASSERT_EQ(ui.boxes().size(), 1) << ui.boxTexts().join('|').toStdString();
        const QString images = QDir(home).filePath("Images/");
        if (!restore) {
            EXPECT_EQ(window->pages()->currentIndex(), 0);
            EXPECT_TRUE(store::drafts::list(store::ProgramFolder(home)).isEmpty());
            EXPECT_EQ(QDir(store::drafts::discardedFolder(store::ProgramFolder(home))).entryList(QDir::Files).size(), 1);
            EXPECT_EQ(second().read("Images/" + number + "A.jpg"), jpeg(600, 5000, 'o'));
            EXPECT_FALSE(QFileInfo::exists(images + "_" + number + "A.jpg"));
        } else {
            EXPECT_TRUE(window->cycle().isModified());
            EXPECT_EQ(find<QLineEdit>("ImagePath_A")->text(), QStringLiteral("new.jpg"));
            ui.expectBox(UI::Yes);
            window->cycle().save();
            EXPECT_EQ(second().read("Images/" + number + "A.jpg"), jpeg(600, 6000, 'n'));
            EXPECT_FALSE(QFileInfo::exists(images + "_" + number + "A.jpg"));
        }
        freshStart();
    }
}

// A draft that cannot be read is reported with its file and moved aside; the start goes on.
TEST_F(DraftTest, DamagedDraftIsReportedAndMovedAside)
{
    window.reset();
    const QString damaged = first().write("FLATT_FILES/Drafts/XXK-000005.draft", "VORDELL-DRAFT\t1\nnumber\tXXK-000005\n");
    ui.expectBox(UI::Ok);
    start(first().path());
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_TRUE(ui.boxes().first().text.contains(QStringLiteral("XXK-000005.draft")));
    EXPECT_EQ(window->pages()->currentIndex(), 0);
    EXPECT_FALSE(QFileInfo::exists(damaged));
    EXPECT_EQ(QDir(store::drafts::damagedFolder(store::ProgramFolder(home))).entryList(QDir::Files), QStringList{"XXK-000005.draft"});
}

// Ctrl+S on the entry pages saves as 保存 does, after its question; on the list it does nothing.
TEST_F(DraftTest, CtrlSSavesOnTheEntryPages)
{
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(ui.boxes().isEmpty());
    const QString number = saveNew(QStringLiteral("保存の技術"));
    ui.clearBoxes();
    type("TECH_TITLE", QStringLiteral("二"));
    ui.expectBox(UI::Yes);
    QTest::keyClick(find("TECH_TITLE"), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ui.boxTexts(), QStringList{kSaveQuestion});
    EXPECT_FALSE(window->cycle().isModified());
    EXPECT_EQ(mainField("TECH_TITLE"), QStringLiteral("保存の技術二"));
    window->drafts().waitForWrites();
    EXPECT_FALSE(QFileInfo::exists(draftPath(number)));
}
