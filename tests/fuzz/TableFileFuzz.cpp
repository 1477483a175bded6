// libFuzzer target for the table-file reader, built by scripts/fuzz (clang, ASan, UBSan).
// Each input is read as a table file. When the reader accepts it:
//  - libxml2 must accept it as well-formed XML too, and see the same text in every text field;
//  - the writer's form of what was read must read back to exactly the same fields and rows;
//  - a read that keeps rows in their file form accepts and refuses exactly the same, and its rows
//    decode (whole and value by value) to the same values.
// A difference aborts, which libFuzzer reports with the input.

#include "store/TableFile.h"

#include <QBuffer>
#include <QStringDecoder>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

[[noreturn]] void failWith(const char* what)
{
    std::fprintf(stderr, "table-file fuzz: %s\n", what);
    std::abort();
}

void silence(void*, const char*, ...) {}

// The ROW elements libxml2 finds under DATAPACKET/ROWDATA, in order.
QList<xmlNodePtr> libxmlRows(xmlDocPtr doc)
{
    QList<xmlNodePtr> rows;
    xmlNodePtr root = xmlDocGetRootElement(doc);
    for (xmlNodePtr part = root ? root->children : nullptr; part; part = part->next) {
        if (part->type != XML_ELEMENT_NODE || std::strcmp(reinterpret_cast<const char*>(part->name), "ROWDATA") != 0)
            continue;
        for (xmlNodePtr row = part->children; row; row = row->next) {
            if (row->type == XML_ELEMENT_NODE)
                rows.append(row);
        }
    }
    return rows;
}

void compareWithLibxml(const QByteArray& bytes, const QList<store::FieldDef>& fields, const QList<QVector<QVariant>>& rows)
{
    xmlDocPtr doc = xmlReadMemory(bytes.constData(), int(bytes.size()), "fuzz.cds", nullptr, XML_PARSE_NONET);
    if (!doc)
        failWith("accepted a document libxml2 refuses");
    const QList<xmlNodePtr> xmlRows = libxmlRows(doc);
    if (xmlRows.size() != rows.size())
        failWith("row count differs from libxml2");
    for (int r = 0; r < rows.size(); ++r) {
        for (int f = 0; f < fields.size(); ++f) {
            const store::FieldDef& field = fields.at(f);
            if (field.type != store::FieldType::Text && field.type != store::FieldType::Memo)
                continue;
            xmlChar* value = xmlGetProp(xmlRows.at(r), reinterpret_cast<const xmlChar*>(field.name.toUtf8().constData()));
            // Decoded keeping a leading U+FEFF, which QString::fromUtf8 would drop.
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
            const QString theirs = value ? QString(decoder.decode(QByteArrayView(reinterpret_cast<const char*>(value)))) : QString();
            xmlFree(value);
            if (theirs != rows.at(r).at(f).toString()) {
                std::fprintf(stderr, "row %d, %s: libxml2 \"%s\", ours \"%s\"\n", r + 1, field.name.toUtf8().constData(),
                             theirs.toUtf8().toHex().constData(), rows.at(r).at(f).toString().toUtf8().toHex().constData());
                failWith("a text value differs from libxml2's");
            }
        }
    }
    xmlFreeDoc(doc);
}

void writeAndReadBack(const QList<store::FieldDef>& fields, const QList<QVector<QVariant>>& rows)
{
    std::vector<const QVector<QVariant>*> pointers;
    for (const QVector<QVariant>& row : rows)
        pointers.push_back(&row);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    if (!store::TableFile::write(&buffer, fields, pointers, &error))
        failWith("the writer failed on a buffer");
    QList<store::FieldDef> againFields;
    QList<QVector<QVariant>> againRows;
    if (!store::TableFile::parse(buffer.data(), QStringLiteral("again.cds"), &againFields, &againRows, &error)) {
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
        failWith("the writer wrote what the reader refuses");
    }
    if (againFields.size() != fields.size() || againRows != rows)
        failWith("the rows read back differ from the rows written");
    for (int f = 0; f < fields.size(); ++f) {
        if (againFields.at(f).name != fields.at(f).name || againFields.at(f).type != fields.at(f).type
            || againFields.at(f).width != fields.at(f).width)
            failWith("the fields read back differ from the fields written");
    }
}

void compareWithRowsKeptAsRead(const QByteArray& bytes, bool accepted, const QList<QVector<QVariant>>& rows)
{
    QList<store::FieldDef> fields;
    QList<QVector<QVariant>> kept;
    QList<store::TableFile::RowForm> forms;
    QString error;
    if (store::TableFile::parse(bytes, QStringLiteral("fuzz.cds"), &fields, &kept, &error, &forms,
                                store::TableFile::Values::OfRowsWithoutForm)
        != accepted)
        failWith("keeping rows in their file form changes what is accepted");
    if (!accepted)
        return;
    const store::TableFile::RowDecoder decoder(fields);
    for (qsizetype r = 0; r < rows.size(); ++r) {
        if (forms.at(r).isEmpty()) {
            if (kept.at(r) != rows.at(r))
                failWith("a row read whole differs between the two reads");
            continue;
        }
        if (decoder.values(forms.at(r)) != rows.at(r))
            failWith("a row kept in its file form decodes to other values");
        for (int f = 0; f < fields.size(); ++f) {
            if (decoder.value(forms.at(r), f) != rows.at(r).at(f))
                failWith("a value decoded alone differs from the row's");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    xmlSetGenericErrorFunc(nullptr, silence);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<store::FieldDef> fields;
    QList<QVector<QVariant>> rows;
    QString error;
    const bool accepted = store::TableFile::parse(bytes, QStringLiteral("fuzz.cds"), &fields, &rows, &error);
    compareWithRowsKeptAsRead(bytes, accepted, rows);
    if (!accepted) {
        if (error.size() > 400)
            failWith("a refusal message is longer than 400 characters");
        return 0;
    }
    compareWithLibxml(bytes, fields, rows);
    writeAndReadBack(fields, rows);
    return 0;
}
