// The editing cycle walked by a seeded random user: the real main window, offscreen, driven through
// the user's actions, every box answered at random from the buttons it offers. Beside it a plain
// model records what the user has confirmed. After every step the data folder and the tables are
// checked against the model; a violation prints the seed and the shortest failing sequence found.
//
// SEQUENCE_STEPS (default 60) and SEQUENCE_SEED (default 1) choose the run, SEQUENCE_REPLAY replays
// a printed sequence; scripts/sequence-test runs it for any number of steps.

#include "app/ClassificationLists.h"
#include "app/ConditionPanels.h"
#include "app/EntryParts.h"
#include "app/MainWindow.h"
#include "comparison/CompareBreakdownDialog.h"
#include "comparison/CompareSheetDialog.h"
#include "comparison/ComparisonPageWidget.h"
#include "comparison/CostType.h"
#include "comparison/CostTypeDialog.h"
#include "entry/Classification.h"
#include "entry/Conditions.h"
#include "entry/DescriptionTables.h"
#include "store/DataModule.h"
#include "store/Table.h"
#include "store/TableFile.h"
#include "support/PhotoBytes.h"
#include "support/ShippedProgramFolder.h"
#include "support/TempDir.h"
#include "util/UserInteraction.h"
#include "widgets/TextMemo.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QComboBox>
#include <QDialog>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <random>

using app::MainWindow;
using UI = UserInteraction;

namespace {

const QString kSaveQuestion = QStringLiteral("編集データを保存しますか？");
const QString kComparisonMissing = QStringLiteral("「活用の効果の根拠」を入力していません。\r\n新技術の入力を終了しますか？");
const QStringList kRegistrationTables = {
    "NT_TBL_MAIN", "NT_TBL_DETAIL", "NT_TBL_DETAIL_FREE", "NT_TBL_DESCRIPTION", "NT_TBL_PICTURE", "NT_TBL_COMPANY",
    "NT_TBL_EVALUATE_RESULT", "PL_TBL_PROJECT_MOC", "PL_TBL_PROJECT_PRIVATE", "NT_TBL_COMPARE_MAIN", "NT_TBL_CONST_CONDITION",
    "NT_TBL_INFO_IMAGES"};

// What the model knows of one registration: the values the sequence types, and the prices of its
// new technology's breakdown.
struct Registration
{
    QString title, section, compareTitle, cell, costType, year;
    QString classes; // the group code and the classification codes of slots 1 and 2, as stored
    QStringList prices;  // sorted
    QStringList records; // names of the other clients' construction records, sorted
    QStringList ministryRecords; // names of the ministry's construction records, sorted
    QStringList contacts; // companies of the other contacts, sorted
    QStringList evaluations; // items of the evaluation results, sorted
    QStringList photos;  // "slot letter:source", sorted
    // Values the user typed or chose elsewhere, by key: "PICTURE:<field>" (photo titles and patent
    // blocks of NT_TBL_PICTURE), "grid:<grid>:<row>:<column>" and "heading:<grid>:<0 columns, 1 rows>".
    std::map<QString, QString> fields;
    QString conditions; // the construction-condition rows, "item:kind:value;…" in item order

    bool operator==(const Registration&) const = default;
    QString describe() const
    {
        QStringList typed;
        for (const auto& [key, value] : fields)
            typed << key + '=' + value;
        return QStringLiteral("title '%1' section '%2' compare '%3' cell '%4' cost type '%5' year '%6' classes '%7' prices [%8] "
                              "records [%9] ministry records [%10] contacts [%11] evaluations [%12] photos [%13] fields [%14] conditions [%15]")
            .arg(title, section, compareTitle, cell, costType, year, classes, prices.join(','), records.join(','))
            .arg(ministryRecords.join(','), contacts.join(','), evaluations.join(','), photos.join(','), typed.join(','), conditions);
    }
};

// The user: every box is answered at random from the buttons it offers; a file dialog gets the
// path the action put ready (none: the user cancels).
class RandomUser : public UserInteraction
{
public:
    struct Box
    {
        Icon icon;
        QString text;
        Button answer;
    };

    RandomUser() : m_previous(UserInteraction::setCurrent(this)) {}
    ~RandomUser() override { UserInteraction::setCurrent(m_previous); }

    void startAction(quint32 seed)
    {
        m_rng.seed(seed);
        m_boxes.clear();
        m_file.reset();
    }
    void putFileReady(const QString& path) { m_file = path; }
    const QList<Box>& boxes() const { return m_boxes; }
    std::mt19937& rng() { return m_rng; }

    Button message(Icon icon, const QString&, const QString& text, Buttons buttons) override
    {
        QList<Button> offered;
        for (Button b : {Ok, Cancel, Yes, No}) {
            if (buttons.testFlag(b))
                offered << b;
        }
        const Button answer = offered.isEmpty() ? Ok : offered.at(int(m_rng() % offered.size()));
        m_boxes.append({icon, text, answer});
        return answer;
    }
    FileAnswer fileDialog(FileKind, const FileRequest&) override
    {
        FileAnswer answer;
        if (m_file)
            answer.path = *m_file;
        m_file.reset();
        return answer;
    }
    QString desktopFolder() override { return QDir::tempPath(); }

private:
    UserInteraction* m_previous;
    std::mt19937 m_rng;
    QList<Box> m_boxes;
    std::optional<QString> m_file;
};

enum class Kind {
    New, Open, Delete, Export, Import, Restart, // on the list
    TypeTitle, TypeSection, TypeCompareTitle, TypeCell, SwitchPage, CostType, Sheet, Records, Save, Menu, ListTab, Discard, Close,
    ChoosePhoto, ClearPhoto, TypeYear, ChooseGroup, Classify, PhotoTitle, Patent, Conditions, TypeHeading
};
const char* kindName(Kind kind)
{
    static const char* names[] = {"new", "open", "delete", "export", "import", "restart", "type-title", "type-section", "type-compare-title",
                                  "type-cell", "switch-page", "cost-type", "sheet", "records", "save", "menu", "list-tab", "discard", "close",
                                  "choose-photo", "clear-photo", "type-year", "choose-group", "classify", "photo-title", "patent",
                                  "conditions", "type-heading"};
    return names[int(kind)];
}

struct Action
{
    Kind kind;
    quint32 seed;
};

QString describe(const QList<Action>& actions)
{
    QStringList parts;
    for (const Action& a : actions)
        parts << QStringLiteral("%1(%2)").arg(QLatin1String(kindName(a.kind))).arg(a.seed);
    return parts.join(QLatin1Char(' '));
}

// One run of a sequence over a fresh copy of the program folder.
class SequenceRun
{
public:
    SequenceRun()
    {
        comparison::ComparisonDialog::setModalShow([](comparison::ComparisonDialog* d) { d->show(); });
        testsupport::copyShippedProgramFolder(m_dir.path());
        writePhotoSources();
        startWindow();
    }
    ~SequenceRun()
    {
        m_window.reset();
        comparison::ComparisonDialog::setModalShow({});
    }

    bool onList() const { return m_window && m_window->pages()->currentIndex() == 0; }

