#include "archive/LzhExtraction.h"

#include "archive/ExtractedFile.h"
#include "archive/LzhOpenedArchive.h"
#include "archive/LzhShiftJis.h"

#include <sys/statvfs.h>

#include <cstdint>

namespace lzh {

namespace {

bool fail(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
    return false;
}

std::string memberLabel(const ArchiveMember& member)
{
    return member.name.empty() ? decodeShiftJis(member.header.name) : member.name;
}

} // namespace

bool testMembers(const std::string& archivePath, std::vector<std::string>* problems, std::string* error)
{
    OpenedArchive archive;
    if (!archive.open(archivePath, error))
        return false;
    bool ok = true;
    for (const ArchiveMember& member : archive.members()) {
        std::string problem;
        if (!archive.reader().readData(member, [](const uint8_t*, size_t) { return true; }, &problem)) {
            ok = false;
            if (problems)
                problems->push_back(memberLabel(member) + ": " + problem);
        }
    }
    if (!ok)
        fail(error, describeArchive(archivePath, "damaged members"));
    return ok;
}

std::string tooLargeMessage(const std::string& name, uint64_t size, uint64_t limit)
{
    return name + ": unpacks to " + std::to_string(size) + " bytes, more than the limit of " + std::to_string(limit) + " bytes";
}

bool extractMembers(const std::string& archivePath, const std::string& folder, const NameFilter& chosen,
                    const SizeLimit& limit, std::vector<std::string>* written, std::string* error)
{
    OpenedArchive archive;
    if (!archive.open(archivePath, error))
        return false;
    if (!extraction::makeFolder(folder))
        return fail(error, "cannot create the folder " + folder);
    extraction::FlatExtraction writer(folder);
    const auto isChosen = [&](const ArchiveMember& member) { return !member.header.isDirectory() && (!chosen || chosen(member.name)); };
    uint64_t total = 0;
    for (const ArchiveMember& member : archive.members()) {
        if (isChosen(member))
            total += member.header.originalSize;
    }
    struct statvfs space;
    if (::statvfs(folder.c_str(), &space) == 0 && total > uint64_t(space.f_bavail) * space.f_frsize)
        return fail(error, describeArchive(archivePath, "the members unpack to " + std::to_string(total) + " bytes, more than the "
                                                            + std::to_string(uint64_t(space.f_bavail) * space.f_frsize)
                                                            + " bytes free in " + folder));
    std::string tooLarge; // members refused by their declared size, before anything of them is written
    for (const ArchiveMember& member : archive.members()) {
        if (!isChosen(member))
            continue;
        const uint64_t most = limit ? limit(member.name) : UINT64_MAX;
        if (member.header.originalSize > most) {
            tooLarge += (tooLarge.empty() ? "" : "; ") + tooLargeMessage(member.name, member.header.originalSize, most);
            continue;
        }
        const extraction::ByteSource source = [&](const extraction::ByteSink& sink, std::string* problem) {
            return archive.reader().readData(member, sink, problem);
        };
        if (writer.write(decodeShiftJis(member.header.name), member.name, int64_t(member.header.modified), source) && written)
            written->push_back(member.name);
    }
    if (!tooLarge.empty() || !writer.problems().empty()) {
        const std::string separator = tooLarge.empty() || writer.problems().empty() ? "" : "; ";
        return fail(error, describeArchive(archivePath, tooLarge + separator + writer.problemText()));
    }
    return true;
}

} // namespace lzh
