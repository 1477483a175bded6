#pragma once

#include "util/UserInteraction.h"

#include <QDialog>
#include <QEvent>

#include <functional>

class QComboBox;
class QLineEdit;
class QGridLayout;
class QLabel;
class QPushButton;

namespace store {
class DataSource;
class DataModule;
class Table;
}

namespace widgets {
class DBEdit;
}

namespace dialogs {

// What sets one sub-record dialog apart within the pattern the four share.
struct SubRecordSettings
{
    QString name;    // the form's name (objectName)
    QString caption;
    QString table;   // the table whose current row the dialog edits
    int rowLimit = 20;
    QString prevButton, nextButton, numberLabel; // names of the navigation controls
    UserInteraction::Icon questionIcon = UserInteraction::Icon::Question;
    bool questionsOfferCancel = false;            // OK and navigation questions with Yes, No and Cancel
    QString editOkQuestion;                       // the OK question when editing
    bool asksBeforeDelete = true;
    bool navigationAsksForNewRow = true;          // false: the navigation question only for an edited row
};

// A modal dialog that adds and edits the rows of one detail table of the current registration
// through bound controls, in the pattern the sub-record dialogs share: the main window's add, edit
// and delete buttons; OK and Cancel; previous and next with the question about the pending row;
// the record check; and the table's file written as soon as a row is stored.
class SubRecordDialog : public QDialog
{
    Q_OBJECT

public:
    SubRecordDialog(store::DataModule& dm, SubRecordSettings settings, QWidget* parent);

    store::Table* table() const { return m_table; }
    store::DataSource* source() const { return m_source; }
    // 0 while the dialog is open for adding, 1 for editing.
    int modeFlag() const { return m_mode; }

    // The main window's buttons.
    void addRecord();
    void editRecord();
    void deleteRecord();

    void finishEditing();
    void cancelEditing();
    void showPrevious() { moveRecord(-1); }
    void showNext() { moveRecord(1); }

    // Closing the dialog otherwise (Escape, the title bar) drops the pending row as Cancel does.
    void reject() override;

signals:
    // A row was stored or deleted: the registration's records changed.
    void recordsChanged();

protected:
    // The record check: true when it found a problem (and has told the user).
    virtual bool checkRecord() = 0;
    // Stores the pending row; the base posts it and writes the table's file. False when the row
    // stays pending.
    virtual bool storeRecord();
    // Called when the dialog is shown and after each move (the unbound boxes follow the row).
    virtual void showRecord() {}
    // The control that has the focus when the dialog opens.
    virtual QWidget* firstControl() const = 0;

    store::DataModule& dm() const { return m_dm; }
    // The grid the controls go in: column 0 labels, 1 the controls, 2 hints.
    QGridLayout* body() const { return m_body; }
    // Adds a line of the body: caption, control (or a layout's host) and hint; returns the control.
    QWidget* addLine(const QString& caption, QWidget* control, const QString& hint = {});
    // A grey note under the controls of the line above.
    void addNote(const QString& text);
    // Tells of a failed check in an information box (or an error box), puts the focus on `focus`.
    bool problem(QWidget* focus, const QString& text, UserInteraction::Icon icon = UserInteraction::Icon::Information);
    // Writes the table's file; a failure is shown to the user.
    bool writeTableFile();

    // The construction period of the record dialogs: the group "施工期間" with the start and end
    // boxes bound to PJT_START_DATE and PJT_END_DATE, and their check (true when it found a problem).
    void addPeriodBoxes(widgets::DBEdit** start, widgets::DBEdit** end);
    bool checkPeriod(QLineEdit* start, QLineEdit* end);

    // Input behaviours of the dialogs' boxes.
    void attachSpaceRule(QWidget* control);
    void attachConversionOnExit(QWidget* box);
    void attachAllowedCharacters(QWidget* box, const QString& allowed);
    // A list that is chosen from only: typed keys are dropped; with `deleteClears` the Delete key
    // empties a bound lookup list's choice.
    void attachChoiceOnly(QComboBox* list, bool deleteClears);
    // Runs `handler` on each event of `type` sent to `control`; it returns true to swallow the event.
    static void onEvent(QWidget* control, QEvent::Type type, std::function<bool(QEvent*)> handler);
    // The Enter key moves the focus on in every line edit of the dialog; run once the controls exist.
    void finishControls();

    void showEvent(QShowEvent* event) override;

private:
    void openModal(int mode);
    void setNavigationVisible(bool visible);
    void showRecordNumber();
    void moveRecord(int step);
    UserInteraction::Button ask(const QString& question) const;
    // Writes the controls' pending texts, runs the check and stores; false when the row stays pending.
    bool checkAndStore();

    store::DataModule& m_dm;
    SubRecordSettings m_settings;
    store::Table* m_table;
    store::DataSource* m_source;
    int m_mode = 0;
    QGridLayout* m_body;
    QList<QWidget*> m_navigation;
    QLabel* m_number;
};

// The messages the dialogs share.
inline const QString kAddQuestion = QStringLiteral("レコードを追加しますか？");
inline const QString kSaveEditingQuestion = QStringLiteral("現在編集中のデータを保存しますか？");
inline const QString kNoMoreRows = QStringLiteral("これ以上入力できません。");
inline const QString kNothingToEdit = QStringLiteral("編集するデータがありません。");
inline const QString kNothingToDelete = QStringLiteral("削除するデータがありません。");
inline const QString kDeleteQuestion = QStringLiteral("削除してよろしいですか？");
inline const QString kDeleteClearsHint = QStringLiteral("キーボードの”Delete”キーで選択をクリアできます。");
inline const QString kInputHint = QStringLiteral("( 半角ｶﾀｶﾅ 及び 連続するｽﾍﾟｰｽ は入力できません。)");

} // namespace dialogs
