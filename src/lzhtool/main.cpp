// vordell-lzh extract|list|test: reading LZH archives without the rest of the program, so that
// the process starts as fast as a plain C++ program. Output, messages and exit codes are those of
// `vordell-cli lzh`.

#include "archive/LzhExtraction.h"
#include "archive/LzhOpenedArchive.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

void printErr(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stderr);
}

int usage()
{
    printErr("usage: vordell-lzh extract [--max-size=BYTES] ARCHIVE FOLDER | list ARCHIVE | test ARCHIVE\n");
    return kExitUsage;
}

int report(bool ok, const std::string& error)
{
    if (ok)
        return kExitOk;
    printErr("vordell-lzh: " + error + "\n");
    return kExitFailed;
}

// Every member, each within `limit` bytes.
int extract(const std::string& archive, const std::string& folder, uint64_t limit)
{
    std::string error;
    return report(lzh::extractMembers(archive, folder, {}, [limit](const std::string&) { return limit; }, nullptr, &error), error);
}

// "--max-size=BYTES": a positive whole number of bytes.
bool parseMaxSize(std::string_view option, uint64_t* limit)
{
    constexpr std::string_view prefix = "--max-size=";
    if (option.substr(0, prefix.size()) != prefix)
        return false;
    const std::string_view digits = option.substr(prefix.size());
    const auto [end, failure] = std::from_chars(digits.data(), digits.data() + digits.size(), *limit);
    return failure == std::errc() && end == digits.data() + digits.size() && *limit > 0;
}

int list(const std::string& path)
{
    lzh::OpenedArchive archive;
    std::string error;
    if (!archive.open(path, &error))
        return report(false, error);
    std::string text;
    for (const lzh::ArchiveMember& member : archive.members()) {
        text += member.header.method + '\t' + std::to_string(member.header.originalSize) + '\t'
            + std::to_string(member.header.compressedSize) + '\t' + member.name + '\n';
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitOk;
}

int test(const std::string& path)
{
    std::vector<std::string> problems;
    std::string error;
    const bool ok = lzh::testMembers(path, &problems, &error);
    for (const std::string& problem : problems)
        printErr(problem + '\n');
    return report(ok, error);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string_view verb = argc > 1 ? argv[1] : "";
    if (verb == "extract" && argc == 4)
        return extract(argv[2], argv[3], lzh::kGeneralMemberLimit);
    uint64_t limit = 0;
    if (verb == "extract" && argc == 5 && parseMaxSize(argv[2], &limit))
        return extract(argv[3], argv[4], limit);
    if (verb == "list" && argc == 3)
        return list(argv[2]);
    if (verb == "test" && argc == 3)
        return test(argv[2]);
    return usage();
}
