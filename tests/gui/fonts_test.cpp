// The pane's fonts and background through the window: the standard font dialog, the
// fixed-pitch dialog with its palette, sizes and preview, the colour dialog, faces this
// machine does not have, and the look kept across a restart.

#include "gui_fixture.h"

#include "app/ui/pane_look.h"
#include "editing/ui/edit_pane.h"
#include "settings/ui/conf_fm.h"
#include "settings/ui/editor_font_qt.h"
#include "settings/ui/ffont_fm.h"
#include "support/test_files.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QSettings>
#include <QTest>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace pote::test {
namespace {

class Fonts : public WindowTest {
protected:
    Settings& settings() { return window->settings(); }
    EditorFont& editing() { return settings().font; }

    // Opens the fixed-pitch dialog as its opening does and lets the script play the user.
    void fixedPitch(const std::function<void(Tffont_fm&)>& user) {
        window->setModalRunner([user](QDialog& d) {
            auto& dialog = dynamic_cast<Tffont_fm&>(d);
            dialog.act();
            user(dialog);
            return dialog.result();
        });
        window->trigger(QStringLiteral("nx_ffont"));
    }
    template <typename Dialog> void platformDialog(const std::function<bool(Dialog&)>& user) {
        window->setModalRunner([user](QDialog& d) {
            auto& dialog = dynamic_cast<Dialog&>(d);
            if (user(dialog))
                dialog.accept();
            else
                dialog.reject();
            return dialog.result();
        });
    }
};

TEST_F(Fonts, FixedPitchDropsBoldAndOfferedFacesOnly) {
    typeInPane(QStringLiteral("ねこ"));
    store().setModified(false);
    editing().face = QStringLiteral("どこにもない書体");
    editing().bold = editing().underline = true;
    editing().setSize(16);
    int faceShown = -1;
    QString sizeShown;
    QString firstFace, secondFace;
    fixedPitch([&](Tffont_fm& d) {
        faceShown = d.font_name->checkedId();
        firstFace = d.font_name->button(0)->text();
        secondFace = d.font_name->button(1)->text();
        sizeShown = d.size_list->currentItem()->text();
        EXPECT_TRUE(d.cb_under->isChecked());
        d.Button1Click();
    });
    EXPECT_EQ(faceShown, 0) << "a face not offered shows as the first";
    EXPECT_EQ(firstFace, QStringLiteral("IPAゴシック"))
        << "installed faces, by their Japanese names";
    EXPECT_EQ(sizeShown, QStringLiteral("18")) << "16 points preselect 18";
    EXPECT_EQ(editing().face, firstFace);
    EXPECT_FALSE(editing().bold);
    EXPECT_TRUE(editing().underline);
    EXPECT_EQ(editing().size, 18);
    EXPECT_FALSE(window->pane()->font().bold());
    EXPECT_TRUE(window->pane()->font().underline());
    EXPECT_FALSE(store().isModified());

    fixedPitch([](Tffont_fm& d) {
        d.font_name->button(1)->click();
        d.style->button(1)->click();
        d.size_list->setCurrentRow(6);
        d.Button2Click();
    });
    EXPECT_EQ(editing().face, firstFace) << "cancel keeps the font";
    EXPECT_FALSE(editing().italic);

    fixedPitch([](Tffont_fm& d) {
        d.font_name->button(1)->click();
        d.style->button(1)->click();
        d.cb_out->click();
        d.size_list->setCurrentRow(6);
        d.Button1Click();
    });
    EXPECT_EQ(editing().face, secondFace);
    EXPECT_TRUE(editing().italic && editing().strikeOut);
    EXPECT_EQ(window->pane()->font().pixelSize(), 96);
    EXPECT_EQ(window->pane()->font().family(), secondFace);
    EXPECT_EQ(QFontInfo(window->pane()->font()).family(), QStringLiteral("IPAMincho"))
        << "the Japanese name finds the face";

    // An older settings file's "ＭＳ ゴシック": shown as the face that draws it, and kept.
    editing().face = QStringLiteral("ＭＳ ゴシック");
    QString shownFace;
    fixedPitch([&](Tffont_fm& d) {
        shownFace = d.font_name->checkedButton()->text();
        d.Button1Click();
    });
    EXPECT_EQ(shownFace, QStringLiteral("IPAゴシック"));
    EXPECT_EQ(editing().face, QStringLiteral("ＭＳ ゴシック"));
}

TEST_F(Fonts, ThePaletteColoursThePreviewAndThePane) {
    settings().EditBKColor = 0xE0FFFF; // a light yellow
    platformDialog<QColorDialog>([](QColorDialog& d) {
        d.setCurrentColor(QColor(255, 255, 224));
        return true;
    });
    window->trigger(QStringLiteral("nx_cbk"));
    QColor red, top, background;
    QString previewText;
    fixedPitch([&](Tffont_fm& d) {
        QTest::mouseClick(d.fp_img, Qt::LeftButton, {}, QPoint(40, 25));
        red = d.test_text->palette().color(QPalette::Text);
        background = d.test_text->palette().color(QPalette::Base);
        previewText = d.test_text->text();
        QTest::mouseClick(d.fp_img, Qt::RightButton, {}, QPoint(40, 20));
        top = d.test_text->palette().color(QPalette::Text);
        d.fp_imgMouseDown(QPoint(40, 25));
        d.Button1Click();
    });
    EXPECT_EQ(red, QColor(255, 0, 0));
    EXPECT_EQ(top, QColor(128, 0, 0)) << "y = 20 is the top row";
    EXPECT_EQ(background, QColor(255, 255, 224)) << "the preview sits on the pane's background";
    EXPECT_EQ(previewText, QStringLiteral("nekoＮＥＫＯ猫"));
    EXPECT_EQ(editing().color, 0x0000FFu);
    EXPECT_EQ(window->pane()->palette().color(QPalette::Text), QColor(255, 0, 0));
}

TEST_F(Fonts, ALargerFontWrapsTheTextIntoMoreLines) {
    settings().Wrap = true;
    window->show();
    applyPaneLook(*window->pane(), settings());
    typeInPane(QString(400, u'猫') + QStringLiteral("\n") + QString(400, u'犬'));
    EditPane* pane = window->pane();
    pane->finishLineCounting();
    const qint64 before = pane->caretPosition().totalLines;
    fixedPitch([](Tffont_fm& d) {
        d.size_list->setCurrentRow(6);
        d.Button1Click();
    });
    pane->finishLineCounting();
    EXPECT_GT(pane->caretPosition().totalLines, before) << "laid out again in the new font";
    EXPECT_EQ(pane->toPlainText().size(), 801);
}

TEST_F(Fonts, TheStandardDialogChangesTheFontOnlyWhenConfirmed) {
    typeInPane(QStringLiteral("ねこ"));
    const EditorFont before = editing();
    const QFont paneBefore = window->pane()->font();
    platformDialog<QFontDialog>([](QFontDialog& d) {
        QFont other(QStringLiteral("IPAMincho"));
        other.setPointSize(24);
        d.setCurrentFont(other);
        return false;
    });
    window->trigger(QStringLiteral("N25"));
    EXPECT_EQ(editing(), before);
    EXPECT_EQ(window->pane()->font(), paneBefore) << "cancel leaves the text looking as before";

    QString familyOffered;
    platformDialog<QFontDialog>([&](QFontDialog& d) {
        familyOffered = d.currentFont().family();
        QFont other(QStringLiteral("IPAMincho"));
        other.setPointSize(24);
        other.setUnderline(true);
        d.setCurrentFont(other);
        return true;
    });
    window->trigger(QStringLiteral("N25"));
    EXPECT_EQ(familyOffered, QFontInfo(paneBefore).family()) << "an installed face";
    EXPECT_EQ(editing().face, QStringLiteral("IPAMincho"));
    EXPECT_EQ(editing().size, 24);
    EXPECT_TRUE(editing().underline);
    EXPECT_EQ(window->pane()->font().pixelSize(), 32);
    EXPECT_TRUE(store().isModified()) << "the typing still counts";

    platformDialog<QFontDialog>([](QFontDialog&) { return true; });
    window->trigger(QStringLiteral("N25"));
    EXPECT_EQ(editing().face, QStringLiteral("IPAMincho")) << "OK without a change changes nothing";
}

TEST_F(Fonts, TheStandardDialogKeepsStylesItsFaceCannotShow) {
    // The face has a Regular style only: the dialog's lists cannot show bold or italic.
    restart({}, [](StartOptions& options, ScriptedPrompter&) {
        writeAll(options.settingsPath, "[General]\nFontName=IPAGothic\nFontSize=12\n"
                                       "FontStyleBold=1\nFontStyleItalic=1\n");
    });
    const EditorFont stored = editing();
    ASSERT_TRUE(stored.bold && stored.italic);
    platformDialog<QFontDialog>([](QFontDialog&) { return true; });
    window->trigger(QStringLiteral("N25"));
    EXPECT_EQ(editing(), stored) << "OK without a change gives back the font it opened with";

    platformDialog<QFontDialog>([](QFontDialog& d) {
        QFont larger = d.currentFont();
        larger.setPointSize(20);
        d.setCurrentFont(larger);
        return true;
    });
    window->trigger(QStringLiteral("N25"));
    EXPECT_EQ(editing().size, 20);
    EXPECT_TRUE(editing().bold);
    EXPECT_TRUE(editing().italic);
    EXPECT_TRUE(window->pane()->font().italic());
    EXPECT_TRUE(window->close());
    EXPECT_EQ(QSettings(settingsPath(), QSettings::IniFormat).value("FontStyleItalic").toInt(), 1);
}

TEST_F(Fonts, AnUnknownFaceShowsTheSubstituteAndKeepsItsName) {
    restart({}, [this](StartOptions& options, ScriptedPrompter&) {
        writeAll(options.settingsPath, "[General]\nFontName=NoSuchFace Pro\nFontSize=14\n");
    });
    EXPECT_EQ(editing().face, QStringLiteral("NoSuchFace Pro"));
    EXPECT_EQ(QFontInfo(window->pane()->font()).family(),
              QFontInfo(qfontOf(EditorFont{})).family());
    platformDialog<QFontDialog>([](QFontDialog&) { return true; });
    window->trigger(QStringLiteral("N25"));
    EXPECT_EQ(editing().face, QStringLiteral("NoSuchFace Pro"));
    EXPECT_TRUE(window->close());
    EXPECT_EQ(QSettings(settingsPath(), QSettings::IniFormat).value("FontName").toString(),
              QStringLiteral("NoSuchFace Pro"));
}

TEST_F(Fonts, FontColourWrapAndTabWidthLastUntilTheNextStart) {
    QString chosenFace;
    fixedPitch([&](Tffont_fm& d) {
        d.font_name->button(1)->click();
        chosenFace = d.font_name->button(1)->text();
        d.size_list->setCurrentRow(2);
        d.fp_imgMouseDown(QPoint(140, 5)); // navy
        d.Button1Click();
    });
    platformDialog<QColorDialog>([](QColorDialog& d) {
        d.setCurrentColor(QColor(200, 230, 255));
        return true;
    });
    window->trigger(QStringLiteral("nx_cbk"));
    platformDialog<QColorDialog>([](QColorDialog& d) {
        d.setCurrentColor(Qt::black);
        return false;
    });
    window->trigger(QStringLiteral("nx_cbk"));
    window->setModalRunner([](QDialog& d) {
        auto& conf = dynamic_cast<Tconf_fm&>(d);
        conf.act();
        conf.cb_wrap->setChecked(true);
        conf.tab_ed->setText(QStringLiteral("3"));
        conf.set_btClick();
        return conf.result();
    });
    window->trigger(QStringLiteral("nx_env"));
    EXPECT_TRUE(window->close());

    restart({});
    EditPane* pane = window->pane();
    EXPECT_EQ(pane->font().family(), chosenFace);
    EXPECT_EQ(pane->font().pixelSize(), 24);
    EXPECT_EQ(pane->palette().color(QPalette::Text), QColor(0, 0, 128));
    EXPECT_EQ(pane->palette().color(QPalette::Base), QColor(200, 230, 255))
        << "a cancelled colour dialog changed nothing";
    EXPECT_TRUE(pane->wraps());
    EXPECT_EQ(settings().TABWidth, 3);
    EXPECT_DOUBLE_EQ(pane->tabStopDistance(),
                     QFontMetricsF(pane->font()).horizontalAdvance(u' ') * 3);
}

} // namespace
} // namespace pote::test
