#include "app/SubmissionChangesDialog.h"

#include "app/EntryForm.h"
#include "util/UserInteraction.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace app {

SubmissionChangesDialog::SubmissionChangesDialog(Purpose purpose, Compare compare, ShowControl showControl, QWidget* parent)
    : QDialog(parent)
    , m_purpose(purpose)
    , m_compare(std::move(compare))
    , m_showControl(std::move(showControl))
{
    setObjectName(QStringLiteral("FrmSubmissionChanges"));
    setWindowTitle(QStringLiteral("前回提出との比較"));
    if (purpose == Purpose::Browse) {
        // Beside the main window, like the input check: the user looks at the items with it open.
        setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        setModal(false);
    } else {
        setModal(true);
    }
    resize(760, 400);

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("lblChangesSummary"));
    m_summary->setWordWrap(true);
    m_notes = new QLabel(this);
    m_notes->setObjectName(QStringLiteral("lblChangesNotes"));
    m_notes->setWordWrap(true);
    m_notes->setStyleSheet(QStringLiteral("color: #b00000;"));
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ChangeList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setHeaderLabels({QStringLiteral("ページ"), QStringLiteral("項目"), QStringLiteral("提出ファイル"), QStringLiteral("現在")});
    // Wide enough for the longest page name with a gap before the item.
    m_list->header()->setSectionResizeMode(0, QHeaderView::Interactive);
    m_list->header()->resizeSection(0, fontMetrics().horizontalAdvance(QStringLiteral("従来技術との比較")) + 3 * fontMetrics().averageCharWidth() + 16);
    m_list->header()->setSectionResizeMode(1, QHeaderView::Interactive);
    m_list->header()->resizeSection(1, 240);
    m_list->header()->resizeSection(2, 200);
    m_list->header()->setStretchLastSection(true);
    const auto chosen = [this](QTreeWidgetItem* item) { showDifference(m_list->indexOfTopLevelItem(item)); };
    connect(m_list, &QTreeWidget::itemActivated, this, chosen);
    connect(m_list, &QTreeWidget::itemClicked, this, chosen);

    auto* buttons = new QHBoxLayout;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_notes);
    if (purpose == Purpose::Browse) {
        QPushButton* fileButton = form::button(QStringLiteral("BtnCompareWithFile"), QStringLiteral("ファイルを選んで比較..."), this);
        QPushButton* closeButton = form::button(QStringLiteral("BtnCloseChanges"), QStringLiteral("閉じる"), this);
        connect(fileButton, &QPushButton::clicked, this, &SubmissionChangesDialog::chooseFile);
        connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
        buttons->addWidget(fileButton);
        buttons->addStretch();
        buttons->addWidget(closeButton);
        layout->addWidget(form::note(QStringLiteral("保存した内容を提出ファイルと比べます。行を選ぶと、その項目を表示します。"), this));
    } else {
        QPushButton* goOn = form::button(QStringLiteral("BtnContinueExport"), QStringLiteral("続ける"), this);
        QPushButton* stop = form::button(QStringLiteral("BtnStopExport"), QStringLiteral("やめる"), this);
        connect(goOn, &QPushButton::clicked, this, &QDialog::accept);
        connect(stop, &QPushButton::clicked, this, &QDialog::reject);
        goOn->setDefault(true);
        buttons->addStretch();
        buttons->addWidget(goOn);
        buttons->addWidget(stop);
        layout->addWidget(form::note(QStringLiteral("前回の提出から変わった項目です。このまま提出用ファイルを作成しますか？"), this));
    }
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
}

void SubmissionChangesDialog::compare(const QString& file)
{
    m_changes = m_compare(file);
    m_list->clear();
    for (const submission::Difference& d : std::as_const(m_changes.differences)) {
        auto* item = new QTreeWidgetItem(m_list, QStringList{d.page, d.caption, d.inFile, d.now});
        for (int column = 1; column < 4; ++column)
            item->setToolTip(column, item->text(column));
    }
    if (!m_changes.compared)
        m_summary->setText(m_changes.error);
    else if (m_changes.differences.isEmpty())
        m_summary->setText(QStringLiteral("%1 と比較しました。\n%2").arg(m_changes.against, submission::kNoChanges));
    else
        m_summary->setText(QStringLiteral("%1 と比較しました。%2 件の変更があります。").arg(m_changes.against).arg(m_changes.differences.size()));
    m_notes->setText(m_changes.notes.join(QLatin1Char('\n')));
    m_notes->setVisible(!m_changes.notes.isEmpty());
}

void SubmissionChangesDialog::chooseFile()
{
    UserInteraction::FileRequest request;
    request.filters = {QStringLiteral("新技術データ|*.lzh")};
    const QString path = UserInteraction::current().fileDialog(UserInteraction::FileKind::Open, request).path;
    if (!path.isEmpty())
        compare(path);
}

void SubmissionChangesDialog::showDifference(int row)
{
    if (m_purpose == Purpose::Browse && row >= 0 && row < m_changes.differences.size() && m_showControl)
        m_showControl(m_changes.differences.at(row).control);
}

} // namespace app
