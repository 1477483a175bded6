#include "archive/LzhBlockWriter.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

using lzh::BitWriter;
using lzh::BlockWriter;
using lzh::SymbolCounts;
using lzh::Token;

std::vector<Token> mixedTokens(int count, quint32 seed)
{
    QRandomGenerator generator(seed);
    std::vector<Token> tokens;
    for (int i = 0; i < count; ++i) {
        if (generator.bounded(2) == 0)
            tokens.push_back({0, uint16_t(generator.bounded(256))});
        else
            tokens.push_back({uint16_t(generator.bounded(3, 257)), uint16_t(generator.bounded(1, 8192))});
    }
    return tokens;
}

struct BlockCase
{
    const char* label;
    std::vector<Token> tokens;
};

std::vector<BlockCase> blockCases()
{
    std::vector<Token> literals;
    for (int i = 0; i < 3000; ++i)
        literals.push_back({0, uint16_t(i * 7 % 256)});
    return {{"literals", literals},
            {"oneLiteralSymbol", std::vector<Token>(500, Token{0, 'A'})},
            {"oneMatchSymbol", std::vector<Token>(500, Token{256, 1})},
            {"mixed", mixedTokens(20000, 5)},
            {"fewMixed", mixedTokens(3, 6)}};
}

// Blocks are sized from their symbol counts when consecutive chunks are merged: a count that differs
// from what is written makes the merging choose wrong.
TEST(LzhBlockWriter, CountsExactlyTheBitsItWrites)
{
    for (const BlockCase& c : blockCases()) {
        BlockWriter writer(lzh::kLh5);
        BitWriter out;
        writer.write(c.tokens, out);
        EXPECT_EQ(writer.bitCount(SymbolCounts(c.tokens)), out.bitCount()) << c.label;
    }
}

// A block written as its head and its tokens in several runs is the block written at once, wherever
// in a byte it starts.
TEST(LzhBlockWriter, WritesTheSameBlockInParts)
{
    for (const BlockCase& c : blockCases()) {
        for (int offset : {0, 3, 7}) {
            BlockWriter writer(lzh::kLh5);
            BitWriter whole;
            whole.put(0x55, offset);
            writer.write(c.tokens, whole);

            BitWriter parts;
            parts.put(0x55, offset);
            const auto middle = c.tokens.begin() + ptrdiff_t(c.tokens.size() / 3);
            writer.writeHead(SymbolCounts(c.tokens), parts);
            writer.writeTokens(std::vector<Token>(c.tokens.begin(), middle), parts);
            writer.writeTokens(std::vector<Token>(middle, c.tokens.end()), parts);
            EXPECT_EQ(parts.finish(), whole.finish()) << c.label << " at bit " << offset;
        }
    }
}

} // namespace
