#include "dialogs/OtherContactDialog.h"

#include "dialogs/RecordRules.h"
#include "store/DataModule.h"
#include "util/PostCode.h"
#include "widgets/DBEdit.h"
#include "widgets/FieldLink.h"
#include "widgets/TextLineEdit.h"
#include "widgets/VisibleRows.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include <algorithm>

namespace dialogs {

namespace {

const QString kOrder = QStringLiteral("SALES_ORDER_OTHER");
const QString kId = QStringLiteral("REC_ID");
const QString kPostCode = QStringLiteral("SALES_POST_CODE_OTHER");
const QString kBefore = QStringLiteral("前");
constexpr double kNoPosition = 9999; // a contact not yet given its place

SubRecordSettings companySettings()
{
    SubRecordSettings s;
    s.name = QStringLiteral("SALES_COMPANY_OTHER_Frm");
    s.caption = QStringLiteral("問合せ先の内容（その他）");
    s.table = QStringLiteral("NT_TBL_COMPANY");
    s.rowLimit = 40;
    s.prevButton = QStringLiteral("BtnPrevCmpny");
    s.nextButton = QStringLiteral("BtnNextCmpny");
    s.numberLabel = QStringLiteral("Label1");
    s.questionIcon = UserInteraction::Icon::Question;
    s.editOkQuestion = kSaveEditingQuestion;
    s.navigationAsksForNewRow = false;
    return s;
}

// A row of the box line: the widgets side by side, then a stretch.
QWidget* boxLine(QWidget* parent, const QList<QWidget*>& parts)
{
    auto* host = new QWidget(parent);
    auto* row = new QHBoxLayout(host);
    row->setContentsMargins(0, 0, 0, 0);
    for (QWidget* part : parts) {
        part->setParent(host);
        row->addWidget(part);
    }
    row->addStretch(1);
    return host;
}

} // namespace

OtherContactDialog::OtherContactDialog(store::DataModule& dm, QWidget* parent)
    : SubRecordDialog(dm, companySettings(), parent)
{
    const auto bound = [this](const char* field, const QString& caption, const QString& hint = {}) {
        auto* edit = new widgets::DBEdit(source(), QLatin1String(field), this);
        addLine(caption, edit, hint);
        return edit;
    };
    auto* note = new QLabel(kInputHint, this);
    body()->addWidget(note, body()->rowCount(), 0, 1, 3);
    m_company = bound("SALES_COMPANY_OTHER", QStringLiteral("会社"));
    m_section = bound("SALES_SECTION_OTHER", QStringLiteral("担当部署"));
    m_stuff = bound("SALES_STUFF_OTHER", QStringLiteral("担当者"));

    m_post1 = new widgets::TextLineEdit(QStringLiteral("SALES_POST_CODE_OTHER1"), this);
    m_post2 = new widgets::TextLineEdit(QStringLiteral("SALES_POST_CODE_OTHER2"), this);
    m_post1->setMaxLength(3);
    m_post2->setMaxLength(4);
    m_post1->setFixedWidth(50);
    m_post2->setFixedWidth(60);
    addLine(QStringLiteral("郵便番号"),
            boxLine(this, {new QLabel(QStringLiteral("〒")), m_post1, new QLabel(QStringLiteral("-")), m_post2}),
            QStringLiteral("(半角入力)"));

    m_address = bound("SALES_ADDRESS_OTHER", QStringLiteral("住所"));
    m_tel = bound("SALES_TEL_NO_OTHER", QStringLiteral("TEL"), QStringLiteral("(半角入力 例： 01-234-5678 )"));
    m_fax = bound("SALES_FAX_NO_OTHER", QStringLiteral("FAX"), QStringLiteral("(半角入力 例： 01-234-5678 )"));
    m_mail = bound("SALES_E_MAIL_OTHER", QStringLiteral("E-MAIL"), QStringLiteral("(半角入力)"));
    m_url = bound("SALES_URL_OTHER", QStringLiteral("URL"), QStringLiteral("(半角入力)"));

    m_position = new QComboBox(this);
    m_position->setObjectName(QStringLiteral("SALES_ORDER_INFO1"));
    m_side = new QComboBox(this);
    m_side->setObjectName(QStringLiteral("SALES_ORDER_INFO2"));
    m_side->addItems({QString(), kBefore, QStringLiteral("後")});
    m_position->setMinimumWidth(60);
    m_side->setMinimumWidth(60);
    addLine(QStringLiteral("挿入先"),
            boxLine(this, {m_position, new QLabel(QStringLiteral("番目の")), m_side, new QLabel(QStringLiteral("に挿入"))}),
            QStringLiteral("( 未設定の場合は最後に追加します。)"));

    for (widgets::DBEdit* edit : {m_company, m_section, m_stuff, m_address, m_tel, m_fax, m_mail, m_url}) {
        attachSpaceRule(edit);
        attachConversionOnExit(edit);
    }
    for (widgets::TextLineEdit* box : {m_post1, m_post2}) {
        attachSpaceRule(box);
        attachConversionOnExit(box);
        attachAllowedCharacters(box, QStringLiteral("0123456789"));
        connect(box, &QLineEdit::textEdited, this, &OtherContactDialog::unboundChanged);
    }
    for (widgets::DBEdit* box : {m_tel, m_fax})
        attachAllowedCharacters(box, QStringLiteral("0123456789()+-"));
    for (widgets::DBEdit* box : {m_mail, m_url})
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
    for (QComboBox* list : {m_position, m_side}) {
        attachChoiceOnly(list, false);
        connect(list, &QComboBox::activated, this, &OtherContactDialog::unboundChanged);
    }
    finishControls();
}

QWidget* OtherContactDialog::firstControl() const
{
    return m_company;
}

void OtherContactDialog::unboundChanged()
{
    if (table()->isActive() && !table()->isEditing())
        table()->edit();
}

void OtherContactDialog::SetData()
{
    QString first, second;
    postcode::split(table()->field(kPostCode).asString(), &first, &second);
    m_post1->setText(first);
    m_post2->setText(second);

    m_position->clear();
    m_position->addItem(QString());
    for (int n = 1; n <= table()->recordCount(); ++n)
        m_position->addItem(QString::number(n));
    m_position->setCurrentIndex(0);
    m_side->setCurrentIndex(0);
    const store::Field order = table()->field(kOrder);
    if (!order.isNull()) {
        m_position->setCurrentIndex(std::max(0, m_position->findText(order.asString())));
        m_side->setCurrentIndex(m_side->findText(kBefore));
    }
}

bool OtherContactDialog::CompanyCheck()
{
    using Icon = UserInteraction::Icon;
    if (m_company->text().trimmed().isEmpty())
        return problem(m_company, QStringLiteral("会社を入力してください。"));
    if (m_section->text().trimmed().isEmpty())
        return problem(m_section, QStringLiteral("担当部署を入力してください。"));
    if (m_stuff->text().trimmed().isEmpty())
        return problem(m_stuff, QStringLiteral("担当者を入力してください。"));
    for (widgets::TextLineEdit* box : {m_post1, m_post2}) {
        if (box->text().trimmed().isEmpty())
            return problem(box, QStringLiteral("郵便番号を入力してください。"));
    }
    if (!rules::isPostCodePart(m_post1->text(), 3))
        return problem(m_post1, QStringLiteral("郵便番号の書式が誤っています。\r\n半角で３桁の整数を入力してください。"), Icon::Error);
    if (!rules::isPostCodePart(m_post2->text(), 4))
        return problem(m_post2, QStringLiteral("郵便番号の書式が誤っています。\r\n半角で４桁の整数を入力してください。"), Icon::Error);
    if (m_address->text().trimmed().isEmpty())
        return problem(m_address, QStringLiteral("住所を入力してください。"));
    if (m_tel->text().trimmed().isEmpty())
        return problem(m_tel, QStringLiteral("TELを入力してください。"));
    if (m_fax->text().trimmed().isEmpty())
        return problem(m_fax, QStringLiteral("FAXを入力してください。"));
    return false;
}

bool OtherContactDialog::SaveData()
{
    store::Table* t = table();
    if (!widgets::FieldLink::flush(t))
        return false;
    const QString postCode = postcode::storedForm(m_post1->text(), m_post2->text());
    if (!postCode.isEmpty())
        t->field(kPostCode).setString(postCode);
    if (t->field(kOrder).isNull())
        t->field(kOrder).setFloat(kNoPosition);
    const double id = t->field(kId).asFloat();
    const double ownOrder = t->field(kOrder).asFloat();
    if (!t->post())
        return false;

    const double order = newOrder(id, ownOrder);
    t->locate(kId, id);
    t->edit();
    t->field(kOrder).setFloat(order);
    t->post();
    renumber();
    writeTableFile();
    // The stored contact stays the current one.
    t->locate(kId, id);
    return true;
}

double OtherContactDialog::newOrder(double id, double ownOrder)
{
    QVector<store::Table::RowValues> rows;
    widgets::visibleRowValues(table(), &rows);
    const int idField = table()->fieldIndex(kId);
    const int orderField = table()->fieldIndex(kOrder);
    if (!m_position->currentText().isEmpty() && !m_side->currentText().isEmpty()) {
        QList<double> orders;
        for (const auto& row : std::as_const(rows))
            orders.append(row.at(orderField).toDouble());
        const int p = m_position->currentText().toInt() - (m_side->currentText() == kBefore ? 1 : 0);
        return rules::orderAtPosition(orders, p);
    }
    if (ownOrder != kNoPosition)
        return ownOrder;
    double highest = 0;
    for (const auto& row : std::as_const(rows)) {
        if (row.at(idField).toDouble() != id && !row.at(orderField).isNull())
            highest = std::max(highest, row.at(orderField).toDouble());
    }
    return highest + 1;
}

void OtherContactDialog::renumber()
{
    store::Table* t = table();
    QVector<store::Table::RowValues> rows;
    widgets::visibleRowValues(t, &rows);
    const int idField = t->fieldIndex(kId);
    QList<double> ids;
    for (const auto& row : std::as_const(rows))
        ids.append(row.at(idField).toDouble());
    const int n = int(ids.size());
    // First −n … −1 from the top, then n … 1 from the bottom: no two contacts share a number at
    // any moment and the order is kept.
    const auto number = [t](double id, int value) {
        t->locate(kId, id);
        t->edit();
        t->field(kOrder).setInteger(value);
        t->post();
    };
    for (int i = 0; i < n; ++i)
        number(ids.at(i), i - n);
    for (int i = n - 1; i >= 0; --i)
        number(ids.at(i), i + 1);
}

} // namespace dialogs
