#include "report/FragmentBuilders.h"

#include "report/HtmlText.h"
#include "store/FieldDef.h"
#include "store/ProgramFolder.h"
#include "store/Table.h"
#include "util/ImageDimensions.h"

#include <QStringList>
#include <QUrl>

#include <cmath>

namespace report {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
constexpr int kShownPhotoWidth = 400;

QString valueOf(const store::Table& table, int row, int field)
{
    return store::valueText(table.fields().at(field), table.visibleValue(row, field));
}

// A short value made only of digits, Latin letters and the separators of dates, numbers, phone
// numbers and registration numbers ("2023/04/01", "2300012345", "〒812-0011", "092-471-1234"),
// with at least one digit. Such a value is read as one piece and is never broken over two lines;
// the length bound keeps a long text typed into such a field from running out of its cell.
bool isWholeValue(const QString& text)
{
    constexpr int kLongestWhole = 24;
    const QString value = text.startsWith(QChar(0x3012)) ? text.mid(1) : text; // 〒 before a post code
    if (value.isEmpty() || value.size() > kLongestWhole)
        return false;
    bool digit = false;
    for (const QChar c : value) {
        if (c.unicode() >= 0x80 || !(c.isLetterOrNumber() || QStringLiteral("-/.:,()+#").contains(c)))
            return false;
        digit = digit || c.isDigit();
    }
    return digit;
}

bool isNumberField(const store::FieldDef& field)
{
    return field.type == store::FieldType::Float || field.type == store::FieldType::Integer;
}

// The cell of one field of a record list, its value made HTML by `toHtml`: numbers right-aligned
// and whole, dates and codes whole.
QString recordCell(const store::Table& table, int row, int field, QString (*toHtml)(const QString&))
{
    const QString value = valueOf(table, row, field);
    QString open = QStringLiteral("<TD>");
    if (isNumberField(table.fields().at(field)) && !value.isEmpty())
        open = QStringLiteral("<TD class=\"num\">");
    else if (isWholeValue(value))
        open = QStringLiteral("<TD class=\"whole\">");
    return open + toHtml(value) + QStringLiteral("&nbsp;</TD>");
}

} // namespace

QString BuildPhotoBlock(const store::ProgramFolder& folder, const QString& caption, const QString& fileName)
{
    if (fileName.isEmpty())
        return {};
    const QString path = folder.path(QStringLiteral("Images\\") + fileName);
    QString size;
    const int width = imagesize::ImageWidth(path);
    if (width > kShownPhotoWidth) {
        const int height = imagesize::ImageHeight(path);
        const auto shown = static_cast<long long>(std::floor(double(height) / width * kShownPhotoWidth + 0.5));
        size = QStringLiteral("width=\"%1\" height=\"%2\"").arg(kShownPhotoWidth).arg(shown);
    }
    // The browser reads local files by URL; the URL encodes whatever the file name holds.
    const QString source = html::escape(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
    const QStringList lines{QStringLiteral("<CENTER>"),
                            QStringLiteral("<IMG SRC=\"") + source + QStringLiteral("\" ") + size + QStringLiteral(">"),
                            QStringLiteral("<BR>"), html::escape(caption), QStringLiteral("</CENTER>")};
    return lines.join(kLineEnd);
}

QString BuildRecordRows(const store::Table& table, const QList<int>& leaveOut)
{
    QString text;
    for (int row = 0; row < table.recordCount(); ++row) {
        text += QStringLiteral("<TR>") + kLineEnd;
        for (int field = 0; field < table.fieldCount(); ++field) {
            if (!leaveOut.contains(field))
                text += recordCell(table, row, field, html::escapeWithBreaks) + kLineEnd;
        }
        text += QStringLiteral("</TR>") + kLineEnd;
    }
    return text;
}

QString BuildContactRows(const store::Table& table, const QList<int>& leaveOut, std::pair<int, int> moved)
{
    QString text;
    for (int row = 0; row < table.recordCount(); ++row) {
        text += QStringLiteral("<TR>") + kLineEnd;
        for (int field = 0; field < table.fieldCount(); ++field) {
            if (leaveOut.contains(field))
                continue;
            if (field == moved.first + 1 && moved.second < table.fieldCount())
                text += recordCell(table, row, moved.second, html::escape) + kLineEnd;
            text += recordCell(table, row, field, html::escape) + kLineEnd;
        }
        text += QStringLiteral("</TR>") + kLineEnd;
    }
    return text;
}

QString BuildConditionTable(const QList<conditions::ShownCondition>& items)
{
    if (std::none_of(items.begin(), items.end(), [](const conditions::ShownCondition& item) { return !item.value.isEmpty(); }))
        return {};
    // The columns are set before the heading row, which would otherwise share the width evenly.
    QStringList lines{QStringLiteral("<TABLE class=\"form\">"), QStringLiteral("<COL style=\"width: 27%\"><COL style=\"width: 73%\">"),
                      QStringLiteral("<TR><TH colspan=\"2\" class=\"group\">施工条件</TH></TR>")};
    for (const conditions::ShownCondition& item : items) {
        lines.append(QStringLiteral("<TR><TH>") + html::escape(item.caption) + QStringLiteral("</TH><TD>") + html::escape(item.value)
                     + QStringLiteral("</TD></TR>"));
    }
    lines.append(QStringLiteral("</TABLE>"));
    return lines.join(kLineEnd);
}

QString BuildCycleCostTable()
{
    QStringList lines{QStringLiteral("<table border=\"1\" width=\"100%\">"), QStringLiteral("<tr>"),
                      QStringLiteral("<td bgcolor=\"#FFFFD0\"><br></td>")};
    for (const char* years : {"１年", "３年", "５年", "１０年"})
        lines << QStringLiteral("<td align=\"center\" bgcolor=\"#FFFFD0\">") + QString::fromUtf8(years) + QStringLiteral("</td>");
    lines << QStringLiteral("</tr>");
    const std::pair<const char*, const char*> technologies[] = {{"新技術", "NEWTECH"}, {"従来技術", "OLDTECH"}};
    for (const auto& [caption, prefix] : technologies) {
        lines << QStringLiteral("<tr>")
              << QStringLiteral("<td bgcolor=\"#FFFFD0\">") + QString::fromUtf8(caption) + QStringLiteral("</td>");
        for (const char* years : {"ONE", "THREE", "FIVE", "TEN"})
            lines << QStringLiteral("<td align=\"right\"><%=%1_COST_%2%></td>").arg(QLatin1String(prefix), QLatin1String(years));
        lines << QStringLiteral("</tr>");
    }
    lines << QStringLiteral("</table>");
    return lines.join(kLineEnd);
}

} // namespace report
