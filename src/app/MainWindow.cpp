#include "app/MainWindow.h"

#include "app/ClassificationLists.h"
#include "app/ConditionPanels.h"
#include "app/DescriptionGrids.h"
#include "app/DraftKeeper.h"
#include "app/EntryPagesScreen.h"
#include "app/EntryParts.h"
#include "app/InputCheckDialog.h"
#include "app/MainWindowControls.h"
#include "app/MainWindowPages.h"
#include "app/PatentBlocks.h"
#include "app/PhotoSlots.h"
#include "app/PreviewPage.h"
#include "app/RegistrationList.h"
#include "app/SaveCheckScreen.h"
#include "app/ScrollingPage.h"
#include "app/SubmissionChangesDialog.h"
#include "comparison/ComparisonPageWidget.h"
#include "dialogs/SubRecordDialogs.h"
#include "submission/SubmissionExport.h"
#include "submission/RegistrationCopy.h"
#include "submission/SubmissionImport.h"
#include "util/HelpText.h"
#include "util/HelpWindow.h"
#include "util/UserInteraction.h"
#include "widgets/DBRadioGroup.h"
#include "widgets/WheelGuard.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QSignalBlocker>
#include <QScreen>
#include <QSessionManager>
#include <QShortcut>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>

namespace app {

namespace {

const QString kCaption = QStringLiteral("VORDELL(港湾版) Ver7.800");
constexpr int kClientWidth = 939;
constexpr int kClientHeight = 694;
constexpr int kTopRow = 30; // the buttons above the pages

} // namespace

MainWindow::MainWindow(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent)
    , m_programFolder(programFolder)
    , m_dm(std::make_unique<store::DataModule>(programFolder, &UserInteraction::current()))
    , m_import(std::make_unique<submission::SubmissionImport>(*m_dm, UserInteraction::current()))
{
    setObjectName(QStringLiteral("FrmMain"));
    buildWindow();
    clearWorkingFolderAndReadHelp();
}

MainWindow::~MainWindow()
{
    // The controls go before the tables they show.
    delete m_help;
    delete m_comparison;
    delete takeCentralWidget();
    if (!m_cycle->tablesClosed())
        m_dm->CloseAllTables();
}

// ---------------------------------------------------------------- building

void MainWindow::buildWindow()
{
    setWindowTitle(kCaption);
    // The size is fixed: a title, a system menu, minimise and close, no maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("MainClient"));
    setCentralWidget(central);
    // The line for the short notes after work done, below the pages (which make room for it).
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setSizeGripEnabled(false);
    m_screen = std::make_unique<EntryPagesScreen>(*this);
    m_cycle = new EditingCycle(*m_dm, *m_screen, this);
    m_drafts = new DraftKeeper(*m_cycle, m_dm->folder(), this);
    connect(m_drafts, &DraftKeeper::draftRestored, this,
            [this] { showNote(QStringLiteral("保存されていなかった入力を戻しました。内容を確かめて保存してください。")); });

    buildTopRow(central);
    buildPages(central);
    connectListCommands();
    connectDrafts();

    connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) {
        onPageShown(index);
        if (m_programPageChange)
            return;
        beforePageChange();
        afterPageChange(index);
        m_drafts->writeNow();
        if (m_pages->widget(index) == m_previewPage)
            PrintPreview(*this);
    });
    connectPreviewPage(*this);
    connect(m_dm.get(), &store::DataModule::MarkModified, m_cycle, &EditingCycle::markModified);
    connect(m_cycle, &EditingCycle::registrationDeleted, this,
            [this](const QString& title) { showNote(QStringLiteral("\"%1\"を削除しました。").arg(title)); });
    connect(m_dm.get(), &store::DataModule::MarkSaved, m_cycle, &EditingCycle::markSaved);

    // The technology's name repeats at the top of the summary, comparison and results pages.
    auto* title = control<QLineEdit>(QStringLiteral("TECH_TITLE"));
    connect(title, &QLineEdit::textChanged, this, [this, title](const QString& text) {
        m_behaviours->markChanged(title);
        for (const char* label : {"TECH_TITLE2", "TECH_TITLE3", "TECH_TITLE4"})
            control<QLabel>(QLatin1String(label))->setText(text);
    });

    // A list turned by the wheel while the user scrolls the page would change a stored choice.
    widgets::installWheelGuard(*qApp);
    buildBehaviours();
    m_classification = new ClassificationLists(this, [this](const QString& name) { return m_dm->table(name); }, this);
    m_photos = new PhotoSlots(this, *m_dm, this);
    m_patents = new PatentBlocks(
        this, *m_dm, [this](QWidget* box) { m_behaviours->markChangedWhenNew(box); }, [this] { m_cycle->markModified(); }, [this] { return int(m_cycle->mode()); },
        this);
    m_grids = new DescriptionGrids(this, {[this] { m_cycle->markModified(); }, [this] { return table(QStringLiteral("NT_TBL_DESCRIPTION")); }}, this);
    buildConditionPanels();
    m_comparison = new comparison::ComparisonPageWidget(this, *m_dm);
    connect(m_comparison, &comparison::ComparisonPageWidget::registrationChanged, m_cycle, &EditingCycle::markModified);
    // The record, contact and evaluation dialogs, made once for the run; they enable their buttons.
    // A record they store or delete is a change of the registration, as a breakdown row is.
    auto* records = new dialogs::SubRecordDialogs(*m_dm, this);
    connect(records, &dialogs::SubRecordDialogs::recordsChanged, m_cycle, &EditingCycle::markModified);
    layOutTop();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

