#include "app/MainWindow.h"

#include "app/ClassificationLists.h"
#include "app/ConditionPanels.h"
#include "app/DescriptionGrids.h"
#include "app/EntryParts.h"
#include "app/InputCheckDialog.h"
#include "app/MainWindowPages.h"
#include "app/PatentBlocks.h"
#include "app/PhotoSlots.h"
#include "app/PreviewPage.h"
#include "app/SaveCheckScreen.h"
#include "app/ScrollingPage.h"
#include "comparison/ComparisonPageWidget.h"
#include "dialogs/SubRecordDialogs.h"
#include "store/RegistrationNumbers.h"
#include "submission/SubmissionExport.h"
#include "submission/SubmissionImport.h"
#include "util/HelpText.h"
#include "util/HelpWindow.h"
#include "util/PostCode.h"
#include "util/UserInteraction.h"
#include "widgets/DBGrid.h"
#include "widgets/DBRadioGroup.h"
#include "widgets/FieldLink.h"

#include <QAction>
#include <QApplication>
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
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QScreen>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QWheelEvent>

namespace app {

namespace {

const QString kCaption = QStringLiteral("VORDELL(港湾版) Ver7.800");
const QString kConfirm = QStringLiteral("確認");
const QString kSaveQuestion = QStringLiteral("編集データを保存しますか？");
const QString kDiscardQuestion = QStringLiteral("データの変更を取り消して、メニューに戻ります。");
const QString kNothingToDelete = QStringLiteral("削除するデータがありません。");
const QString kComparisonMissing = QStringLiteral("「活用の効果の根拠」を入力していません。\r\n新技術の入力を終了しますか？");
constexpr int kClientWidth = 939;
constexpr int kClientHeight = 694;
constexpr int kTopRow = 30; // the buttons above the pages

const QStringList kKeywordAndAimFlags = {
    "KEYWD_SAFETY_YN", "KEYWD_ENV_YN", "KEYWD_INFO_YN", "KEYWD_COST_YN", "KEYWD_QUALITY_YN", "KEYWD_LANDSCAPE_YN",
    "KEYWD_TRADITION_YN", "KEYWD_RECYCLE_YN", "TERGET_MAN_COUNT_YN", "TERGET_MAN_POWER_YN", "TERGET_EFFICIENCY_YN",
    "TERGET_ACCURACY_YN", "TERGET_ENDURANCE_YN", "TERGET_SAFTY_YN", "TERGET_WORK_ENV_YN", "TERGET_AREA_ENV_YN",
    "TERGET_EARTH_ENV_YN", "TERGET_RESOURCE_YN", "TERGET_RESULT_YN", "TERGET_RECYCLE_YN", "TERGET_OTHER_YN"};

// The sample texts of a new registration: headings joined by an empty line.
QString headings(const QStringList& lines)
{
    return lines.join(QStringLiteral("\r\n\r\n"));
}

const QList<std::pair<QString, QString>>& newDescriptionTexts()
{
    static const QList<std::pair<QString, QString>> texts = {
        {"SUMMARY_DESC", headings({"①何について何をする技術なのか？", "②従来はどのような技術で対応していたのか？", "③公共工事のどこに適用できるのか？"})},
        {"FEATURE_DESC", headings({"①どこに新規性があるのか？(従来技術と比較して何を改善したのか？)", "②期待される効果は？(新技術活用のメリットは？)"})},
        {"CONDITION_DESC", headings({"①自然条件", "②現場条件", "③技術提供可能地域", "④関係法令等"})},
        {"OLD_CONST_CONDITION",
         headings({"①適用可能な範囲", "②特に効果の高い適用範囲", "③適用できない範囲", "④適用にあたり、関係する基準およびその引用元"})},
        {"CNST_ATTN_DESC", headings({"①設計時", "②施工時", "③維持管理等", "④その他"})},
        {"SUBJECT_DESC", headings({"①今後の課題", "②対応計画"})},
        {"CNST_COST_TABLE", QStringList{"4\t4\t1\t1", "工種\t(事例)\t\t", "材料費\t○○\t～\t○○", "施工費\t○○\t～\t○○", "合計\t○○\t～\t○○", "参考例"}
                                .join(QStringLiteral("\r\n"))},
    };
    return texts;
}

// The photo files of the registration `number` in `folder`: number + slot letter + extension, and
// the same names set aside with a leading "_". Another registration's photos never match, even
// when its number contains this one.
QStringList photoFilesOf(const QString& folder, const QString& number)
{
    QStringList letters;
    for (const QString& letter : parts::kPhotoSlotLetters)
        letters << QRegularExpression::escape(letter);
    const QRegularExpression name(QStringLiteral("^_?") + QRegularExpression::escape(number) + QStringLiteral("(") + letters.join('|')
                                      + QStringLiteral(")\\.[^.]+$"),
                                  QRegularExpression::CaseInsensitiveOption);
    QStringList paths;
    for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden)) {
        if (name.match(file.fileName()).hasMatch())
            paths << file.filePath();
    }
    return paths;
}

} // namespace