    // Performs the action and checks the invariants; the failure, if any, as text.
    std::optional<QString> perform(const Action& action)
    {
        m_user.startAction(action.seed);
        m_failure.reset();
        if (!m_window)
            return QStringLiteral("the program did not start again");
        if (onList() != !m_open.has_value())
            return fail(QStringLiteral("the page (%1) does not match the model (%2)")
                            .arg(onList() ? "list" : "entry", m_open ? "a registration open" : "none open"));
        QWidget* pageBefore = m_window->pages()->currentWidget();
        if (onList())
            performOnList(action.kind);
        else
            performOnEntry(action.kind);
        // Every showing of the summary page rebuilds the condition panels.
        if (!m_failure && m_window && m_open && m_window->pages()->currentWidget() != pageBefore && showsSummary())
            followConditionPanels();
        if (!m_failure)
            checkInvariants();
        // SEQUENCE_TRACE=1 shows each action with the boxes it met and the answers given.
        if (qEnvironmentVariableIsSet("SEQUENCE_TRACE")) {
            std::fprintf(stderr, "%s(%u)   [shown %s, model %s, stored %s]\n", kindName(action.kind), action.seed,
                         m_window ? qPrintable(currentNumber()) : "-", m_open ? qPrintable(m_open->number + (m_open->isNew ? " new" : "")) : "none",
                         m_window ? qPrintable(numbersInMemory().join(',')) : "-");
            if (m_window) {
                QStringList editing;
                for (const QString& name : kRegistrationTables + QStringList{"NT_TBL_COMPARE_DETAIL", "NT_TBL_COMPARE_DETAIL1", "NT_TBL_COMPARE_DETAIL2"})
                    if (table(name)->isEditing())
                        editing << name + (table(name)->state() == store::Table::State::Insert ? "+" : "");
                std::fprintf(stderr, "      editing: %s\n", qPrintable(editing.join(' ')));
                if (m_open)
                    std::fprintf(stderr, "      conditions in memory: [%s]\n", qPrintable(storedConditions(m_open->number, Where::Memory)));
            }
            for (const RandomUser::Box& box : m_user.boxes())
                std::fprintf(stderr, "    %s -> %d\n", qPrintable(QString(box.text).replace(QLatin1String("\r\n"), QLatin1String(" "))), int(box.answer));
        }
        return m_failure;
    }

private:
    // The rows of one table, as memory holds them or as its file does.
    enum class Where { Memory, File };
    struct Rows
    {
        using Row = QVector<QVariant>;
        QStringList fields;
        QList<Row> rows;
        int index(const QString& field) const
        {
            for (int f = 0; f < fields.size(); ++f)
                if (fields.at(f).compare(field, Qt::CaseInsensitive) == 0)
                    return f;
            return -1;
        }
        QString at(const Row& row, const QString& field) const { return row.value(index(field)).toString().trimmed(); }
    };

    std::optional<QString> fail(const QString& why)
    {
        if (!m_failure)
            m_failure = why;
        return m_failure;
    }
    int pick(int n) { return n <= 0 ? 0 : int(m_user.rng()() % quint32(n)); }
    template <typename T>
    T pickOf(const QList<T>& list) { return list.at(pick(int(list.size()))); }

    void startWindow()
    {
        m_window = std::make_unique<MainWindow>(m_dir.path());
        if (!m_window->start()) {
            m_window.reset();
            return;
        }
        m_window->show();
    }

    store::Table* table(const QString& name) const { return m_window->dm().table(name); }
    template <typename T = QWidget>
    T* control(const QString& name) const { return m_window->control<T>(name); }
    QString currentNumber() const { return table(QStringLiteral("NT_TBL_MAIN"))->field(QStringLiteral("REG_NO")).asString().trimmed(); }

    // ------------------------------------------------------------ the model's open registration

    struct Open
    {
        QString number;
        bool isNew = false;
        Registration values;
    };

    void openNew()
    {
        forgetConditionPanels();
        m_open = Open{currentNumber(), true, {}};
        m_open->values.classes = classesShown();
        // A new registration's grids may start with the cells of a template.
        for (const app::parts::DescriptionTableNames& names : app::parts::kDescriptionTables) {
            auto* grid = control<QTableWidget>(names.grid);
            for (int row = 1; row <= entry::kTableCells; ++row)
                for (int column = 1; column <= entry::kTableCells; ++column)
                    if (const QString text = grid->item(row, column)->text(); !text.isEmpty())
                        m_open->values.fields[QStringLiteral("grid:%1:%2:%3").arg(names.grid).arg(row).arg(column)] = text;
        }
        m_open->values.cell = control<QTableWidget>(QStringLiteral("SUMMARY_TABLE"))->item(1, 1)->text();
    }

    // The way out of the entry pages (or out of the program, `closed`) has been taken with the
    // boxes now recorded (from the save question on, when it was asked); brings the model along.
    void followLeaving(bool closed = false)
    {
        const QList<RandomUser::Box>& boxes = m_user.boxes();
        const bool asked = !boxes.isEmpty() && boxes.first().text == kSaveQuestion;
        const UI::Button answer = asked ? boxes.first().answer : UI::NoButton;
        if (answer == UI::Cancel)
            return;
        // Nothing changed and the user stays (the comparison or an incomplete item held them): the
        // program dropped nothing, and the pages go on as they are, a rebuilt condition area too.
        if (!asked && !m_open->isNew && !closed && !onList())
            return;
        if (answer == UI::Yes) {
            // The save ran unless the save check stopped it with its own box.
            const bool checkFailed = boxes.size() > 1 && boxes.at(1).text != kComparisonMissing;
            if (checkFailed)
                return;
            confirmOpen();
        } else {
            dropOpen();
        }
        if (closed || onList()) {
            m_open.reset();
        } else if (!m_open) {
            // The new registration is gone and the user stays: a fresh one is on the pages.
            openNew();
        }
    }

    void confirmOpen()
    {
        dropHeadingsOfEmptyGrids(m_open->values);
        // Saved without the conventional technology's name, the registration has no comparison.
        if (m_open->values.compareTitle.isEmpty())
            m_open->values.prices.clear();
        m_confirmed[m_open->number] = m_open->values;
        m_open->isNew = false;
    }
    // The changes are dropped: a new registration disappears, an edited one is as confirmed (its
    // breakdown rows were confirmed one by one).
    void dropOpen()
    {
        forgetConditionPanels();
        if (m_open->isNew)
            m_open.reset();
        else
            m_open->values = m_confirmed.at(m_open->number);
    }

    // ------------------------------------------------------------ actions

    void performOnList(Kind kind)
    {
        store::Table* main = table(QStringLiteral("NT_TBL_MAIN"));
        const auto selectLine = [&] {
            const int rows = main->recordCount();
            if (rows == 0)
                return false;
            main->first();
            for (int k = pick(rows); k > 0; --k)
                main->next();
            return true;
        };
        switch (kind) {
        case Kind::New:
            control<QPushButton>(QStringLiteral("Button5"))->click();
            if (!onList())
                openNew();
            break;
        case Kind::Open: {
            const bool any = selectLine();
            const QString number = currentNumber();
            control<QPushButton>(QStringLiteral("Button4"))->click();
            if (any) {
                forgetConditionPanels();
                m_open = Open{number, false, m_confirmed.count(number) ? m_confirmed.at(number) : Registration{}};
            }
            else if (!onList())
                openNew();
            if (any && !m_confirmed.count(number))
                fail(QStringLiteral("the list shows %1, which was never confirmed").arg(number));
            break;
        }
        case Kind::Delete: {
            selectLine();
            const QString number = currentNumber();
            control<QPushButton>(QStringLiteral("Button1"))->click();
            if (!m_user.boxes().isEmpty() && m_user.boxes().first().answer == UI::Yes && !number.isEmpty())
                m_confirmed.erase(number);
            break;
        }
        case Kind::Export: {
            selectLine();
            const QString number = currentNumber();
            const QString path = QDir(m_dir.path()).filePath(QStringLiteral("out%1.lzh").arg(m_exports.size()));
            m_user.putFileReady(path);
            // A registration handed in before shows what changed since: the user goes on or stops.
            const char* answer = pick(2) == 0 ? "BtnContinueExport" : "BtnStopExport";
            QTimer review;
            review.setInterval(0);
            QObject::connect(&review, &QTimer::timeout, [answer] {
                for (QWidget* top : QApplication::topLevelWidgets())
                    if (top->objectName() == QLatin1String("FrmSubmissionChanges") && top->isVisible())
                        top->findChild<QPushButton*>(QLatin1String(answer))->click();
            });
            review.start();
            control<QPushButton>(QStringLiteral("Button2"))->click();
            if (QFileInfo::exists(path) && m_confirmed.count(number))
                m_exports.append({path, m_confirmed.at(number)});
            break;
        }
        case Kind::Import: {
            if (m_exports.isEmpty())
                break;
            const auto& [path, values] = m_exports.at(pick(int(m_exports.size())));
            const QStringList before = numbersInMemory();
            m_user.putFileReady(path);
            control<QPushButton>(QStringLiteral("Button3"))->click();
            for (const QString& number : numbersInMemory()) {
                if (!before.contains(number))
                    m_confirmed[number] = values;
            }
            break;
        }
        case Kind::Restart:
            restart();
            break;
        default:
            break;
        }
    }