// The buttons above the entry pages, the save and cancel commands and the hidden record type,
// which show the cycle's state.
void MainWindow::buildTopRow(QWidget* central)
{
    m_actPost = new QAction(QStringLiteral("保   存"), this);
    m_actPost->setObjectName(QStringLiteral("ActPost"));
    m_actCancel = new QAction(QStringLiteral("取消"), this);
    m_actCancel->setObjectName(QStringLiteral("ActCancel"));
    connect(m_actPost, &QAction::triggered, m_cycle, &EditingCycle::save);
    connect(m_actCancel, &QAction::triggered, m_cycle, &EditingCycle::discardChanges);

    m_menuButton = form::button(controls::kMenuButton, QStringLiteral("メニュー"), central);
    m_helpButton = form::button(QStringLiteral("BtnHelp"), QStringLiteral("ヘルプ"), central);
    m_postButton = form::button(QStringLiteral("BitBtnPost"), m_actPost->text(), central);
    m_cancelButton = form::button(QStringLiteral("BitBtnCancel"), m_actCancel->text(), central);
    m_checkButton = form::button(QStringLiteral("BtnInputCheck"), QStringLiteral("入力チェック"), central);
    m_methodLabel = form::label(QStringLiteral("データ処理方法："), central, QStringLiteral("StaticText1"));
    m_menuButton->setGeometry(8, 2, 110, kTopRow - 4);
    m_helpButton->setGeometry(124, 2, 110, kTopRow - 4);
    m_checkButton->setGeometry(240, 2, 110, kTopRow - 4);
    m_changesButton = form::button(QStringLiteral("BtnSubmissionChanges"), QStringLiteral("前回提出との比較"), central);
    m_changesButton->setGeometry(356, 2, 130, kTopRow - 4);
    m_postButton->setGeometry(kClientWidth - 128, 2, 120, kTopRow - 4);
    // Placed outside the client area, as the window has always had them: not seen.
    m_methodLabel->setGeometry(1000, 4, 120, 22);
    m_cancelButton->setGeometry(1000, 2, 80, kTopRow - 4);
    connect(m_menuButton, &QPushButton::clicked, m_cycle, &EditingCycle::backToList);
    connect(m_helpButton, &QPushButton::clicked, this, &MainWindow::showHelp);
    connect(m_checkButton, &QPushButton::clicked, this, &MainWindow::showInputCheck);
    connect(m_changesButton, &QPushButton::clicked, this, &MainWindow::showSubmissionChanges);
    connect(m_postButton, &QPushButton::clicked, m_actPost, &QAction::trigger);
    connect(m_cancelButton, &QPushButton::clicked, m_actCancel, &QAction::trigger);
    connect(m_actPost, &QAction::enabledChanged, m_postButton, &QPushButton::setEnabled);
    connect(m_actCancel, &QAction::enabledChanged, m_cancelButton, &QPushButton::setEnabled);

    m_recordType = new widgets::DBRadioGroup(nullptr, QString(), QStringLiteral("データ種別"),
                                             {{QStringLiteral("新規"), QStringLiteral("0")}, {QStringLiteral("編集"), QStringLiteral("1")}},
                                             central, QStringLiteral("rgRECORD_TYPE"));
    m_recordType->hide();
    connect(m_cycle, &EditingCycle::saveEnabledChanged, m_actPost, &QAction::setEnabled);
    connect(m_cycle, &EditingCycle::cancelEnabledChanged, m_actCancel, &QAction::setEnabled);
    connect(m_cycle, &EditingCycle::modeChanged, m_recordType, &widgets::DBRadioGroup::setItemIndex);
}

