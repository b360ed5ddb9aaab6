#pragma once
// Writing all of a buffer to a device.

#include <QByteArrayView>

class QIODevice;

namespace pote {

// Writes every byte of bytes, going on after a short write. A device that stops accepting
// bytes (a full disk) writes part of a buffer and says nothing; only the next attempt fails
// with the platform's reason, which the device's errorString() then holds. False on failure.
bool writeAll(QIODevice& device, QByteArrayView bytes);

} // namespace pote
