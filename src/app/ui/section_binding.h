#pragma once
// Moves text between the section store and the editing pane: commit, load and switch, the name
// edit and the modified flag.

#include <QObject>

class QLabel;
class QLineEdit;

namespace pote {

class EditPane;
class MascotReactions;
class PaneMoves;
class PaneUndo;
class SectionStore;
class WindowView;
struct Settings;

class SectionBinding : public QObject {
    Q_OBJECT
public:
    struct Services {
        SectionStore& store;
        PaneUndo& undo;
        MascotReactions& mascot;
        WindowView& view;
        const Settings& settings;
    };
    SectionBinding(Services services, EditPane* edit, QLineEdit* sec_name_ed, QLabel* secno_view,
                   QObject* parent = nullptr);

    // The pane's text into position pos (trailing zero bytes dropped, tabs expanded). A pane
    // that was not edited since the section was loaded gives back the stored bytes untouched.
    void section_commit(int pos);
    // Shows the text and name of pos in the pane and the name edit.
    void section_load(int pos);
    // Commits from, makes to current and shows it.
    void section_switch(int from, int to);
    void secno_refresh();
    // True when the pane's text differs from what was loaded into it.
    bool paneEdited() const;
    // The pane's text as the commit stores it, before its tab and zero-byte rules: the stored
    // codes of what the edit left alone and of what it moved kept.
    QByteArray paneBytes() const;
    // The pane's text encoded afresh, for reading it only (counting, searching, showing): an
    // edited pane gives the encoder's codes, not the stored NEC/IBM duplicates. Never store it.
    QByteArray paneBytesReencoded() const;
    // The moves of text in the pane, whose stored bytes the commit gives back to the moved text.
    PaneMoves& moves() { return *m_moves; }
    const PaneMoves& moves() const { return *m_moves; }

signals:
    // section_load put the pane form of these bytes into the pane.
    void paneLoaded(const QByteArray& bytes);

private:
    // As if the pane showed section pos.
    QByteArray paneBytes(int pos) const;
    void secn_ch(const QString& text);
    void Ed_ch();

    Services m_services;
    SectionStore& m_store;
    EditPane* m_edit;
    QLineEdit* m_nameEdit;
    QLabel* m_secnoView;
    PaneMoves* m_moves;
};

} // namespace pote
