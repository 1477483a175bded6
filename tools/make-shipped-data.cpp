// Builds the data shipped with the program from readable sources:
//
//   make_shipped_data SOURCE_DIR PROGRAM_DIR
//
// SOURCE_DIR holds one UTF-8 TSV file per lookup table (<TABLE>.tsv: a header line naming the
// table's fields in order, then one line per row) and the UTF-8 texts CNSTDEF.txt and HELP.txt.
// PROGRAM_DIR receives FLATT_FILES/<TABLE>.cds for every table (registration tables empty),
// Zero/<TABLE>.Cds for the registration tables, and CNSTDEF.TXT and HELP.TXT in Shift_JIS with
// CR LF line ends. Every value is checked against its field (type, width in Shift_JIS bytes) and
// every text against code page 932, so nothing reaches a file cut or as '?'.
#include "store/Schema.h"
#include "store/TableFile.h"
#include "util/SjisText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>
#include <vector>

using store::FieldDef;
using store::schema::TableDef;

namespace {

bool fail(const QString& message)
{
    std::fprintf(stderr, "make_shipped_data: %s\n", qPrintable(message));
    return false;
}

bool readUtf8Lines(const QString& path, QStringList* lines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("%1: %2").arg(path, file.errorString()));
    QString text = QString::fromUtf8(file.readAll());
    text.remove(QLatin1Char('\r'));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    *lines = text.split(QLatin1Char('\n'));
    return true;
}

QList<FieldDef> storedFields(const TableDef& table)
{
    QList<FieldDef> fields;
    for (const FieldDef& field : table.fields) {
        if (field.isStored())
            fields << field;
    }
    return fields;
}

// Reads <TABLE>.tsv into rows of the table's stored layout; empty lines are skipped.
bool readLookupRows(const QString& path, const QList<FieldDef>& fields, QList<QVector<QVariant>>* rows)
{
    QStringList lines;
    if (!readUtf8Lines(path, &lines))
        return false;
    QStringList expectedHeader;
    for (const FieldDef& field : fields)
        expectedHeader << field.name;
    if (lines.isEmpty() || lines.first().split(QLatin1Char('\t')) != expectedHeader)
        return fail(QStringLiteral("%1: the header must be %2").arg(path, expectedHeader.join(QLatin1Char('\t'))));

    for (int n = 1; n < lines.size(); ++n) {
        if (lines.at(n).trimmed().isEmpty())
            continue;
        const QStringList cells = lines.at(n).split(QLatin1Char('\t'));
        if (cells.size() != fields.size())
            return fail(QStringLiteral("%1:%2: %3 cells, expected %4").arg(path).arg(n + 1).arg(cells.size()).arg(fields.size()));
        QVector<QVariant> row(fields.size());
        for (int f = 0; f < fields.size(); ++f) {
            const QString& cell = cells.at(f);
            if (const auto bad = sjis::findUnencodable(cell))
                return fail(QStringLiteral("%1:%2: %3").arg(path).arg(n + 1).arg(sjis::unencodableMessage(*bad)));
            if (fields.at(f).width > 0 && sjis::byteLength(cell) > fields.at(f).width)
                return fail(QStringLiteral("%1:%2: %3 is longer than %4 bytes").arg(path).arg(n + 1).arg(fields.at(f).name).arg(fields.at(f).width));
            QString error;
            if (!store::convertText(fields.at(f), cell, &row[f], &error))
                return fail(QStringLiteral("%1:%2: %3").arg(path).arg(n + 1).arg(error));
        }
        rows->append(row);
    }
    return true;
}

bool writeLookupTable(const TableDef& table, const QString& sourceDir, const QString& dataDir)
{
    const QList<FieldDef> fields = storedFields(table);
    QList<QVector<QVariant>> rows;
    if (!readLookupRows(sourceDir + QLatin1Char('/') + table.name + QStringLiteral(".tsv"), fields, &rows))
        return false;
    std::vector<const QVector<QVariant>*> pointers;
    for (const QVector<QVariant>& row : rows)
        pointers.push_back(&row);
    QString error;
    if (!store::TableFile::write(dataDir + QLatin1Char('/') + table.name + QStringLiteral(".cds"), fields, pointers, &error))
        return fail(error);
    return true;
}

bool writeEmptyTable(const TableDef& table, const QString& path)
{
    QString error;
    if (!store::TableFile::writeEmpty(path, storedFields(table), &error))
        return fail(error);
    return true;
}

// Converts a UTF-8 text file into a Shift_JIS one with CR LF line ends, as the program reads them.
bool writeShiftJisText(const QString& sourcePath, const QString& targetPath)
{
    QStringList lines;
    if (!readUtf8Lines(sourcePath, &lines))
        return false;
    for (int n = 0; n < lines.size(); ++n) {
        if (const auto bad = sjis::findUnencodable(lines.at(n)))
            return fail(QStringLiteral("%1:%2: %3").arg(sourcePath).arg(n + 1).arg(sjis::unencodableMessage(*bad)));
    }
    QSaveFile file(targetPath);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("%1: %2").arg(targetPath, file.errorString()));
    for (const QString& line : lines)
        file.write(sjis::encode(line) + QByteArray("\r\n"));
    if (!file.commit())
        return fail(QStringLiteral("%1: %2").arg(targetPath, file.errorString()));
    return true;
}

bool makeShippedData(const QString& sourceDir, const QString& programDir)
{
    const QString dataDir = programDir + QStringLiteral("/FLATT_FILES");
    const QString zeroDir = programDir + QStringLiteral("/Zero");
    if (!QDir().mkpath(dataDir) || !QDir().mkpath(zeroDir))
        return fail(QStringLiteral("cannot create the folders under %1").arg(programDir));

    for (const TableDef& table : store::schema::registrationTables()) {
        if (!writeEmptyTable(table, dataDir + QLatin1Char('/') + table.name + QStringLiteral(".cds"))
            || !writeEmptyTable(table, zeroDir + QLatin1Char('/') + table.name + QStringLiteral(".Cds")))
            return false;
    }
    for (const TableDef& table : store::schema::lookupTables()) {
        if (!writeLookupTable(table, sourceDir, dataDir))
            return false;
    }
    return writeShiftJisText(sourceDir + QStringLiteral("/CNSTDEF.txt"), programDir + QStringLiteral("/CNSTDEF.TXT"))
        && writeShiftJisText(sourceDir + QStringLiteral("/HELP.txt"), programDir + QStringLiteral("/HELP.TXT"));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: make_shipped_data SOURCE_DIR PROGRAM_DIR\n");
        return 2;
    }
    return makeShippedData(args.at(1), args.at(2)) ? 0 : 1;
}
