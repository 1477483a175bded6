#include "app/MainWindowPages.h"

#include "app/MainWindowControls.h"
#include "app/RegistrationList.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

namespace app {

namespace {

// The commands of the list page with the line that explains each and the key that gives it.
struct Command
{
    QString name;
    QString caption;
    QString explanation;
    QString key; // as shown in the tooltip
};

const QList<Command> kCommands = {
    {controls::kNewButton, QStringLiteral("新規作成"), QStringLiteral("データを新規に作成します。"), QStringLiteral("Ctrl+N")},
    {controls::kOpenButton, QStringLiteral("編集"), QStringLiteral("”新技術一覧”で選択されているデータを編集します。"), QStringLiteral("Enter")},
    {controls::kDuplicateButton, QStringLiteral("複製して新規作成"),
     QStringLiteral("”新技術一覧”で選択されているデータを複製して、新しい登録番号のデータを作成します。"), QStringLiteral("Ctrl+D")},
    {controls::kDeleteButton, QStringLiteral("削除"), QStringLiteral("”新技術一覧”で選択されているデータを削除します。"), QStringLiteral("Delete")},
    {controls::kExportButton, QStringLiteral("提出用ファイル作成"),
     QStringLiteral("”新技術一覧”で選択されているデータから提出用ファイル（.lzh）を作成します。"), QStringLiteral("Ctrl+E")},
    {controls::kImportButton, QStringLiteral("データ取り込み"),
     QStringLiteral("提出用ファイル（.lzh）のデータを、新しい登録番号のデータとして取り込みます。"), QStringLiteral("Ctrl+I")},
    {controls::kEndButton, QStringLiteral("終了"), QStringLiteral("プログラムを終了します。"), QStringLiteral("Alt+F4")},
};

// Calls `react` whenever the lines the filter shows may have changed.
template <typename React>
void onRowsShownChanged(RegistrationFilter* filter, QObject* context, React react)
{
    QObject::connect(filter, &QAbstractItemModel::modelReset, context, react);
    QObject::connect(filter, &QAbstractItemModel::layoutChanged, context, react);
    QObject::connect(filter, &QAbstractItemModel::rowsInserted, context, react);
    QObject::connect(filter, &QAbstractItemModel::rowsRemoved, context, react);
}

// The find box above the list with the count of the lines it lets through.
QWidget* buildFindRow(RegistrationListView* list, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(QStringLiteral("検索(&F)："), row);
    auto* find = new QLineEdit(row);
    find->setObjectName(controls::kFindBox);
    find->setClearButtonEnabled(true);
    find->setPlaceholderText(QStringLiteral("登録番号・技術名称・副題・開発会社の一部（全角・半角、大文字・小文字は区別しません）"));
    find->setToolTip(QStringLiteral("入力した文字を含むデータだけを一覧に表示します。 (Ctrl+F、Esc で消去)"));
    caption->setBuddy(find);
    auto* count = new QLabel(row);
    count->setObjectName(controls::kFindCount);
    layout->addWidget(caption);
    layout->addWidget(find, 1);
    layout->addWidget(count);

    RegistrationFilter* filter = list->filter();
    const auto showCount = [filter, count] {
        count->setText(QStringLiteral("%1 件 / 全 %2 件").arg(filter->rowCount()).arg(filter->sourceModel()->rowCount()));
    };
    QObject::connect(find, &QLineEdit::textChanged, list, [list, filter, showCount](const QString& text) {
        filter->setFindText(text);
        list->showCurrentRow();
        showCount();
    });
    onRowsShownChanged(filter, count, showCount);
    showCount();

    // Escape empties the box; Down or Enter hands the keyboard to the list.
    QObject::connect(new QShortcut(QKeySequence(Qt::Key_Escape), find, nullptr, nullptr, Qt::WidgetShortcut), &QShortcut::activated,
                     find, &QLineEdit::clear);
    QObject::connect(new QShortcut(QKeySequence(Qt::Key_Down), find, nullptr, nullptr, Qt::WidgetShortcut), &QShortcut::activated,
                     list, qOverload<>(&QWidget::setFocus));
    QObject::connect(find, &QLineEdit::returnPressed, list, qOverload<>(&QWidget::setFocus));
    auto* focusFind = new QShortcut(QKeySequence::Find, parent, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    QObject::connect(focusFind, &QShortcut::activated, find, [find] {
        find->setFocus(Qt::ShortcutFocusReason);
        find->selectAll();
    });
    return row;
}

} // namespace

QWidget* buildListPage(store::DataModule& dm, QWidget* parent)
{
    auto* page = new QWidget(parent);
    page->setObjectName(controls::kListPage);
    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(8, 8, 8, 8);

    auto* listBox = new QGroupBox(QStringLiteral("新技術一覧"), page);
    auto* listLayout = new QVBoxLayout(listBox);
    auto* list = new RegistrationListView(dm, listBox);
    list->setObjectName(controls::kTechnologyList);
    listLayout->addWidget(buildFindRow(list, listBox));
    listLayout->addWidget(list);
    layout->addWidget(listBox, 0, 0, 1, 2);

    auto* commands = new QGroupBox(page);
    auto* commandLayout = new QGridLayout(commands);
    int row = 0;
    for (const Command& command : kCommands) {
        QPushButton* button = form::button(command.name, command.caption, commands);
        button->setMinimumWidth(150);
        button->setToolTip(QStringLiteral("%1 (%2)").arg(command.explanation, command.key));
        commandLayout->addWidget(button, row, 0);
        QLabel* explanation = form::label(command.explanation, commands);
        explanation->setWordWrap(true);
        commandLayout->addWidget(explanation, row++, 1);
    }
    commandLayout->setColumnStretch(1, 1);
    layout->addWidget(commands, 1, 0);

    // The commands that act on the selected line wait while the find box hides every line.
    RegistrationFilter* filter = list->filter();
    const auto enableLineCommands = [filter, commands] {
        const bool noneShown = filter->rowCount() == 0 && filter->sourceModel()->rowCount() > 0;
        for (const QString& name : {controls::kOpenButton, controls::kDuplicateButton, controls::kDeleteButton, controls::kExportButton})
            commands->findChild<QPushButton*>(name)->setEnabled(!noneShown);
    };
    onRowsShownChanged(filter, commands, enableLineCommands);

    auto* help = new QPlainTextEdit(page);
    help->setObjectName(controls::kHelpText);
    help->setReadOnly(true);
    layout->addWidget(help, 1, 1);
    layout->setRowStretch(0, 3);
    layout->setRowStretch(1, 2);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);
    return page;
}

} // namespace app
