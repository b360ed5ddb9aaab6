#pragma once
// The Insert menu and its pop-up twin: the separator line (also the tool button), the date and
// time, a chosen file's name, path or size, a folder's file list, the mail and home-page
// addresses and the fixed text, each put at the caret as one undoable edit.

#include "editing/insert_texts.h"

#include <QString>

namespace pote {

struct AppContext;
enum class DialogKind;

class InsertCommands {
public:
    explicit InsertCommands(AppContext& context);

    void nx_breakline_insClick();
    void N15Click(); // the date
    void nx_time_insClick();
    void nx_fnameonly_insClick();
    void nx_fnamefull_insClick();
    void fileSizeClick(SizeUnit unit); // byte1Click, Kbyte1Click, MbyteM1Click
    void fileListClick(SizeUnit unit); // nx_flist0Click ... nx_flist3Click
    void nx_mail_insClick();
    void nx_hp_insClick();
    void nx_def_text1_insClick();

private:
    enum class NameForm { NameOnly, FullPath };
    void fileNameClick(NameForm form);
    // The open dialog of that kind, starting in the work folder; a chosen file's folder
    // becomes the work folder. Empty when cancelled.
    QString chooseFile(DialogKind kind);

    AppContext& m_context;
};

} // namespace pote
