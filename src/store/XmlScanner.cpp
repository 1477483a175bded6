#include "store/XmlScanner.h"

#include <algorithm>
#include <cstring>

namespace store {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isNameStart(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
}

bool isNameChar(unsigned char c)
{
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool isValidUtf8(const QByteArray& bytes, qsizetype* badAt)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
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
        if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
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
    qsizetype bad = 0;
    if (!isValidUtf8(m_doc, &bad)) {
        m_pos = bad;
        fail(QStringLiteral("UTF-8 として正しくないバイトがあります"));
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

bool XmlScanner::readAttributeValue(QString* value)
{
    if (m_pos >= m_doc.size() || (m_doc.at(m_pos) != '"' && m_doc.at(m_pos) != '\'')) {
        fail(QStringLiteral("属性値の引用符がありません"));
        return false;
    }
    const char quote = m_doc.at(m_pos++);
    const qsizetype start = m_pos;
    const char* data = m_doc.constData();
    const void* end = std::memchr(data + start, quote, size_t(m_doc.size() - start));
    if (!end) {
        m_pos = m_doc.size();
        fail(QStringLiteral("属性値が閉じられていません"));
        return false;
    }
    const qsizetype stop = static_cast<const char*>(end) - data;
    const QByteArrayView raw(data + start, stop - start);
    if (raw.contains('<')) {
        m_pos = start + raw.indexOf('<');
        fail(QStringLiteral("属性値に < があります"));
        return false;
    }
    if (!raw.contains('&')) {
        *value = QString::fromUtf8(raw);
        m_pos = stop + 1;
        return true;
    }
    // Resolve the predefined and numeric character references.
    QString out;
    qsizetype i = 0;
    while (i < raw.size()) {
        const qsizetype amp = raw.indexOf('&', i);
        if (amp < 0) {
            out += QString::fromUtf8(raw.sliced(i));
            break;
        }
        out += QString::fromUtf8(raw.sliced(i, amp - i));
        const qsizetype semi = raw.indexOf(';', amp);
        if (semi < 0) {
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
            bool ok = false;
            const uint cp = entity.startsWith("#x") ? entity.sliced(2).toByteArray().toUInt(&ok, 16)
                                                    : entity.sliced(1).toByteArray().toUInt(&ok, 10);
            if (!ok || cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
                m_pos = start + amp;
                fail(QStringLiteral("文字参照 &%1; は正しくありません").arg(QString::fromUtf8(entity)));
                return false;
            }
            const char32_t c = cp;
            out += QString::fromUcs4(&c, 1);
        } else {
            m_pos = start + amp;
            fail(QStringLiteral("未知の実体参照 &%1; があります").arg(QString::fromUtf8(entity)));
            return false;
        }
        i = semi + 1;
    }
    *value = out;
    m_pos = stop + 1;
    return true;
}

bool XmlScanner::skipProcessingInstruction()
{
    const qsizetype end = m_doc.indexOf("?>", m_pos);
    if (end < 0) {
        m_pos = m_doc.size();
        fail(QStringLiteral("処理命令が閉じられていません"));
        return false;
    }
    m_pos = end + 2;
    return true;
}

bool XmlScanner::skipComment()
{
    const qsizetype end = m_doc.indexOf("-->", m_pos + 4);
    if (end < 0) {
        m_pos = m_doc.size();
        fail(QStringLiteral("コメントが閉じられていません"));
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
    for (;;) {
        skipSpace();
        if (m_pos >= m_doc.size()) {
            if (!m_open.isEmpty())
                return fail(QStringLiteral("要素 %1 が閉じられないまま終わっています").arg(QString::fromUtf8(m_open.last())));
            if (!m_sawRoot)
                return fail(QStringLiteral("要素がありません"));
            return Token::EndOfDocument;
        }
        if (m_doc.at(m_pos) != '<')
            return fail(QStringLiteral("要素の外に文字があります"));
        if (m_doc.mid(m_pos, 2) == "<?") {
            if (m_sawRoot && m_open.isEmpty())
                return fail(QStringLiteral("文書の後に処理命令があります"));
            if (!skipProcessingInstruction())
                return Token::Error;
            continue;
        }
        if (m_doc.mid(m_pos, 4) == "<!--") {
            if (!skipComment())
                return Token::Error;
            continue;
        }
        if (m_doc.mid(m_pos, 2) == "<!")
            return fail(QStringLiteral("DOCTYPE や CDATA は扱えません"));
        if (m_doc.mid(m_pos, 2) == "</") {
            m_pos += 2;
            QByteArrayView name;
            if (!readName(&name))
                return fail(QStringLiteral("終了タグの名前がありません"));
            skipSpace();
            if (m_pos >= m_doc.size() || m_doc.at(m_pos) != '>')
                return fail(QStringLiteral("終了タグが閉じられていません"));
            ++m_pos;
            if (m_open.isEmpty() || m_open.last() != name.toByteArray())
                return fail(QStringLiteral("終了タグ %1 が開始タグと対応しません").arg(QString::fromUtf8(name)));
            m_open.removeLast();
            m_name = name.toByteArray();
            m_attributes.clear();
            return Token::EndElement;
        }
        // A start tag.
        if (m_sawRoot && m_open.isEmpty())
            return fail(QStringLiteral("ルート要素の後に要素があります"));
        ++m_pos;
        QByteArrayView elementName;
        if (!readName(&elementName))
            return fail(QStringLiteral("要素名がありません"));
        m_name = elementName.toByteArray();
        m_attributes.clear();
        for (;;) {
            const bool spaced = skipSpace();
            if (m_pos >= m_doc.size())
                return fail(QStringLiteral("開始タグ %1 が閉じられていません").arg(QString::fromUtf8(m_name)));
            const char c = m_doc.at(m_pos);
            if (c == '/' || c == '>')
                break;
            Attribute attribute;
            if (!spaced || !readName(&attribute.name))
                return fail(QStringLiteral("属性の書き方が正しくありません"));
            skipSpace();
            if (m_pos >= m_doc.size() || m_doc.at(m_pos) != '=')
                return fail(QStringLiteral("属性 %1 に = がありません").arg(QString::fromUtf8(attribute.name)));
            ++m_pos;
            skipSpace();
            if (!readAttributeValue(&attribute.value))
                return Token::Error;
            m_attributes.append(std::move(attribute));
        }
        m_sawRoot = true;
        if (m_doc.at(m_pos) == '/') {
            if (m_pos + 1 >= m_doc.size() || m_doc.at(m_pos + 1) != '>')
                return fail(QStringLiteral("開始タグ %1 が閉じられていません").arg(QString::fromUtf8(m_name)));
            m_pos += 2;
            m_selfClosing = true;
            m_pendingEnd = true;
        } else {
            ++m_pos;
            m_selfClosing = false;
            m_open.append(m_name);
        }
        return Token::StartElement;
    }
}

} // namespace store
