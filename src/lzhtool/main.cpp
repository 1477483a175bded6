// vordell-lzh extract|list|test: reading LZH archives without the rest of the program, so that
// the process starts as fast as a plain C++ program. Output, messages and exit codes are those of
// `vordell-cli lzh`.

#include "archive/LzhExtraction.h"
#include "archive/LzhOpenedArchive.h"

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
    printErr("usage: vordell-lzh extract ARCHIVE FOLDER | list ARCHIVE | test ARCHIVE\n");
    return kExitUsage;
}

int report(bool ok, const std::string& error)
{
    if (ok)
        return kExitOk;
    printErr("vordell-lzh: " + error + "\n");
    return kExitFailed;
}

int extract(const std::string& archive, const std::string& folder)
{
    std::string error;
    return report(lzh::extractMembers(archive, folder, {}, nullptr, &error), error);
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
        return extract(argv[2], argv[3]);
    if (verb == "list" && argc == 3)
        return list(argv[2]);
    if (verb == "test" && argc == 3)
        return test(argv[2]);
    return usage();
}
