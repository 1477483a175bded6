#pragma once

#include "archive/ArchiverLibrary.h"

namespace archiver {

// "UNARJ32J.DLL": the ARJ reader behind the library's entry points "Unarj" (extract "x" or "e" by
// bare names; test "t"; packing is not offered), "UnarjOpenArchive", "UnarjCloseArchive",
// "UnarjFindFirst" and "UnarjFindNext".
Library makeArjLibrary();

} // namespace archiver
