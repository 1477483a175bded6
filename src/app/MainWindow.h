#pragma once

#include "app/InputBehaviours.h"
#include "entry/InputCheck.h"
#include "store/DataModule.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QPushButton;
class QTabWidget;
class HelpWindow;

namespace comparison {
class ComparisonPageWidget;
}

namespace widgets {
class DBRadioGroup;
}

namespace submission {
class SubmissionImport;
}

namespace app {

class ClassificationLists;
class InputCheckDialog;
class ConditionPanels;
class DescriptionGrids;
class PatentBlocks;
class PhotoSlots;
class ScrollingPage;

// The main window: the technology list and the four entry pages of one registration, with the
// editing cycle that creates, opens, saves, discards and deletes registrations. It owns the data
// module for the run.
class TFrmMain : public QMainWindow
{
    Q_OBJECT

public:
    // The window's creation (FormCreate): the working folder emptied, the help text read, the pages
    // built and bound to the data module's tables (which are not open yet).
    explicit TFrmMain(const QString& programFolder, QWidget* parent = nullptr);
    ~TFrmMain() override;

    // The rest of the start: the data module opens its tables, the help window is made and the
    // list page shown. False when the run must end.
    bool start();

    store::TDM1& dm() const { return *m_dm; }
    InputBehaviours& behaviours() const { return *m_behaviours; }
    template <typename T = QWidget>
    T* control(const QString& name) const { return findChild<T*>(name); }

    // The mode of the registration on the entry pages: 0 new, 1 edit, -1 none.
    int mode() const;
    bool isModified() const;
    QTabWidget* pages() const { return m_pages; }
    HelpWindow* helpWindow() const { return m_help; }
    ClassificationLists& classification() const { return *m_classification; }
    PhotoSlots& photoSlots() const { return *m_photos; }
    DescriptionGrids& descriptionGrids() const { return *m_grids; }

    // The handlers of the editing cycle: start, new, open, save, back to the list, delete, close.
    void FormShow();
    void ActNewExecute();
    void ActEditExecute();
    void ActDellExecute();
    void ActPostExecute();
    void ActCancelExecute();
    void BitBtn2Click();
    void BtnHelpClick();
    // The list page's submission-file commands: "提出用ファイル作成" and "データ取り込み".
    void ActExportExecute();
    void ActImportExecute();
    // True when the program may end (the tables have then been closed).
    bool FormCloseQuery();
    bool ChkCmpSheet();
    void FormatDBChkBox();
    void SetPhotoSlotControls(const QString& letter);
    // The save check run before a registration is written; true when it found a problem (and has
    // told the user).
    bool ChkSaveData();
    // The entry rules of the save check: the first failing rule's box, its page brought into view,
    // a failing photo's slot emptied and the focus on the rule's control; true when a rule failed.
    bool CheckRegistration();
    // "入力チェック": lists every problem of both checks; choosing one shows its control.
    void ActInputCheckExecute();
    // Every problem of the registration as the entry pages show it, in the checks' order.
    QList<inputcheck::Problem> inputProblems() const;
    // Brings the entry page, tab and scroll position of a control into view and focuses it.
    void showControl(const QString& name);
    // Rebuilds the construction-condition items for slot 1's level-3 code as it stands now (run
    // when the user switches to the summary page; the classification lists may call it too).
    void RefreshConditions();
    ConditionPanels& conditionPanels() const { return *m_conditions; }
    comparison::ComparisonPageWidget& comparison() const { return *m_comparison; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void buildWindow();
    void buildBehaviours();
    void buildConditionPanels();
    void layOutTop();
    void setMode(int mode);
    void MarkModified();
    void MarkSaved();
    // Steps 3 to 5 of the save: the tables posted, the set-aside photos given up, the main row
    // posted, and the changed tables written at once.
    void saveRegistration();
    // The answer No to the save question: set-aside photos restored, the changes dropped.
    void discardRegistration();
    // REG_NO of the current main row.
    QString currentNumber() const;
    // A new registration's rows deleted, and the files its dialogs had written brought in line.
    void removeNewRegistration();
    // After a save: the registration is an edited one, its main row in edit state, nothing to save.
    void continueAsSaved();
    void showPage(QWidget* page);
    void PageControl1Changing();
    void PageControl1Change(int index);
    void onPageShown(int index);
    void fillPostCodes();
    void clearPostCodes();
    void setText(const QString& name, const QString& text);
    store::Table* table(const QString& name) const { return m_dm->table(name); }
    store::SaveInputs saveInputs() const;
    void setTableField(store::Table* table, const QString& field, const QVariant& value);

    QString m_programFolder;
    std::unique_ptr<store::TDM1> m_dm;
    InputBehaviours* m_behaviours = nullptr;
    ClassificationLists* m_classification = nullptr;
    PhotoSlots* m_photos = nullptr;
    PatentBlocks* m_patents = nullptr;
    DescriptionGrids* m_grids = nullptr;
    ConditionPanels* m_conditions = nullptr;
    comparison::ComparisonPageWidget* m_comparison = nullptr;
    HelpWindow* m_help = nullptr;
    QTabWidget* m_pages = nullptr;
    QList<ScrollingPage*> m_entryPages;
    QWidget* m_listPage = nullptr;
    QWidget* m_previewPage = nullptr;
    QPushButton* m_menuButton = nullptr;
    QPushButton* m_helpButton = nullptr;
    QPushButton* m_postButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_checkButton = nullptr;
    InputCheckDialog* m_checkList = nullptr;
    QWidget* m_methodLabel = nullptr;
    QAction* m_actPost = nullptr;
    QAction* m_actCancel = nullptr;
    widgets::DBRadioGroup* m_recordType = nullptr;
    bool m_programPageChange = false;
    int m_lastPage = 0;
    bool m_tablesClosed = false;
    std::unique_ptr<submission::SubmissionImport> m_import; // keeps the import folder for the run
};

} // namespace app
