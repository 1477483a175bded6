#include "app/MainWindowPages.h"

#include "app/MainWindowControls.h"
#include "widgets/DBGrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace app {

namespace {

// The six commands of the list page with the line that explains each.
struct Command
{
    QString name;
    QString caption;
    QString explanation;
};

const QList<Command> kCommands = {
    {controls::kNewButton, QStringLiteral("新規作成"), QStringLiteral("データを新規に作成します。")},
    {controls::kOpenButton, QStringLiteral("編集"), QStringLiteral("”新技術一覧”で選択されているデータを編集します。")},
    {controls::kDeleteButton, QStringLiteral("削除"), QStringLiteral("”新技術一覧”で選択されているデータを削除します。")},
    {controls::kExportButton, QStringLiteral("提出用ファイル作成"), QString()},
    {controls::kImportButton, QStringLiteral("データ取り込み"), QString()},
    {controls::kEndButton, QStringLiteral("終了"), QStringLiteral("プログラムを終了します。")},
};

} // namespace

QWidget* buildListPage(const form::SourceOf& sourceOf, QWidget* parent)
{
    auto* page = new QWidget(parent);
    page->setObjectName(controls::kListPage);
    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(8, 8, 8, 8);

    auto* listBox = new QGroupBox(QStringLiteral("新技術一覧"), page);
    auto* listLayout = new QVBoxLayout(listBox);
    auto* grid = new widgets::DBGrid(sourceOf(QStringLiteral("NT_TBL_MAIN")),
                                     {{QStringLiteral("REG_NO"), QStringLiteral("登録番号"), 0},
                                      {QStringLiteral("TECH_TITLE"), QStringLiteral("技術名称"), 878}},
                                     listBox, controls::kTechnologyList);
    grid->setColumnHidden(0, true);
    listLayout->addWidget(grid);
    // Registrations of the same name (after an import, say) are told apart by their numbers.
    QLabel* number = form::label(QString(), listBox, QStringLiteral("lblRegNo"));
    listLayout->addWidget(number);
    const auto showNumber = [grid, number] {
        const QModelIndex current = grid->currentIndex();
        const QString regNo = current.isValid() ? grid->model()->index(current.row(), 0).data().toString().trimmed() : QString();
        number->setText(regNo.isEmpty() ? QString() : QStringLiteral("選択中のデータの登録番号：") + regNo);
    };
    QObject::connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, number, showNumber);
    QObject::connect(grid->model(), &QAbstractItemModel::modelReset, number, showNumber);
    QObject::connect(grid->model(), &QAbstractItemModel::dataChanged, number, showNumber);
    layout->addWidget(listBox, 0, 0, 1, 2);

    auto* commands = new QGroupBox(page);
    auto* commandLayout = new QGridLayout(commands);
    int row = 0;
    for (const Command& command : kCommands) {
        QPushButton* button = form::button(command.name, command.caption, commands);
        button->setMinimumWidth(150);
        commandLayout->addWidget(button, row, 0);
        commandLayout->addWidget(form::label(command.explanation, commands), row++, 1);
    }
    commandLayout->setColumnStretch(1, 1);
    layout->addWidget(commands, 1, 0);

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