void MainWindow::buildPages(QWidget* central)
{
    const form::SourceOf sourceOf = [this](const QString& name) { return m_dm->dataSource(name); };
    m_pages = new QTabWidget(central);
    m_pages->setObjectName(controls::kPages);
    m_listPage = buildListPage(*m_dm, m_pages);
    m_entryPages = {buildNamesPage(sourceOf, m_pages), buildSummaryPage(sourceOf, m_pages), buildComparisonPage(sourceOf, m_pages),
                    buildRecordsPage(sourceOf, m_pages)};
    m_previewPage = buildPreviewPage(m_pages);
    m_pages->addTab(m_listPage, QStringLiteral("新技術一覧"));
    const QStringList captions = {QStringLiteral("　　名称・分類等　　"), QStringLiteral("　　　概　要　　　"),
                                  QStringLiteral("　　従来技術との比較　　"), QStringLiteral("　　施工実績等　　")};
    for (int i = 0; i < m_entryPages.size(); ++i)
        m_pages->addTab(m_entryPages.at(i), captions.at(i));
    m_pages->addTab(m_previewPage, QStringLiteral("　　 印刷プレビュー 　　"));
    // A photo's file name is chosen through its "選択" button, never typed.
    for (const QString& letter : parts::kPhotoSlotLetters)
        control<QLineEdit>(QStringLiteral("ImagePath_") + letter)->setReadOnly(true);
}

// The list page's commands, and the keys that give the commands of the window.
void MainWindow::connectListCommands()
{
    connect(control<QPushButton>(controls::kNewButton), &QPushButton::clicked, m_cycle, &EditingCycle::newRegistration);
    connect(control<QPushButton>(controls::kOpenButton), &QPushButton::clicked, m_cycle, &EditingCycle::openRegistration);
    connect(control<QPushButton>(controls::kDuplicateButton), &QPushButton::clicked, this, &MainWindow::duplicateRegistration);
    connect(control<QPushButton>(controls::kDeleteButton), &QPushButton::clicked, m_cycle, &EditingCycle::deleteRegistration);
    connect(control<QPushButton>(controls::kEndButton), &QPushButton::clicked, this, &QWidget::close);
    connect(control<QPushButton>(controls::kExportButton), &QPushButton::clicked, this, &MainWindow::exportSubmissionFile);
    connect(control<QPushButton>(controls::kImportButton), &QPushButton::clicked, this, &MainWindow::importSubmissionFile);
    auto* list = control<RegistrationListView>(controls::kTechnologyList);
    connect(list, &QAbstractItemView::doubleClicked, control<QPushButton>(controls::kOpenButton), &QPushButton::click);
    connect(list, &RegistrationListView::openRequested, control<QPushButton>(controls::kOpenButton), &QPushButton::click);
    connect(list, &RegistrationListView::deleteRequested, control<QPushButton>(controls::kDeleteButton), &QPushButton::click);

    // Each key does what a click on its button does, while that button can be clicked.
    const auto clickOnKey = [this](const QKeySequence& key, QWidget* scope, QPushButton* button) {
        auto* shortcut = new QShortcut(key, scope, nullptr, nullptr, scope == this ? Qt::WindowShortcut : Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isVisible() && button->isEnabled())
                button->click();
        });
    };
    clickOnKey(QKeySequence::New, m_listPage, control<QPushButton>(controls::kNewButton));
    clickOnKey(QKeySequence(Qt::CTRL | Qt::Key_D), m_listPage, control<QPushButton>(controls::kDuplicateButton));
    clickOnKey(QKeySequence(Qt::CTRL | Qt::Key_E), m_listPage, control<QPushButton>(controls::kExportButton));
    clickOnKey(QKeySequence(Qt::CTRL | Qt::Key_I), m_listPage, control<QPushButton>(controls::kImportButton));
    clickOnKey(QKeySequence(Qt::CTRL | Qt::Key_S), this, m_postButton);
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &MainWindow::showHelp);
    // The print preview is one of the entry pages' tabs: the key chooses it as a click would.
    auto* preview = new QShortcut(QKeySequence::Print, this);
    connect(preview, &QShortcut::activated, this, [this] {
        if (!showsListPage() && m_pages->currentWidget() != m_previewPage)
            m_pages->setCurrentWidget(m_previewPage);
    });
    m_pages->setTabToolTip(m_pages->indexOf(m_previewPage), QStringLiteral("印刷プレビューを表示します。 (Ctrl+P)"));
    m_postButton->setToolTip(QStringLiteral("入力したデータを保存します。 (Ctrl+S)"));
    m_helpButton->setToolTip(QStringLiteral("ヘルプを表示します。 (F1)"));
}

