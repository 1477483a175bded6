#include "util/FileWriting.h"

#include <QIODevice>

namespace filewriting {

bool writeAll(QIODevice* device, const char* data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 written = device->write(data + done, size - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

bool copyAll(QIODevice* in, QIODevice* out, QString* why)
{
    while (!in->atEnd()) {
        const QByteArray chunk = in->read(1 << 20);
        if (chunk.isEmpty() && !in->atEnd()) {
            *why = in->errorString();
            return false;
        }
        if (!writeAll(out, chunk)) {
            *why = out->errorString();
            return false;
        }
    }
    return true;
}

} // namespace filewriting
