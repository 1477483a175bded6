#include "dialogs/PrivateRecordDialog.h"

#include "store/DataModule.h"
#include "widgets/DBEdit.h"
#include "widgets/DBLookupComboBox.h"

namespace dialogs {

namespace {

SubRecordSettings privateSettings()
{
    SubRecordSettings s;
    s.name = QStringLiteral("FrmPrvRec");
    s.caption = QStringLiteral("施工実績の内容（民間）");
    s.table = QStringLiteral("PL_TBL_PROJECT_PRIVATE");
    s.rowLimit = 20;
    s.prevButton = QStringLiteral("BtnPrevPrv");
    s.nextButton = QStringLiteral("BtnNextPrv");
    s.numberLabel = QStringLiteral("lblRecNo");
    s.questionIcon = UserInteraction::Icon::Question;
    s.editOkQuestion = kSaveEditingQuestion;
    return s;
}

} // namespace

PrivateRecordDialog::PrivateRecordDialog(store::DataModule& dm, QWidget* parent)
    : SubRecordDialog(dm, privateSettings(), parent)
{
    m_name = new widgets::DBEdit(source(), QStringLiteral("PJT_NAME"), this);
    addLine(QStringLiteral("工事名"), m_name, QStringLiteral("(全角入力)"));
    m_kind = new widgets::DBLookupComboBox(source(), QStringLiteral("CLIENT_KIND_CD"), dm.dataSource(QStringLiteral("PL_STBL_CLIENT_KIND")),
                                           QStringLiteral("CD"), QStringLiteral("CLIENT_KIND"), this, QStringLiteral("DBLookupComboBox1"));
    addLine(QStringLiteral("発注者（種別）"), m_kind, QStringLiteral("(選択入力)"));
    addNote(kDeleteClearsHint);
    m_client = new widgets::DBEdit(source(), QStringLiteral("CLIENT_NAME"), this);
    addLine(QStringLiteral("発注者（事務所名等）"), m_client, QStringLiteral("(全角入力)"));
    m_talven = new widgets::DBEdit(source(), QStringLiteral("TALVEN_NO"), this);
    addLine(QStringLiteral("TALVEN登録番号"), m_talven, QStringLiteral("(半角入力)"));
    m_talven->setAttribute(Qt::WA_InputMethodEnabled, false);
    addPeriodBoxes(&m_start, &m_end);

    for (widgets::DBEdit* edit : {m_name, m_client, m_talven})
        attachSpaceRule(edit);
    attachConversionOnExit(m_name);
    attachConversionOnExit(m_client);
    attachChoiceOnly(m_kind, true);
    setTabOrder(m_name, m_kind);
    setTabOrder(m_kind, m_client);
    setTabOrder(m_client, m_talven);
    setTabOrder(m_talven, m_start);
    setTabOrder(m_start, m_end);
    finishControls();
}

QWidget* PrivateRecordDialog::firstControl() const
{
    return m_name;
}

bool PrivateRecordDialog::CheckPrv()
{
    // The kind of client and the client's name may stay empty.
    if (m_name->text().trimmed().isEmpty())
        return problem(m_name, QStringLiteral("工事名を入力してください"));
    return checkPeriod(m_start, m_end);
}

} // namespace dialogs
