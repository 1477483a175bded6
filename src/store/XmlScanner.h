#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVector>

#include <limits>

namespace store {

// A small, strict pull parser for the XML of the table files: an XML declaration, comments,
// elements with attributes, whitespace between elements. Anything else (text content, DOCTYPE,
// CDATA, other processing instructions, malformed or truncated markup, invalid UTF-8, characters
// XML cannot hold, unknown entities, nesting deeper than kMaxDepth, a value longer than
// kMaxValueBytes) is an error with its line and column; an error never quotes more than a short
// piece of the document. Names are ASCII. Duplicate attributes are left to the caller to refuse.
// It reads the whole document from memory and decodes only attribute values, which keeps large
// tables fast to open.
class XmlScanner
{
public:
    enum class Token { StartElement, EndElement, EndOfDocument, Error };

    struct Attribute
    {
        QByteArrayView name; // as written; valid while the scanner lives
        QString value;       // entities resolved; null for a plain value that was not decoded
        QByteArrayView raw;  // the value as written, between its quotes
        bool plain = false;  // no reference and no raw tab or line end: the value is `raw` itself
    };

    static constexpr int kMaxDepth = 16;
    static constexpr qsizetype kMaxValueBytes = 10000000; // libxml2's own limit on a value

    explicit XmlScanner(QByteArray document);

    // The most attributes a start tag may have from here on; a tag with more is an error at the
    // first one past the limit, before the rest of the tag is read. No limit until set.
    void setMaxAttributes(qsizetype count) { m_maxAttributes = count; }
    // Off: a plain attribute value (see Attribute::plain) is checked but not decoded into `value`,
    // which saves a string a value for a reader that decodes what it needs later. On by default.
    void setDecodePlainValues(bool on) { m_decodePlainValues = on; }

    Token next();
    // The text of a plain value (Attribute::plain) from its raw bytes.
    static QString plainText(QByteArrayView raw);
    // Valid after StartElement / EndElement.
    const QByteArray& name() const { return m_name; }
    const QVector<Attribute>& attributes() const { return m_attributes; }
    bool selfClosing() const { return m_selfClosing; }
    // The document, and where the last start tag lies in it (from its '<' to its closing '>').
    const QByteArray& document() const { return m_doc; }
    qsizetype tagStart() const { return m_tagStart; }
    qsizetype tagSize() const { return m_tagEnd - m_tagStart; }

    QString errorString() const { return m_error; }
    // Line and column (from 1) of the current position: where the last token ended, or the error.
    int lineNumber() const;
    int columnNumber() const;

private:
    Token fail(const QString& why);
    bool skipSpace();
    bool readName(QByteArrayView* name);
    bool readAttributeValue(QString* value, QByteArrayView* raw = nullptr, bool* plain = nullptr);
    bool readDeclaration();
    bool skipComment();
    static bool parseCharacterReference(QByteArrayView digits, char32_t* cp);
    static QString shortName(QByteArrayView name);

    static constexpr qsizetype kMaxReferenceBytes = 12; // "&#x0010FFFF;" with room for leading zeros
    static constexpr qsizetype kMaxShownName = 40;

    QByteArray m_doc;
    qsizetype m_pos = 0;
    qsizetype m_tagStart = 0;
    qsizetype m_tagEnd = 0;
    qsizetype m_bodyStart = 0; // after a byte order mark
    qsizetype m_errorPos = -1;
    QByteArray m_name;
    QVector<Attribute> m_attributes;
    QVector<QByteArray> m_open;
    qsizetype m_maxAttributes = std::numeric_limits<qsizetype>::max();
    bool m_selfClosing = false;
    bool m_decodePlainValues = true;
    bool m_pendingEnd = false; // a self-closing element still owes its EndElement
    bool m_sawRoot = false;
    QString m_error;
};

} // namespace store
