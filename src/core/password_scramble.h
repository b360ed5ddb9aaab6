#pragma once
// The byte transforms of the document file's names, texts and password block.

#include <QByteArray>
#include <QByteArrayView>

namespace pote {

constexpr quint8 rotate_right(quint8 b) {
    return static_cast<quint8>(((b >> 2) | (b << 6)) & 0xFF);
}
constexpr quint8 rotate_left(quint8 b) {
    return static_cast<quint8>(((b << 2) | (b >> 6)) & 0xFF);
}
constexpr quint16 pw_char_encode(quint8 c) {
    return static_cast<quint16>(c * 64 + 35);
}
constexpr quint8 pw_char_decode(quint16 w) {
    return static_cast<quint8>(static_cast<quint16>(w - 35) >> 6);
}

// XORs data in place with key[0], key[1], ... restarting at key[0] after the last key byte.
// An empty key leaves data unchanged.
void xor_with_key(char* data, qsizetype size, QByteArrayView key);

} // namespace pote
