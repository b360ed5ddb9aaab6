#include "core/device_write.h"

#include <QIODevice>

namespace pote {

bool writeAll(QIODevice& device, QByteArrayView bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = device.write(bytes.data() + done, bytes.size() - done);
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

} // namespace pote
