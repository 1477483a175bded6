#pragma once

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

// Writes the chosen members by their bare names into the folder (created when missing). A member is
// written whole or not at all, through a temporary file there, and carries its stored time; a
// damaged member is reported and the others are still extracted.
bool extractMembers(const std::string& archivePath, const std::string& folder, const NameFilter& chosen,
                    std::vector<std::string>* written, std::string* error);

} // namespace lzh
