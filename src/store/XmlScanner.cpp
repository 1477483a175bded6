#include "store/XmlScanner.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include <QRegularExpression>
#include <QStringDecoder>

namespace store {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Names are plain ASCII (the table files never use other names, nor namespaces).
bool isNameStart(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isNameChar(unsigned char c)
{
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// True for the characters an XML 1.0 document may hold, raw or as a reference.
bool isXmlChar(char32_t c)
{
    if (c < 0x20)
        return c == 0x9 || c == 0xA || c == 0xD;
    return (c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The up to `n` bytes of `doc` from `pos` (fewer at its end), without a copy.
QByteArrayView piece(const QByteArray& doc, qsizetype pos, qsizetype n)
{
    if (pos < 0 || pos >= doc.size())
        return {};
    return QByteArrayView(doc).sliced(pos, std::min(n, doc.size() - pos));
}

// Decodes UTF-8 keeping a leading U+FEFF, which is part of the value here, not a byte order mark.
QString fromUtf8(QByteArrayView bytes)
{
    // QString::fromUtf8 (the fast path) drops a leading U+FEFF.
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
    return decoder.decode(bytes);
}

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF)
// and every character is one an XML document may hold.
bool isValidUtf8(const QByteArray& bytes, qsizetype* badAt)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        // Eight printable ASCII bytes at a time (no high bit, none below 0x20): most of a file.
        constexpr quint64 kOnes = 0x0101010101010101ULL;
        constexpr quint64 kHighBits = 0x8080808080808080ULL;
        while (i + 8 <= n) {
            quint64 word;
            std::memcpy(&word, p + i, 8);
            if (((word | (word - 0x20 * kOnes)) & kHighBits) != 0)
                break;
            i += 8;
        }
        if (i >= n)
            break;
        const unsigned char c = p[i];
        if (c >= 0x20 && c < 0x80) {
            ++i;
            continue;
        }
        if (c < 0x20) {
            if (c != '\t' && c != '\n' && c != '\r') {
                *badAt = i;
                return false;
            }
            ++i;
            continue;
        }
        // A three-byte character (Japanese text) in one step.
        if ((c & 0xF0) == 0xE0 && i + 2 < n && (p[i + 1] & 0xC0) == 0x80 && (p[i + 2] & 0xC0) == 0x80) {
            const char32_t cp3 = (char32_t(c & 0x0F) << 12) | (char32_t(p[i + 1] & 0x3F) << 6) | (p[i + 2] & 0x3F);
            if (cp3 >= 0x800 && isXmlChar(cp3)) {
                i += 3;
                continue;
            }
        }
        int extra = 0;
        char32_t cp = 0;
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            *badAt = i;
            return false;
        }
        if (i + extra >= n) {
            *badAt = i;
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) {
                *badAt = i;
                return false;
            }
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        static const char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (cp < minimum[extra] || !isXmlChar(cp)) {
            *badAt = i;
            return false;
        }
        i += extra + 1;
    }
    return true;
}

} // namespace

XmlScanner::XmlScanner(QByteArray document)
    : m_doc(std::move(document))
{
    if (m_doc.startsWith("\xEF\xBB\xBF"))
        m_pos = 3;
    m_bodyStart = m_pos;
    qsizetype bad = 0;
    if (!isValidUtf8(m_doc, &bad)) {
        m_pos = bad;
        fail(QStringLiteral("UTF-8 として正しくないバイトか、XML に書けない文字があります"));
    }
}

XmlScanner::Token XmlScanner::fail(const QString& why)
{
    if (m_error.isEmpty()) {
        m_error = why;
        m_errorPos = m_pos;
    }
    return Token::Error;
}

int XmlScanner::lineNumber() const
{
    const qsizetype at = m_errorPos >= 0 ? m_errorPos : m_pos;
    return int(std::count(m_doc.constBegin(), m_doc.constBegin() + std::min(at, m_doc.size()), '\n')) + 1;
}

int XmlScanner::columnNumber() const
{
    const qsizetype at = std::min(m_errorPos >= 0 ? m_errorPos : m_pos, m_doc.size());
    const qsizetype lineStart = m_doc.lastIndexOf('\n', at - 1) + 1;
    return int(at - lineStart) + 1;
}

