#include "core/password_scramble.h"

namespace pote {

void xor_with_key(char* data, qsizetype size, QByteArrayView key) {
    const qsizetype keyLength = key.size();
    if (keyLength == 0) return;
    qsizetype k = 0;
    for (qsizetype i = 0; i < size; ++i) {
        data[i] = static_cast<char>(data[i] ^ key[k]);
        if (++k == keyLength) k = 0;
    }
}

} // namespace pote
