#pragma once
// The fixed-pitch font dialog `Tffont_fm` ("フォント設定（固定ピッチモード）"): one of the
// installed fixed-pitch Japanese faces, upright or italic, underline and strike-out, one of seven
// sizes and one of sixteen colours, previewed on the pane's background. "設定(&V)" makes the
// previewed font the editing font; closing any other way leaves the editing font alone.

#include "settings/fixed_pitch_font.h"

#include <QColor>
#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace pote {

// The palette picture: sixteen cells in two rows, framed; reports where it was pressed.
class PalettePicture : public QWidget {
    Q_OBJECT
public:
    explicit PalettePicture(QWidget* parent);

signals:
    void pressed(QPoint at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

class Tffont_fm : public QDialog {
    Q_OBJECT
public:
    // editing: the editing font, which "設定(&V)" replaces; background: the pane's background;
    // faces: the fixed-pitch faces installed (none: the two names older settings hold).
    Tffont_fm(EditorFont& editing, const QColor& background, const ffont::OfferedFaces& faces,
              QWidget* parent);

    // Handlers, public so that the window's tests can drive them as the controls do.
    // The controls from the editing font, then the preview: when the dialog opens.
    void act();
    void font_preview();
    void fp_imgMouseDown(QPoint at);
    void Button1Click();
    void Button2Click();

    // The font the preview shows.
    const EditorFont& workingFont() const { return m_working; }
    // The controls as they stand.
    ffont::Choice choice() const;

    QGroupBox* font_name_gp = nullptr;
    QButtonGroup* font_name = nullptr; // ids: the offered faces' indexes
    QGroupBox* style_gp = nullptr;
    QButtonGroup* style = nullptr; // ids 0 and 1
    QGroupBox* GroupBox1 = nullptr;
    QCheckBox* cb_under = nullptr;
    QCheckBox* cb_out = nullptr;
    QLabel* Label2 = nullptr;
    PalettePicture* fp_img = nullptr;
    QLabel* Label1 = nullptr;
    QListWidget* size_list = nullptr;
    QLineEdit* test_text = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QGroupBox* radioGroup(const QString& name, const QString& caption, const QStringList& items,
                          const QRect& at, QButtonGroup*& group);

    EditorFont& m_editing;
    QColor m_background;
    ffont::OfferedFaces m_faces;
    ffont::FaceShown m_shown;
    EditorFont m_working;
    quint32 m_chosenColor = kBlack;
};

} // namespace pote