void MainWindow::duplicateRegistration()
{
    store::Table* main = table(QStringLiteral("NT_TBL_MAIN"));
    if (main->recordCount() == 0) {
        UserInteraction::current().warn(QStringLiteral("注意"), QStringLiteral("複製するデータがありません。"));
        return;
    }
    const QString original = main->field(QStringLiteral("REG_NO")).asString().trimmed();
    QString number;
    QString error;
    if (!submission::duplicateRegistration(*m_dm, original, submission::CopyEnding::LeftNew, &number, &error)) {
        UserInteraction::current().error(kProgramTitle, error);
        return;
    }
    m_cycle->openCopy();
    showNote(QStringLiteral("%1 を %2 として複製しました。").arg(original, number.trimmed()));
}

void MainWindow::connectDrafts()
{
    // Rows posted or deleted while a registration is edited are mostly a dialog's confirmed record.
    for (store::Table* table : m_dm->registrationTables()) {
        connect(table, &store::Table::afterPost, m_drafts, &DraftKeeper::writeSoon);
        connect(table, &store::Table::afterDelete, m_drafts, &DraftKeeper::writeSoon);
    }
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(application, &QGuiApplication::commitDataRequest, m_drafts, [this](QSessionManager&) {
            m_drafts->writeNow();
            m_drafts->waitForWrites();
        });
    }
}

void MainWindow::buildBehaviours()
{
    EditingHooks hooks;
    hooks.markModified = [this] { m_cycle->markModified(); };
    hooks.isNewMode = [this] { return m_cycle->mode() == EditingCycle::New; };
    hooks.isSaveEnabled = [this] { return m_cycle->isModified(); };
    hooks.setSaveEnabled = [this](bool on) { m_cycle->restoreModified(on); };
    hooks.putDetailInEdit = [this] {
        store::Table* detail = table(QStringLiteral("NT_TBL_DETAIL"));
        if (detail->isActive() && !detail->isEditing())
            detail->edit();
    };
    hooks.table = [this](const QString& name) { return m_dm->table(name); };
    hooks.judgeOtherRadioCondition = [this] {
        if (m_comparison)
            m_comparison->JudgeOtherRadioCondition();
    };
    m_behaviours = new InputBehaviours(hooks, this);
    for (ScrollingPage* page : std::as_const(m_entryPages))
        m_behaviours->attach(page);
}

void MainWindow::buildConditionPanels()
{
    ConditionPanels::Hooks hooks;
    hooks.isModified = [this] { return m_cycle->isModified(); };
    hooks.setModified = [this](bool on) { on ? m_cycle->markModified() : m_cycle->markSaved(); };
    m_conditions = new ConditionPanels(this, *m_dm, hooks, this);
    connect(m_dm.get(), &store::DataModule::constConditionPosted, m_conditions, &ConditionPanels::CdsCnstDataChk);
    // A page change made by the program does not rebuild the items, but panels left from another
    // registration would hand that registration's choices to this one.
    connect(m_pages, &QTabWidget::currentChanged, m_conditions, [this](int index) {
        if (m_pages->widget(index)->objectName() == controls::kSummaryPage && m_conditions->builtForAnotherRegistration())
            refreshConditions();
    });
}

void MainWindow::refreshConditions()
{
    m_conditions->LoadConstConditions(m_conditions->currentLevel3Code());
}

// ---------------------------------------------------------------- start