TFrmMain::TFrmMain(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent)
    , m_programFolder(programFolder)
    , m_dm(std::make_unique<store::TDM1>(programFolder, &UserInteraction::current()))
    , m_import(std::make_unique<submission::SubmissionImport>(*m_dm, UserInteraction::current()))
{
    setObjectName(QStringLiteral("FrmMain"));
    buildWindow();
    FormCreate();
}

TFrmMain::~TFrmMain()
{
    // The controls go before the tables they show.
    delete m_help;
    delete m_comparison;
    delete takeCentralWidget();
    if (!m_tablesClosed)
        m_dm->CloseAllTables();
}

// ---------------------------------------------------------------- building

void TFrmMain::buildWindow()
{
    setWindowTitle(kCaption);
    // The size is fixed: a title, a system menu, minimise and close, no maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("MainClient"));
    setCentralWidget(central);

    m_actPost = new QAction(QStringLiteral("保   存"), this);
    m_actPost->setObjectName(QStringLiteral("ActPost"));
    m_actCancel = new QAction(QStringLiteral("取消"), this);
    m_actCancel->setObjectName(QStringLiteral("ActCancel"));
    connect(m_actPost, &QAction::triggered, this, &TFrmMain::ActPostExecute);
    connect(m_actCancel, &QAction::triggered, this, &TFrmMain::ActCancelExecute);

    m_menuButton = form::button(QStringLiteral("BitBtn2"), QStringLiteral("メニュー"), central);
    m_helpButton = form::button(QStringLiteral("BtnHelp"), QStringLiteral("ヘルプ"), central);
    m_postButton = form::button(QStringLiteral("BitBtnPost"), m_actPost->text(), central);
    m_cancelButton = form::button(QStringLiteral("BitBtnCancel"), m_actCancel->text(), central);
    m_checkButton = form::button(QStringLiteral("BtnInputCheck"), QStringLiteral("入力チェック"), central);
    m_methodLabel = form::label(QStringLiteral("データ処理方法："), central, QStringLiteral("StaticText1"));
    m_menuButton->setGeometry(8, 2, 110, kTopRow - 4);
    m_helpButton->setGeometry(124, 2, 110, kTopRow - 4);
    m_checkButton->setGeometry(240, 2, 110, kTopRow - 4);
    m_postButton->setGeometry(kClientWidth - 128, 2, 120, kTopRow - 4);
    // Placed outside the client area, as the window has always had them: not seen.
    m_methodLabel->setGeometry(1000, 4, 120, 22);
    m_cancelButton->setGeometry(1000, 2, 80, kTopRow - 4);
    connect(m_menuButton, &QPushButton::clicked, this, &TFrmMain::BitBtn2Click);
    connect(m_helpButton, &QPushButton::clicked, this, &TFrmMain::BtnHelpClick);
    connect(m_checkButton, &QPushButton::clicked, this, &TFrmMain::ActInputCheckExecute);
    connect(m_postButton, &QPushButton::clicked, m_actPost, &QAction::trigger);
    connect(m_cancelButton, &QPushButton::clicked, m_actCancel, &QAction::trigger);
    connect(m_actPost, &QAction::enabledChanged, m_postButton, &QPushButton::setEnabled);
    connect(m_actCancel, &QAction::enabledChanged, m_cancelButton, &QPushButton::setEnabled);

    m_recordType = new widgets::DBRadioGroup(nullptr, QString(), QStringLiteral("データ種別"),
                                             {{QStringLiteral("新規"), QStringLiteral("0")}, {QStringLiteral("編集"), QStringLiteral("1")}},
                                             central, QStringLiteral("rgRECORD_TYPE"));
    m_recordType->hide();

    const form::SourceOf sourceOf = [this](const QString& name) { return m_dm->dataSource(name); };
    m_pages = new QTabWidget(central);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_listPage = buildListPage(sourceOf, m_pages);
    m_entryPages = {buildNamesPage(sourceOf, m_pages), buildSummaryPage(sourceOf, m_pages), buildComparisonPage(sourceOf, m_pages),
                    buildRecordsPage(sourceOf, m_pages)};
    m_previewPage = buildPreviewPage(m_pages);
    m_pages->addTab(m_listPage, QStringLiteral("新技術一覧"));
    const QStringList captions = {QStringLiteral("　　名称・分類等　　"), QStringLiteral("　　　概　要　　　"),
                                  QStringLiteral("　　従来技術との比較　　"), QStringLiteral("　　施工実績等　　")};
    for (int i = 0; i < m_entryPages.size(); ++i)
        m_pages->addTab(m_entryPages.at(i), captions.at(i));
    m_pages->addTab(m_previewPage, QStringLiteral("　　 印刷プレビュー 　　"));

    // The list commands.
    connect(control<QPushButton>(QStringLiteral("Button5")), &QPushButton::clicked, this, &TFrmMain::ActNewExecute);
    connect(control<QPushButton>(QStringLiteral("Button4")), &QPushButton::clicked, this, &TFrmMain::ActEditExecute);
    connect(control<QPushButton>(QStringLiteral("Button1")), &QPushButton::clicked, this, &TFrmMain::ActDellExecute);
    connect(control<QPushButton>(QStringLiteral("BitBtn1")), &QPushButton::clicked, this, &QWidget::close);
    connect(control<QPushButton>(QStringLiteral("Button2")), &QPushButton::clicked, this, &TFrmMain::ActExportExecute);
    connect(control<QPushButton>(QStringLiteral("Button3")), &QPushButton::clicked, this, &TFrmMain::ActImportExecute);
    connect(control<widgets::DBGrid>(QStringLiteral("DBGrid1")), &QAbstractItemView::doubleClicked, this, &TFrmMain::ActEditExecute);
    for (const QString& letter : parts::kPhotoSlotLetters)
        control<QLineEdit>(QStringLiteral("ImagePath_") + letter)->setReadOnly(true);

    connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) {
        onPageShown(index);
        if (m_programPageChange)
            return;
        PageControl1Changing();
        PageControl1Change(index);
        if (m_pages->widget(index) == m_previewPage)
            PrintPreview(*this);
    });
    connectPreviewPage(*this);
    connect(m_dm.get(), &store::TDM1::MarkModified, this, &TFrmMain::MarkModified);
    connect(m_dm.get(), &store::TDM1::MarkSaved, this, &TFrmMain::MarkSaved);

    // The technology's name repeats at the top of the summary, comparison and results pages.
    auto* title = control<QLineEdit>(QStringLiteral("TECH_TITLE"));
    connect(title, &QLineEdit::textChanged, this, [this, title](const QString& text) {
        m_behaviours->BtnPostChangeSP(title);
        for (const char* label : {"TECH_TITLE2", "TECH_TITLE3", "TECH_TITLE4"})
            control<QLabel>(QLatin1String(label))->setText(text);
    });

    // A list turned by the wheel while the user scrolls the page would change a stored choice.
    for (ScrollingPage* page : std::as_const(m_entryPages)) {
        for (QComboBox* list : page->findChildren<QComboBox*>())
            list->installEventFilter(this);
        for (QSpinBox* arrows : page->findChildren<QSpinBox*>())
            arrows->installEventFilter(this);
    }
    buildBehaviours();
    m_classification = new ClassificationLists(this, [this](const QString& name) { return m_dm->table(name); }, this);
    m_photos = new PhotoSlots(this, *m_dm, this);
    m_patents = new PatentBlocks(
        this, *m_dm, [this](QWidget* box) { m_behaviours->BtnPostChange(box); }, [this] { MarkModified(); }, [this] { return mode(); }, this);
    m_grids = new DescriptionGrids(this, {[this] { MarkModified(); }, [this] { return table(QStringLiteral("NT_TBL_DESCRIPTION")); }}, this);
    buildConditionPanels();
    m_comparison = new comparison::ComparisonPageWidget(this, *m_dm);
    connect(m_comparison, &comparison::ComparisonPageWidget::registrationChanged, this, &TFrmMain::MarkModified);
    // The record, contact and evaluation dialogs, made once for the run; they enable their buttons.
    new dialogs::SubRecordDialogs(*m_dm, this);
    layOutTop();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFrmMain::buildBehaviours()
{
    EditingHooks hooks;
    hooks.markModified = [this] { MarkModified(); };
    hooks.isNewMode = [this] { return mode() == 0; };
    hooks.isSaveEnabled = [this] { return m_actPost->isEnabled(); };
    hooks.setSaveEnabled = [this](bool on) { m_actPost->setEnabled(on); };
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

void TFrmMain::buildConditionPanels()
{
    ConditionPanels::Hooks hooks;
    hooks.isModified = [this] { return isModified(); };
    hooks.setModified = [this](bool on) { on ? MarkModified() : MarkSaved(); };
    m_conditions = new ConditionPanels(this, *m_dm, hooks, this);
    connect(m_dm.get(), &store::TDM1::constConditionPosted, m_conditions, &ConditionPanels::CdsCnstDataChk);
    // A page change made by the program does not rebuild the items, but panels left from another
    // registration would hand that registration's choices to this one.
    connect(m_pages, &QTabWidget::currentChanged, m_conditions, [this](int index) {
        if (m_pages->widget(index)->objectName() == QLatin1String("PageControl2") && m_conditions->builtForAnotherRegistration())
            RefreshConditions();
    });
}

void TFrmMain::RefreshConditions()
{
    m_conditions->LoadConstConditions(m_conditions->currentLevel3Code());
}

// ---------------------------------------------------------------- start

void TFrmMain::FormCreate()
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
    control<QPlainTextEdit>(QStringLiteral("Memo1"))->setPlainText(lines.join(QLatin1Char('\n')));
    if (!read) {
        UserInteraction::current().warn(helptext::kMissingCaption, helptext::kMissingMessage);
        m_helpButton->setEnabled(false);
    }
}

