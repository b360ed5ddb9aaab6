#pragma once
// The cat window `Tcat_fm` ("にゃにゃ～～～ん！！"): the mascot ten times enlarged over a room
// picture the user chooses, nodding to the beat of its own 500 ms timer, with the fur effect
// switched on and off by a button. What it shows lives in a CatRoom that the main window keeps,
// so the room and the fur effect are there again at the next opening.

#include "mascot/cat_room.h"
#include "mascot/ui/room_picture.h"

#include <QDialog>
#include <QImage>
#include <QTimer>

#include <functional>

class QLabel;
class QPushButton;

namespace pote {
class Prompter;
}

namespace pote::mascot {

class MascotView;

class Tcat_fm : public QDialog {
    Q_OBJECT
public:
    // One cell of the sprite sheet by frame number (null without a sheet: the room alone).
    using CellSource = std::function<QImage(int frame)>;

    static constexpr int kTimerInterval = 500;

    // roomPic is the stored setting RoomPIC: read on every activation, written when the user
    // chooses a picture that loads.
    Tcat_fm(CatRoom& room, CellSource cells, Prompter& prompter, QString& roomPic,
            QWidget* parent = nullptr);

    // Handlers, public so that tests drive them as the window system would.
    void FormActivate();
    void Timer1Timer();
    void room_btClick();
    void mj_btClick();
    void Button1Click();

    // What Image1 shows now.
    const QImage& picture() const { return m_picture; }
    bool timerRunning() const { return m_Timer1.isActive(); }
    int step() const { return m_step; }

protected:
    bool event(QEvent* event) override;
    // FormClose: the window closes through one of these, whichever way the user closes it.
    void done(int result) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The room as activation leaves it: green, then RoomPIC's picture if that file exists.
    // Loaded when RoomPIC is the room; why not otherwise (NotAPicture without a RoomPIC).
    RoomPictureLoad::Status refreshRoom();
    // Loaded when the picture was read and is now the room.
    RoomPictureLoad::Status takeRoomPicture(const QString& path);
    // The cat's message for a picture that cannot be the room; nothing for Loaded and
    // NotAPicture.
    void tellRoomRefusal(RoomPictureLoad::Status status, const QString& path);
    void drawFrame(int frame);
    void showFurCaption();

    CatRoom& m_room;
    CellSource m_cells;
    Prompter& m_prompter;
    QString& m_roomPic;

    QLabel* m_Image1 = nullptr;
    QPushButton* m_room_bt = nullptr;
    QPushButton* m_mj_bt = nullptr;
    QPushButton* m_Button1 = nullptr;
    QTimer m_Timer1;
    int m_step = 0;
    int m_lastFrame = 1;
    bool m_opened = false; // the first activation has come

    CatFrameComposer m_composer;
    RandomFurNoise m_noise;
    QImage m_picture;
};

// The menu command's whole run: the main window's mascot stops, the cat window is shown
// modally with the mascot's cells and released when it closes, and the mascot runs again.
void showCatWindow(MascotView& mascot, CatRoom& room, Prompter& prompter, QString& roomPic,
                   QWidget* parent);

} // namespace pote::mascot
