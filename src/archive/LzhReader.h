#pragma once

#include "archive/LzhArchive.h"
#include "archive/LzhDecoder.h"

class QIODevice;

namespace lzh {

// Walks the members of an archive on a seekable device and decodes their data. Declared sizes are
// checked against what the device holds before anything is read or allocated for a member.
class ArchiveReader
{
public:
    explicit ArchiveReader(QIODevice* device);

    // Positions the device at the first header: at the start, or after a self-extracting program.
    bool start(QString* error);
    HeaderStatus next(MemberEntry& entry, QString* error);
    // Decodes the member's data into the sink and checks its length and CRC.
    bool readData(const MemberEntry& entry, const ByteSink& sink, QString* error);

private:
    QIODevice* m_device;
    qint64 m_nextHeader = 0;
};

} // namespace lzh
