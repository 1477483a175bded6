#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <initializer_list>

// Hand-made LZH members for the cases the writer never produces (header levels 0 and 1, hostile
// names and sizes), and a runner for the independent archive tools.
namespace lzhtest {

// A stored (-lh0-) member with a header of level 0, 1 or 2 and a correct checksum or CRC.
QByteArray storedMember(int level, const QByteArray& name, const QByteArray& content);
// Members followed by the end mark.
QByteArray archiveOf(std::initializer_list<QByteArray> members);

// Offsets in a level-2 header as the writer lays it out.
constexpr int kLevel2OriginalSize = 11;
constexpr int kLevel2DataCrc = 21;

struct ToolResult
{
    bool started = false;
    int exitCode = -1;
    QByteArray output; // stdout and stderr
};
ToolResult runTool(const QString& program, const QStringList& arguments, const QString& workingFolder = QString());

// Every file below the folder (relative paths, sorted), temporary files of interrupted writes included.
QStringList filesBelow(const QString& folder);

} // namespace lzhtest
