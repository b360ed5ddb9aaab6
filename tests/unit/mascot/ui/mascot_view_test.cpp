#include "mascot/sprite_sheet.h"
#include "mascot/ui/mascot_view.h"

#include "support/test_files.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pote::mascot {
namespace {

constexpr QRgb kKey = qRgb(0, 128, 0);

class MascotViewTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "mascot_view_test";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
    }

    // A 10 × 3 sheet of 48 × 48 cells: cell N is painted in colour N, with the key colour
    // in its top-left pixel.
    QString writeSheet() {
        IndexedSheet sheet;
        sheet.cellWidth = sheet.cellHeight = 48;
        sheet.columns = 10;
        sheet.rows = 3;
        sheet.palette.push_back(kKey & 0xFFFFFF);
        for (int n = 1; n <= 30; ++n)
            sheet.palette.push_back(colourOf(n) & 0xFFFFFF);
        const int width = 480;
        sheet.indices.resize(width * 144);
        for (int y = 0; y < 144; ++y)
            for (int x = 0; x < width; ++x)
                sheet.indices[y * width + x] =
                    char(x % 48 == 0 && y % 48 == 0 ? 0 : 1 + (y / 48) * 10 + x / 48);
        const QString path = sheetPathIn(m_dir.path());
        test::writeAll(path, encodeSheet(sheet));
        return path;
    }

    static QRgb colourOf(int frame) { return qRgb(frame * 8, 255 - frame * 8, 100); }

    // What the widget paints over whatever lies behind it.
    static QImage picture(MascotView& view) {
        QImage image(view.size(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    }

    static void send(MascotView& view, QEvent::Type type) {
        const QPointF at(10, 10);
        QMouseEvent event(type, at, view.mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&view, &event);
    }

    QTemporaryDir m_dir;
};

TEST_F(MascotViewTest, StartsStoppedAtTheNormalIntervalWithoutTakingFocus) {
    MascotView view;
    EXPECT_EQ(view.size(), QSize(48, 48));
    EXPECT_EQ(view.focusPolicy(), Qt::NoFocus);
    EXPECT_FALSE(view.isRunning());
    EXPECT_EQ(view.timerInterval(), 450);
    view.start();
    EXPECT_TRUE(view.isRunning());
    view.stop();
    EXPECT_FALSE(view.isRunning());
}

TEST_F(MascotViewTest, DrawsTheRequestedCellWithTheBackgroundLeftOut) {
    MascotView view;
    ASSERT_TRUE(view.loadSheet(writeSheet()));
    view.mascot_draw(11);
    EXPECT_EQ(view.shownFrame(), 11);
    const QImage shown = picture(view);
    EXPECT_EQ(shown.pixel(20, 20), colourOf(11)) << "frame 11 is the first cell of row 2";
    EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0) << "the sheet's green is not painted";
    view.mascot_draw(31); // not on the sheet: the picture stays
    EXPECT_EQ(view.shownFrame(), 11);
    EXPECT_EQ(view.cellImage(30).pixel(5, 5), colourOf(30));
    EXPECT_EQ(view.cellImage(30).pixel(0, 0), kKey) << "the cell itself keeps its background";
}

TEST_F(MascotViewTest, WithoutASheetTheProgramRunsWithoutTheCat) {
    test::writeAll(sheetPathIn(m_dir.path()), QByteArray(30, 'x'));
    MascotView view;
    EXPECT_FALSE(view.loadSheet(sheetPathIn(m_dir.path())));
    EXPECT_FALSE(view.loadSheet(m_dir.filePath(QStringLiteral("ない.sss"))));
    EXPECT_FALSE(view.hasSheet());
    view.mascot_draw(1);
    view.busyFrame(0);
    view.mascot_react(9);
    view.pote_ontime();
    EXPECT_EQ(view.shownFrame(), 0);
    EXPECT_EQ(qAlpha(picture(view).pixel(24, 24)), 0);

    QImage cushion(48, 48, QImage::Format_ARGB32);
    cushion.fill(qRgb(200, 100, 50));
    view.setPlaceholder(cushion);
    view.pote_ontime();
    EXPECT_EQ(picture(view).pixel(24, 24), qRgb(200, 100, 50)) << "the placeholder keeps the place";
}

TEST_F(MascotViewTest, TicksFollowTheAnimationAndItsPace) {
    MascotView view;
    ASSERT_TRUE(view.loadSheet(writeSheet()));
    view.mascot_react(1);
    EXPECT_EQ(view.timerInterval(), 50);
    EXPECT_EQ(view.shownFrame(), 0) << "a reaction draws on the next tick";
    view.pote_ontime();
    view.pote_ontime();
    EXPECT_EQ(view.shownFrame(), 17);
    view.pote_ontime();
    EXPECT_EQ(view.shownFrame(), 18);
    EXPECT_EQ(view.timerInterval(), 450);
    EXPECT_EQ(picture(view).pixel(20, 20), colourOf(18));
}

TEST_F(MascotViewTest, MouseClickDoubleClickAndMoveReact) {
    MascotView view;
    send(view, QEvent::MouseMove);
    EXPECT_EQ(view.animation().state().anime_code, 10) << "an idle cat notices the pointer";
    send(view, QEvent::MouseButtonPress);
    EXPECT_EQ(view.animation().state().anime_code, 9);
    EXPECT_EQ(view.timerInterval(), 80);
    view.pote_ontime();
    send(view, QEvent::MouseMove);
    EXPECT_EQ(view.animation().state().anime_code, 9) << "the pointer does not cut it short";
    EXPECT_EQ(view.animation().state().anime_step, 1);
    send(view, QEvent::MouseButtonRelease);
    send(view, QEvent::MouseButtonDblClick);
    EXPECT_EQ(view.animation().state().anime_code, 3);
    EXPECT_EQ(view.timerInterval(), 150);
}

TEST_F(MascotViewTest, BusyFrameAlternatesTheBusyPictures) {
    MascotView view;
    ASSERT_TRUE(view.loadSheet(writeSheet()));
    view.busyFrame(0);
    EXPECT_EQ(view.shownFrame(), 29);
    view.busyFrame(1);
    EXPECT_EQ(view.shownFrame(), 30);
    view.busyFrame(2);
    EXPECT_EQ(view.shownFrame(), 29);
}

} // namespace
} // namespace pote::mascot
