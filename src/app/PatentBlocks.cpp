#include "app/PatentBlocks.h"

#include "entry/Patents.h"
#include "store/DataModule.h"
#include "widgets/NamedChild.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace app {

namespace {

const QString kPictureTable = QStringLiteral("NT_TBL_PICTURE");
const QString kDetailTable = QStringLiteral("NT_TBL_DETAIL");

// Enabled boxes are white, disabled ones take the button face.
void enableBox(QWidget* box, bool enabled)
{
    box->setEnabled(enabled);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, enabled ? QColor(Qt::white) : palette.color(QPalette::Button));
    box->setPalette(palette);
}

void putInEdit(store::Table* table)
{
    if (table->isActive() && !table->isEditing())
        table->edit();
}

QString stored(store::Table* table, const QString& field)
{
    return table->isActive() && !table->isEmpty() ? table->field(field).asString().trimmed() : QString();
}

// Unchecks every button of an exclusive group, which Qt allows only with the exclusivity lifted.
void uncheck(QAbstractButton* button)
{
    QButtonGroup* group = button->group();
    if (group)
        group->setExclusive(false);
    button->setChecked(false);
    if (group)
        group->setExclusive(true);
}

} // namespace

PatentBlocks::PatentBlocks(QWidget* root, store::DataModule& dm, std::function<void(QWidget*)> markChange,
                           std::function<void()> markModified, std::function<int()> mode, QObject* parent)
    : QObject(parent), m_root(root), m_dm(dm), m_markChange(std::move(markChange)), m_markModified(std::move(markModified)),
      m_mode(std::move(mode))
{
    for (int n = 1; n <= patents::kBlocks; ++n) {
        const QString block = QString::number(n);
        for (const QString& field : patents::kBlockCodeFields) {
            for (const QString& name : {patents::yesButton(field, block), patents::noButton(field, block)}) {
                auto* button = control<QAbstractButton>(name);
                connect(button, &QAbstractButton::clicked, this, [this, button] { onButtonChosen(button); });
            }
        }
        auto* memo = control<QPlainTextEdit>(patents::numbered(QStringLiteral("CERTIFY_PATENT_NO"), n));
        connect(memo, &QPlainTextEdit::textChanged, this, [this, memo, n] {
            // A memo emptied while a new main row has no number yet changes nothing: a patent row
            // begun then would be stored without its registration's number.
            if (m_mode() < 0 || !mainRowHasNumber())
                return;
            m_markChange(memo);
            patentNumberChanged(n);
        });
    }
    for (int k = 1; k <= 4; ++k) {
        auto* button = control<QAbstractButton>(QStringLiteral("RbCERTIFY_IDEA_STAT%1").arg(k));
        connect(button, &QAbstractButton::clicked, this, [this, button] { onButtonChosen(button); });
        connect(button, &QAbstractButton::toggled, this, [this, button](bool checked) {
            if (checked)
                utilityModelStateChosen(button);
        });
    }
    for (const QString& field : patents::kIdeaLicenceFields) {
        for (const QString& name : {patents::yesButton(field), patents::noButton(field)}) {
            auto* button = control<QAbstractButton>(name);
            connect(button, &QAbstractButton::clicked, this, [this, button] { onButtonChosen(button); });
        }
    }
    // A click and the space key both arrive as the box's click.
    connect(control<QAbstractButton>(QStringLiteral("TERGET_OTHER_YN")), &QAbstractButton::clicked, this,
            [this] { otherAimToggled(); });
}

template <typename T>
T* PatentBlocks::control(const QString& name) const
{
    T* found = widgets::namedChild<T>(m_root, name);
    Q_ASSERT_X(found, "PatentBlocks", qPrintable(name));
    return found;
}

store::Table* PatentBlocks::table(const QString& name) const
{
    return m_dm.table(name);
}

bool PatentBlocks::mainRowHasNumber() const
{
    return !stored(table(QStringLiteral("NT_TBL_MAIN")), QStringLiteral("REG_NO")).isEmpty();
}

void PatentBlocks::setCode(store::Table* table, const QString& field, const QString& code)
{
    if (!table->isActive() || stored(table, field) == code)
        return;
    putInEdit(table);
    table->field(field).setString(code);
}

void PatentBlocks::record(store::Table* table, const QString& field, const QString& code)
{
    if (!table->isActive() || (!table->isEmpty() && stored(table, field) == code))
        return;
    putInEdit(table);
    table->field(field).setString(code);
    m_markModified();
}

void PatentBlocks::onButtonChosen(QAbstractButton* button)
{
    const QString name = button->objectName();
    for (const QString& field : patents::kBlockCodeFields) {
        if (const auto choice = patents::patentButtonChoice(name, field)) {
            record(table(kPictureTable), choice->field, choice->code);
            return;
        }
    }
    if (const auto status = patents::statusButtonCode(name, patents::kIdeaStatus)) {
        record(table(kDetailTable), patents::kIdeaStatus, *status);
        return;
    }
    for (const QString& field : patents::kIdeaLicenceFields) {
        if (name.startsWith(QStringLiteral("Rb") + field))
            record(table(kDetailTable), field, patents::licenceButtonCode(name, field));
    }
}

