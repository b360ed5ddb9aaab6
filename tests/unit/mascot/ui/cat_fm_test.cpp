#include "mascot/sprite_sheet.h"
#include "mascot/ui/cat_fm.h"
#include "mascot/ui/mascot_view.h"

#include "jpeg_writer.h"
#include "support/scripted_prompter.h"
#include "support/test_files.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace pote::mascot {
namespace {

const QString kThanks = QStringLiteral("あ～！！お部屋用意してくれたにゃん？\rありがとにゃん！！");

constexpr Rgb kOutline{40, 30, 30};

// Cell N: green, with a body square from (10, 10) to (37, 37) and a frame mark of colour
// (N, N, N) in its top-left corner block.
QImage cellFor(int frame) {
    QImage cell(48, 48, QImage::Format_RGB888);
    cell.fill(QColor(0, 128, 0));
    for (int y = 10; y < 38; ++y)
        for (int x = 10; x < 38; ++x)
            cell.setPixelColor(x, y, y == 10 ? QColor(40, 30, 30) : QColor(147, 158, 188));
    cell.setPixelColor(0, 0, QColor(frame, frame, frame));
    return cell;
}

Rgb at(const QImage& image, int x, int y) {
    const QColor c = image.pixelColor(x, y);
    return {std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())};
}

bool near(Rgb a, Rgb b, int tolerance = 10) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

class CatWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "cat_fm_test";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
    }

    Tcat_fm& window() {
        if (!m_window)
            m_window = std::make_unique<Tcat_fm>(
                m_room,
                [this](int frame) {
                    m_framesAsked.push_back(frame);
                    return cellFor(frame);
                },
                m_prompter, m_roomPic);
        return *m_window;
    }

    // A photo-like room: the four quadrant colours, as a JPEG bigger than the picture.
    QString writeJpegRoom(const QString& name, int width = 1200, int height = 900) {
        const QString path = m_dir.filePath(name);
        test::writeAll(path, test::encodeJpeg(test::quadrants(width, height)));
        return path;
    }

    // Chooses the file with room_bt and answers the boxes that follow.
    void choose(const QString& path, int boxes = 1) {
        m_prompter.answerFile(path);
        for (int i = 0; i < boxes; ++i)
            m_prompter.answer(Answer::Yes);
        window().room_btClick();
        EXPECT_TRUE(m_prompter.allAnswered());
    }

    QTemporaryDir m_dir;
    CatRoom m_room;
    QString m_roomPic;
    test::ScriptedPrompter m_prompter;
    std::vector<int> m_framesAsked;
    std::unique_ptr<Tcat_fm> m_window;
};

TEST_F(CatWindowTest, LooksAsDesignedAndCaptionsNameWhatAClickDoes) {
    Tcat_fm& w = window();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("にゃにゃ～～～ん！！"));
    EXPECT_EQ(w.size(), QSize(495, 551));
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("Image1"))->size(), QSize(480, 480));
    EXPECT_EQ(w.findChild<QPushButton*>(QStringLiteral("room_bt"))->text(),
              QStringLiteral("お部屋の画像を読み込む"));
    EXPECT_EQ(w.findChild<QPushButton*>(QStringLiteral("Button1"))->text(),
              QStringLiteral("対面終了"));
    auto* fur = w.findChild<QPushButton*>(QStringLiteral("mj_bt"));
    EXPECT_FALSE(w.timerRunning());

    w.FormActivate();
    EXPECT_TRUE(w.timerRunning());
    EXPECT_EQ(fur->text(), QStringLiteral("毛なみ効果ＯＮ"));
    w.mj_btClick();
    EXPECT_TRUE(m_room.furOn);
    EXPECT_EQ(fur->text(), QStringLiteral("毛なみ効果ＯＦＦ"));
    w.mj_btClick();
    EXPECT_FALSE(m_room.furOn);
    EXPECT_EQ(fur->text(), QStringLiteral("毛なみ効果ＯＮ"));

    w.Button1Click();
    EXPECT_FALSE(w.timerRunning()) << "closing stops the timer";
}

TEST_F(CatWindowTest, NodsThroughFrames1_22_1_23OnGreenWithoutARoom) {
    Tcat_fm& w = window();
    w.FormActivate();
    m_framesAsked.clear();
    for (int i = 0; i < 5; ++i)
        w.Timer1Timer();
    EXPECT_EQ(m_framesAsked, (std::vector<int>{1, 22, 1, 23, 1}));
    const QImage& shown = w.picture();
    ASSERT_EQ(shown.size(), QSize(480, 480));
    EXPECT_EQ(at(shown, 470, 470), kTransparentColour) << "plain green where the cat is not";
    EXPECT_EQ(at(shown, 5, 5), (Rgb{1, 1, 1})) << "frame 1's mark, ten times enlarged";
    EXPECT_EQ(at(shown, 200, 200), kBodyColour) << "fur off: the body in its sheet colour";
    EXPECT_EQ(at(shown, 100, 105), kOutline);
}

