#pragma once

#include "archive/ArchiverLibrary.h"

#include <vector>

namespace archiver {

// The libraries of the other formats, done with libarchive: "UNZIP32.DLL" (extract ZIP),
// "LMZIP32.DLL" (extract and pack ZIP), "CAB32.DLL" (extract CAB; packing is not offered) and
// "tar32.dll" (extract and pack TAR, gzip-compressed with a "-z" switch). libarchive reads no ARJ:
// "UNARJ32J.DLL" is the program's own ARJ reader (ArjLibrary.h).
std::vector<Library> makeLibarchiveLibraries();

} // namespace archiver