bool TFrmMain::start()
{
    if (!m_dm->DataModuleCreate())
        return false;
    const bool helpEnabled = m_helpButton->isEnabled();
    m_help = new HelpWindow(m_programFolder, this);
    m_help->setWindowFlag(Qt::Window);
    if (!m_help->helpFileRead() || !helpEnabled)
        m_helpButton->setEnabled(false);
    FormShow();
    return true;
}

void TFrmMain::FormShow()
{
    showPage(m_listPage);
    onPageShown(m_pages->indexOf(m_listPage));
    for (const parts::DescriptionTableNames& names : parts::kDescriptionTables)
        parts::InitStringGrid(control<QTableWidget>(names.grid));
    m_actPost->setEnabled(false);
    m_actCancel->setEnabled(false);
}

// ---------------------------------------------------------------- submission file

void TFrmMain::ActExportExecute()
{
    submission::SubmissionExport(*m_dm, UserInteraction::current()).ActExportExecute();
}

void TFrmMain::ActImportExecute()
{
    m_import->ActImportExecute();
}

// ---------------------------------------------------------------- state

int TFrmMain::mode() const
{
    return m_recordType->itemIndex();
}

void TFrmMain::setMode(int mode)
{
    m_recordType->setItemIndex(mode);
}

bool TFrmMain::isModified() const
{
    return m_actPost->isEnabled();
}

