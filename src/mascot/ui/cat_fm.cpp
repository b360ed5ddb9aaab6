#include "mascot/ui/cat_fm.h"

#include "core/prompter.h"
#include "mascot/ui/mascot_view.h"
#include "mascot/ui/room_picture.h"

#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QtDebug>

namespace pote::mascot {

namespace {

constexpr int kFrames[4] = {1, 22, 1, 23};

const QString kFurOnCaption = QStringLiteral("毛なみ効果ＯＮ");
const QString kFurOffCaption = QStringLiteral("毛なみ効果ＯＦＦ");

// Large photos and PNGs take a moment to read.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

qint64 modifiedMs(const QFileInfo& info) {
    return info.lastModified().toMSecsSinceEpoch();
}

} // namespace

Tcat_fm::Tcat_fm(CatRoom& room, CellSource cells, Prompter& prompter, QString& roomPic,
                 QWidget* parent)
    : QDialog(parent), m_room(room), m_cells(std::move(cells)), m_prompter(prompter),
      m_roomPic(roomPic) {
    setObjectName(QStringLiteral("cat_fm"));
    setWindowTitle(QStringLiteral("にゃにゃ～～～ん！！"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(495, 551);

    m_Image1 = new QLabel(this);
    m_Image1->setObjectName(QStringLiteral("Image1"));
    m_Image1->setGeometry(7, 8, kRoomSide, kRoomSide);

    m_room_bt = new QPushButton(QStringLiteral("お部屋の画像を読み込む"), this);
    m_room_bt->setObjectName(QStringLiteral("room_bt"));
    m_room_bt->setGeometry(7, 500, 200, 40);
    m_mj_bt = new QPushButton(QStringLiteral("毛並み効果"), this);
    m_mj_bt->setObjectName(QStringLiteral("mj_bt"));
    m_mj_bt->setGeometry(215, 500, 150, 40);
    m_Button1 = new QPushButton(QStringLiteral("対面終了"), this);
    m_Button1->setObjectName(QStringLiteral("Button1"));
    m_Button1->setGeometry(373, 500, 114, 40);

    m_Timer1.setInterval(kTimerInterval);
    connect(&m_Timer1, &QTimer::timeout, this, &Tcat_fm::Timer1Timer);
    connect(m_room_bt, &QPushButton::clicked, this, &Tcat_fm::room_btClick);
    connect(m_mj_bt, &QPushButton::clicked, this, &Tcat_fm::mj_btClick);
    connect(m_Button1, &QPushButton::clicked, this, &Tcat_fm::Button1Click);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

bool Tcat_fm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FormActivate();
    return QDialog::event(event);
}

void Tcat_fm::FormActivate() {
    // Only the opening says why the room is bare: the message box closing activates the window
    // again, maybe before the box's own loop has ended.
    const bool opening = !m_opened;
    m_opened = true;
    const RoomPictureLoad::Status room = refreshRoom();
    m_Timer1.start();
    m_step = 0;
    showFurCaption();
    // The room may have changed; show it now rather than at the next tick.
    drawFrame(m_lastFrame);
    if (opening) tellRoomRefusal(room, m_roomPic);
}

RoomPictureLoad::Status Tcat_fm::refreshRoom() {
    const QFileInfo info(m_roomPic);
    if (m_roomPic.isEmpty()) {
        m_room.reset();
        return RoomPictureLoad::Status::NotAPicture;
    }
    if (!info.isFile()) {
        m_room.reset();
        return RoomPictureLoad::Status::CannotRead;
    }
    // Activation comes often (every return from another window); a picture whose file has not
    // changed is the one it would be read into again.
    if (m_room.loadedPath == m_roomPic && m_room.loadedSize == info.size() &&
        m_room.loadedModified == modifiedMs(info))
        return RoomPictureLoad::Status::Loaded;
    m_room.reset();
    return takeRoomPicture(m_roomPic);
}

void Tcat_fm::tellRoomRefusal(RoomPictureLoad::Status status, const QString& path) {
    if (const QString refusal = roomPictureRefusal(status, path); !refusal.isEmpty())
        m_prompter.message(MessageKind::Warning, Answer::Yes, refusal);
}

RoomPictureLoad::Status Tcat_fm::takeRoomPicture(const QString& path) {
    RoomPictureLoad load;
    {
        WaitCursor wait;
        load = loadRoomPicture(path);
    }
    if (load.loaded()) {
        const QFileInfo info(path);
        m_room.picture = std::move(load.picture);
        m_room.loadedPath = path;
        m_room.loadedSize = info.size();
        m_room.loadedModified = modifiedMs(info);
    } else if (load.status != RoomPictureLoad::Status::NotAPicture) {
        qWarning().noquote() << "room picture not loaded:" << QDir::toNativeSeparators(path)
                             << load.detail;
    }
    return load.status;
}

void Tcat_fm::Timer1Timer() {
    drawFrame(kFrames[m_step]);
    m_step = (m_step + 1) % 4;
}

void Tcat_fm::drawFrame(int frame) {
    m_lastFrame = frame;
    const RgbImage cell = m_cells ? rgbImageFrom(m_cells(frame)) : RgbImage{};
    m_picture = toQImage(m_composer.compose(m_room.picture, cell, m_room.furOn, m_noise));
    m_Image1->setPixmap(QPixmap::fromImage(m_picture));
}

void Tcat_fm::room_btClick() {
    m_Timer1.stop();
    FileDialogRequest request;
    request.title = QStringLiteral("お部屋の画像の読み込み");
    request.filters = {{QStringLiteral("画像ファイル (*.jpg *.jpeg *.bmp *.png)"),
                        QStringLiteral("*.jpg *.jpeg *.bmp *.png")}};
    request.directory = m_room.pictureFolder;
    if (request.directory.isEmpty() || !QFileInfo(request.directory).isDir())
        request.directory = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!QFileInfo(request.directory).isDir()) request.directory = QDir::homePath();

    if (const std::optional<QString> chosen = m_prompter.openFile(request)) {
        m_room.pictureFolder = QFileInfo(*chosen).absolutePath();
        // Only a picture that was read becomes the stored room: a refused file would leave the
        // green room behind at every later opening.
        const RoomPictureLoad::Status status = takeRoomPicture(*chosen);
        if (status == RoomPictureLoad::Status::Loaded) {
            m_roomPic = *chosen;
            drawFrame(m_lastFrame);
        } else {
            tellRoomRefusal(status, *chosen);
        }
        m_prompter.message(MessageKind::Information, Answer::Yes,
                           QStringLiteral("あ～！！お部屋用意してくれたにゃん？\r") +
                               QStringLiteral("ありがとにゃん！！"));
    }
    m_Timer1.start();
}

void Tcat_fm::mj_btClick() {
    m_room.furOn = !m_room.furOn;
    showFurCaption();
}

void Tcat_fm::showFurCaption() {
    // The caption names what a click will do.
    m_mj_bt->setText(m_room.furOn ? kFurOffCaption : kFurOnCaption);
}

void Tcat_fm::Button1Click() {
    close();
}

void Tcat_fm::done(int result) {
    m_Timer1.stop();
    QDialog::done(result);
}

void Tcat_fm::closeEvent(QCloseEvent* event) {
    m_Timer1.stop();
    QDialog::closeEvent(event);
}

void showCatWindow(MascotView& mascot, CatRoom& room, Prompter& prompter, QString& roomPic,
                   QWidget* parent) {
    // The mascot's animation stays frozen where it was while the big cat is on show.
    mascot.stop();
    {
        Tcat_fm window(
            room, [&mascot](int frame) { return mascot.cellImage(frame); }, prompter, roomPic,
            parent);
        window.exec();
    }
    mascot.start();
}

} // namespace pote::mascot
