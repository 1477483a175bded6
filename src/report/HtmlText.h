#pragma once

#include <QString>

// Registration text placed into the report: markup characters become entities, so that no value
// can open an element, close the table around it or look like a template tag.
namespace html {

QString escape(const QString& text);

// As escape(), with every line break (CR LF, CR or LF) shown as "<BR>".
QString escapeWithBreaks(const QString& text);

} // namespace html
