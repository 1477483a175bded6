#pragma once

#include <QString>

// Word escapes that let a text with blanks, TABs and double quotes pass through comma-separated
// lists and command lines: "spacespacespace" for a blank, "tabtabtab" for a TAB, "dabdabdab" for a
// double quote. A text that holds an escape word itself does not come back unchanged.
QString EscapeBlanks(const QString& text);
QString UnescapeBlanks(const QString& text);