void PatentBlocks::showPair(const QString& field, const QString& suffix, const QString& code)
{
    auto* yes = control<QAbstractButton>(patents::yesButton(field, suffix));
    auto* no = control<QAbstractButton>(patents::noButton(field, suffix));
    yes->setEnabled(true);
    no->setEnabled(true);
    (code == patents::kYes ? yes : no)->setChecked(true);
}

void PatentBlocks::clearPair(const QString& field, const QString& suffix)
{
    for (const QString& name : {patents::yesButton(field, suffix), patents::noButton(field, suffix)}) {
        auto* button = control<QAbstractButton>(name);
        uncheck(button);
        button->setEnabled(false);
    }
}

void PatentBlocks::patentNumberChanged(int block)
{
    const QString suffix = QString::number(block);
    store::Table* pictures = table(kPictureTable);
    const bool active = !control<QPlainTextEdit>(patents::numbered(QStringLiteral("CERTIFY_PATENT_NO"), block))->toPlainText().isEmpty();
    if (active) {
        putInEdit(pictures);
        for (const QString& field : patents::kBlockCodeFields) {
            const QString code = patents::activeCode(stored(pictures, field + suffix));
            setCode(pictures, field + suffix, code);
            showPair(field, suffix, code);
        }
    } else {
        for (const QString& field : patents::kBlockCodeFields) {
            clearPair(field, suffix);
            setCode(pictures, field + suffix, patents::kNotApplicable);
        }
    }
    for (const QString& box : patents::kBlockDetailBoxes) {
        auto* edit = control<QLineEdit>(box + suffix);
        if (!active) {
            if (pictures->isActive() && !stored(pictures, box + suffix).isEmpty()) {
                putInEdit(pictures);
                pictures->field(box + suffix).clear();
            }
            edit->clear();
        }
        enableBox(edit, active);
    }
}

void PatentBlocks::utilityModelStateChosen(QAbstractButton* button)
{
    store::Table* detail = table(kDetailTable);
    const QString status = patents::statusButtonCode(button->objectName(), patents::kIdeaStatus).value_or(QString());
    const patents::IdeaCodes codes = patents::afterStatusChoice(
        {status, stored(detail, patents::kIdeaLicenceFields.at(0)), stored(detail, patents::kIdeaLicenceFields.at(1))});
    setCode(detail, patents::kIdeaLicenceFields.at(0), codes.general);
    setCode(detail, patents::kIdeaLicenceFields.at(1), codes.exclusive);
    const bool granted = status == patents::kYes;
    for (const QString& field : patents::kIdeaLicenceFields) {
        if (granted) {
            // A granted model starts with both licences answered "無し".
            showPair(field, {}, patents::kNo);
        } else {
            clearPair(field, {});
        }
    }
    auto* number = control<QLineEdit>(QStringLiteral("CERTIFY_IDEA_NO"));
    if (!granted) {
        if (!stored(detail, QStringLiteral("CERTIFY_IDEA_NO")).isEmpty()) {
            putInEdit(detail);
            detail->field(QStringLiteral("CERTIFY_IDEA_NO")).clear();
        }
        number->clear();
    }
    enableBox(number, granted);
}

void PatentBlocks::ShowStoredCodes()
{
    store::Table* detail = table(kDetailTable);
    if (stored(detail, QStringLiteral("CERTIFY_PATENT_STAT")).isEmpty()) {
        setCode(detail, QStringLiteral("CERTIFY_PATENT_STAT"), QStringLiteral("4"));
        enableBox(control(QStringLiteral("CERTIFY_PATENT_NO")), false);
        enableBox(control(QStringLiteral("CERTIFY_IDEA_NO")), false);
    } else if (auto* hidden = m_root->findChild<QAbstractButton*>(QStringLiteral("RbCERTIFY_PATENT_STAT")
                                                                    + stored(detail, QStringLiteral("CERTIFY_PATENT_STAT")))) {
        hidden->setChecked(true);
    }

    const patents::IdeaCodes opened = patents::whenOpened({stored(detail, patents::kIdeaStatus),
                                                           stored(detail, patents::kIdeaLicenceFields.at(0)),
                                                           stored(detail, patents::kIdeaLicenceFields.at(1))});
    setCode(detail, patents::kIdeaStatus, opened.status);
    auto* statusButton = m_root->findChild<QAbstractButton*>(QStringLiteral("RbCERTIFY_IDEA_STAT") + opened.status);
    if (statusButton) {
        if (statusButton->isChecked())
            utilityModelStateChosen(statusButton);
        else
            statusButton->setChecked(true); // runs the enabling rule
    }
    setCode(detail, patents::kIdeaLicenceFields.at(0), opened.general);
    setCode(detail, patents::kIdeaLicenceFields.at(1), opened.exclusive);
    if (opened.status == patents::kYes) {
        showPair(patents::kIdeaLicenceFields.at(0), {}, opened.general);
        showPair(patents::kIdeaLicenceFields.at(1), {}, opened.exclusive);
    }

    ShowBlocks();
}

void PatentBlocks::ShowBlocks()
{
    for (int n = 1; n <= patents::kBlocks; ++n)
        patentNumberChanged(n);
    showTargetOther();
}

void PatentBlocks::otherAimToggled()
{
    if (m_mode() == 0)
        m_markModified();
    showTargetOther();
}

void PatentBlocks::showTargetOther()
{
    enableBox(control(QStringLiteral("TERGET_OTHER")), control<QAbstractButton>(QStringLiteral("TERGET_OTHER_YN"))->isChecked());
}

} // namespace app
