#pragma once
// "文字数カウント(&W)": the character count of the selection, the current section and the
// whole document, the pane's unsaved text included.

namespace pote {

struct AppContext;
struct CountsShown;

class CountCommands {
public:
    explicit CountCommands(AppContext& context);

    void nx_char_countClick();
    // What the window shows, as it would show it now.
    CountsShown counts() const;

private:
    AppContext& m_context;
};

} // namespace pote
