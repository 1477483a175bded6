#include "entry/Conditions.h"

#include "store/Table.h"
#include "util/SjisText.h"

#include <QFile>
#include <QFileInfo>

namespace conditions {

namespace {

// "+" stands for a blank wherever the file holds a caption, a name or a unit.
QString withBlanks(QString text)
{
    return text.replace(QLatin1Char('+'), QLatin1Char(' '));
}

QStringList splitAt(const QString& text, QChar separator)
{
    QStringList parts = text.split(separator);
    if (parts.size() > 1 && parts.last().isEmpty())
        parts.removeLast(); // a separator at the end starts no field
    if (parts.size() == 1 && parts.first().isEmpty())
        parts.clear();
    for (QString& part : parts)
        part = withBlanks(part);
    return parts;
}

// The lines of a file read as the system reads text files: CR LF, LF or a lone CR ends a line,
// and a last line without an end is a line too.
QList<QByteArray> textLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines.append(bytes.mid(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.append(bytes.mid(start));
    return lines;
}

} // namespace

QStringList splitFields(const QString& line)
{
    QString text = line;
    text.replace(QLatin1Char('%'), QChar(0xFF05)); // "％"
    return splitAt(text, QLatin1Char('\t'));
}

QStringList splitChoices(const QString& field)
{
    // The field has already had its "+" read as blanks; the choices are split by the same rule.
    return splitAt(field, QLatin1Char('/'));
}

ItemDefinition definitionOf(const QStringList& fields)
{
    ItemDefinition definition;
    const QString number = fields.value(1);
    if (number.size() == 1 && number.at(0) >= QLatin1Char('1') && number.at(0) <= QLatin1Char('6'))
        definition.item = number.at(0).digitValue();
    definition.kind = fields.value(2);
    definition.name = fields.value(3);
    const QString fifth = fields.value(4);
    if (definition.kind == QLatin1String("M")) {
        definition.choices = splitChoices(fifth).mid(0, kMaxChoices);
    } else if (definition.kind == QLatin1String("S")) {
        const QStringList choices = splitChoices(fifth);
        definition.choices = choices.mid(qMax(0, int(choices.size()) - 2));
    } else if (definition.isMeasured()) {
        definition.hasUnit = fields.size() == 5;
        if (definition.hasUnit)
            definition.unit = fifth;
    }
    return definition;
}

bool readDefinitions(const QString& path, const QString& code, QList<ItemDefinition>* definitions, QString* error)
{
    definitions->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1 を読み込めません。\r\n%2").arg(QFileInfo(path).fileName(), file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("%1 を読み込めません。\r\n%2").arg(QFileInfo(path).fileName(), file.errorString());
        return false;
    }
    if (code.isEmpty())
        return true;
    for (const QByteArray& line : textLines(bytes)) {
        const QStringList fields = splitFields(sjis::decode(line));
        if (fields.size() < 4 || fields.first() != code)
            continue;
        definitions->append(definitionOf(fields));
    }
    return true;
}

QString definitionCode(const QString& level1, const QString& level2, const QString& level3)
{
    if (level1.trimmed().isEmpty() || level2.trimmed().isEmpty())
        return QString();
    return level3.trimmed();
}

QString choiceCaption(const ItemDefinition& definition, int choice)
{
    return definition.choices.value(int(definition.choices.size()) - 2 + choice);
}

ItemControls controlsOfStoredText(const QString& storedText)
{
    ItemControls controls;
    for (int k = 1; k <= kMaxChoices; ++k)
        controls.checked.append(isChecked(storedText, k));
    controls.selected = selectedChoice(storedText);
    return controls;
}

namespace {

QString withUnit(const QString& value, const ItemDefinition& definition)
{
    return definition.hasUnit && !definition.unit.isEmpty() ? value + QLatin1Char(' ') + definition.unit : value;
}

QString rangeText(const QString& lower, const QString& upper)
{
    if (lower.isEmpty() && upper.isEmpty())
        return QString();
    if (upper.isEmpty())
        return lower + QStringLiteral(" ～");
    if (lower.isEmpty())
        return QStringLiteral("～ ") + upper;
    return lower + QStringLiteral(" ～ ") + upper;
}

} // namespace

ShownCondition shownCondition(const ItemDefinition& definition, const ItemControls& controls, const QString& storedText,
                              const QString& minValue, const QString& maxValue)
{
    ShownCondition shown{definition.name, QString()};
    const QString& kind = definition.kind;
    if (kind == QLatin1String("M")) {
        QStringList checked;
        for (int k = 1; k <= definition.choices.size(); ++k) {
            if (controls.checked.value(k - 1))
                checked.append(definition.choices.at(k - 1));
        }
        shown.value = checked.join(QStringLiteral("、"));
    } else if (kind == QLatin1String("S")) {
        shown.value = controls.selected < 0 ? QString() : choiceCaption(definition, controls.selected);
    } else if (kind == QLatin1String("N")) {
        if (!minValue.trimmed().isEmpty())
            shown.value = withUnit(minValue.trimmed(), definition);
    } else if (kind == QLatin1String("R")) {
        const QString range = rangeText(minValue.trimmed(), maxValue.trimmed());
        if (!range.isEmpty())
            shown.value = withUnit(range, definition);
    } else if (kind == QLatin1String("T")) {
        shown.value = storedText.trimmed();
    }
    return shown;
}

QString checkStatesText(const QList<bool>& checked)
{
    QString text;
    for (int k = 0; k < kMaxChoices; ++k)
        text += checked.value(k) ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}

bool isChecked(const QString& storedText, int k)
{
    return k >= 1 && k <= storedText.size() && storedText.at(k - 1) == QLatin1Char('1');
}

QString choiceText(int selected)
{
    if (selected == 0)
        return QStringLiteral("0");
    if (selected == 1)
        return QStringLiteral("1");
    return QString();
}

int selectedChoice(const QString& storedText)
{
    if (storedText == QLatin1String("0"))
        return 0;
    if (storedText == QLatin1String("1"))
        return 1;
    return -1;
}

bool rangeContradicts(const QString& lower, const QString& upper)
{
    if (lower.isEmpty() || upper.isEmpty())
        return false;
    bool lowerWhole = false;
    bool upperWhole = false;
    const qlonglong low = lower.toLongLong(&lowerWhole);
    const qlonglong high = upper.toLongLong(&upperWhole);
    return lowerWhole && upperWhole && high < low;
}

QString rangeContradictionMessage(const QString& itemName)
{
    return itemName + QStringLiteral("の入力に矛盾があります。");
}

void changeConstMode(store::Table* view)
{
    if (!view->isActive() || view->isEditing())
        return;
    if (view->recordCount() > 0)
        view->edit();
    else
        view->append();
}

void removeItemRow(store::Table* view)
{
    if (!view->isActive())
        return;
    if (view->state() == store::Table::State::Insert)
        view->cancel();
    else if (view->recordCount() > 0)
        view->remove();
}

void writeChoices(store::Table* view, const QString& kind, const ItemControls& controls)
{
    if (!view->isEditing())
        return;
    if (kind == QLatin1String("M"))
        view->field(QStringLiteral("TXT")).setString(checkStatesText(controls.checked));
    else if (kind == QLatin1String("S"))
        view->field(QStringLiteral("TXT")).setString(choiceText(controls.selected));
}

bool putDataConst(store::Table* view, const QString& kind, const ItemControls& controls)
{
    if (kind.isEmpty()) {
        removeItemRow(view);
        return true;
    }
    if (!view->isEditing())
        return false;
    const auto clear = [view](const char* field) { view->field(QLatin1String(field)).clear(); };
    writeChoices(view, kind, controls);
    if (kind == QLatin1String("M")) {
        clear("MIN_VAL");
        clear("MAX_VAL");
    } else if (kind == QLatin1String("N")) {
        clear("MAX_VAL");
    } else if (kind == QLatin1String("R")) {
        clear("TXT");
    } else if (kind == QLatin1String("S")) {
        clear("MIN_VAL");
        clear("MAX_VAL");
    } else if (kind == QLatin1String("T")) {
        clear("MIN_VAL");
        clear("MAX_VAL");
        clear("F_UNIT");
    }
    view->post();
    return false;
}

void dropValuesOfAnotherKind(store::Table* view, const QString& kind)
{
    const QString stored = view->field(QStringLiteral("TYPE")).asString().trimmed();
    if (stored.isEmpty() || stored == kind)
        return;
    view->field(QStringLiteral("TXT")).clear();
    if (kind != QLatin1String("N") && kind != QLatin1String("R"))
        view->field(QStringLiteral("MIN_VAL")).clear();
    if (kind != QLatin1String("R"))
        view->field(QStringLiteral("MAX_VAL")).clear();
}

void removeIncompleteRows(store::Table* table)
{
    if (!table->isActive())
        return;
    table->checkBrowseMode();
    table->first();
    while (!table->eof() && table->recordCount() > 0) {
        const bool incomplete = table->field(QStringLiteral("REG_NO")).asString().trimmed().isEmpty()
            || table->field(QStringLiteral("ORD")).asString().trimmed().isEmpty();
        if (!incomplete) {
            table->next();
            continue;
        }
        const bool wasLast = table->recNo() == table->recordCount();
        table->remove();
        if (wasLast)
            break;
    }
}

} // namespace conditions