void MainWindow::clearWorkingFolderAndReadHelp()
{
    m_dm->resetNumberCounter();
    // Files left in the working folder by an earlier run are of no use; a second run on the same
    // folder (refused at the start) leaves the first run's files alone.
    const QString temp = m_dm->folder().path(QStringLiteral("Temp"));
    const QFileInfoList leftOver = m_dm->holdsFolder() ? QDir(temp).entryInfoList(QDir::Files | QDir::Hidden | QDir::System) : QFileInfoList();
    for (const QFileInfo& entry : leftOver) {
        QFile::setPermissions(entry.filePath(), entry.permissions() | QFileDevice::WriteOwner);
        QFile::remove(entry.filePath());
    }
    QStringList lines;
    const bool read = helptext::readHelpLines(m_programFolder, &lines);
    control<QPlainTextEdit>(controls::kHelpText)->setPlainText(lines.join(QLatin1Char('\n')));
    if (!read) {
        UserInteraction::current().warn(helptext::kMissingCaption, helptext::kMissingMessage);
        m_helpButton->setEnabled(false);
    }
}

bool MainWindow::start()
{
    if (!m_dm->start())
        return false;
    const bool helpEnabled = m_helpButton->isEnabled();
    m_help = new HelpWindow(m_programFolder, this);
    m_help->setWindowFlag(Qt::Window);
    if (!m_help->helpFileRead() || !helpEnabled)
        m_helpButton->setEnabled(false);
    showListAtStart();
    m_drafts->offerLeftDrafts();
    return true;
}

void MainWindow::showListAtStart()
{
    showPage(m_listPage);
    onPageShown(m_pages->indexOf(m_listPage));
    for (const parts::DescriptionTableNames& names : parts::kDescriptionTables)
        parts::InitStringGrid(control<QTableWidget>(names.grid));
    m_cycle->markSaved();
}

// ---------------------------------------------------------------- submission file

void MainWindow::exportSubmissionFile()
{
    submission::SubmissionExport exporter(*m_dm, UserInteraction::current());
    exporter.setChangesReview([this](const QString& regNo) {
        SubmissionChangesDialog review(
            SubmissionChangesDialog::Purpose::BeforeExport,
            [this, regNo](const QString& file) {
                return file.isEmpty() ? submission::changesSinceLastSubmission(*m_dm, regNo) : submission::changesSinceFile(*m_dm, regNo, file);
            },
            {}, this);
        review.compare();
        return review.exec() == QDialog::Accepted;
    });
    if (exporter.exportSubmissionFile() == submission::SubmissionExport::Outcome::Written)
        control<RegistrationListView>(controls::kTechnologyList)->lines()->refresh(true); // its last submission
}

void MainWindow::importSubmissionFile()
{
    if (m_import->importSubmissionFile() == submission::SubmissionImport::Outcome::Imported)
        showNote(QStringLiteral("%1 として取り込みました。").arg(m_import->importedNumber()));
}

void MainWindow::showNote(const QString& note)
{
    constexpr int kShownMilliseconds = 8000;
    statusBar()->showMessage(note, kShownMilliseconds);
}

// ---------------------------------------------------------------- pages

void MainWindow::layOutTop()
{
    const bool list = m_pages->currentWidget() == m_listPage;
    m_pages->tabBar()->setVisible(!list);
    // The entry pages are left only through "メニュー", with its question and checks: the list's
    // tab cannot be chosen while a registration is shown.
    m_pages->setTabEnabled(m_pages->indexOf(m_listPage), list);
    const int pagesHeight = kClientHeight - statusBar()->sizeHint().height();
    m_pages->setGeometry(0, list ? 0 : kTopRow, kClientWidth, pagesHeight - (list ? 0 : kTopRow));
    for (QWidget* w : {static_cast<QWidget*>(m_menuButton), m_methodLabel, static_cast<QWidget*>(m_postButton),
                       static_cast<QWidget*>(m_cancelButton), static_cast<QWidget*>(m_helpButton), static_cast<QWidget*>(m_checkButton), static_cast<QWidget*>(m_changesButton)})
        w->setVisible(!list);
    if (list && m_checkList)
        m_checkList->close();
    if (list && m_changes)
        m_changes->close();
}

void MainWindow::showFirstEntryPage()
{
    showPage(m_entryPages.first());
}