    void restart()
    {
        if (!m_window->close())
            return;
        m_window.reset();
        startWindow();
        if (!m_window)
            fail(QStringLiteral("the program did not start again"));
    }

    void typeInto(const QString& box, QString Registration::*value, const QStringList& choices)
    {
        auto* edit = control<QLineEdit>(box);
        if (!edit->isEnabled() || edit->isReadOnly())
            return;
        const QString text = pickOf(choices);
        edit->setText(text);
        m_open->values.*value = text;
    }

    void performOnEntry(Kind kind)
    {
        switch (kind) {
        case Kind::TypeTitle:
            typeInto(QStringLiteral("TECH_TITLE"), &Registration::title, {"", "防波堤の新工法", "岸壁補修", "消波ブロック"});
            break;
        case Kind::TypeSection:
            typeInto(QStringLiteral("SALES_SECTION"), &Registration::section, {"", "技術部", "営業部"});
            break;
        case Kind::TypeCompareTitle:
            typeInto(QStringLiteral("COMPARE_TECH_TITLE"), &Registration::compareTitle, {"", "従来の工法", "在来工法"});
            break;
        case Kind::TypeCell:
            typeCell();
            break;
        case Kind::TypeHeading:
            typeHeading();
            break;
        case Kind::PhotoTitle:
            typePhotoTitle();
            break;
        case Kind::Patent:
            workThePatents();
            break;
        case Kind::Conditions:
            workTheConditions();
            break;
        case Kind::SwitchPage:
            m_window->pages()->setCurrentIndex(1 + pick(4));
            break;
        case Kind::CostType:
            chooseCostType();
            break;
        case Kind::Sheet:
            workTheSheet();
            break;
        case Kind::Records:
            workTheRecords();
            break;
        case Kind::ChoosePhoto:
            choosePhoto();
            break;
        case Kind::ClearPhoto:
            clearPhoto();
            break;
        case Kind::TypeYear:
            typeInto(QStringLiteral("TECH_DVLP_YEAR"), &Registration::year, {"", "2024", "1998"});
            break;
        case Kind::ChooseGroup:
            chooseFromList(control<QComboBox>(QStringLiteral("GRP_TITLE1")));
            m_open->values.classes = classesShown();
            break;
        case Kind::Classify:
            classify();
            break;
        case Kind::Save: {
            m_window->cycle().save();
            const QList<RandomUser::Box>& boxes = m_user.boxes();
            if (boxes.size() == 1 && boxes.first().text == kSaveQuestion && boxes.first().answer == UI::Yes)
                confirmOpen();
            break;
        }
        case Kind::Menu:
            control<QPushButton>(QStringLiteral("BitBtn2"))->click();
            followLeaving();
            break;
        case Kind::ListTab: {
            QTabBar* bar = m_window->pages()->tabBar();
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
            if (!m_user.boxes().isEmpty())
                followLeaving();
            break;
        }
        case Kind::Discard: {
            auto* cancel = m_window->findChild<QAction*>(QStringLiteral("ActCancel"));
            if (!cancel->isEnabled())
                break;
            cancel->trigger();
            if (!m_user.boxes().isEmpty() && m_user.boxes().first().answer == UI::Ok) {
                dropOpen();
                m_open.reset();
            }
            break;
        }
        case Kind::Close: {
            const bool closed = m_window->close();
            followLeaving(closed);
            if (closed) {
                m_window.reset();
                startWindow();
                if (!m_window)
                    fail(QStringLiteral("the program did not start again"));
            }
            break;
        }
        default:
            break;
        }
    }

    void chooseCostType()
    {
        if (!control(QStringLiteral("btnCostType"))->isEnabled())
            return;
        comparison::CostTypeDialog* window = m_window->comparison().costTypeWindow();
        control<QPushButton>(QStringLiteral("btnCostType"))->click();
        const int choice = pick(int(comparison::costTypes().size()) + 1);
        if (choice < comparison::costTypes().size()) {
            window->findChild<QRadioButton*>(comparison::costTypes().at(choice).radio)->click();
            m_open->values.costType = comparison::costTypes().at(choice).code;
        }
        if (pick(2) == 0)
            window->close();
        else
            QTest::keyClick(window, Qt::Key_Escape);
        if (window->isVisible())
            fail(QStringLiteral("the cost-type window stayed open"));
    }

    // The comparison sheet: a few breakdown rows added (confirmed, refused, or left by Cancel,
    // Escape or the close box) or deleted, then the sheet left in one of its ways.
    void workTheSheet()
    {
        if (control<QLineEdit>(QStringLiteral("COMPARE_TECH_TITLE"))->text().isEmpty())
            return;
        comparison::CompareSheetDialog* sheet = m_window->comparison().sheet();
        control<QPushButton>(QStringLiteral("btnCmp"))->click();
        if (!sheet->isVisible())
            return void(fail(QStringLiteral("the comparison sheet did not open")));
        if (pick(2) == 0) {
            // The quantity the comparison is based on, which a submission needs.
            sheet->box(QStringLiteral("BASE_VALUE"))->setText(QStringLiteral("10"));
            sheet->box(QStringLiteral("BASE_UNIT"))->setText(QStringLiteral("本"));
        }
        for (int op = pick(3) + 1; op > 0; --op) {
            comparison::CompareBreakdownDialog* dialog = sheet->newDialog();
            if (pick(4) == 0) {
                store::Table* view = dialog->view();
                const QString price = view->isEmpty() ? QString() : view->field(QStringLiteral("PRICE")).asString();
                const int before = int(m_user.boxes().size());
                sheet->deleteNewTechnologyRow();
                if (!price.isEmpty() && m_user.boxes().size() > before && m_user.boxes().last().answer == UI::Ok)
                    removePrice(price);
                continue;
            }
            sheet->addNewTechnologyRow();
            if (!dialog->isVisible())
                continue;
            const QString quantity = QString::number(1 + pick(9));
            const QString unitPrice = QString::number(100 * (1 + pick(9)));
            for (const auto& [name, text] : {std::pair{"ITEM", QStringLiteral("土工")}, {"METHOD", QStringLiteral("掘削")}, {"F_VALUE", quantity},
                                             {"F_UNIT", QStringLiteral("m3")}, {"UNIT_PRICE", unitPrice}})
                dialog->findChild<QLineEdit*>(QLatin1String(name))->setText(text);
            const int way = pick(4);
            const int before = int(m_user.boxes().size());
            if (way == 0) {
                dialog->finishEditing();
                if (m_user.boxes().size() > before && m_user.boxes().at(before).answer == UI::Yes && !dialog->isVisible())
                    addPrice(QString::number(quantity.toInt() * unitPrice.toInt()));
            } else if (way == 1) {
                dialog->cancelEditing();
            } else if (way == 2) {
                QTest::keyClick(dialog, Qt::Key_Escape);
            } else {
                dialog->close();
            }
            if (dialog->isVisible())
                return void(fail(QStringLiteral("a breakdown dialog stayed open")));

        }
        const int way = pick(3);
        if (way == 0)
            sheet->finishEditing();
        else if (way == 1)
            sheet->cancelEditing();
        else
            QTest::keyClick(sheet, Qt::Key_Escape);
        if (sheet->isVisible())
            sheet->reject(); // the user's answer kept it open: leave it by its close box
    }

