#include "dialogs/MocRecordDialog.h"

#include "dialogs/BoundComboBox.h"
#include "store/DataModule.h"
#include "widgets/DBEdit.h"
#include "widgets/DBLookupComboBox.h"
#include "widgets/VisibleRows.h"

#include <QGridLayout>
#include <QLabel>

namespace dialogs {

namespace {

SubRecordSettings mocSettings()
{
    SubRecordSettings s;
    s.name = QStringLiteral("FrmMocRec");
    s.caption = QStringLiteral("施工実績の内訳（国土交通省）");
    s.table = QStringLiteral("PL_TBL_PROJECT_MOC");
    s.rowLimit = 20;
    s.prevButton = QStringLiteral("BtnPrevMoc");
    s.nextButton = QStringLiteral("BtnNextMoc");
    s.numberLabel = QStringLiteral("lblRecNo");
    s.questionIcon = UserInteraction::Icon::Information;
    s.questionsOfferCancel = true;
    s.editOkQuestion = kSaveEditingQuestion;
    return s;
}

} // namespace

MocRecordDialog::MocRecordDialog(store::DataModule& dm, QWidget* parent)
    : SubRecordDialog(dm, mocSettings(), parent)
{
    m_name = new widgets::DBEdit(source(), QStringLiteral("PJT_NAME"), this);
    addLine(QStringLiteral("工事名"), m_name, QStringLiteral("(全角入力)"));

    m_type = new widgets::DBLookupComboBox(source(), QStringLiteral("PJT_TYPE_CODE"), dm.dataSource(QStringLiteral("PL_STBL_PJT_TYPE")),
                                           QStringLiteral("CD"), QStringLiteral("PJT_TYPE"), this, QStringLiteral("DBLookupComboBox1"));
    addLine(QStringLiteral("事業種類"), m_type, QStringLiteral("(選択入力)"));
    m_bureau = new widgets::DBLookupComboBox(source(), QStringLiteral("CLIENT_MOC_CODE"), dm.dataSource(QStringLiteral("PL_STBL_CLIENT_MOC")),
                                             QStringLiteral("CD"), QStringLiteral("CLIENT"), this, QStringLiteral("DBLookupComboBox2"));
    addLine(QStringLiteral("整備局名"), m_bureau, QStringLiteral("(選択入力)"));
    addNote(kDeleteClearsHint);

    m_office = new BoundComboBox(source(), QStringLiteral("CLIENT_MOC_OFFICE"), this);
    addLine(QStringLiteral("事務所名"), m_office, QStringLiteral("(選択入力)"));
    m_code = new widgets::DBEdit(source(), QStringLiteral("CLIENT_MOC_CODE"), this);
    m_code->hide();

    m_talven = new widgets::DBEdit(source(), QStringLiteral("TALVEN_NO"), this);
    addLine(QStringLiteral("TALVEN登録番号"), m_talven, QStringLiteral("(半角入力)"));
    m_talven->setAttribute(Qt::WA_InputMethodEnabled, false);
    addPeriodBoxes(&m_start, &m_end);

    for (QWidget* edit : {static_cast<QWidget*>(m_name), static_cast<QWidget*>(m_talven)})
        attachSpaceRule(edit);
    attachConversionOnExit(m_name);
    attachChoiceOnly(m_type, true);
    attachChoiceOnly(m_bureau, true);
    connect(m_code, &QLineEdit::textChanged, this, &MocRecordDialog::clientCodeChanged);
    // Connected after the list's own handler: the code and the office list already follow the choice.
    connect(m_bureau, &QComboBox::activated, this, &MocRecordDialog::bureauChosen);
    setTabOrder(m_name, m_type);
    setTabOrder(m_type, m_bureau);
    setTabOrder(m_bureau, m_office);
    setTabOrder(m_office, m_talven);
    setTabOrder(m_talven, m_start);
    setTabOrder(m_start, m_end);
    finishControls();
    clientCodeChanged();
}

QWidget* MocRecordDialog::firstControl() const
{
    return m_name;
}

void MocRecordDialog::clientCodeChanged()
{
    // Bureau "081" has the offices 8100 to 8199.
    const QString low = m_code->text().trimmed().mid(1) + QStringLiteral("00");
    bool numeric = false;
    const int from = low.toInt(&numeric);
    QStringList offices;
    store::Table* list = dm().table(QStringLiteral("NT_STBL_HAC_SAI"));
    if (numeric && !m_code->text().trimmed().isEmpty() && list->isActive() && list->setFilter(QStringLiteral("CD >= %1 and CD < %2").arg(low).arg(from + 100))) {
        list->setFiltered(true);
        widgets::walkVisibleRows(list, [&](store::Table& row) { offices.append(row.field(QStringLiteral("HAC_SAI")).asString()); });
    }
    m_office->setEntries(offices);
}

void MocRecordDialog::bureauChosen()
{
    // An office of another bureau no longer fits the choice.
    bool listed = false;
    for (int i = 0; i < m_office->count() && !listed; ++i)
        listed = m_office->itemText(i) == m_office->currentText();
    if (!listed)
        m_office->clearText();
}

bool MocRecordDialog::CheckMoc()
{
    if (m_name->text().trimmed().isEmpty())
        return problem(m_name, QStringLiteral("工事名を入力してください"));
    if (m_type->keyValue().isEmpty())
        return problem(m_type, QStringLiteral("事業種類を選択してください"));
    if (m_bureau->keyValue().isEmpty())
        return problem(m_bureau, QStringLiteral("地建名を選択してください"));
    return checkPeriod(m_start, m_end);
}

} // namespace dialogs