bool XmlScanner::skipSpace()
{
    const qsizetype start = m_pos;
    while (m_pos < m_doc.size() && isSpace(m_doc.at(m_pos)))
        ++m_pos;
    return m_pos > start;
}

bool XmlScanner::readName(QByteArrayView* name)
{
    const qsizetype start = m_pos;
    if (m_pos >= m_doc.size() || !isNameStart(static_cast<unsigned char>(m_doc.at(m_pos))))
        return false;
    while (m_pos < m_doc.size() && isNameChar(static_cast<unsigned char>(m_doc.at(m_pos))))
        ++m_pos;
    *name = QByteArrayView(m_doc.constData() + start, m_pos - start);
    return true;
}

bool XmlScanner::readAttributeValue(QString* value, QByteArrayView* rawValue, bool* plain)
{
    if (m_pos >= m_doc.size() || (m_doc.at(m_pos) != '"' && m_doc.at(m_pos) != '\'')) {
        fail(QStringLiteral("属性値の引用符がありません"));
        return false;
    }
    const char quote = m_doc.at(m_pos++);
    const qsizetype start = m_pos;
    const char* data = m_doc.constData();
    const qsizetype searched = std::min<qsizetype>(m_doc.size() - start, kMaxValueBytes + 1);
    const void* end = std::memchr(data + start, quote, size_t(searched));
    if (!end) {
        m_pos = start + searched;
        fail(searched > kMaxValueBytes ? QStringLiteral("属性値が長すぎます (%1 バイトまで)").arg(kMaxValueBytes)
                                       : QStringLiteral("属性値が閉じられていません"));
        return false;
    }
    const qsizetype stop = static_cast<const char*>(end) - data;
    const QByteArrayView raw(data + start, stop - start);
    // One pass for what needs more than a plain decoding: a '<' (refused), a reference, or a raw
    // tab or line end (the document holds no other control characters).
    bool hasReference = false;
    bool hasRawSpace = false;
    for (const char c : raw) {
        if (c == '<') {
            m_pos = start + raw.indexOf('<');
            fail(QStringLiteral("属性値に < があります"));
            return false;
        }
        hasReference = hasReference || c == '&';
        hasRawSpace = hasRawSpace || static_cast<unsigned char>(c) < 0x20;
    }
    if (rawValue)
        *rawValue = raw;
    if (plain)
        *plain = !hasReference && !hasRawSpace;
    if (!hasReference && !hasRawSpace) {
        if (m_decodePlainValues)
            *value = fromUtf8(raw);
        m_pos = stop + 1;
        return true;
    }
    // Resolve the predefined and numeric character references; a raw line end or tab is a
    // blank, as attribute-value normalisation makes it (a line end "\r\n" being one).
    QString out;
    out.reserve(raw.size());
    const auto appendPlain = [&out, hasRawSpace](QByteArrayView bytes) {
        if (!hasRawSpace) {
            out += fromUtf8(bytes);
            return;
        }
        QString text = fromUtf8(bytes);
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        for (QChar& c : text) {
            if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t'))
                c = QLatin1Char(' ');
        }
        out += text;
    };
    qsizetype i = 0;
    while (i < raw.size()) {
        const qsizetype amp = raw.indexOf('&', i);
        if (amp < 0) {
            appendPlain(raw.sliced(i));
            break;
        }
        appendPlain(raw.sliced(i, amp - i));
        const qsizetype semi = raw.indexOf(';', amp);
        if (semi < 0 || semi - amp > kMaxReferenceBytes) {
            m_pos = start + amp;
            fail(QStringLiteral("文字参照が閉じられていません"));
            return false;
        }
        const QByteArrayView entity = raw.sliced(amp + 1, semi - amp - 1);
        if (entity == "amp")
            out += QLatin1Char('&');
        else if (entity == "lt")
            out += QLatin1Char('<');
        else if (entity == "gt")
            out += QLatin1Char('>');
        else if (entity == "quot")
            out += QLatin1Char('"');
        else if (entity == "apos")
            out += QLatin1Char('\'');
        else if (entity.startsWith('#')) {
            char32_t cp = 0;
            if (!parseCharacterReference(entity.sliced(1), &cp)) {
                m_pos = start + amp;
                fail(QStringLiteral("文字参照 &%1; は正しくありません").arg(QString::fromLatin1(entity)));
                return false;
            }
            if (cp < 0x10000)
                out += QChar(char16_t(cp));
            else
                out += QString::fromUcs4(&cp, 1);
        } else {
            m_pos = start + amp;
            fail(QStringLiteral("未知の実体参照 &%1; があります").arg(fromUtf8(entity)));
            return false;
        }
        i = semi + 1;
    }
    *value = out;
    m_pos = stop + 1;
    return true;
}