void TFrmMain::MarkModified()
{
    m_actPost->setEnabled(true);
    m_actCancel->setEnabled(true);
}

void TFrmMain::MarkSaved()
{
    m_actPost->setEnabled(false);
    m_actCancel->setEnabled(false);
}

void TFrmMain::setText(const QString& name, const QString& text)
{
    if (auto* edit = control<QLineEdit>(name))
        edit->setText(text);
    else if (auto* label = control<QLabel>(name))
        label->setText(text);
    else if (auto* list = control<QComboBox>(name)) {
        list->clear();
        list->setCurrentIndex(-1);
    }
}

void TFrmMain::setTableField(store::Table* t, const QString& field, const QVariant& value)
{
    if (!t->isEditing())
        t->edit();
    t->field(field).setValue(value);
}

// ---------------------------------------------------------------- pages

void TFrmMain::layOutTop()
{
    const bool list = m_pages->currentWidget() == m_listPage;
    m_pages->tabBar()->setVisible(!list);
    // The entry pages are left only through "メニュー", with its question and checks: the list's
    // tab cannot be chosen while a registration is shown.
    m_pages->setTabEnabled(m_pages->indexOf(m_listPage), list);
    m_pages->setGeometry(0, list ? 0 : kTopRow, kClientWidth, kClientHeight - (list ? 0 : kTopRow));
    for (QWidget* w : {static_cast<QWidget*>(m_menuButton), m_methodLabel, static_cast<QWidget*>(m_postButton),
                       static_cast<QWidget*>(m_cancelButton), static_cast<QWidget*>(m_helpButton), static_cast<QWidget*>(m_checkButton)})
        w->setVisible(!list);
    if (list && m_checkList)
        m_checkList->close();
}

void TFrmMain::showPage(QWidget* page)
{
    if (page == m_listPage)
        m_pages->setTabEnabled(m_pages->indexOf(m_listPage), true);
    m_programPageChange = true;
    m_pages->setCurrentWidget(page);
    m_programPageChange = false;
}

void TFrmMain::onPageShown(int index)
{
    layOutTop();
    auto* page = qobject_cast<ScrollingPage*>(m_pages->widget(index));
    if (!page)
        return;
    page->resetScroll();
    if (page->objectName() == QLatin1String("TbsPattern1"))
        control<QTabWidget>(QStringLiteral("PageControl3"))->setCurrentIndex(0);
    else if (page->objectName() == QLatin1String("TabSheet3"))
        control<QTabWidget>(QStringLiteral("PageEVALUATE"))->setCurrentWidget(control(QStringLiteral("PageEVALUATE2")));
    else if (page->objectName() == QLatin1String("TabSheet4"))
        control<QTabWidget>(QStringLiteral("PageControl4"))->setCurrentIndex(0);
}

