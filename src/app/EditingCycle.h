#pragma once

#include "store/Draft.h"

#include <QObject>
#include <QString>

namespace store {
class DataModule;
class Table;
struct SaveInputs;
}

namespace app {

// What the editing cycle asks of the screen that shows a registration: the list and the entry
// pages, and the parts of the entry pages that keep state of their own (the classification lists,
// photo slots, description grids, patent blocks, construction conditions and the comparison).
// The main window implements it; a test can stand in for it.
class RegistrationScreen
{
public:
    virtual ~RegistrationScreen() = default;

    virtual bool showsList() const = 0;
    virtual void showList() = 0;
    virtual void showEntryPages() = 0;

    // ---- a new registration, in the order the cycle fills its rows ----
    // The classification lists emptied (before the result counts and certifications are set).
    virtual void clearClassification() = 0;
    // The certification buttons, patent blocks, post codes and cost type shown as for a new one.
    virtual void showNewRegistrationDefaults() = 0;
    // The comparison told that its rows are new (before the pending rows are posted).
    virtual void comparisonCreated() = 0;
    // The new registration shown: its photo slots and grids, the first entry page, the preview's
    // first section.
    virtual void showNewRegistration() = 0;

    // ---- an existing registration opened ----
    // The classification lists show the opened registration's codes (after the first entry page
    // is shown).
    virtual void classificationOpened() = 0;
    // The comparison shows the opened registration's rows.
    virtual void comparisonOpened() = 0;
    // The photo slots set from the registration's image rows.
    virtual void showPhotoSlots() = 0;
    // The result counts, patents, post codes and cost type shown (its detail row in edit state).
    virtual void showOpenedRegistration() = 0;
    // The grids (with what could not be loaded), the comparison's other-condition choice and the
    // preview's first section, once nothing is left to save.
    virtual void openedRegistrationShown() = 0;

    // ---- save and discard ----
    // The save check of what the pages show; true when it found a problem (and told the user).
    virtual bool saveCheckFails() = 0;
    // What the save reads from the pages.
    virtual store::SaveInputs saveInputs() const = 0;
    // After a save: the comparison's other-condition choice judged again.
    virtual void registrationSaved() = 0;
    // The name of the conventional technology as typed on the comparison page.
    virtual QString comparisonTitle() const = 0;
    // The photo files of registration `number` after its save, or after its changes were dropped.
    virtual void photosSaved(const QString& number) = 0;
    virtual void photosAbandoned(const QString& number) = 0;
    // The grids reloaded from the rows after the changes were dropped.
    virtual void changesDropped() = 0;

    // ---- drafts of unsaved changes ----
    // What the pages hold that reaches the rows only at the save, put into a draft's rows: text
    // typed and not yet written to its field, the grids' texts, the post codes.
    virtual void putPendingValuesIn(QList<store::TableRows>* tables) const { Q_UNUSED(tables); }
    // The entry page shown (an index of the page control), and showing it again.
    virtual int entryPage() const { return 0; }
    virtual void showEntryPage(int page) { Q_UNUSED(page); }
    // The photos of registration `number` that an earlier run set aside, taken over by the slots
    // so that a save gives them up and a discard brings them back.
    virtual void adoptSetAsidePhotos(const QString& number) { Q_UNUSED(number); }
};

// The editing cycle of one registration: its mode (new, edited, none) and whether it holds
// unsaved changes, and the operations that create, open, save, discard, delete and leave it, with
// their questions to the user. It works on the data module's tables and asks `screen` to show
// each step.
class EditingCycle : public QObject
{
    Q_OBJECT

public:
    enum Mode { None = -1, New = 0, Edited = 1 };

    EditingCycle(store::DataModule& dm, RegistrationScreen& screen, QObject* parent = nullptr);

    Mode mode() const { return m_mode; }
    bool isModified() const { return m_modified; }
    // True once the tables were closed at the end of the run.
    bool tablesClosed() const { return m_tablesClosed; }

    // The first change since the registration was opened or saved, and its end.
    void markModified();
    void markSaved();
    // Sets the modified state alone (a conversion on leaving a box that is no change of its own).
    void restoreModified(bool modified);

    // "新規": a new registration under the next local number on the entry pages.
    void newRegistration();
    // "編集": the list's current registration on the entry pages (a new one when the list is empty).
    void openRegistration();
    // A copy just made of a registration (the main table on its row in insert state, its other
    // rows appended) shown on the entry pages as a new registration with changes to save: the save
    // writes it, a discard removes it whole.
    void openCopy();
    // "保存": after the save question and the save check, the registration is written.
    void save();
    // "メニュー": back to the list, after the save question when something changed and the question
    // about a missing comparison.
    void backToList();
    // "取消": the changes dropped after a question, back to the list.
    void discardChanges();
    // "削除": the list's current registration, with its photos, after a question.
    void deleteRegistration();
    // The end of the run: as "メニュー", then the tables written and closed. True when the program
    // may end; a failed write keeps it running with nothing lost.
    bool mayClose();

    // The registration shown with its unsaved changes: its rows with every pending change and
    // what the pages hold, and the page shown.
    store::Draft draft() const;
    // A draft an earlier run left: the registration shown on the entry pages with the draft's rows
    // as its pending changes, counted as changed. A registration never saved (or no longer there)
    // is restored as a new one under the next number.
    void restoreDraft(const store::Draft& draft);
    // A draft an earlier run left, given up: the photos of its editing handled as a discard would.
    void abandonDraftPhotos(const QString& number);

signals:
    // A change of the registration shown (not every keystroke reaches the cycle).
    void changed();
    // The draft of registration `number` no longer holds anything unsaved (saved, discarded, deleted).
    void draftObsolete(const QString& number);
    // A registration was deleted from the list (its title as the question named it).
    void registrationDeleted(const QString& title);
    void modeChanged(int mode);
    void saveEnabledChanged(bool enabled);
    void cancelEnabledChanged(bool enabled);

private:
    void setMode(Mode mode);
    store::Table* table(const QString& name) const;
    // REG_NO of the current main row.
    QString currentNumber() const;
    // The detail row of a new registration appended, and the keyword and aim flags set to "0"
    // where they are empty.
    void setKeywordAndAimFlags();
    // The question asked when the comparison's conventional technology is missing; true when the
    // user leaves all the same (or nothing is missing).
    bool comparisonAllowsLeaving();
    // The save after "Yes": the save check, then the tables posted and written; false when the
    // check found a problem.
    bool checkAndWrite();
    // The tables posted, the main row posted, the changed tables written at once and the photos
    // set aside given up.
    void writeRegistration();
    // After a save: the registration is an edited one, its main row in edit state, nothing to save.
    void continueAsSaved();
    // The answer No to the save question: set-aside photos restored, the changes dropped.
    void discardRegistration();
    // The user stays on the entry pages after the changes were dropped.
    void stayAfterDiscard(bool newRemoved);
    // A new registration's rows deleted, and the files its dialogs had written brought in line.
    void removeNewRegistration();
    void leaveToList();
    bool closeTables();
    // NT_TBL_MAIN positioned on the saved registration `number`; false when there is none.
    bool locateSaved(const QString& number);

    store::DataModule& m_dm;
    RegistrationScreen& m_screen;
    Mode m_mode = None;
    bool m_modified = false;
    bool m_tablesClosed = false;
};

} // namespace app