bool XmlScanner::parseCharacterReference(QByteArrayView digits, char32_t* cp)
{
    const bool hex = digits.startsWith('x');
    if (hex)
        digits = digits.sliced(1);
    if (digits.isEmpty())
        return false;
    quint64 value = 0;
    for (const char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return false;
        value = value * (hex ? 16 : 10) + quint64(digit);
        if (value > 0x10FFFF)
            return false;
    }
    *cp = char32_t(value);
    return isXmlChar(*cp);
}

bool XmlScanner::readDeclaration()
{
    // <?xml version="1.x" [encoding="UTF-8"] [standalone="yes"|"no"]?>
    m_pos += 5;
    // An absent pseudo-attribute leaves its value unset; a present one, even empty, is checked.
    const auto pseudoAttribute = [this](const char* name, bool required, std::optional<QString>* value) {
        const qsizetype before = m_pos;
        const bool spaced = skipSpace();
        QByteArrayView found;
        const qsizetype nameAt = m_pos;
        if (!spaced || !readName(&found) || found != name) {
            m_pos = required ? nameAt : before;
            return !required;
        }
        skipSpace();
        if (m_pos >= m_doc.size() || m_doc.at(m_pos) != '=')
            return false;
        ++m_pos;
        skipSpace();
        QString text;
        if (!readAttributeValue(&text))
            return false;
        *value = text;
        return true;
    };
    std::optional<QString> version;
    std::optional<QString> encoding;
    std::optional<QString> standalone;
    const bool ok = pseudoAttribute("version", true, &version) && pseudoAttribute("encoding", false, &encoding)
        && pseudoAttribute("standalone", false, &standalone);
    if (!m_error.isEmpty())
        return false;
    static const QRegularExpression versionPattern(QStringLiteral("^1\\.[0-9]+$"));
    if (!ok || !versionPattern.match(version.value_or(QString())).hasMatch()
        || (encoding && encoding->compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) != 0)
        || (standalone && *standalone != QLatin1String("yes") && *standalone != QLatin1String("no"))) {
        fail(QStringLiteral("XML 宣言が正しくありません"));
        return false;
    }
    skipSpace();
    if (piece(m_doc, m_pos, 2) != "?>") {
        fail(QStringLiteral("XML 宣言が正しくありません"));
        return false;
    }
    m_pos += 2;
    return true;
}

bool XmlScanner::skipComment()
{
    const qsizetype end = m_doc.indexOf("--", m_pos + 4);
    if (end < 0) {
        m_pos = m_doc.size();
        fail(QStringLiteral("コメントが閉じられていません"));
        return false;
    }
    if (piece(m_doc, end, 3) != "-->") {
        m_pos = end;
        fail(QStringLiteral("コメントの中に -- があります"));
        return false;
    }
    m_pos = end + 3;
    return true;
}