    // ------------------------------------------------------------ classification

    // The user opens a list box and picks one of its entries (the empty one too, where it has one).
    void chooseFromList(QComboBox* list)
    {
        if (!list->isEnabled() || list->count() == 0)
            return;
        const int index = pick(list->count());
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    // Levels of one classification slot chosen from the top, each list opened before its choice;
    // slot 1, whose level 3 decides the condition panels, half the time.
    void classify()
    {
        const int slot = pick(2) == 0 ? 1 : 1 + pick(classification::kSlots);
        const int levels = pick(2) == 0 ? classification::kLevels : 1 + pick(classification::kLevels);
        for (int level = 1; level <= levels; ++level) {
            auto* list = control<QComboBox>(classification::listBoxName(level, slot));
            if (!list)
                return void(fail(QStringLiteral("no list box %1").arg(classification::listBoxName(level, slot))));
            m_window->classification().listOpened(level, slot);
            chooseFromList(list);
        }
        m_open->values.classes = classesShown();
    }

    static QStringList classFields()
    {
        QStringList fields{QStringLiteral("GRP_CODE1")};
        for (int slot = 1; slot <= classification::kSlots; ++slot)
            for (int level = 1; level <= classification::kLevels; ++level)
                fields << classification::codeBoxName(level, slot);
        return fields;
    }
    // The codes as the registration being edited holds them now.
    QString classesShown() const
    {
        QStringList codes;
        for (const QString& field : classFields())
            codes << table(QStringLiteral("NT_TBL_MAIN"))->field(field).asString().trimmed();
        return codes.join(QLatin1Char('/'));
    }

    // ------------------------------------------------------------ photos

    // The pictures the user picks from: two JPEG files and a GIF file, each with its own bytes, so
    // that a stored photo tells which one it came from.
    void writePhotoSources()
    {
        const auto jpeg = [](char tag) { return testsupport::jpegPhoto(100, 100, QByteArray(400, tag)); };
        const QByteArray gif = testsupport::gifPhoto(100, 100, QByteArray(400, 'g'));
        const QList<std::pair<QString, QByteArray>> sources = {{"p.jpg", jpeg('p')}, {"q.jpg", jpeg('q')}, {"g.gif", gif}};
        QDir().mkpath(m_dir.filePath(QStringLiteral("Pictures")));
        for (const auto& [name, bytes] : sources) {
            QFile file(m_dir.filePath(QStringLiteral("Pictures/") + name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            m_photoSources[bytes] = name;
        }
    }
    static const QStringList& photoLetters()
    {
        static const QStringList letters = {"A", "B", "S"};
        return letters;
    }
    void setPhoto(const QString& letter, const QString& source)
    {
        QStringList& photos = m_open->values.photos;
        photos.erase(std::remove_if(photos.begin(), photos.end(), [&](const QString& p) { return p.startsWith(letter + ':'); }), photos.end());
        if (!source.isEmpty())
            photos.append(letter + ':' + source);
        photos.sort();
    }

    // A picture chosen for an empty slot; it is the registration's once the registration is saved.
    void choosePhoto()
    {
        const QString letter = pickOf(photoLetters());
        auto* choose = control<QPushButton>(QStringLiteral("BtnPICTURE_") + letter);
        if (!choose->isEnabled())
            return;
        QStringList sources = m_photoSources.values();
        sources.sort(); // the same pick in every run of a seed
        const QString source = pickOf(sources);
        m_user.putFileReady(m_dir.filePath(QStringLiteral("Pictures/") + source));
        choose->click();
        if (control(QStringLiteral("BtnCancelPICTURE_") + letter)->isEnabled())
            setPhoto(letter, source);
    }

    // A filled slot cleared (when the user answers OK to both boxes).
    void clearPhoto()
    {
        const QString letter = pickOf(photoLetters());
        auto* clear = control<QPushButton>(QStringLiteral("BtnCancelPICTURE_") + letter);
        if (!clear->isEnabled())
            return;
        clear->click();
        if (control(QStringLiteral("BtnPICTURE_") + letter)->isEnabled()) {
            setPhoto(letter, QString());
            m_open->values.fields[QStringLiteral("PICTURE:PICTURE_") + letter] = QString();
        }
    }

    // The rows of a registration that a dialog of their own adds, edits and deletes.
    struct RecordList
    {
        const char* dialog; // the dialog's object name
        const char* table;
        const char* nameField; // the field (and the dialog's box) the model follows
        const char* add;
        const char* edit;
        const char* remove;
        const char* previous; // the edit dialog's navigation buttons
        const char* next;
        QStringList Registration::*names;
    };
    static const QList<RecordList>& recordLists()
    {
        static const QList<RecordList> lists = {
            {"FrmPrvRec", "PL_TBL_PROJECT_PRIVATE", "PJT_NAME", "Project_Pvt_Add", "Project_Pvt_Edit", "Project_Pvt_Del", "BtnPrevPrv", "BtnNextPrv",
             &Registration::records},
            {"FrmMocRec", "PL_TBL_PROJECT_MOC", "PJT_NAME", "Project_Moc_Add", "Project_Moc_Edit", "Project_Moc_Del", "BtnPrevMoc", "BtnNextMoc",
             &Registration::ministryRecords},
            {"SALES_COMPANY_OTHER_Frm", "NT_TBL_COMPANY", "SALES_COMPANY_OTHER", "BtnCmpnyAdd", "BtnCmpnyEdit", "BtnCmpnyDel", "BtnPrevCmpny",
             "BtnNextCmpny", &Registration::contacts},
            {"EVALUATE_RESULT_Frm", "NT_TBL_EVALUATE_RESULT", "ITEM", "EVALUATE_RSLT_ADD", "EVALUATE_RSLT_EDIT", "EVALUATE_RSLT_DEL",
             "BtnPrevEvl", "BtnNextEvl", &Registration::evaluations},
        };
        return lists;
    }
    QStringList rowNames(const QString& tableName, const QString& nameField, const QString& number, Where where) const
    {
        QStringList names;
        const Rows rows = rowsOf(tableName, where);
        for (const auto& row : rows.rows) {
            if (rows.at(row, "REG_NO") == number)
                names << rows.at(row, nameField);
        }
        names.sort();
        return names;
    }

    // Records of one kind (the other clients' or the ministry's construction records, the other
    // contacts or the evaluation results) through their dialog: one added, or the current one
    // edited, moving to the previous or next row on the way (a pending edit answered there), each
    // dialog left by OK (with any answer), Cancel, Escape or the close box; or the current one
    // deleted.
    void workTheRecords()
    {
        const RecordList& kind = pickOf(recordLists());
        auto* dialog = m_window->findChild<QDialog*>(QLatin1String(kind.dialog));
        store::Table* rows = table(QLatin1String(kind.table));
        const auto shownName = [&] { return rows->isEmpty() ? QString() : rows->field(QLatin1String(kind.nameField)).asString().trimmed(); };
        QString current = shownName();
        const int way = pick(3);
        if (way == 2) {
            control<QPushButton>(QLatin1String(kind.remove))->click();
            if (!current.isEmpty() && !m_user.boxes().isEmpty() && m_user.boxes().last().answer == UI::Yes)
                changeList(kind.names, current, QString());
            return;
        }
        if (way == 1 && current.isEmpty())
            return;
        const auto typeName = [&](const QString& name) {
            if (auto* box = dialog->findChild<QLineEdit*>(QLatin1String(kind.nameField)))
                box->setText(name);
            else
                dialog->findChild<widgets::TextMemo*>(QLatin1String(kind.nameField))->setText(name);
        };
        const QStringList names = {"桟橋工事", "岸壁工事", "護岸工事"};
        const int moves = way == 1 ? pick(3) : 0;
        const int leave = pick(4);
        QTimer whileOpen; // runs inside the dialog's own event loop
        whileOpen.setSingleShot(true);
        QObject::connect(&whileOpen, &QTimer::timeout, dialog, [&] {
            std::optional<QString> pending; // the name typed into the row shown, not yet stored
            for (int move = 0; move < moves; ++move) {
                if (pick(2) == 0) {
                    const QString name = pickOf(names);
                    typeName(name);
                    if (rows->isEditing())
                        pending = name;
                }
                const int before = int(m_user.boxes().size());
                dialog->findChild<QPushButton*>(QLatin1String(pick(2) == 0 ? kind.previous : kind.next))->click();
                // Yes to the question stores the pending edit unless the record check objects
                // with a box of its own (the dialog then stays on the row).
                const bool answeredYes = m_user.boxes().size() > before && m_user.boxes().at(before).answer == UI::Yes;
                const bool checkObjected = answeredYes && m_user.boxes().size() > before + 1;
                if (pending && answeredYes && !checkObjected)
                    changeList(kind.names, current, *pending);
                if (!checkObjected) {
                    current = shownName();
                    pending.reset();
                }
            }
            const QString name = pickOf(names);
            typeName(name);
            const int before = int(m_user.boxes().size());
            if (leave == 0) {
                dialog->findChild<QPushButton*>(QStringLiteral("BtnOk"))->click();
                if (m_user.boxes().size() > before && m_user.boxes().at(before).answer == UI::Yes && !dialog->isVisible())
                    changeList(kind.names, way == 1 ? current : QString(), name);
            } else if (leave == 1) {
                dialog->findChild<QPushButton*>(QStringLiteral("BtnCancel"))->click();
            } else if (leave == 2) {
                QTest::keyClick(dialog, Qt::Key_Escape);
            } else {
                dialog->close();
            }
            if (dialog->isVisible())
                dialog->reject(); // the answer Cancel kept it open: leave it by its close box
        });
        whileOpen.start(0);
        control<QPushButton>(QLatin1String(way == 0 ? kind.add : kind.edit))->click();
    }

    // A breakdown row or a record confirmed in its dialog is confirmed at once for a registration
    // that exists; a new one keeps it until it is saved or dropped. Removes `from` and adds `to`
    // (either may be empty).
    void changeList(QStringList Registration::*list, const QString& from, const QString& to)
    {
        QStringList& values = m_open->values.*list;
        if (!from.isEmpty())
            values.removeOne(from);
        if (!to.isEmpty())
            values.append(to);
        values.sort();
        if (!m_open->isNew)
            m_confirmed[m_open->number].*list = values;
    }
    void addPrice(const QString& price) { changeList(&Registration::prices, QString(), price); }
    void removePrice(const QString& price) { changeList(&Registration::prices, price, QString()); }

    // ------------------------------------------------------------ typed fields of other pages

    // A cell of one of the description grids (often near the top left, sometimes anywhere).
    void typeCell()
    {
        const app::parts::DescriptionTableNames& names = pickOf(app::parts::kDescriptionTables);
        const int row = pick(2) == 0 ? 1 + pick(3) : 1 + pick(entry::kTableCells);
        const int column = pick(2) == 0 ? 1 + pick(3) : 1 + pick(entry::kTableCells);
        const QString text = pickOf(QStringList{"", "表の値", "別の値"});
        control<QTableWidget>(names.grid)->item(row, column)->setText(text);
        m_open->values.fields[QStringLiteral("grid:%1:%2:%3").arg(names.grid).arg(row).arg(column)] = text;
        if (names.grid == QLatin1String("SUMMARY_TABLE") && row == 1 && column == 1)
            m_open->values.cell = text;
    }

    // A heading count of one of the grids, typed into its box.
    void typeHeading()
    {
        const app::parts::DescriptionTableNames& names = pickOf(app::parts::kDescriptionTables);
        const int which = pick(2);
        auto* box = control<QLineEdit>(which == 0 ? names.columnsBox : names.rowsBox);
        if (!box->isEnabled() || box->isReadOnly())
            return;
        const QString text = pickOf(QStringList{"0", "1", "2", "3"});
        // The user types into the box, which has the focus meanwhile: only such a change counts.
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(box, &in);
        box->setText(text);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(box, &out);
        m_open->values.fields[QStringLiteral("heading:%1:%2").arg(names.grid).arg(which)] = text;
    }

    void typePhotoTitle()
    {
        const QString letter = pickOf(app::parts::kPhotoSlotLetters);
        auto* title = control<QLineEdit>(QStringLiteral("PICTURE_") + letter);
        if (!title->isEnabled() || title->isReadOnly())
            return;
        const QString text = pickOf(QStringList{"", "全景", "施工状況"});
        title->setText(text);
        m_open->values.fields[QStringLiteral("PICTURE:PICTURE_") + letter] = text;
    }

    // One patent block: its number typed or removed, its patentee typed, or its general licence
    // answered. A block without a number has no patentee and the code "9"; a number typed into an
    // empty block answers an unanswered licence "無し" ("0").
    void workThePatents()
    {
        const QString block = QString::number(1 + pick(5));
        std::map<QString, QString>& fields = m_open->values.fields;
        const auto key = [&block](const char* field) { return QStringLiteral("PICTURE:") + QLatin1String(field) + block; };
        const auto modelled = [&](const char* field) {
            const auto found = fields.find(key(field));
            return found != fields.end() ? found->second : table(QStringLiteral("NT_TBL_PICTURE"))->field(QLatin1String(field) + block).asString().trimmed();
        };
        const int op = pick(3);
        if (op == 0) {
            auto* number = control<QPlainTextEdit>(QStringLiteral("CERTIFY_PATENT_NO") + block);
            if (!number->isEnabled() || number->isReadOnly())
                return;
            const QString before = number->toPlainText();
            const QString text = pickOf(QStringList{"", "特許第1号", "特許第2号"});
            const QString general = modelled("CERTIFY_PATENT_GENERAL");
            number->setPlainText(text);
            if (text.isEmpty() && !before.isEmpty()) {
                fields[key("CERTIFY_PATENTEE")] = QString();
                fields[key("CERTIFY_PATENT_GENERAL")] = QStringLiteral("9");
            } else if (!text.isEmpty() && before.isEmpty()) {
                fields[key("CERTIFY_PATENT_GENERAL")] = general == QLatin1String("1") ? general : QStringLiteral("0");
            }
            fields[key("CERTIFY_PATENT_NO")] = text;
        } else if (op == 1) {
            auto* patentee = control<QLineEdit>(QStringLiteral("CERTIFY_PATENTEE") + block);
            if (!patentee->isEnabled() || patentee->isReadOnly())
                return;
            const QString text = pickOf(QStringList{"", "港湾建設", "海洋技研"});
            patentee->setText(text);
            fields[key("CERTIFY_PATENTEE")] = text;
        } else {
            const bool yes = pick(2) == 0;
            auto* button = control<QRadioButton>(QStringLiteral("RbCERTIFY_PATENT_GENERAL_") + (yes ? "Y" : "N") + block);
            if (!button->isEnabled())
                return;
            button->click();
            fields[key("CERTIFY_PATENT_GENERAL")] = yes ? QStringLiteral("1") : QStringLiteral("0");
        }
    }

    QString storedField(const QString& number, const QString& key, Where where) const
    {
        const QStringList parts = key.split(QLatin1Char(':'));
        if (parts.first() == QLatin1String("PICTURE"))
            return storedValue(QStringLiteral("NT_TBL_PICTURE"), number, parts.at(1), where);
        const QString text = storedValue(QStringLiteral("NT_TBL_DESCRIPTION"), number, parts.at(1), where);
        const report::DescriptionGrid grid = entry::LoadGridText(text).grid;
        if (parts.first() == QLatin1String("grid"))
            return grid.cell(parts.at(3).toInt(), parts.at(2).toInt());
        const QString count = parts.at(2) == QLatin1String("0") ? grid.headerColumns : grid.headerRows;
        return count.isEmpty() ? QStringLiteral("0") : count;
    }
    // A grid without cells is stored without its heading counts, and the save shows what was
    // stored: the heading boxes of such a grid read 0 from the save on.
    static void dropHeadingsOfEmptyGrids(Registration& model)
    {
        QSet<QString> filled;
        for (const auto& [key, value] : model.fields)
            if (key.startsWith(QLatin1String("grid:")) && !value.isEmpty())
                filled.insert(key.section(QLatin1Char(':'), 1, 1));
        for (auto& [key, value] : model.fields)
            if (key.startsWith(QLatin1String("heading:")) && !filled.contains(key.section(QLatin1Char(':'), 1, 1)))
                value = QStringLiteral("0");
    }

    // ------------------------------------------------------------ construction conditions

    // What the model knows of one condition item shown on the summary page.
    struct ConditionItem
    {
        QString kind, name, unit; // as the item's captions show them
        QString checks = QString(conditions::kMaxChoices, QLatin1Char('0')); // "M"
        int choice = -1;                                                       // "S"
        QString low, high, text;                                               // "N", "R", "T"
    };
    // Items of a number or a range carry a unit; the unit of another kind is no part of the item.
    static bool measured(const QString& kind) { return kind == QLatin1String("N") || kind == QLatin1String("R"); }
    static QString conditionValue(const QString& kind, const QString& text, const QString& low, const QString& high)
    {
        if (kind == QLatin1String("N"))
            return low;
        if (kind == QLatin1String("R"))
            return low + QLatin1Char('~') + high;
        // No choice ticked: an item the user never touched is stored without its tick states.
        if (kind == QLatin1String("M") && !text.contains(QLatin1Char('1')))
            return QString();
        return text;
    }
    static QString conditionsText(const std::map<int, ConditionItem>& items)
    {
        QStringList parts;
        for (const auto& [item, c] : items) {
            const QString text = c.kind == QLatin1String("M") ? c.checks : c.kind == QLatin1String("S") ? conditions::choiceText(c.choice) : c.text;
            parts << QStringLiteral("%1:%2:%3:%4:%5").arg(item).arg(c.kind, c.name, conditionValue(c.kind, text, c.low, c.high), c.unit);
        }
        return parts.join(QLatin1Char(';'));
    }
    QString storedConditions(const QString& number, Where where) const
    {
        const Rows rows = rowsOf(QStringLiteral("NT_TBL_CONST_CONDITION"), where);
        const auto at = [&rows](const Rows::Row& row, const char* field) { return rows.at(row, QLatin1String(field)); };
        std::map<int, QString> byItem;
        for (const auto& row : rows.rows) {
            if (at(row, "REG_NO") != number)
                continue;
            const QString kind = at(row, "TYPE");
            byItem[at(row, "ORD").toInt()] = QStringLiteral("%1:%2:%3:%4:%5")
                                                 .arg(at(row, "ORD"), kind, at(row, "NAME"),
                                                      conditionValue(kind, at(row, "TXT"), at(row, "MIN_VAL"), at(row, "MAX_VAL")), measured(kind) ? at(row, "F_UNIT") : QString());
        }
        QStringList parts;
        for (const auto& [item, text] : byItem)
            parts << text;
        return parts.join(QLatin1Char(';'));
    }

    bool showsSummary() const { return m_window->pages()->currentWidget()->objectName() == QLatin1String("PageControl2"); }
    void forgetConditionPanels()
    {
        m_built.reset();
        m_items.clear();
    }
    // The items the summary page shows, as its controls hold them.
    std::map<int, ConditionItem> shownConditionItems() const
    {
        std::map<int, ConditionItem> items;
        for (int item = 1; item <= conditions::kItemCount; ++item) {
            for (const QString kind : {"M", "N", "R", "S", "T"}) {
                if (!control(QStringLiteral("plCNST_%1%2").arg(kind).arg(item))->isVisibleTo(m_window.get()))
                    continue;
                ConditionItem c;
                c.kind = kind;
                c.name = control<QLabel>(QStringLiteral("Label_%1%2").arg(kind).arg(item) + (measured(kind) ? "1" : ""))->text().trimmed();
                if (auto* unit = control<QLabel>(QStringLiteral("Label_%1%2").arg(kind).arg(item) + "2"); measured(kind) && unit->isVisibleTo(m_window.get()))
                    c.unit = unit->text().trimmed();
                for (int k = 1; k <= conditions::kMaxChoices; ++k)
                    c.checks[k - 1] = control<QCheckBox>(app::parts::conditionCheckBox(item, k))->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
                for (int choice = 0; choice < 2; ++choice)
                    if (control<QRadioButton>(app::parts::conditionRadioButton(item, choice))->isChecked())
                        c.choice = choice;
                c.low = control<QLineEdit>(kind == QLatin1String("N") ? app::parts::conditionNumberBox(item) : app::parts::conditionRangeBox(item, 1))->text().trimmed();
                c.high = control<QLineEdit>(app::parts::conditionRangeBox(item, 2))->text().trimmed();
                c.text = control<QPlainTextEdit>(app::parts::conditionTextMemo(item))->toPlainText().trimmed();
                items[item] = c;
            }
        }
        return items;
    }
    // The summary page was shown and its panels rebuilt: for the code they were built for before,
    // they show what the user left; for another code (or a registration just opened) the model
    // takes what they show.
    void followConditionPanels()
    {
        const std::pair<QString, QString> built{currentNumber(), m_window->conditionPanels().currentLevel3Code()};
        const std::map<int, ConditionItem> shown = shownConditionItems();
        if (m_built && *m_built == built) {
            if (conditionsText(shown) != conditionsText(m_items))
                fail(QStringLiteral("the condition panels show [%1] when shown again, the user left [%2]").arg(conditionsText(shown), conditionsText(m_items)));
            return;
        }
        m_built = built;
        m_items = shown;
        m_open->values.conditions = conditionsText(m_items);
    }

    // The user goes to another page and back to the summary page, then ticks, chooses or types in
    // one to three of the items shown.
    void workTheConditions()
    {
        auto* summary = control(QStringLiteral("PageControl2"));
        m_window->pages()->setCurrentWidget(control(pickOf(QStringList{"TbsPattern1", "TabSheet3", "TabSheet4"})));
        m_window->pages()->setCurrentWidget(summary);
        followConditionPanels();
        if (m_failure || m_items.empty())
            return;
        for (int op = 1 + pick(3); op > 0; --op) {
            auto it = m_items.begin();
            std::advance(it, pick(int(m_items.size())));
            const int item = it->first;
            ConditionItem& c = it->second;
            if (c.kind == QLatin1String("M")) {
                const int k = 1 + pick(conditions::kMaxChoices);
                auto* box = control<QCheckBox>(app::parts::conditionCheckBox(item, k));
                if (!box->isVisibleTo(m_window.get()))
                    continue;
                box->click();
                c.checks[k - 1] = c.checks.at(k - 1) == QLatin1Char('1') ? QLatin1Char('0') : QLatin1Char('1');
            } else if (c.kind == QLatin1String("S")) {
                const int choice = pick(2);
                auto* button = control<QRadioButton>(app::parts::conditionRadioButton(item, choice));
                if (!button->isVisibleTo(m_window.get()))
                    continue;
                button->click();
                c.choice = choice;
            } else if (c.kind == QLatin1String("N")) {
                c.low = pickOf(QStringList{"", "5", "3.5", "120"});
                control<QLineEdit>(app::parts::conditionNumberBox(item))->setText(c.low);
            } else if (c.kind == QLatin1String("R")) {
                const int bound = 1 + pick(2);
                const QString value = pickOf(QStringList{"", "1", "10", "20"});
                control<QLineEdit>(app::parts::conditionRangeBox(item, bound))->setText(value);
                (bound == 1 ? c.low : c.high) = value;
            } else if (c.kind == QLatin1String("T")) {
                c.text = pickOf(QStringList{"", "流速2m/s以上", "岩盤"});
                control<QPlainTextEdit>(app::parts::conditionTextMemo(item))->setPlainText(c.text);
            }
        }
        m_open->values.conditions = conditionsText(m_items);
    }

    // ------------------------------------------------------------ what the tables hold

    QStringList numbersInMemory() const
    {
        QStringList numbers;
        store::Table* main = table(QStringLiteral("NT_TBL_MAIN"));
        const int regNo = main->fieldIndex(QStringLiteral("REG_NO"));
        for (const auto& row : main->allRows())
            numbers << row.value(regNo).toString().trimmed();
        numbers.sort();
        return numbers;
    }

    Rows rowsOf(const QString& tableName, Where where) const
    {
        if (where == Where::File)
            return fileRows(m_window->dm().folder().tablePath(tableName)).rows;
        Rows rows;
        store::Table* t = table(tableName);
        for (const store::FieldDef& field : t->fields())
            rows.fields << field.name;
        rows.rows = t->allRows();
        return rows;
    }

    QString storedValue(const QString& tableName, const QString& number, const QString& field, Where where) const
    {
        const Rows rows = rowsOf(tableName, where);
        for (const auto& row : rows.rows) {
            if (rows.at(row, QStringLiteral("REG_NO")) == number)
                return rows.at(row, field);
        }
        return {};
    }

    // What registration `number` holds now in memory or on file, with the typed fields of `like`
    // looked up.
    Registration stored(const QString& number, const Registration& like, Where where) const
    {
        Registration r;
        for (const auto& [key, value] : like.fields)
            r.fields[key] = storedField(number, key, where);
        r.conditions = storedConditions(number, where);
        const Rows main = rowsOf(QStringLiteral("NT_TBL_MAIN"), where);
        const Rows detail = rowsOf(QStringLiteral("NT_TBL_DETAIL"), where);
        const auto value = [&number](const Rows& rows, const QString& field) {
            for (const auto& row : rows.rows) {
                if (rows.at(row, QStringLiteral("REG_NO")) == number)
                    return rows.at(row, field);
            }
            return QString();
        };
        r.title = value(main, QStringLiteral("TECH_TITLE"));
        r.section = value(detail, QStringLiteral("SALES_SECTION"));
        r.compareTitle = value(detail, QStringLiteral("COMPARE_TECH_TITLE"));
        r.costType = value(detail, QStringLiteral("COST_TYPE"));
        r.year = value(main, QStringLiteral("TECH_DVLP_YEAR"));
        QStringList codes;
        for (const QString& field : classFields())
            codes << value(main, field);
        r.classes = codes.join(QLatin1Char('/'));
        r.cell = entry::LoadGridText(storedValue(QStringLiteral("NT_TBL_DESCRIPTION"), number, QStringLiteral("SUMMARY_TABLE"), where)).grid.cell(1, 1);
        const Rows breakdown = rowsOf(QStringLiteral("NT_TBL_COMPARE_DETAIL"), where);
        for (const auto& row : breakdown.rows) {
            const QString recId = breakdown.at(row, QStringLiteral("REC_ID"));
            if (!recId.isEmpty() && recId.toInt() == number.mid(4).toInt())
                r.prices << QString::number(breakdown.at(row, QStringLiteral("PRICE")).toDouble());
        }
        r.prices.sort();
        for (const RecordList& kind : recordLists())
            r.*kind.names = rowNames(QLatin1String(kind.table), QLatin1String(kind.nameField), number, where);
        const Rows images = rowsOf(QStringLiteral("NT_TBL_INFO_IMAGES"), where);
        for (const auto& row : images.rows) {
            if (images.at(row, QStringLiteral("REG_NO")) != number)
                continue;
            QFile file(m_dir.filePath(QStringLiteral("Images/") + images.at(row, QStringLiteral("IMAGES_FILE"))));
            const QString source = file.open(QIODevice::ReadOnly) ? m_photoSources.value(file.readAll(), QStringLiteral("?")) : QStringLiteral("none");
            r.photos << images.at(row, QStringLiteral("IMAGES_TYPE")) + ':' + source;
        }
        r.photos.sort();
        return r;
    }

    // The rows of a table file, read again only when its bytes changed since the last look.
    struct FileRows
    {
        QByteArray bytes;
        bool opens = false;
        QString error;
        Rows rows;
        QStringList numbers; // REG_NO of each row
    };
    const FileRows& fileRows(const QString& path) const
    {
        QFile file(path);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        FileRows& cached = m_files[path];
        if (cached.opens && cached.bytes == bytes)
            return cached;
        cached = FileRows{bytes};
        QList<store::FieldDef> fields;
        cached.opens = store::TableFile::read(path, &fields, &cached.rows.rows, &cached.error);
        for (const store::FieldDef& field : fields)
            cached.rows.fields << field.name;
        for (const auto& row : cached.rows.rows)
            cached.numbers << (cached.rows.index(QStringLiteral("REG_NO")) >= 0 ? cached.rows.at(row, QStringLiteral("REG_NO")) : QStringLiteral("?"));
        return cached;
    }

    // The submission check completes a classification whose level has no subdivisions: the open
    // level gets the code above followed by "00". The model takes such codes as they appear.
    static void adoptCompletedLevels(Registration& model, const Registration& shown)
    {
        QStringList expected = model.classes.split(QLatin1Char('/'));
        const QStringList found = shown.classes.split(QLatin1Char('/'));
        if (expected.size() != found.size())
            return;
        for (int i = 2; i < expected.size(); ++i) {
            const bool belowLevel1 = (i - 1) % classification::kLevels != 0; // the group code, then each slot's four levels
            if (belowLevel1 && expected.at(i).isEmpty() && !expected.at(i - 1).isEmpty() && found.at(i) == expected.at(i - 1) + QStringLiteral("00"))
                expected[i] = found.at(i);
        }
        model.classes = expected.join(QLatin1Char('/'));
    }

    void checkInvariants()
    {
        // Every table file opens.
        for (const QFileInfo& file : QDir(m_dir.filePath(QStringLiteral("FLATT_FILES"))).entryInfoList({QStringLiteral("*.cds")}, QDir::Files)) {
            const FileRows& read = fileRows(file.filePath());
            if (!read.opens)
                return void(fail(QStringLiteral("a table file does not open: ") + read.error));
        }
        // No row of any registration table lacks its number, in memory or on file; on the list,
        // none lacks its main row.
        const QStringList numbers = numbersInMemory();
        for (const QString& name : kRegistrationTables) {
            const QStringList inFile = fileRows(m_window->dm().folder().tablePath(name)).numbers;
            QStringList inMemory;
            const int regNo = table(name)->fieldIndex(QStringLiteral("REG_NO"));
            for (const auto& row : table(name)->allRows())
                inMemory << row.value(regNo).toString().trimmed();
            for (const auto& [where, values] : {std::pair{"memory", inMemory}, {"file", inFile}}) {
                for (const QString& number : values) {
                    if (number.isEmpty())
                        return void(fail(QStringLiteral("a row of %1 without its number (%2)").arg(name, QLatin1String(where))));
                    if (onList() && !numbers.contains(number))
                        return void(fail(QStringLiteral("a row of %1 (%2) without its main row (%3)").arg(name, number, QLatin1String(where))));
                }
            }
        }
        // Every photo file has its row and every row its file.
        if (onList()) {
            QStringList named;
            store::Table* images = table(QStringLiteral("NT_TBL_INFO_IMAGES"));
            for (const auto& row : images->allRows())
                named << row.value(images->fieldIndex(QStringLiteral("IMAGES_FILE"))).toString().trimmed();
            const QStringList files = QDir(m_dir.filePath(QStringLiteral("Images"))).entryList(QDir::Files);
            for (const QString& file : files)
                if (!named.contains(file, Qt::CaseInsensitive))
                    return void(fail(QStringLiteral("the photo %1 has no row").arg(file)));
            for (const QString& file : named)
                if (!files.contains(file, Qt::CaseInsensitive))
                    return void(fail(QStringLiteral("the photo row %1 has no file").arg(file)));
        }
        // Exactly the confirmed registrations exist; each one not being edited holds exactly its
        // confirmed values.
        QStringList expected;
        for (const auto& [number, values] : m_confirmed)
            expected << number;
        expected.sort();
        if (numbers != expected)
            return void(fail(QStringLiteral("the registrations are [%1], confirmed were [%2]").arg(numbers.join(','), expected.join(','))));
        for (auto& [number, values] : m_confirmed) {
            if (m_open && m_open->number == number)
                continue;
            for (const Where where : {Where::Memory, Where::File}) {
                // The export completes levels in memory and leaves them for the next write of the
                // table: memory and file are each compared with the codes they show.
                const Registration shown = stored(number, values, where);
                Registration expected = values;
                adoptCompletedLevels(expected, shown);
                if (!(shown == expected))
                    return void(fail(QStringLiteral("%1 holds %2 in %3, confirmed was %4")
                                         .arg(number, shown.describe(), where == Where::File ? "its files" : "memory", expected.describe())));
            }
        }
    }

    testsupport::TempDir m_dir;
    RandomUser m_user;
    std::unique_ptr<MainWindow> m_window;
    std::map<QString, Registration> m_confirmed;
    std::optional<Open> m_open;
    std::optional<QString> m_failure;
    QList<std::pair<QString, Registration>> m_exports;
    mutable QHash<QString, FileRows> m_files;
    QHash<QByteArray, QString> m_photoSources; // bytes → file name of each picture the user picks from
    std::optional<std::pair<QString, QString>> m_built; // registration and level-3 code the condition panels were built for
    std::map<int, ConditionItem> m_items;               // the condition items as the user left them
};

QList<Kind> kindsOnList() { return {Kind::New, Kind::New, Kind::Open, Kind::Open, Kind::Open, Kind::Delete, Kind::Export, Kind::Import, Kind::Restart}; }
QList<Kind> kindsOnEntry()
{
    return {Kind::TypeTitle,   Kind::TypeTitle,   Kind::TypeSection, Kind::TypeCompareTitle, Kind::TypeCompareTitle, Kind::TypeCell,
            Kind::TypeCell,    Kind::SwitchPage,  Kind::CostType,    Kind::Sheet,            Kind::Sheet,            Kind::Records,
            Kind::Records,     Kind::ChoosePhoto, Kind::ChoosePhoto, Kind::ClearPhoto,       Kind::Save,             Kind::Save,
            Kind::Menu,        Kind::Menu,        Kind::ListTab,     Kind::Discard,          Kind::Close,            Kind::TypeYear,
            Kind::ChooseGroup, Kind::Classify,    Kind::Classify,    Kind::Classify,         Kind::PhotoTitle,       Kind::Patent,
            Kind::Patent,      Kind::Conditions,  Kind::Conditions,  Kind::Conditions,       Kind::TypeHeading};
}

struct Outcome
{
    int failedAt = -1; // index of the failing action, -1: none
    QString why;
};

// Replays `actions` on a fresh folder, stopping at the first violation.
Outcome replay(const QList<Action>& actions)
{
    SequenceRun run;
    for (int i = 0; i < actions.size(); ++i) {
        if (const std::optional<QString> failure = run.perform(actions.at(i)))
            return {i, *failure};
    }
    return {};
}

// The shortest failing sequence found within the time budget: chunks of actions left out as long
// as the rest still fails.
QList<Action> shrink(QList<Action> failing, qint64 budgetMs)
{
    QElapsedTimer clock;
    clock.start();
    for (int chunk = int(failing.size()) / 2; chunk >= 1 && clock.elapsed() < budgetMs; chunk /= 2) {
        for (int start = 0; start + chunk <= failing.size() && clock.elapsed() < budgetMs;) {
            QList<Action> candidate = failing.mid(0, start) + failing.mid(start + chunk);
            const Outcome outcome = replay(candidate);
            if (outcome.failedAt >= 0)
                failing = candidate.mid(0, outcome.failedAt + 1);
            else
                start += chunk;
        }
    }
    return failing;
}

int environmentNumber(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

// A sequence as describe() prints it, for SEQUENCE_REPLAY.
QList<Action> parse(const QString& text)
{
    QList<Action> actions;
    for (const QString& part : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString name = part.section(QLatin1Char('('), 0, 0);
        for (int k = 0; k <= int(Kind::TypeHeading); ++k) {
            if (name == QLatin1String(kindName(Kind(k))))
                actions.append({Kind(k), part.section(QLatin1Char('('), 1).chopped(1).toUInt()});
        }
    }
    return actions;
}

TEST(EditingSequence, RandomUserKeepsExactlyWhatWasConfirmed)
{
    // SEQUENCE_REPLAY="new(1) type-title(2) …" replays a printed sequence instead.
    if (const QString printed = qEnvironmentVariable("SEQUENCE_REPLAY"); !printed.isEmpty()) {
        const Outcome outcome = replay(parse(printed));
        EXPECT_LT(outcome.failedAt, 0) << "action " << outcome.failedAt + 1 << ": " << outcome.why.toStdString();
        return;
    }
    const int steps = environmentNumber("SEQUENCE_STEPS", 60);
    const quint32 seed = quint32(environmentNumber("SEQUENCE_SEED", 1));
    std::mt19937 choose(seed);
    QList<Action> actions;
    std::optional<QString> failure;
    {
        SequenceRun run;
        for (int step = 0; step < steps && !failure; ++step) {
            const QList<Kind> kinds = run.onList() ? kindsOnList() : kindsOnEntry();
            actions.append({kinds.at(int(choose() % quint32(kinds.size()))), quint32(choose())});
            failure = run.perform(actions.last());
        }
    }
    if (failure) {
        const QList<Action> shortest = shrink(actions, 120000);
        const Outcome again = replay(shortest);
        FAIL() << "seed " << seed << ", step " << actions.size() << ": " << failure->toStdString() << "\nshortest failing sequence ("
               << shortest.size() << " actions): " << describe(shortest).toStdString() << "\nit fails with: "
               << (again.failedAt >= 0 ? again.why.toStdString() : std::string("(did not fail again)"));
    }
    std::printf("seed %u: %d steps without a violation\n", seed, steps);
}

} // namespace
