#pragma once
// A push button with its picture above the caption ("登録", "交換"). Drawn by hand because the
// toolkit's own icon-over-text buttons elide a caption that fills the narrow design width.

#include <QPushButton>

namespace pote {

class PictureButton : public QPushButton {
    Q_OBJECT
public:
    PictureButton(const QString& objectName, const QIcon& icon, const QString& text,
                  QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace pote