void TFrmMain::PageControl1Changing()
{
    m_dm->setSilentDescription(false);
    store::Table* description = table(QStringLiteral("NT_TBL_DESCRIPTION"));
    if (!description->isActive() || description->isEditing())
        return;
    // Putting the row in edit state loads nothing new: with no unsaved changes it is posted at once.
    if (!m_postButton->isEnabled())
        m_dm->setSilentDescription(true);
    description->edit();
}

void TFrmMain::PageControl1Change(int index)
{
    if (m_pages->widget(index)->objectName() == QLatin1String("PageControl2"))
        RefreshConditions();
    // Resetting the preview selector is no choice of a template by the user.
    const QSignalBlocker quietSelector(control<QTabBar>(QStringLiteral("TabControl1")));
    control<QTabBar>(QStringLiteral("TabControl1"))->setCurrentIndex(0);
    m_lastPage = index;
}

bool TFrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel && !static_cast<QWidget*>(watched)->hasFocus()) {
        if (auto* page = qobject_cast<ScrollingPage*>(m_pages->currentWidget()))
            page->turnWheel(-static_cast<QWheelEvent*>(event)->angleDelta().y() / 120);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- new, open

void TFrmMain::FormatDBChkBox()
{
    store::Table* detail = table(QStringLiteral("NT_TBL_DETAIL"));
    if (mode() == 0 && detail->state() != store::Table::State::Insert)
        detail->append();
    for (const QString& flag : kKeywordAndAimFlags) {
        if (detail->field(flag).asString().isEmpty())
            setTableField(detail, flag, QStringLiteral("0"));
    }
}

void TFrmMain::SetPhotoSlotControls(const QString& letter)
{
    m_photos->SetPhotoSlotControls(letter);
}

void TFrmMain::clearPostCodes()
{
    for (const QString& name : kPostCodeBoxes)
        setText(name, QString());
}

void TFrmMain::fillPostCodes()
{
    clearPostCodes();
    store::Table* detail = table(QStringLiteral("NT_TBL_DETAIL"));
    for (const auto& [field, box] : {std::pair{"SALES_POST_CODE", "SALES_POST_CODE"}, {"SALES_POST_CODE_BUSINESS", "SALES_POST_CODE_BUSINESS"}}) {
        QString first, second;
        postcode::split(detail->field(QLatin1String(field)).asString(), &first, &second);
        setText(QLatin1String(box) + QLatin1Char('1'), first);
        setText(QLatin1String(box) + QLatin1Char('2'), second);
    }
}

void TFrmMain::ActNewExecute()
{
    store::Table* main = table(QStringLiteral("NT_TBL_MAIN"));
    setMode(0);
    if (main->state() != store::Table::State::Insert)
        main->append();
    QString number, error;
    if (!m_dm->NextLocalNumber(&number, &error)) {
        main->cancel();
        setMode(-1);
        UserInteraction::current().error(kProgramTitle, error);
        return;
    }
    setTableField(main, QStringLiteral("REG_NO"), number);
    setTableField(main, QStringLiteral("OPEN_DIV_CD"), QStringLiteral("0"));
    setTableField(main, QStringLiteral("DATA_TYPE_CODE"), QStringLiteral("1"));

    store::Table* compareMain = table(QStringLiteral("NT_TBL_COMPARE_MAIN"));
    setTableField(compareMain, QStringLiteral("REC_ID"), number.trimmed().mid(4));

    FormatDBChkBox();
    for (QComboBox* level : findChildren<QComboBox*>()) {
        if (kChoiceOnlyLists.contains(level->objectName()) && level->objectName().startsWith(QLatin1String("Level")))
            setText(level->objectName(), QString());
    }

    store::Table* detail = table(QStringLiteral("NT_TBL_DETAIL"));
    for (const QString& count : kResultCountBoxes)
        setTableField(detail, count, 0);
    setTableField(detail, QStringLiteral("CERTIFY_PATENT_STAT"), QStringLiteral("4"));
    setTableField(detail, QStringLiteral("CERTIFY_IDEA_GENERAL"), QStringLiteral("9"));
    setTableField(detail, QStringLiteral("CERTIFY_IDEA_PRIVATE"), QStringLiteral("9"));
    control<QAbstractButton>(QStringLiteral("RbCERTIFY_PATENT_STAT4"))->setChecked(true);
    control<QAbstractButton>(QStringLiteral("RbCERTIFY_IDEA_STAT4"))->setChecked(true);
    control(QStringLiteral("CERTIFY_PATENT_NO"))->setEnabled(false);
    control(QStringLiteral("CERTIFY_IDEA_NO"))->setEnabled(false);
    m_patents->ShowBlocks();

    clearPostCodes();
    setText(QStringLiteral("lblCOST_TYPE"), QString());
    control(QStringLiteral("GroupBox5"))->hide();

    for (const char* field : {"BASE_VALUE", "N_COST", "O_COST", "RATE_COST", "N_PROCESS", "O_PROCESS", "RATE_PROCESS"})
        setTableField(compareMain, QLatin1String(field), 0);

    store::Table* description = table(QStringLiteral("NT_TBL_DESCRIPTION"));
    for (const auto& [field, text] : newDescriptionTexts())
        setTableField(description, field, text);
    m_comparison->registrationCreated();

    m_dm->PostPendingTables();
    if (!compareMain->isEditing())
        compareMain->edit();
    for (const QString& letter : parts::kPhotoSlotLetters)
        SetPhotoSlotControls(letter);
    m_grids->reloadAll();
    showPage(m_entryPages.first());
    control<QTabBar>(QStringLiteral("TabControl1"))->setCurrentIndex(0);
}

void TFrmMain::ActEditExecute()
{
    store::Table* main = table(QStringLiteral("NT_TBL_MAIN"));
    if (main->recordCount() == 0) {
        ActNewExecute();
        return;
    }
    const QString number = main->field(QStringLiteral("REG_NO")).asString().trimmed();
    store::Table* compareMain = table(QStringLiteral("NT_TBL_COMPARE_MAIN"));
    // The comparison identifier is the number's digits, as for a new registration (the number
    // from its fourth character on would give "-000012", a negative identifier).
    if (compareMain->field(QStringLiteral("REC_ID")).asString().isEmpty())
        setTableField(compareMain, QStringLiteral("REC_ID"), number.mid(4));
    if (main->field(QStringLiteral("OPEN_DIV_CD")).asString().isEmpty())
        setTableField(main, QStringLiteral("OPEN_DIV_CD"), QStringLiteral("0"));
    if (main->field(QStringLiteral("DATA_TYPE_CODE")).asString().isEmpty())
        setTableField(main, QStringLiteral("DATA_TYPE_CODE"), QStringLiteral("1"));
    FormatDBChkBox();

    showPage(m_entryPages.first());
    setMode(1);
    m_classification->switchOffFilters();
    m_classification->SetGrpTitle();

    for (const char* period : {"N_PROCESS", "O_PROCESS"}) {
        if (compareMain->field(QLatin1String(period)).asString().isEmpty())
            setTableField(compareMain, QLatin1String(period), 0);
    }
    if (!compareMain->isEditing())
        compareMain->edit();
    m_comparison->registrationOpened();

    for (const QString& letter : parts::kPhotoSlotLetters)
        SetPhotoSlotControls(letter);
    store::Table* detail = table(QStringLiteral("NT_TBL_DETAIL"));
    if (detail->state() == store::Table::State::Browse)
        detail->edit();
    for (const QString& count : kResultCountBoxes)
        m_behaviours->BeginningWork(control(count));

    m_patents->ShowStoredCodes();
    fillPostCodes();
    const QString costType = detail->field(QStringLiteral("COST_TYPE")).asString();
    control(QStringLiteral("GroupBox5"))->setVisible(costType == QLatin1String("7") || costType == QLatin1String("8"));
    m_comparison->showCostType();

    m_dm->PostPendingTables();
    if (!main->isEditing())
        main->edit();
    MarkSaved();
    m_grids->reloadAll();
    m_grids->showLoadProblems();
    m_comparison->JudgeOtherRadioCondition();
    control<QTabBar>(QStringLiteral("TabControl1"))->setCurrentIndex(0);
}

// ---------------------------------------------------------------- save, leave, discard

bool TFrmMain::ChkSaveData()
{
    // A save made while a box still has the focus (the close button, a menu key) applies what
    // leaving it applies: its conversion and limit, with their messages, before anything is kept.
    if (QWidget* focused = QApplication::focusWidget(); focused && isAncestorOf(focused) && m_behaviours->leaveControl(focused))
        return true;
    // No memo goes into a save longer than its limit, whichever way its text came.
    if (QWidget* memo = m_behaviours->memoOverLimit(this)) {
        showControl(memo->objectName());
        m_behaviours->cutMemoToItsLimit(memo);
        return true;
    }
    // The rules judge what the boxes show, so a text a field would refuse (a date that does not
    // exist, say) gets the rule's own message and the focus first; then the boxes' pending texts
    // reach their fields.
    if (CheckRegistration())
        return true;
    return !widgets::FieldLink::flushAll();
}

bool TFrmMain::CheckRegistration()
{
    const QList<inputcheck::Failure> failures = inputcheck::saveCheckFailures(savecheck::readScreenValues(this, *m_dm, *m_grids));
    if (failures.isEmpty())
        return false;
    const inputcheck::Failure& failure = failures.first();
    UserInteraction::current().error(failure.caption, failure.message);
    const QString photoButton = QStringLiteral("BtnPICTURE_");
    if (failure.control.startsWith(photoButton))
        m_photos->EmptySlot(failure.control.mid(photoButton.size()), true);
    showControl(failure.control);
    return true;
}

void TFrmMain::showControl(const QString& name)
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

QList<inputcheck::Problem> TFrmMain::inputProblems() const
{
    return inputcheck::allProblems(savecheck::readScreenValues(this, *m_dm, *m_grids), savecheck::readSubmissionValues(this, *m_dm));
}

void TFrmMain::ActInputCheckExecute()
{
    if (!m_checkList)
        m_checkList = new InputCheckDialog([this] { return inputProblems(); }, [this](const QString& name) { showControl(name); }, this);
    m_checkList->recheck();
    m_checkList->show();
    m_checkList->raise();
}

store::SaveInputs TFrmMain::saveInputs() const
{
    const auto text = [this](const QString& name) {
        if (auto* edit = control<QLineEdit>(name))
            return edit->text();
        return control<QLabel>(name)->text();
    };
    store::SaveInputs inputs;
    inputs.compareCostRate = text(QStringLiteral("Label119"));
    inputs.compareProcessRate = text(QStringLiteral("Label217"));
    inputs.salesPostCode1 = text(QStringLiteral("SALES_POST_CODE1"));
    inputs.salesPostCode2 = text(QStringLiteral("SALES_POST_CODE2"));
    inputs.salesPostCodeBusiness1 = text(QStringLiteral("SALES_POST_CODE_BUSINESS1"));
    inputs.salesPostCodeBusiness2 = text(QStringLiteral("SALES_POST_CODE_BUSINESS2"));
    inputs.compareTechTitle = text(QStringLiteral("COMPARE_TECH_TITLE"));
    inputs.saveConditions = [this] { m_conditions->saveConditions(); };
    inputs.writeDescriptionGrids = [this] { m_grids->SaveAllGridText(); };
    return inputs;
}

void TFrmMain::saveRegistration()
{
    m_dm->PostAllTables(saveInputs());
    m_dm->SubCdsPost(table(QStringLiteral("NT_TBL_MAIN")), 0);
    // What has been saved reaches the data folder at once, so that a crash cannot lose it.
    QString error;
    if (!m_dm->WriteChangedTables(&error))
        UserInteraction::current().error(kProgramTitle, error);
    // The photos set aside since the last save, and those the saved rows no longer name, go.
    m_photos->photosSaved(currentNumber());
}

QString TFrmMain::currentNumber() const
{
    return table(QStringLiteral("NT_TBL_MAIN"))->field(QStringLiteral("REG_NO")).asString().trimmed();
}

void TFrmMain::discardRegistration()
{
    // The photos replaced since the last save come back with the rows that name them; a new
    // registration is removed with its default rows and its photos, never left behind half made.
    // The pending rows are dropped first: a slot's new image row would otherwise be posted when
    // the main row moves.
    const QString number = currentNumber();
    const bool created = mode() == 0;
    m_dm->CancelAllTables();
    if (created)
        removeNewRegistration();
    table(QStringLiteral("NT_TBL_MAIN"))->cancel();
    m_photos->photosAbandoned(number);
    m_grids->reloadAll();
}

void TFrmMain::removeNewRegistration()
{
    m_dm->DeleteRegistrationRows();
    // The rows its dialogs wrote at once leave the data folder at once too: left there until the
    // end of the run, a crash would hand them to the next registration given the same number.
    QString error;
    if (!m_dm->WriteChangedTables(&error))
        UserInteraction::current().error(kProgramTitle, error);
}

void TFrmMain::continueAsSaved()
{
    setMode(1);
    store::Table* main = table(QStringLiteral("NT_TBL_MAIN"));
    if (!main->isEditing())
        main->edit();
    MarkSaved();
}

void TFrmMain::ActPostExecute()
{
    if (UserInteraction::current().message(UserInteraction::Icon::Question, kConfirm, kSaveQuestion,
                                           UserInteraction::Buttons(UserInteraction::Yes) | UserInteraction::No)
        != UserInteraction::Yes)
        return;
    if (ChkSaveData())
        return;
    saveRegistration();
    continueAsSaved();
    m_comparison->JudgeOtherRadioCondition();
}

bool TFrmMain::ChkCmpSheet()
{
    const QString title = control<QLineEdit>(QStringLiteral("COMPARE_TECH_TITLE"))->text();
    store::Table* compareMain = table(QStringLiteral("NT_TBL_COMPARE_MAIN"));
    const bool noBase = compareMain->field(QStringLiteral("BASE_VALUE")).asString().isEmpty()
        && compareMain->field(QStringLiteral("BASE_UNIT")).asString().isEmpty();
    if (!title.isEmpty() && !noBase)
        return true;
    return UserInteraction::current().message(UserInteraction::Icon::Warning, kProgramTitle, kComparisonMissing,
                                              UserInteraction::Buttons(UserInteraction::Yes) | UserInteraction::No)
        != UserInteraction::No;
}

void TFrmMain::BitBtn2Click()
{
    const auto backToList = [this] {
        showPage(m_listPage);
        setMode(-1);
    };
    // A new registration removed before the comparison question is not taken up again when the
    // user stays: they go on with a fresh one, never with the rows of one that no longer exists.
    const auto stay = [this](bool newRemoved) {
        if (newRemoved)
            ActNewExecute();
    };
    if (!isModified()) {
        const bool newRemoved = mode() == 0;
        if (newRemoved)
            discardRegistration();
        if (ChkCmpSheet())
            backToList();
        else
            stay(newRemoved);
        return;
    }
    const UserInteraction::Button answer = UserInteraction::current().message(
        UserInteraction::Icon::Information, kConfirm, kSaveQuestion,
        UserInteraction::Buttons(UserInteraction::Yes) | UserInteraction::No | UserInteraction::Cancel);
    if (answer == UserInteraction::Yes) {
        if (ChkSaveData())
            return;
        saveRegistration();
        continueAsSaved();
        if (ChkCmpSheet())
            backToList();
    } else if (answer == UserInteraction::No) {
        const bool newRemoved = mode() == 0;
        discardRegistration();
        if (ChkCmpSheet()) {
            backToList();
            MarkSaved();
        } else {
            stay(newRemoved);
        }
    }
}

void TFrmMain::ActCancelExecute()
{
    if (UserInteraction::current().message(UserInteraction::Icon::Question, kConfirm, kDiscardQuestion,
                                           UserInteraction::Buttons(UserInteraction::Ok) | UserInteraction::Cancel)
        != UserInteraction::Ok)
        return;
    discardRegistration();
    showPage(m_listPage);
    setMode(-1);
}

void TFrmMain::ActDellExecute()
{
    store::Table* main = table(QStringLiteral("NT_TBL_MAIN"));
    if (main->recordCount() == 0) {
        UserInteraction::current().warn(QStringLiteral("注意"), kNothingToDelete);
        return;
    }
    const QString title = main->field(QStringLiteral("TECH_TITLE")).asString();
    if (!UserInteraction::current().askYesNo(kConfirm, QStringLiteral("\"") + title + QStringLiteral("\"を削除します。")))
        return;
    const QString number = main->field(QStringLiteral("REG_NO")).asString().trimmed();
    for (const QString& path : photoFilesOf(m_dm->folder().path(QStringLiteral("Images")), number))
        QFile::remove(path);
    m_dm->DeleteRegistration();
}

void TFrmMain::BtnHelpClick()
{
    if (m_help)
        m_help->showCentred();
}

// ---------------------------------------------------------------- closing

bool TFrmMain::FormCloseQuery()
{
    // When the tables cannot be written the window stays open, so that nothing is dropped.
    const auto closeTables = [this] {
        QString error;
        if (!m_dm->CloseAllTables(&error)) {
            UserInteraction::current().error(kProgramTitle, error);
            return false;
        }
        m_tablesClosed = true;
        return true;
    };
    // As on the way back to the list: a user who stays after a new registration was removed goes
    // on with a fresh one.
    const auto closeIfComparisonAllows = [&](bool newRemoved) {
        if (ChkCmpSheet())
            return closeTables();
        if (newRemoved)
            ActNewExecute();
        return false;
    };

    if (m_pages->currentWidget() == m_listPage || m_tablesClosed)
        return m_tablesClosed || closeTables();
    const bool newRemoved = mode() == 0;
    if (!isModified()) {
        discardRegistration();
        return closeIfComparisonAllows(newRemoved);
    }
    const UserInteraction::Button answer = UserInteraction::current().message(
        UserInteraction::Icon::Information, kConfirm, kSaveQuestion,
        UserInteraction::Buttons(UserInteraction::Yes) | UserInteraction::No | UserInteraction::Cancel);
    if (answer == UserInteraction::Yes) {
        if (ChkSaveData())
            return false;
        saveRegistration();
        continueAsSaved();
        return closeIfComparisonAllows(false);
    }
    if (answer == UserInteraction::No) {
        discardRegistration();
        return closeIfComparisonAllows(newRemoved);
    }
    return false;
}

void TFrmMain::closeEvent(QCloseEvent* event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    if (m_help)
        m_help->close();
    event->accept();
}

} // namespace app
