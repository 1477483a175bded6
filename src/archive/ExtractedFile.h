#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

// Writing the members of an archive into a folder, shared by the extraction of every format, so that
// whatever an archive holds it never writes outside the folder, never through a link, never a
// half-written file, and never more than the bounds below. Paths are the file system's bytes; names
// and messages are UTF-8. Includes no Qt header: the LZH extraction program uses it too.
namespace extraction {

// What one extraction writes at most; no real archive comes near these.
constexpr uint64_t kMaxMemberBytes = uint64_t(4) << 30; // 4 GiB per member
constexpr uint64_t kMaxTotalBytes = uint64_t(16) << 30; // 16 GiB per archive
constexpr size_t kMaxMembers = 100000;

// Receives a member's bytes in pieces; returns false to stop.
using ByteSink = std::function<bool(const uint8_t* data, size_t size)>;
// Hands the member's bytes to the sink; false with a message when they cannot all be read or the
// sink stops.
using ByteSource = std::function<bool(const ByteSink& sink, std::string* problem)>;

// A name that can be created in the folder itself: not empty, not "." or "..", no "/" or "\\".
bool isBareName(const std::string& name);

// The part of a stored member name after its last "/", "\\" or ":" when that is a bare name, else
// empty. Extracting by it alone can never leave the folder.
std::string bareName(const std::string& stored);

// The folder with its parents, created when missing; true when it exists as a folder.
bool makeFolder(const std::string& folder);

// The stored path of a member as a path below the folder, "/"-separated: backslashes read as
// separators, empty and "." parts dropped; empty when the path is absolute, names a drive or holds
// "..", so that it cannot leave the folder.
std::string relativeMemberPath(std::string stored);

// Creates the folders of `relativeFolder` below `folder`; refuses (false) where a part exists and is
// not a folder, a link to one included.
bool makeSubfolders(const std::string& folder, const std::string& relativeFolder, std::string* problem);

// The bytes written so far by one extraction, checked against the bounds.
class Budget
{
public:
    // Counts one more member; false beyond kMaxMembers.
    bool takeMember(std::string* problem);
    // Counts bytes of the current member; false beyond either bound.
    bool take(size_t bytes, std::string* problem);

private:
    uint64_t m_member = 0;
    uint64_t m_total = 0;
    size_t m_members = 0;
};

// Writes one member as `name` (a bare name) in the folder: through a temporary file there that takes
// the name only when the source delivered everything within the budget; the rename replaces a file
// or link of that name without following it. A folder of that name is never replaced. The file gets
// the stored time (seconds since 1970, when not negative) and the permissions 0644.
bool writeMemberFile(const std::string& folder, const std::string& name, int64_t modified, const ByteSource& source,
                     Budget& budget, std::string* error);

// One extraction into a folder by bare names: a member without a usable name, or whose name an
// earlier member took (members of different folders may share one), is not written; the others go
// through writeMemberFile within one budget. Every member not written leaves a line in problems().
class FlatExtraction
{
public:
    explicit FlatExtraction(std::string folder) : m_folder(std::move(folder)) {}

    // `label` names the member in messages (its stored name); true when the file was written.
    bool write(const std::string& label, const std::string& name, int64_t modified, const ByteSource& source);
    const std::vector<std::string>& problems() const { return m_problems; }
    // The problems in one line, separated by "; ".
    std::string problemText() const;

private:
    std::string m_folder;
    Budget m_budget;
    std::set<std::string> m_taken;
    std::vector<std::string> m_problems;
};

} // namespace extraction