void MainWindow::showEntryPageAt(int index)
{
    QWidget* page = m_pages->widget(index);
    if (page && page != m_listPage)
        showPage(page);
}

void MainWindow::showPage(QWidget* page)
{
    if (page == m_listPage)
        m_pages->setTabEnabled(m_pages->indexOf(m_listPage), true);
    m_programPageChange = true;
    m_pages->setCurrentWidget(page);
    m_programPageChange = false;
}

void MainWindow::onPageShown(int index)
{
    layOutTop();
    auto* page = qobject_cast<ScrollingPage*>(m_pages->widget(index));
    if (!page)
        return;
    page->resetScroll();
    if (page->objectName() == controls::kNamesPage)
        control<QTabWidget>(controls::kContactTabs)->setCurrentIndex(0);
    else if (page->objectName() == controls::kComparisonPage)
        control<QTabWidget>(QStringLiteral("PageEVALUATE"))->setCurrentWidget(control(QStringLiteral("PageEVALUATE2")));
    else if (page->objectName() == controls::kRecordsPage)
        control<QTabWidget>(controls::kRecordTabs)->setCurrentIndex(0);
}

void MainWindow::beforePageChange()
{
    m_dm->setSilentDescription(false);
    store::Table* description = table(QStringLiteral("NT_TBL_DESCRIPTION"));
    if (!description->isActive() || description->isEditing())
        return;
    // Putting the row in edit state loads nothing new: with no unsaved changes it is posted at once.
    if (!m_cycle->isModified())
        m_dm->setSilentDescription(true);
    description->edit();
}

void MainWindow::afterPageChange(int index)
{
    if (m_pages->widget(index)->objectName() == controls::kSummaryPage)
        refreshConditions();
    // Resetting the preview selector is no choice of a template by the user.
    const QSignalBlocker quietSelector(control<QTabBar>(controls::kTemplateSelector));
    control<QTabBar>(controls::kTemplateSelector)->setCurrentIndex(0);
}

// ---------------------------------------------------------------- save check

void MainWindow::showControl(const QString& name)
{
    QWidget* target = control(name);
    if (!target)
        return;
    for (ScrollingPage* page : std::as_const(m_entryPages)) {
        if (page->isAncestorOf(target) && m_pages->currentWidget() != page)
            showPage(page);
    }
    savecheck::bringIntoView(target);
    target->setFocus();
}

QList<inputcheck::Problem> MainWindow::inputProblems() const
{
    return inputcheck::allProblems(savecheck::readScreenValues(this, *m_dm, *m_grids), savecheck::readSubmissionValues(this, *m_dm));
}

void MainWindow::showInputCheck()
{
    if (!m_checkList)
        m_checkList = new InputCheckDialog([this] { return inputProblems(); },
                                           [this](const QString& name) {
                                               showControl(name);
                                               return control(name);
                                           },
                                           this);
    m_checkList->recheck();
    m_checkList->show();
    m_checkList->raise();
}

QString MainWindow::currentRegistrationNumber() const
{
    store::Table* main = table(QStringLiteral("NT_TBL_MAIN"));
    return main->isActive() && !main->isEmpty() ? main->field(QStringLiteral("REG_NO")).asString().trimmed() : QString();
}

void MainWindow::showSubmissionChanges()
{
    if (!m_changes) {
        m_changes = new SubmissionChangesDialog(
            SubmissionChangesDialog::Purpose::Browse,
            [this](const QString& file) {
                const QString regNo = currentRegistrationNumber();
                return file.isEmpty() ? submission::changesSinceLastSubmission(*m_dm, regNo) : submission::changesSinceFile(*m_dm, regNo, file);
            },
            [this](const QString& name) { showControl(name); }, this);
    }
    m_changes->compare();
    m_changes->show();
    m_changes->raise();
}

void MainWindow::showHelp()
{
    if (m_help)
        m_help->showCentred();
}

// ---------------------------------------------------------------- closing

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Whatever the answers to the questions that follow, nothing typed is lost if the end comes
    // before them.
    m_drafts->writeNow();
    const bool mayClose = m_cycle->mayClose();
    m_drafts->waitForWrites();
    if (!mayClose) {
        event->ignore();
        return;
    }
    if (m_help)
        m_help->close();
    event->accept();
}

} // namespace app
