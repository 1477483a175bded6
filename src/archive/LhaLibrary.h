#pragma once

#include "archive/ArchiverLibrary.h"

namespace archiver {

// "UNLHA32.DLL": the LZH library over the codec of this folder. Commands "x" (extract every member,
// or the members matching the listed names, into the folder by bare name), "u" and "a" (pack the
// files the patterns match under their bare names, replacing members of the same name), "d" (delete
// the listed members); "s" (self-extracting archive) is not offered. Switches such as "-+", "-n1",
// "-x0" and "-x1" are accepted: the archives are always flat.
Library makeLhaLibrary();

} // namespace archiver
