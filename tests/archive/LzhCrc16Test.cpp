#include "archive/LzhCrc16.h"

#include <QByteArray>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

uint16_t bitwiseCrc(const QByteArray& bytes)
{
    uint16_t crc = 0;
    for (char byte : bytes) {
        crc ^= uint8_t(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0xA001) : uint16_t(crc >> 1);
    }
    return crc;
}

TEST(LzhCrc16, MatchesTheBitwiseDefinitionForEveryLengthAndSplit)
{
    EXPECT_EQ(lzh::Crc16::of("123456789", 9), 0xBB3D);
    QRandomGenerator generator(3);
    for (int length = 0; length < 40; ++length) {
        QByteArray bytes(length, Qt::Uninitialized);
        for (char& byte : bytes)
            byte = char(generator.bounded(256));
        const uint16_t expected = bitwiseCrc(bytes);
        EXPECT_EQ(lzh::Crc16::of(bytes.constData(), size_t(length)), expected) << length;
        lzh::Crc16 pieces;
        pieces.update(bytes.constData(), size_t(length / 3));
        pieces.update(bytes.constData() + length / 3, size_t(length - length / 3));
        EXPECT_EQ(pieces.value(), expected) << length;
    }
}

} // namespace
