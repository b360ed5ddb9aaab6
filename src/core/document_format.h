#pragma once
// Layout constants of the .ptm file shared by its reader and writer.

#include "core/password_rules.h"

#include <QtGlobal>

namespace pote::docfile::format {

constexpr qint64 kHeaderSize = 20;   // version 2
constexpr qint64 kOldHeaderSize = 8; // version 0: 4 bytes not examined, version, count
constexpr qint64 kRecordSize = 12;   // version 2 section record
constexpr qint64 kOldEntrySize = 4;  // version 0: text length, name length
constexpr quint16 kVersionOld = 0;
constexpr quint16 kVersionCurrent = 2;
constexpr int kMinPasswordLength = kPasswordMinLength;
constexpr int kMaxPasswordLength = kPasswordMaxLength;
constexpr quint32 kFillerLimit = 7000; // filler words are drawn from 0 .. 6999

// Texts are split and merged in runs of this many bytes per half, which bounds the reader's
// and the writer's working memory whatever the size of a text.
constexpr qsizetype kChunk = 512 * 1024;

inline quint16 le16(const char* p) {
    return static_cast<quint16>(static_cast<quint8>(p[0]) | (static_cast<quint8>(p[1]) << 8));
}
inline quint32 le32(const char* p) {
    return static_cast<quint32>(le16(p)) | (static_cast<quint32>(le16(p + 2)) << 16);
}
inline void putLe16(char* p, quint16 v) {
    p[0] = static_cast<char>(v & 0xFF);
    p[1] = static_cast<char>(v >> 8);
}
inline void putLe32(char* p, quint32 v) {
    putLe16(p, static_cast<quint16>(v & 0xFFFF));
    putLe16(p + 2, static_cast<quint16>(v >> 16));
}

} // namespace pote::docfile::format
