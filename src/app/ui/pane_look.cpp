#include "app/ui/pane_look.h"

#include "editing/ui/edit_pane.h"
#include "settings/settings_values.h"
#include "settings/ui/editor_font_qt.h"

namespace pote {

void applyPaneLook(EditPane& pane, const Settings& settings) {
    // Each of these relays the whole text out when, and only when, it changes something.
    QPalette palette = pane.palette();
    palette.setColor(QPalette::Base, colorOf(settings.EditBKColor));
    palette.setColor(QPalette::Text, colorOf(settings.font.color));
    pane.setPalette(palette);
    pane.setLineWrapMode(settings.Wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    pane.setFontAndTabStops(qfontOf(settings.font), settings.TABWidth);
}

} // namespace pote
