#include "archive/LzhMemberName.h"

#include "util/SjisText.h"

#include <algorithm>

namespace lzh {

namespace {
constexpr uint32_t kUtf8CodePage = 65001;
}

QString bareMemberName(const QByteArray& storedName, uint32_t codePage)
{
    const bool utf8 = codePage == kUtf8CodePage;
    qsizetype start = 0;
    for (qsizetype i = 0; i < storedName.size(); ++i) {
        const auto byte = uint8_t(storedName[i]);
        if (!utf8 && sjis::isLeadByte(byte)) {
            ++i; // the trail byte may be 0x5C and is part of the character
            continue;
        }
        if (byte == '\\' || byte == '/' || byte == ':' || byte == 0xFF || byte == 0)
            start = i + 1;
    }
    const QByteArray last = storedName.mid(start);
    const bool ascii = std::all_of(last.begin(), last.end(), [](char c) { return uint8_t(c) < 0x80; });
    const QString name = ascii ? QString::fromLatin1(last) : utf8 ? QString::fromUtf8(last) : sjis::decode(last);
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return {};
    return name;
}

} // namespace lzh
