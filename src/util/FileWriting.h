#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

namespace filewriting {

// Writes every byte of `data` to the device. A write the system cuts short (a disk that fills up)
// is tried again for the rest, so that a failure leaves the system's reason ("No space left on
// device") as the device's error instead of none. Files are best opened unbuffered for this, so
// that each write reaches the system at once.
bool writeAll(QIODevice* device, const char* data, qint64 size);
inline bool writeAll(QIODevice* device, const QByteArray& data)
{
    return writeAll(device, data.constData(), data.size());
}

// Copies what remains to be read of `in` to `out`; false with the reason of the side that failed.
bool copyAll(QIODevice* in, QIODevice* out, QString* why);

} // namespace filewriting
