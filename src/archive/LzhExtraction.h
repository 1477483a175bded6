#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Reading a whole archive: checking every member, and writing members into a flat folder. Paths are
// the file system's bytes; names and messages are UTF-8.
namespace lzh {

// Decodes every member and checks its CRC; problems lists one line per damaged member.
bool testMembers(const std::string& archivePath, std::vector<std::string>* problems, std::string* error);

// Chooses members by their bare name; an empty filter takes every member.
using NameFilter = std::function<bool(const std::string& name)>;

// The most bytes a chosen member may unpack to, by its bare name.
using SizeLimit = std::function<uint64_t(const std::string& name)>;

// The bound of a general extraction (the archive commands, vordell-lzh): far above any member of
// a submission file, and below what would fill a disk by surprise.
constexpr uint64_t kGeneralMemberLimit = uint64_t(1) << 30;

// Writes the chosen members by their bare names into the folder (created when missing). A member is
// written whole or not at all, through a temporary file there, and carries its stored time; a
// damaged member is reported and the others are still extracted. Bounded: a member that would
// unpack to more than its limit is refused before any of it is written (and its writing stops
// should the data run past the limit), and nothing is written when the chosen members together
// would not fit in the folder's free space.
bool extractMembers(const std::string& archivePath, const std::string& folder, const NameFilter& chosen,
                    const SizeLimit& limit, std::vector<std::string>* written, std::string* error);

// "NAME: unpacks to N bytes, more than the limit of M bytes", the refusal of a member too large.
std::string tooLargeMessage(const std::string& name, uint64_t size, uint64_t limit);

} // namespace lzh