TEST_F(CatWindowTest, AChosenPhotoBecomesTheRoomAndIsStored) {
    const QString path = writeJpegRoom(QStringLiteral("居間の写真.JPG"));
    Tcat_fm& w = window();
    w.FormActivate();
    choose(path);
    const test::Asked& dialog = m_prompter.asked().front();
    EXPECT_EQ(dialog.type, test::Asked::Type::OpenFile);
    EXPECT_EQ(dialog.dialog.title, QStringLiteral("お部屋の画像の読み込み"));
    ASSERT_EQ(dialog.dialog.filters.size(), 1);
    for (const char* pattern : {"*.jpg", "*.jpeg", "*.bmp", "*.png"})
        EXPECT_TRUE(dialog.dialog.filters[0].second.contains(QLatin1String(pattern))) << pattern;
    EXPECT_EQ(m_prompter.last().kind, MessageKind::Information);
    EXPECT_EQ(m_prompter.last().buttons, Answers(Answer::Yes));
    EXPECT_EQ(m_prompter.last().text, kThanks);
    EXPECT_EQ(m_roomPic, path);
    EXPECT_TRUE(w.timerRunning()) << "the timer runs again after the box";

    w.Timer1Timer();
    EXPECT_TRUE(near(at(w.picture(), 470, 5), test::kQuadrantColours[1]))
        << "green cell pixels show the room";
    EXPECT_TRUE(near(at(w.picture(), 470, 470), test::kQuadrantColours[2]));
    EXPECT_EQ(at(w.picture(), 200, 200), kBodyColour);
}

TEST_F(CatWindowTest, BitmapsAndPngsAreReadToo) {
    for (const char* name : {"部屋.bmp", "部屋.png"}) {
        const QString path = m_dir.filePath(QString::fromUtf8(name));
        QImage room(300, 200, QImage::Format_RGB32);
        room.fill(QColor(200, 150, 100));
        ASSERT_TRUE(room.save(path));
        m_room.reset();
        window().FormActivate();
        choose(path);
        EXPECT_EQ(m_roomPic, path) << name;
        EXPECT_EQ(at(window().picture(), 470, 470), (Rgb{200, 150, 100})) << name;
    }
}

TEST_F(CatWindowTest, PicturesThatCannotBeUsedKeepTheRoomAndTheSettingButStillThank) {
    const QString good = writeJpegRoom(QStringLiteral("good.jpg"));
    const QByteArray jpeg = test::encodeJpeg(test::quadrants(640, 480));
    const QString truncated = m_dir.filePath(QStringLiteral("途中まで.jpg"));
    test::writeAll(truncated, jpeg.left(jpeg.size() / 2));
    const QString huge = m_dir.filePath(QStringLiteral("huge.jpeg"));
    test::writeAll(huge, test::withClaimedSize(jpeg, 60000, 60000));
    const QString fakePng = m_dir.filePath(QStringLiteral("fake.png"));
    test::writeAll(fakePng, "not a picture at all");
    const QString gif = m_dir.filePath(QStringLiteral("anime.gif"));
    test::writeAll(gif, "GIF89a");

    Tcat_fm& w = window();
    w.FormActivate();
    choose(good);
    w.Timer1Timer();
    const QImage before = w.picture();

    struct Row {
        QString path;
        const char* warningStart; // nullptr: no warning, only the thanks
    };
    const Row rows[] = {
        {gif, nullptr},
        {truncated, "この画像は壊れているか、途中で切れているにゃ…。\r"},
        {huge, "この画像は大きすぎるにゃ！！"},
        {fakePng, "この画像は壊れているか、途中で切れているにゃ…。\r"},
        {m_dir.filePath(QStringLiteral("消えた.bmp")), "お部屋の画像が読めないにゃ…。\r"},
    };
    for (const Row& row : rows) {
        m_prompter.clear();
        choose(row.path, row.warningStart ? 2 : 1);
        const auto& asked = m_prompter.asked();
        ASSERT_EQ(asked.size(), row.warningStart ? 3u : 2u) << row.path.toStdString();
        if (row.warningStart) {
            EXPECT_EQ(asked[1].kind, MessageKind::Warning);
            EXPECT_TRUE(asked[1].text.startsWith(QString::fromUtf8(row.warningStart)))
                << asked[1].text.toStdString();
            EXPECT_TRUE(asked[1].text.contains(row.path)) << "the box names the file";
        }
        EXPECT_EQ(asked.back().text, kThanks) << row.path.toStdString();
        EXPECT_EQ(m_roomPic, good) << row.path.toStdString();
        w.Timer1Timer();
        w.Timer1Timer();
        w.Timer1Timer();
        w.Timer1Timer(); // back to frame 1, as before
        EXPECT_EQ(w.picture(), before) << row.path.toStdString();
    }

    m_prompter.clear();
    m_prompter.answerFile(std::nullopt);
    w.room_btClick();
    EXPECT_EQ(m_prompter.asked().size(), 1u) << "no thanks after Cancel";
    EXPECT_TRUE(w.timerRunning());
}

