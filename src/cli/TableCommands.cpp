#include "cli/CliCommand.h"
#include "cli/TabSeparated.h"
#include "store/TableFile.h"

namespace {

QString typeText(const store::FieldDef& field)
{
    switch (field.type) {
    case store::FieldType::FixedText: return QStringLiteral("fixed %1").arg(field.width);
    case store::FieldType::Text: return QStringLiteral("text %1").arg(field.width);
    case store::FieldType::Memo: return QStringLiteral("memo");
    case store::FieldType::Float: return QStringLiteral("float");
    case store::FieldType::Integer: return QStringLiteral("integer");
    case store::FieldType::DateTime: return QStringLiteral("datetime");
    case store::FieldType::Lookup: return QStringLiteral("lookup");
    }
    return {};
}

int dump(cli::CliContext& context)
{
    if (context.args.size() != 1) {
        cli::printErr(QStringLiteral("usage: vordell-cli dump FILE\n"));
        return 2;
    }
    QList<store::FieldDef> fields;
    QList<QVector<QVariant>> rows;
    QString error;
    if (!store::TableFile::read(context.args.first(), &fields, &rows, &error)) {
        cli::printErr(error + QLatin1Char('\n'));
        return 1;
    }
    QString out;
    for (const store::FieldDef& field : fields)
        out += field.name + QLatin1Char('\t') + typeText(field) + QLatin1Char('\n');
    out += QLatin1Char('\n');
    QStringList names;
    for (const store::FieldDef& field : fields)
        names << field.name;
    out += names.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (const QVector<QVariant>& row : rows) {
        QStringList cells;
        for (int f = 0; f < fields.size(); ++f)
            cells << cli::escapedCell(store::valueText(fields.at(f), row.at(f)));
        out += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    cli::printOut(out);
    return 0;
}

const cli::CliRegistration registerDump({QStringLiteral("dump"),
                                         QStringLiteral("dump FILE          a table file's fields (name, type), a blank line, then its rows, tab-separated"),
                                         dump});

} // namespace