XmlScanner::Token XmlScanner::next()
{
    if (!m_error.isEmpty())
        return Token::Error;
    if (m_pendingEnd) {
        m_pendingEnd = false;
        m_attributes.clear();
        return Token::EndElement;
    }
    // The XML declaration, if any, is the very first thing of the document.
    if (m_pos == m_bodyStart && piece(m_doc, m_pos, 5) == "<?xml" && m_pos + 5 < m_doc.size() && isSpace(m_doc.at(m_pos + 5))) {
        if (!readDeclaration())
            return Token::Error;
    }
    for (;;) {
        skipSpace();
        if (m_pos >= m_doc.size()) {
            if (!m_open.isEmpty())
                return fail(QStringLiteral("要素 %1 が閉じられないまま終わっています").arg(shortName(m_open.last())));
            if (!m_sawRoot)
                return fail(QStringLiteral("要素がありません"));
            return Token::EndOfDocument;
        }
        if (m_doc.at(m_pos) != '<')
            return fail(QStringLiteral("要素の外に文字があります"));
        if (piece(m_doc, m_pos, 2) == "<?")
            return fail(QStringLiteral("XML 宣言の位置が正しくないか、扱えない処理命令があります"));
        if (piece(m_doc, m_pos, 4) == "<!--") {
            if (!skipComment())
                return Token::Error;
            continue;
        }
        if (piece(m_doc, m_pos, 2) == "<!")
            return fail(QStringLiteral("DOCTYPE や CDATA は扱えません"));
        if (piece(m_doc, m_pos, 2) == "</") {
            m_pos += 2;
            QByteArrayView name;
            if (!readName(&name))
                return fail(QStringLiteral("終了タグの名前がありません"));
            skipSpace();
            if (m_pos >= m_doc.size() || m_doc.at(m_pos) != '>')
                return fail(QStringLiteral("終了タグが閉じられていません"));
            ++m_pos;
            if (m_open.isEmpty() || m_open.last() != name)
                return fail(QStringLiteral("終了タグ %1 が開始タグと対応しません").arg(shortName(name)));
            m_open.removeLast();
            if (m_name != name)
                m_name = name.toByteArray();
            m_attributes.clear();
            return Token::EndElement;
        }
        // A start tag.
        if (m_sawRoot && m_open.isEmpty())
            return fail(QStringLiteral("ルート要素の後に要素があります"));
        if (m_open.size() >= kMaxDepth)
            return fail(QStringLiteral("要素の入れ子が深すぎます (%1 段まで)").arg(kMaxDepth));
        m_tagStart = m_pos;
        ++m_pos;
        QByteArrayView elementName;
        if (!readName(&elementName))
            return fail(QStringLiteral("要素名がありません"));
        if (m_name != elementName)
            m_name = elementName.toByteArray(); // most elements are ROWs: the name is kept
        m_attributes.clear();
        for (;;) {
            const bool spaced = skipSpace();
            if (m_pos >= m_doc.size())
                return fail(QStringLiteral("開始タグ %1 が閉じられていません").arg(shortName(m_name)));
            const char c = m_doc.at(m_pos);
            if (c == '/' || c == '>')
                break;
            if (m_attributes.size() >= m_maxAttributes)
                return fail(QStringLiteral("要素 %1 の属性が多すぎます (%2 個まで)").arg(shortName(m_name)).arg(m_maxAttributes));
            Attribute attribute;
            if (!spaced || !readName(&attribute.name))
                return fail(QStringLiteral("属性の書き方が正しくありません"));
            skipSpace();
            if (m_pos >= m_doc.size() || m_doc.at(m_pos) != '=')
                return fail(QStringLiteral("属性 %1 に = がありません").arg(shortName(attribute.name)));
            ++m_pos;
            skipSpace();
            if (!readAttributeValue(&attribute.value, &attribute.raw, &attribute.plain))
                return Token::Error;
            m_attributes.append(std::move(attribute));
        }
        m_sawRoot = true;
        if (m_doc.at(m_pos) == '/') {
            if (m_pos + 1 >= m_doc.size() || m_doc.at(m_pos + 1) != '>')
                return fail(QStringLiteral("開始タグ %1 が閉じられていません").arg(shortName(m_name)));
            m_pos += 2;
            m_selfClosing = true;
            m_pendingEnd = true;
        } else {
            ++m_pos;
            m_selfClosing = false;
            m_open.append(m_name);
        }
        m_tagEnd = m_pos;
        return Token::StartElement;
    }
}

QString XmlScanner::plainText(QByteArrayView raw)
{
    return fromUtf8(raw);
}

QString XmlScanner::shortName(QByteArrayView name)
{
    return name.size() <= kMaxShownName ? QString::fromLatin1(name) : QString::fromLatin1(name.first(kMaxShownName)) + QStringLiteral("…");
}

} // namespace store