TEST_F(CatWindowTest, AStoredRoomThatCannotBeShownIsToldOnceAtTheOpening) {
    const QByteArray jpeg = test::encodeJpeg(test::quadrants(640, 480));
    const QString broken = m_dir.filePath(QStringLiteral("壊れた.jpg"));
    test::writeAll(broken, jpeg.left(jpeg.size() / 2));
    const struct {
        QString roomPic;
        const char* start;
    } rows[] = {
        {m_dir.filePath(QStringLiteral("消えた.jpg")), "お部屋の画像が読めないにゃ…。\r"},
        {broken, "この画像は壊れているか、途中で切れているにゃ…。\r"},
    };
    for (const auto& row : rows) {
        m_window.reset();
        m_prompter.clear();
        m_roomPic = row.roomPic;
        m_prompter.answer(Answer::Yes);
        Tcat_fm& w = window();
        QImage behind;
        m_prompter.onMessage([&] { behind = w.picture(); });
        w.FormActivate();
        m_prompter.onMessage({});
        const auto& asked = m_prompter.asked();
        ASSERT_EQ(asked.size(), 1u) << row.roomPic.toStdString();
        EXPECT_EQ(asked[0].kind, MessageKind::Warning);
        EXPECT_TRUE(asked[0].text.startsWith(QString::fromUtf8(row.start)))
            << asked[0].text.toStdString();
        EXPECT_TRUE(asked[0].text.contains(row.roomPic));
        ASSERT_FALSE(behind.isNull()) << "the room is drawn before the cat speaks";
        EXPECT_EQ(at(behind, 470, 470), kTransparentColour);
        w.FormActivate(); // the box closing activates the window again
        w.FormActivate();
        EXPECT_EQ(asked.size(), 1u) << "said once";
        EXPECT_EQ(m_roomPic, row.roomPic) << "the setting is left for the user to change";
    }
}

TEST_F(CatWindowTest, TheRoomAndTheFurLastIntoTheNextOpeningAndFollowTheSetting) {
    const QString path = writeJpegRoom(QStringLiteral("room.jpg"));
    window().FormActivate();
    choose(path);
    window().mj_btClick();
    m_window.reset();

    Tcat_fm& again = window();
    again.FormActivate();
    EXPECT_EQ(again.findChild<QPushButton*>(QStringLiteral("mj_bt"))->text(),
              QStringLiteral("毛なみ効果ＯＦＦ"));
    again.Timer1Timer();
    const QImage first = again.picture();
    EXPECT_TRUE(near(at(first, 470, 470), test::kQuadrantColours[2])) << "the room is back";
    again.Timer1Timer();
    again.Timer1Timer(); // frame 1 again, with other random fur
    EXPECT_NE(at(first, 200, 200), at(again.picture(), 200, 200)) << "the fur shimmers";

    // The stored picture is gone: activation finds plain green.
    QFile::remove(path);
    again.FormActivate();
    again.Timer1Timer();
    EXPECT_EQ(at(again.picture(), 470, 470), kTransparentColour);

    // The setting names another picture (say, the settings were edited): activation reads it.
    m_roomPic = writeJpegRoom(QStringLiteral("other.jpg"), 200, 100);
    again.FormActivate();
    again.Timer1Timer();
    EXPECT_TRUE(near(at(again.picture(), 470, 470), test::kQuadrantColours[2]));
}

TEST_F(CatWindowTest, TheMascotStopsWhileTheWindowIsOpen) {
    MascotView mascot;
    mascot.start();
    bool stoppedMeanwhile = false;
    QTimer::singleShot(0, [&] {
        stoppedMeanwhile = !mascot.isRunning();
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    showCatWindow(mascot, m_room, m_prompter, m_roomPic, nullptr);
    EXPECT_TRUE(stoppedMeanwhile);
    EXPECT_TRUE(mascot.isRunning());
}

} // namespace
} // namespace pote::mascot
