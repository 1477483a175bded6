#include "archive/LzhMemberName.h"

#include "util/SjisText.h"

#include <algorithm>

namespace lzh {

namespace {

constexpr uint32_t kUtf8CodePage = 65001;

// The second byte of a two-byte Shift_JIS character; "/" and ":" never are.
bool isTrailByte(uint8_t byte)
{
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// Control characters would reach the file system and listings as they are: each becomes "_".
QString withoutControls(QString name)
{
    for (QChar& c : name) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    }
    return name;
}

} // namespace

QString bareMemberName(const QByteArray& storedName, uint32_t codePage)
{
    const bool utf8 = codePage == kUtf8CodePage;
    qsizetype start = 0;
    for (qsizetype i = 0; i < storedName.size(); ++i) {
        const auto byte = uint8_t(storedName[i]);
        if (!utf8 && sjis::isLeadByte(byte) && i + 1 < storedName.size() && isTrailByte(uint8_t(storedName[i + 1]))) {
            ++i; // the trail byte may be 0x5C and is part of the character
            continue;
        }
        if (byte == '\\' || byte == '/' || byte == ':' || byte == 0xFF || byte == 0)
            start = i + 1;
    }
    const QByteArray last = storedName.mid(start);
    const bool ascii = std::all_of(last.begin(), last.end(), [](char c) { return uint8_t(c) < 0x80; });
    const QString name = withoutControls(ascii ? QString::fromLatin1(last) : utf8 ? QString::fromUtf8(last) : sjis::decode(last));
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return {};
    return name;
}

} // namespace lzh
