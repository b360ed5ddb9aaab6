#include "core/device_write.h"

#include <QIODevice>

#include <gtest/gtest.h>

namespace pote {
namespace {

// A disk with room for `room` bytes: writes what fits, then fails like a full disk.
class SmallDevice : public QIODevice {
public:
    explicit SmallDevice(qint64 room) : m_room(room) { open(QIODevice::WriteOnly); }
    QByteArray written;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 n) override {
        const qint64 fits = qMin(n, m_room - written.size());
        if (fits <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        // Like a file on a nearly full disk: a short write, and no word of why.
        written.append(data, fits);
        return fits;
    }

private:
    qint64 m_room;
};

TEST(DeviceWriteTest, ShortWritesGoOnUntilAllIsWrittenOrTheDeviceSaysWhy) {
    SmallDevice roomy(100);
    EXPECT_TRUE(writeAll(roomy, "abcdef"));
    EXPECT_EQ(roomy.written, "abcdef");

    SmallDevice full(4);
    EXPECT_FALSE(writeAll(full, "abcdef"));
    EXPECT_EQ(full.written, "abcd");
    EXPECT_EQ(full.errorString(), QStringLiteral("No space left on device"));
}

} // namespace
} // namespace pote
