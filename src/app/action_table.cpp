#include "app/action_table.h"

namespace pote {

namespace {

ActionEntry item(const char* name, Command command, const QString& caption,
                 const QString& shortcut = {}) {
    return ActionEntry{QString::fromLatin1(name), command, caption, shortcut, {}, {}};
}

ActionEntry tool(const char* name, Command command, const QString& hint, const char* icon) {
    return ActionEntry{QString::fromLatin1(name),
                       command,
                       {},
                       {},
                       hint,
                       QStringLiteral(":/icons/") + QString::fromLatin1(icon) +
                           QStringLiteral(".svg")};
}

std::vector<ActionEntry> buildTable() {
    using C = Command;
    std::vector<ActionEntry> t = {
        // File menu
        item("nx_new_paper", C::NewDocument, QStringLiteral("新規文書の作成(&N)"),
             QStringLiteral("Ctrl+N")),
        item("nx_load", C::Open, QStringLiteral("開く(&O)"), QStringLiteral("Ctrl+O")),
        item("nx_qsave", C::QuickSave, QStringLiteral("上書き保存(&Q)"), QStringLiteral("Ctrl+S")),
        item("nx_save", C::SaveAs, QStringLiteral("名前を付けて保存(&S)"),
             QStringLiteral("Ctrl+Shift+S")),
        item("nx_text_load", C::TextLoad, QStringLiteral("テキスト(&T)")),
        item("nx_folder_load", C::FolderAdd, QStringLiteral("フォルダ(&F)")),
        item("nx_txm_load", C::LinkedLoad, QStringLiteral("連結テキスト(&R)")),
        item("nx_text_add_load", C::TextAddLoad, QStringLiteral("テキスト(&T)")),
        item("nx_folder_add_load", C::FolderAdd, QStringLiteral("フォルダ(&F)")),
        item("nx_text_save", C::TextSave, QStringLiteral("テキスト(&T)")),
        item("nx_folder_save", C::FolderSave, QStringLiteral("フォルダ(&F)")),
        item("nx_txm_save", C::LinkedSave, QStringLiteral("連結テキスト(&R)")),
        item("nx_backup", C::Backup, QStringLiteral("バックアップ(&B)")),
        item("nx_epub_save", C::EpubExport, QStringLiteral("EPUBに書き出す")),
        // the status bar's button while a backup runs or a book is written
        item("nx_backup_stop", C::StopWork, QStringLiteral("中止"), QStringLiteral("Esc")),
        item("Print1", C::Print, QStringLiteral("印刷(&P)"), QStringLiteral("Ctrl+P")),
        item("nx_vertical_preview", C::VerticalPreview, QStringLiteral("縦書きプレビュー(&T)")),
        item("Exit1", C::Exit, QStringLiteral("終了(&E)")),
        // Section menu, and the picker's button beside the section number
        item("select_bitbt", C::SectionPicker, QStringLiteral("選択")),
        item("sect_add", C::SectionAdd, QStringLiteral("セクションの追加(&A)")),
        item("nx_sect_del_ins", C::SectionDelete, QStringLiteral("編集中のセクションを削除(&C)")),
        item("nx_sect_swap", C::SectionSwap, QStringLiteral("セクションナンバー交換(&S)")),
        item("nx_group_set", C::GroupSettings, QStringLiteral("グループ設定(&G)")),
        // Edit menu
        item("Find1", C::Find, QStringLiteral("検索(&S)"), QStringLiteral("Ctrl+F")),
        item("nx_find_next", C::FindNext, QStringLiteral("次を検索(&N)"), QStringLiteral("F3")),
        item("nx_replace", C::Replace, QStringLiteral("置換(&R)"), QStringLiteral("Ctrl+R")),
        item("nx_char_count", C::CharacterCount, QStringLiteral("文字数カウント(&W)")),
        item("nx_revision", C::Revision, QStringLiteral("推敲(&K)")),
        item("nx_edcut", C::Cut, QStringLiteral("切り取り(&T)"), QStringLiteral("Ctrl+X")),
        item("nx_edcopy", C::Copy, QStringLiteral("コピー(&C)"), QStringLiteral("Ctrl+C")),
        item("nx_edpaste", C::Paste, QStringLiteral("貼り付け(&P)"), QStringLiteral("Ctrl+V")),
        item("nx_ed_del", C::EditDelete, QStringLiteral("削除(&D)"), QStringLiteral("Del")),
        item("N12", C::SelectAll, QStringLiteral("全て選択(&A)"), QStringLiteral("Ctrl+A")),
        item("nx_linecut", C::BlankLineCut, QStringLiteral("空白行をカット(&L)")),
        item("nx_edit_undo", C::Undo, QStringLiteral("アンドゥ(&U)"), QStringLiteral("Ctrl+Z")),
        // Insert menu
        item("nx_breakline_ins", C::InsertBreakLine, QStringLiteral("区切り線(&B)")),
        item("nx_date_ins", C::InsertDate, QStringLiteral("日付け(&D)")),
        item("nx_time_ins", C::InsertTime, QStringLiteral("時刻(&T)")),
        item("nx_fnameonly_ins", C::InsertFileNameOnly, QStringLiteral("ファイルネームのみ(&N)")),
        item("nx_fnamefull_ins", C::InsertFileNameFull, QStringLiteral("フルパスネーム(&F)")),
        item("byte1", C::InsertSizeByte, QStringLiteral("byte単位(&B)")),
        item("Kbyte1", C::InsertSizeKbyte, QStringLiteral("Kbyte単位(&K)")),
        item("MbyteM1", C::InsertSizeMbyte, QStringLiteral("Mbyte単位(&M)")),
        item("nx_flist0", C::InsertList0, QStringLiteral("FileName(&F)")),
        item("nx_flist1", C::InsertList1, QStringLiteral("FileName  FileSize [ byte単位 ] (&B)")),
        item("nx_flist2", C::InsertList2, QStringLiteral("FileName  FileSize [ Kbyte単位 ] (&K)")),
        item("nx_flist3", C::InsertList3, QStringLiteral("FileName  FileSize [ Mbyte単位 ] (&M)")),
        item("nx_mail_ins", C::InsertMail, QStringLiteral("メールアドレス(&M)")),
        item("nx_hp_ins", C::InsertHomePage, QStringLiteral("ホームページアドレス(&H)")),
        item("nx_def_text1_ins", C::InsertFixedText, QStringLiteral("定形テキスト(&F)")),
        item("nx_hexp_ins", C::InsertAmount,
             QStringLiteral("ぽてまる君からのレポート「金額結果」(&G)")),
        item("nx_ruby_ins", C::InsertRuby, QStringLiteral("ルビ(&Y)")),
        // the cat's menu
        item("nx_hexp", C::Tax, QStringLiteral("消費税計算を頼む(&T)")),
        item("N10", C::Exercise, QStringLiteral("運動(&D)")),
        item("M1", C::CatWindow, QStringLiteral("飼い猫と、ぽてまる君を対面させたい(&M)")),
        // Settings menu
        item("N25", C::FontStandard, QStringLiteral("標準(&N)")),
        item("nx_ffont", C::FontFixed, QStringLiteral("固定ピッチ(&F)")),
        item("nx_cbk", C::BackgroundColour, QStringLiteral("背景カラー設定(&B)")),
        item("nx_env", C::Settings, QStringLiteral("環境設定(&E)")),
        item("nx_reg_clear", C::SettingsClear, QStringLiteral("設定クリア(&C)")),
        // Password menu
        item("nx_pass_set", C::PasswordSet, QStringLiteral("パスワード設定(&S)")),
        item("nx_pass_reset", C::PasswordReset, QStringLiteral("パスワード解除(&R)")),
        // Help menu
        item("nx_manual", C::Manual, QStringLiteral("マニュアル(&M)"), QStringLiteral("F1")),
        item("nx_about", C::About, QStringLiteral("アプリケーション情報(&A)")),
        item("nx_homepage", C::HomePage, QStringLiteral("作者のホームページ(&H)")),
        // pop-up menu of the pane
        item("pop_edit_undo", C::Undo, QStringLiteral("アンドゥ(&U)")),
        item("pop_edcut", C::Cut, QStringLiteral("切り取り(&T)")),
        item("pop_edcopy", C::Copy, QStringLiteral("コピー(&C)")),
        item("pop_edpaste", C::Paste, QStringLiteral("貼り付け(&P)")),
        item("pop_eddel", C::PopupDelete, QStringLiteral("削除(&D)")),
        item("SelectAll1", C::SelectAll, QStringLiteral("すべて選択(&A)")),
        item("pop_linecut", C::BlankLineCut, QStringLiteral("空白行をカット(&L)")),
        item("pop_right_move", C::ShiftRight, QStringLiteral("右へずらす(&R)")),
        item("pop_ruby_ins", C::InsertRuby, QStringLiteral("ルビ(&Y)")),
        item("pop_break_line_ins", C::InsertBreakLine, QStringLiteral("区切り線(&B)")),
        item("pop_date_ins", C::InsertDate, QStringLiteral("日付け(&D)")),
        item("pop_time_ins", C::InsertTime, QStringLiteral("時刻(&T)")),
        item("pop_fnameonly_ins", C::InsertFileNameOnly, QStringLiteral("ファイルネームのみ(&N)")),
        item("pop_fnamefull_ins", C::InsertFileNameFull, QStringLiteral("フルパスネーム(&F)")),
        item("byte2", C::InsertSizeByte, QStringLiteral("byte単位(&B)")),
        item("Kbyte2", C::InsertSizeKbyte, QStringLiteral("Kbyte単位(&K)")),
        item("MbyteM2", C::InsertSizeMbyte, QStringLiteral("Mbyte単位(&M)")),
        item("pop_flist0", C::InsertList0, QStringLiteral("FileName (&F)")),
        item("pop_flist1", C::InsertList1, QStringLiteral("FileName  FileSize [ byte単位 ] (&B)")),
        item("pop_flist2", C::InsertList2,
             QStringLiteral("FileName  FileSize [ Kbyte単位 ] (&K) ")),
        item("pop_flist3", C::InsertList3, QStringLiteral("FileName  FileSize [ Mbyte単位 ] (&M)")),
        item("pop_mail_ins", C::InsertMail, QStringLiteral("メールアドレス(&M)")),
        item("pop_hp_ins", C::InsertHomePage, QStringLiteral("ホームページアドレス(&H)")),
        item("pop_def_text1_ins", C::InsertFixedText, QStringLiteral("定型テキスト(&F)")),
        item("pop_hexp_ins", C::InsertAmount,
             QStringLiteral("ぽてまる君からのレポート「金額結果」(&G)")),
        // tool buttons, left to right
        tool("sp_load", C::Open, QStringLiteral("ぽてまる文書の読み込み"), "open"),
        tool("sp_save", C::SaveButton, QStringLiteral("ぽてまる文書の保存"), "save"),
        tool("sp_mt_load", C::LinkedLoad, QStringLiteral("連結テキストの読み込み"), "linked_open"),
        tool("sp_mt_save", C::LinkedSave, QStringLiteral("セクションを連結して保存"),
             "linked_save"),
        tool("sp_text_load", C::TextLoad, QStringLiteral("テキストの読み込み"), "text_open"),
        tool("sp_text_save", C::TextSaveButton, QStringLiteral("テキストの保存"), "text_save"),
        tool("sp_add", C::SectionAdd, QStringLiteral("セクション追加"), "add"),
        tool("sp_cut", C::Cut, QStringLiteral("切り取り"), "cut"),
        tool("sp_copy", C::Copy, QStringLiteral("コピー"), "copy"),
        tool("sp_paste", C::Paste, QStringLiteral("貼り付け"), "paste"),
        tool("sp_undo", C::Undo, QStringLiteral("アンドゥ"), "undo"),
        tool("sp_break", C::InsertBreakLine, QStringLiteral("区切り線の挿入"), "break"),
        tool("sp_tax", C::Tax, QStringLiteral("ぽてまる君に消費税計算を頼む"), "tax"),
        tool("sp_backup", C::Backup, QStringLiteral("バックアップ"), "backup"),
        tool("sp_vertical", C::VerticalPreview, QStringLiteral("縦書きプレビュー"), "vertical"),
        tool("sp_revision", C::Revision, QStringLiteral("推敲"), "revision"),
    };
    for (int i = 1; i <= 10; ++i) {
        ActionEntry recent = item("nx_recent", recentCommand(i), QString());
        recent.name += QString::number(i);
        t.push_back(recent);
    }
    return t;
}

} // namespace

Command recentCommand(int position) {
    return static_cast<Command>(static_cast<int>(Command::Recent1) + position - 1);
}

const std::vector<ActionEntry>& actionTable() {
    static const std::vector<ActionEntry> table = buildTable();
    return table;
}

bool opensSubMenu(Command command) {
    return command == Command::RecentMenu || command == Command::InsertMenu ||
           command == Command::PasswordMenu;
}

const std::vector<MenuEntry>& mainMenus() {
    static const std::vector<MenuEntry> menus = {
        {QStringLiteral("nx_file"),
         QStringLiteral("ファイル(&F)"),
         {"nx_new_paper", "-", "nx_recent", "nx_load", "nx_qsave", "nx_save", "-",
          "nx_section_load", "nx_section_add_load", "nx_section_save", "nx_epub_save", "-",
          "nx_backup", "-", "Print1", "nx_vertical_preview", "-", "Exit1"}},
        {QStringLiteral("nx_section"),
         QStringLiteral("セクション(&S)"),
         {"sect_add", "nx_sect_dell", "nx_sect_swap", "-", "nx_group_set"}},
        {QStringLiteral("Edit1"),
         QStringLiteral("編集(&E)"),
         {"Find1", "nx_find_next", "nx_replace", "-", "nx_edcut", "nx_edcopy", "nx_edpaste",
          "nx_ed_del", "-", "N12", "-", "nx_linecut", "nx_char_count", "nx_revision", "-",
          "nx_edit_undo"}},
        {QStringLiteral("Insert1"),
         QStringLiteral("挿入(&I)"),
         {"nx_breakline_ins", "nx_date_ins", "nx_time_ins", "-", "nx_fname_ins", "nx_fsize_ins",
          "nx_filelist", "-", "nx_mail_ins", "nx_hp_ins", "nx_def_text1_ins", "-", "nx_hexp_ins",
          "-", "nx_ruby_ins"},
         Command::InsertMenu},
        {QStringLiteral("N14"), QStringLiteral("ぽてまる君(&W)"), {"nx_hexp", "-", "N10", "M1"}},
        {QStringLiteral("N9"),
         QStringLiteral("設定(&C)"),
         {"nx_cfont", "nx_cbk", "-", "nx_env", "-", "nx_reg_clear"}},
        {QStringLiteral("nx_password"),
         QStringLiteral("パスワード(&P)"),
         {"nx_pass_set", "nx_pass_reset"},
         Command::PasswordMenu},
        {QStringLiteral("Help1"),
         QStringLiteral("ヘルプ(&H)"),
         {"nx_manual", "-", "nx_about", "nx_homepage"}},
    };
    return menus;
}

const std::vector<MenuEntry>& subMenus() {
    static const std::vector<MenuEntry> menus = {
        {QStringLiteral("nx_recent"),
         QStringLiteral("最近使った文書(&R)"),
         {"nx_recent1", "nx_recent2", "nx_recent3", "nx_recent4", "nx_recent5", "nx_recent6",
          "nx_recent7", "nx_recent8", "nx_recent9", "nx_recent10"},
         Command::RecentMenu},
        {QStringLiteral("nx_section_load"),
         QStringLiteral("セクションに読み込む(&X)"),
         {"nx_text_load", "nx_folder_load", "nx_txm_load"}},
        {QStringLiteral("nx_section_add_load"),
         QStringLiteral("セクションの追加(&A)"),
         {"nx_text_add_load", "nx_folder_add_load"}},
        {QStringLiteral("nx_section_save"),
         QStringLiteral("セクションの保存(&V)"),
         {"nx_text_save", "nx_folder_save", "nx_txm_save"}},
        {QStringLiteral("nx_sect_dell"),
         QStringLiteral("セクションの削除(&D)"),
         {"nx_sect_del_ins"},
         Command::SectionDelete},
        {QStringLiteral("nx_fname_ins"),
         QStringLiteral("ファイルネーム(&N)"),
         {"nx_fnameonly_ins", "nx_fnamefull_ins"}},
        {QStringLiteral("nx_fsize_ins"),
         QStringLiteral("ファイルサイズ(&S)"),
         {"byte1", "Kbyte1", "MbyteM1"}},
        {QStringLiteral("nx_filelist"),
         QStringLiteral("ファイルリスト(&L)"),
         {"nx_flist0", "nx_flist1", "nx_flist2", "nx_flist3"}},
        {QStringLiteral("nx_cfont"), QStringLiteral("フォント設定(&F)"), {"N25", "nx_ffont"}},
    };
    return menus;
}

const MenuEntry& popupMenu() {
    static const MenuEntry menu = {QStringLiteral("edpop"),
                                   QString(),
                                   {"pop_edit_undo", "-", "pop_edcut", "pop_edcopy", "pop_edpaste",
                                    "pop_eddel", "-", "SelectAll1", "-", "pop_linecut",
                                    "pop_right_move", "pop_ruby_ins", "-", "pop_ins"}};
    return menu;
}

const std::vector<MenuEntry>& popupSubMenus() {
    static const std::vector<MenuEntry> menus = {
        {QStringLiteral("pop_ins"),
         QStringLiteral("挿入(&I)"),
         {"pop_break_line_ins", "pop_date_ins", "pop_time_ins", "-", "pop_fname_ins",
          "pop_fsize_ins", "L1", "-", "pop_mail_ins", "pop_hp_ins", "pop_def_text1_ins", "-",
          "pop_hexp_ins"},
         Command::InsertMenu},
        {QStringLiteral("pop_fname_ins"),
         QStringLiteral("ファイルネーム(&N)"),
         {"pop_fnameonly_ins", "pop_fnamefull_ins"}},
        {QStringLiteral("pop_fsize_ins"),
         QStringLiteral("ファイルサイズ(&S)"),
         {"byte2", "Kbyte2", "MbyteM2"}},
        {QStringLiteral("L1"),
         QStringLiteral("ファイルリスト(&L)"),
         {"pop_flist0", "pop_flist1", "pop_flist2", "pop_flist3"}},
    };
    return menus;
}

const std::vector<QString>& toolButtons() {
    static const std::vector<QString> buttons = {
        "sp_load",      "sp_save",  "sp_mt_load", "sp_mt_save", "sp_text_load",
        "sp_text_save", "sp_add",   "sp_cut",     "sp_copy",    "sp_paste",
        "sp_undo",      "sp_break", "sp_tax",     "sp_backup"};
    return buttons;
}

const std::vector<QString>& sideToolButtons() {
    static const std::vector<QString> buttons = {"sp_vertical", "sp_revision"};
    return buttons;
}

} // namespace pote
