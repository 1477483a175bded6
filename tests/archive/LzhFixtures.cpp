#include "LzhFixtures.h"

#include "archive/LzhBytes.h"
#include "archive/LzhCrc16.h"
#include "archive/LzhHeader.h"

#include <QDirIterator>
#include <QProcess>

namespace lzhtest {

namespace {

constexpr uint32_t kDosTime = (45u << 25) | (6u << 21) | (15u << 16) | (12u << 11); // 2025-06-15 12:00

} // namespace

QByteArray storedMember(int level, const QByteArray& name, const QByteArray& content)
{
    const uint16_t crc = lzh::Crc16::of(content.constData(), size_t(content.size()));
    if (level == 2) {
        lzh::MemberHeader header;
        header.method = "-lh0-";
        header.name = name.toStdString();
        header.compressedSize = header.originalSize = uint64_t(content.size());
        header.dataCrc = crc;
        header.modified = 1750000000;
        return QByteArray::fromStdString(lzh::writeLevel2Header(header)) + content;
    }
    QByteArray header(2, '\0');
    header.append("-lh0-");
    lzh::appendLe32(header, uint32_t(content.size()));
    lzh::appendLe32(header, uint32_t(content.size()));
    lzh::appendLe32(header, kDosTime);
    header.append(char(0x20));
    header.append(char(level));
    header.append(char(name.size()));
    header.append(name);
    lzh::appendLe16(header, crc);
    if (level == 1) {
        header.append('M');
        lzh::appendLe16(header, 0); // no extension headers
    }
    header[0] = char(header.size() - 2);
    uint8_t sum = 0;
    for (qsizetype i = 2; i < header.size(); ++i)
        sum = uint8_t(sum + uint8_t(header[i]));
    header[1] = char(sum);
    return header + content;
}

QByteArray archiveOf(std::initializer_list<QByteArray> members)
{
    QByteArray bytes;
    for (const QByteArray& member : members)
        bytes += member;
    bytes.append('\0');
    return bytes;
}

ToolResult runTool(const QString& program, const QStringList& arguments, const QString& workingFolder)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    process.start(program, arguments);
    ToolResult result;
    result.started = process.waitForStarted(10000);
    if (!result.started)
        return result;
    process.closeWriteChannel();
    process.waitForFinished(120000);
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = process.readAll();
    return result;
}

QStringList filesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    const QDir root(folder);
    while (it.hasNext())
        files.append(root.relativeFilePath(it.next()));
    files.sort();
    return files;
}

} // namespace lzhtest
