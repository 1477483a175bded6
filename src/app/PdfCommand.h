#pragma once

#include <optional>

namespace app {

// `vordell [--home DIR] --pdf REG_NO OUT.pdf [--tab N]`: writes the report of one registration
// (tab 0 the whole report, 1 … 4 one section) as PDF without showing anything; the browser
// engine runs on the offscreen platform. Returns nothing when the arguments ask for no PDF
// (the program then starts as usual), else the exit code: 0 when written, 1 with the message on
// stderr otherwise. Call before any QApplication exists.
std::optional<int> runPdfCommand(int argc, char** argv);

} // namespace app
