#include "archive/LzhExtraction.h"

#include "archive/ExtractedFile.h"
#include "archive/LzhOpenedArchive.h"
#include "archive/LzhShiftJis.h"

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

bool extractMembers(const std::string& archivePath, const std::string& folder, const NameFilter& chosen,
                    std::vector<std::string>* written, std::string* error)
{
    OpenedArchive archive;
    if (!archive.open(archivePath, error))
        return false;
    if (!extraction::makeFolder(folder))
        return fail(error, "cannot create the folder " + folder);
    extraction::FlatExtraction writer(folder);
    for (const ArchiveMember& member : archive.members()) {
        if (member.header.isDirectory() || (chosen && !chosen(member.name)))
            continue;
        const extraction::ByteSource source = [&](const extraction::ByteSink& sink, std::string* problem) {
            return archive.reader().readData(member, sink, problem);
        };
        if (writer.write(decodeShiftJis(member.header.name), member.name, int64_t(member.header.modified), source) && written)
            written->push_back(member.name);
    }
    if (!writer.problems().empty())
        return fail(error, describeArchive(archivePath, writer.problemText()));
    return true;
}

} // namespace lzh
