#pragma once
// The section menu, the "セクション追加" button and the "選択" button: append, delete and swap
// sections, the group settings and the section picker.

namespace pote {

struct AppContext;
class Tselect_fm;

class SectionCommands {
public:
    // Registers the commands and creates the picker, which lives as long as the window.
    explicit SectionCommands(AppContext& context);
    ~SectionCommands();
    SectionCommands(const SectionCommands&) = delete;
    SectionCommands& operator=(const SectionCommands&) = delete;

    void nx_sect_add_lastClick();
    void nx_sect_del_insClick();
    void nx_sect_swapClick();
    void nx_group_setClick();
    void select_bitbtClick();

    // Adds an empty section after the last and moves the editor there. False when the
    // document already has 500 sections.
    bool section_append();
    // Removes the section at index; the editor stays at its number (or the new last one).
    void section_delete(int index);
    // Exchanges names and texts of a and b.
    void section_swap(int a, int b);
    // Ends plain-text mode, if it is on; the title follows the document.
    void leavePlainTextMode();

    Tselect_fm& picker() { return *m_picker; }

private:
    AppContext& m_context;
    Tselect_fm* m_picker = nullptr; // a child of the window, released with the controller
};

} // namespace pote
