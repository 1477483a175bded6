#pragma once

#include "app/EditingCycle.h"
#include "app/InputBehaviours.h"
#include "entry/InputCheck.h"
#include "store/DataModule.h"
#include "widgets/NamedChild.h"

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
class DraftKeeper;
class EntryPagesScreen;
class InputCheckDialog;
class SubmissionChangesDialog;
class ConditionPanels;
class DescriptionGrids;
class PatentBlocks;
class PhotoSlots;
class ScrollingPage;

// The main window: the technology list and the four entry pages of one registration. It builds
// the pages, wires the buttons to the editing cycle and shows what the cycle says; it owns the
// data module for the run.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // The window's creation: the working folder emptied, the help text read, the pages built and
    // bound to the data module's tables (which are not open yet).
    explicit MainWindow(const QString& programFolder, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The rest of the start: the data module opens its tables, the help window is made and the
    // list page shown. False when the run must end.
    bool start();

    store::DataModule& dm() const { return *m_dm; }
    EditingCycle& cycle() const { return *m_cycle; }
    DraftKeeper& drafts() const { return *m_drafts; }
    InputBehaviours& behaviours() const { return *m_behaviours; }
    template <typename T = QWidget>
    T* control(const QString& name) const { return widgets::namedChild<T>(this, name); }

    QTabWidget* pages() const { return m_pages; }
    HelpWindow* helpWindow() const { return m_help; }
    ClassificationLists& classification() const { return *m_classification; }
    PhotoSlots& photoSlots() const { return *m_photos; }
    DescriptionGrids& descriptionGrids() const { return *m_grids; }
    ConditionPanels& conditionPanels() const { return *m_conditions; }
    comparison::ComparisonPageWidget& comparison() const { return *m_comparison; }
    PatentBlocks& patents() const { return *m_patents; }

    // The pages the editing cycle shows.
    bool showsListPage() const { return m_pages->currentWidget() == m_listPage; }
    void showListPage() { showPage(m_listPage); }
    void showFirstEntryPage();
    // The entry page at `index` of the page control (as a draft recorded it); the list is not one.
    void showEntryPageAt(int index);

    // "ヘルプ": the help window.
    void showHelp();
    // The list page's submission-file commands: "提出用ファイル作成" and "データ取り込み".
    void exportSubmissionFile();
    void importSubmissionFile();
    // A short note in the status line after work that ends without a message box (a save, an import).
    void showNote(const QString& note);
    // "複製して新規作成": a copy of the list's current registration under the next number, shown on
    // the entry pages as a new registration.
    void duplicateRegistration();
    // "入力チェック": lists every problem of both checks; choosing one shows its control.
    void showInputCheck();
    // "前回提出との比較": what changed in the registration as saved since its last kept
    // submission file; choosing a line shows its control.
    void showSubmissionChanges();
    // Every problem of the registration as the entry pages show it, in the checks' order.
    QList<inputcheck::Problem> inputProblems() const;
    // Brings the entry page, tab and scroll position of a control into view and focuses it.
    void showControl(const QString& name);
    // Rebuilds the construction-condition items for slot 1's level-3 code as it stands now (run
    // when the user switches to the summary page; the classification lists may call it too).
    void refreshConditions();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void clearWorkingFolderAndReadHelp();
    void buildWindow();
    void buildTopRow(QWidget* central);
    void buildPages(QWidget* central);
    void connectListCommands();
    // The draft of unsaved changes: written on a page change, a confirmed dialog and the end of the
    // session; Ctrl+S saves.
    void connectDrafts();
    void buildBehaviours();
    void buildConditionPanels();
    void showListAtStart();
    void layOutTop();
    void showPage(QWidget* page);
    // A page chosen by the user: the summary's description row readied, the conditions rebuilt
    // for the summary page, the preview selector reset.
    void beforePageChange();
    void afterPageChange(int index);
    void onPageShown(int index);
    store::Table* table(const QString& name) const { return m_dm->table(name); }
    QString currentRegistrationNumber() const;

    QString m_programFolder;
    std::unique_ptr<store::DataModule> m_dm;
    std::unique_ptr<EntryPagesScreen> m_screen;
    EditingCycle* m_cycle = nullptr;
    DraftKeeper* m_drafts = nullptr;
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
    QPushButton* m_changesButton = nullptr;
    SubmissionChangesDialog* m_changes = nullptr;
    QWidget* m_methodLabel = nullptr;
    QAction* m_actPost = nullptr;
    QAction* m_actCancel = nullptr;
    widgets::DBRadioGroup* m_recordType = nullptr;
    bool m_programPageChange = false;
    std::unique_ptr<submission::SubmissionImport> m_import; // keeps the import folder for the run
};

} // namespace app
