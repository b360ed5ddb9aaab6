#include "settings/ui/conf_fm.h"

#include "core/prompter.h"
#include "core/ui/screen_centre.h"
#include "settings/file_associations.h"
#include "settings/ui/up_down.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>

namespace pote {

namespace {

constexpr QSize kClientSize{485, 486};
constexpr QRect kPages{8, 8, 469, 430};
constexpr int kEditHeight = 22;
constexpr int kButtonHeight = 25;

QLineEdit* lineEdit(const QString& name, const QRect& at, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(at);
    return e;
}

QCheckBox* checkBox(const QString& name, const QString& text, QPoint at, QWidget* parent) {
    auto* b = new QCheckBox(text, parent);
    b->setObjectName(name);
    b->move(at);
    b->adjustSize();
    return b;
}

QPushButton* button(const QString& name, const QString& text, const QRect& at, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(at);
    b->setAutoDefault(false);
    return b;
}

QLabel* label(const QString& text, QWidget* buddy, QPoint at, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    l->move(at);
    l->adjustSize();
    return l;
}

QWidget* page(const QString& name) {
    auto* p = new QWidget;
    p->setObjectName(name);
    return p;
}

// Full-width digits for the numbered source folders.
QString fullWidthNumber(int n) {
    return QString(QChar(u'０' + n));
}

} // namespace

Tconf_fm::Tconf_fm(Services services, QWidget* parent)
    : QDialog(parent), m_services(std::move(services)) {
    setObjectName(QStringLiteral("conf_fm"));
    // The window's own UI font.
    setAttribute(Qt::WA_WindowPropagation);
    setWindowTitle(QStringLiteral("設定"));
    setFixedSize(kClientSize);

    tab = new QTabWidget(this);
    tab->setObjectName(QStringLiteral("tab"));
    tab->setGeometry(kPages);
    tab_env = page(QStringLiteral("tab_env"));
    tab_ins = page(QStringLiteral("tab_ins"));
    tab_backup = page(QStringLiteral("tab_backup"));
    tab->addTab(tab_env, QStringLiteral("全般"));
    tab->addTab(tab_ins, QStringLiteral("挿入"));
    tab->addTab(tab_backup, QStringLiteral("バックアップ"));
    buildGeneralPage();
    buildInsertPage();
    buildBackupPage();
    tab->setCurrentWidget(tab_env);
    connect(tab, &QTabWidget::currentChanged, this, [this](int index) {
        if (tab->widget(index) == tab_env)
            tab_envShow();
        else if (tab->widget(index) == tab_ins)
            tab_insShow();
    });

    set_bt = button(QStringLiteral("set_bt"), QStringLiteral("設定(&V)"), {296, 449, 85, 27}, this);
    set_bt->setDefault(true);
    end_bt = button(QStringLiteral("end_bt"), QStringLiteral("キャンセル(&C)"), {390, 449, 87, 27},
                    this);
    connect(set_bt, &QPushButton::clicked, this, &Tconf_fm::set_btClick);
    connect(end_bt, &QPushButton::clicked, this, &Tconf_fm::end_btClick);
}

void Tconf_fm::buildGeneralPage() {
    QWidget* p = tab_env;
    cb_ext = checkBox(QStringLiteral("cb_ext"),
                      QStringLiteral("ぽてまる文書（*.ptm)拡張子の関連付け(&E)"), {16, 18}, p);
    cb_text_ext = checkBox(QStringLiteral("cb_text_ext"),
                           QStringLiteral("テキスト文書(*.txt)拡張子の関連付け(&X)"), {16, 48}, p);
    cb_sclick_mode =
        checkBox(QStringLiteral("cb_sclick_mode"),
                 QStringLiteral("セクション移動をシングルクリック対応にする。(&S)"), {16, 78}, p);
    cb_wrap =
        checkBox(QStringLiteral("cb_wrap"), QStringLiteral("右端で折り返す(&W)"), {16, 108}, p);

    tab_ed = lineEdit(QStringLiteral("tab_ed"), {160, 150, 49, kEditHeight}, p);
    tab_ud = new UpDown(QStringLiteral("tab_ud"), tab_ed, int(kTabWidthRange.min),
                        int(kTabWidthRange.max), p);
    tab_ud->setGeometry(209, 150, 17, kEditHeight);
    label(QStringLiteral("タブ幅 (&T)"), tab_ed, {16, 154}, p);

    ctax_ed = lineEdit(QStringLiteral("ctax_ed"), {160, 186, 49, kEditHeight}, p);
    ctax_ed->setMaxLength(3);
    ctax_ud =
        new UpDown(QStringLiteral("ctax_ud"), ctax_ed, int(kTaxRange.min), int(kTaxRange.max), p);
    ctax_ud->setGeometry(209, 186, 17, kEditHeight);
    label(QStringLiteral("消費税計算[％] (&P)"), ctax_ed, {16, 190}, p);
}

void Tconf_fm::buildInsertPage() {
    QWidget* p = tab_ins;
    auto* group = new QGroupBox(QStringLiteral("区切り線"), p);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(12, 12, 441, 92);
    break_line_str_ed =
        lineEdit(QStringLiteral("break_line_str_ed"), {16, 52, 200, kEditHeight}, group);
    break_line_str_ed->setMaxLength(kBreakLineStringMaxLength);
    label(QStringLiteral("線タイプ[文字／記号／図形](&T)"), break_line_str_ed, {16, 30}, group);
    break_line_width_ed =
        lineEdit(QStringLiteral("break_line_width_ed"), {240, 52, 49, kEditHeight}, group);
    break_line_width_ud =
        new UpDown(QStringLiteral("break_line_width_ud"), break_line_width_ed,
                   int(kBreakLineWidthRange.min), int(kBreakLineWidthRange.max), group);
    break_line_width_ud->setGeometry(289, 52, 17, kEditHeight);
    label(QStringLiteral("桁数(&W)"), break_line_width_ed, {240, 30}, group);

    ins_mail_ed = lineEdit(QStringLiteral("ins_mail_ed"), {16, 140, 433, kEditHeight}, p);
    label(QStringLiteral("挿入用メールアドレス(&M)"), ins_mail_ed, {16, 120}, p);
    ins_hp_ed = lineEdit(QStringLiteral("ins_hp_ed"), {16, 196, 433, kEditHeight}, p);
    label(QStringLiteral("挿入用ホームページアドレス(&H)"), ins_hp_ed, {16, 176}, p);

    def_text1_ed = lineEdit(QStringLiteral("def_text1_ed"), {16, 252, 320, kEditHeight}, p);
    def_text1_ed->setReadOnly(true);
    QPalette greyed = def_text1_ed->palette();
    greyed.setColor(QPalette::Base, greyed.color(QPalette::Window));
    def_text1_ed->setPalette(greyed);
    conf_deftext1_bt =
        button(QStringLiteral("conf_deftext1_bt"), QStringLiteral("ファイル参照(&S)"),
               {344, 251, 105, kButtonHeight}, p);
    label(QStringLiteral("定形テキストファイル[挿入用テキスト](&D)"), conf_deftext1_bt, {16, 232},
          p);
    connect(conf_deftext1_bt, &QPushButton::clicked, this, &Tconf_fm::conf_deftext1_btClick);
}

void Tconf_fm::buildBackupPage() {
    QWidget* p = tab_backup;
    auto* sources = new QGroupBox(QStringLiteral("バックアップ元のフォルダ"), p);
    sources->setObjectName(QStringLiteral("GroupBox2"));
    sources->setGeometry(12, 12, 441, 180);
    for (int i = 0; i < 5; ++i) {
        const int y = 28 + 29 * i;
        const int number = i + 1;
        backup_ed[size_t(i)] =
            lineEdit(QStringLiteral("backup%1_ed").arg(number), {32, y, 320, kEditHeight}, sources);
        fs_bt[size_t(i)] =
            button(QStringLiteral("fs%1_bt").arg(number), QStringLiteral("参照(&%1)").arg(number),
                   {360, y - 1, 69, kButtonHeight}, sources);
        label(fullWidthNumber(number), backup_ed[size_t(i)], {12, y + 4}, sources);
        connect(fs_bt[size_t(i)], &QPushButton::clicked, this,
                [this, number] { fs_btClick(number); });
    }

    backup_copy_dir_ed =
        lineEdit(QStringLiteral("backup_copy_dir_ed"), {16, 224, 348, kEditHeight}, p);
    back_fs2_bt = button(QStringLiteral("back_fs2_bt"), QStringLiteral("参照(&C)"),
                         {372, 223, 69, kButtonHeight}, p);
    label(QStringLiteral("バックアップ先のフォルダ(&D)"), backup_copy_dir_ed, {16, 204}, p);
    connect(back_fs2_bt, &QPushButton::clicked, this, &Tconf_fm::back_fs2_btClick);

    backup_ext_ed = lineEdit(QStringLiteral("backup_ext_ed"), {16, 280, 425, kEditHeight}, p);
    label(QStringLiteral("バックアップするファイルの拡張子(&E)"), backup_ext_ed, {16, 260}, p);
    connect(backup_ext_ed, &QLineEdit::textChanged, this, [this](const QString& text) {
        const QString lower = text.toLower();
        if (lower == text) return;
        const int caret = backup_ext_ed->cursorPosition();
        backup_ext_ed->setText(lower);
        backup_ext_ed->setCursorPosition(caret);
    });
    const QRect presetPlaces[] = {{16, 310, 137, kButtonHeight},
                                  {159, 310, 90, kButtonHeight},
                                  {255, 310, 90, kButtonHeight},
                                  {351, 310, 90, kButtonHeight}};
    for (size_t i = 0; i < preset_bt.size(); ++i) {
        const BackupExtPreset& preset = backupExtPresets()[i];
        preset_bt[i] =
            button(QString::fromLatin1(preset.button), preset.caption, presetPlaces[i], p);
        connect(preset_bt[i], &QPushButton::clicked, this, [this, i] { presetClick(int(i)); });
    }
    cb_folder_copy = checkBox(QStringLiteral("cb_folder_copy"), QStringLiteral("フォルダのコピー"),
                              {16, 348}, p);
}

void Tconf_fm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    centreOnScreen(*this);
    act();
}

void Tconf_fm::act() {
    FileAssociations& associations = m_services.associations;
    m_txtWhenFilled = associations.txtIsOurs();
    const AssociationStates states{associations.ptmAssociated(), m_txtWhenFilled};
    const Settings& s = m_services.settings;
    m_copies = {s.CTax, s.TABWidth, s.BreakLineWidth, s.BreakLineString};
    showForm(settingsForm(s, states));
}

void Tconf_fm::showForm(const SettingsForm& form) {
    cb_ext->setChecked(form.associations.ptm);
    cb_text_ext->setChecked(form.associations.txt);
    cb_sclick_mode->setChecked(form.singleClickMove);
    cb_wrap->setChecked(form.wrap);
    tab_ed->setText(form.tabWidth);
    ctax_ed->setText(form.tax);
    break_line_str_ed->setText(form.breakLineString);
    break_line_width_ed->setText(form.breakLineWidth);
    ins_mail_ed->setText(form.mail);
    ins_hp_ed->setText(form.homePage);
    def_text1_ed->setText(form.fixedText);
    for (size_t i = 0; i < backup_ed.size(); ++i)
        backup_ed[i]->setText(form.backupDirs[i]);
    backup_copy_dir_ed->setText(form.backupCopyDir);
    backup_ext_ed->setText(form.backupExt);
    cb_folder_copy->setChecked(form.backupFolderCopy);
    // The arrows step on from what the dialog opened with.
    tab_ud->setPosition(m_copies.tabWidth);
    ctax_ud->setPosition(m_copies.tax);
    break_line_width_ud->setPosition(m_copies.breakLineWidth);
}

SettingsForm Tconf_fm::form() const {
    SettingsForm f;
    f.associations = {cb_ext->isChecked(), cb_text_ext->isChecked()};
    f.singleClickMove = cb_sclick_mode->isChecked();
    f.wrap = cb_wrap->isChecked();
    f.tabWidth = tab_ed->text();
    f.tax = ctax_ed->text();
    f.breakLineString = break_line_str_ed->text();
    f.breakLineWidth = break_line_width_ed->text();
    f.mail = ins_mail_ed->text();
    f.homePage = ins_hp_ed->text();
    f.fixedText = def_text1_ed->text();
    for (size_t i = 0; i < backup_ed.size(); ++i)
        f.backupDirs[i] = backup_ed[i]->text();
    f.backupCopyDir = backup_copy_dir_ed->text();
    f.backupExt = backup_ext_ed->text();
    f.backupFolderCopy = cb_folder_copy->isChecked();
    return f;
}

void Tconf_fm::tab_envShow() {
    ctax_ud->setPosition(m_copies.tax);
    tab_ud->setPosition(m_copies.tabWidth);
}

void Tconf_fm::tab_insShow() {
    break_line_width_ud->setPosition(m_copies.breakLineWidth);
    break_line_str_ed->setText(m_copies.breakLineString);
}

void Tconf_fm::conf_deftext1_btClick() {
    const std::optional<QString> file = m_services.prompter.openFile(m_services.fixedTextDialog());
    if (!file) return;
    m_services.settings.WorkDir = QFileInfo(*file).absolutePath();
    def_text1_ed->setText(*file);
    ctax_ud->setPosition(m_copies.tax);
}

void Tconf_fm::fs_btClick(int number) {
    if (number < 1 || number > int(backup_ed.size())) return;
    if (const std::optional<QString> folder =
            m_services.prompter.chooseFolder(QString(), QDir::homePath(), false))
        backup_ed[size_t(number - 1)]->setText(QDir::toNativeSeparators(*folder));
}

void Tconf_fm::back_fs2_btClick() {
    const QString current = m_services.settings.BackupCopyDir;
    const QString start = !current.isEmpty() && QFileInfo(current).isDir() ? current : QString();
    const std::optional<QString> folder =
        m_services.prompter.chooseFolder(QStringLiteral("バックアップ先のフォルダ"), start, true);
    // Closing the chooser brings the dialog back to the front, which fills it again.
    act();
    if (folder) backup_copy_dir_ed->setText(QDir::toNativeSeparators(*folder));
}

void Tconf_fm::presetClick(int preset) {
    if (preset >= 0 && preset < int(backupExtPresets().size()))
        backup_ext_ed->setText(backupExtPresets()[size_t(preset)].extensions);
}

UpDown* Tconf_fm::upDownOf(NumberField field) const {
    switch (field) {
    case NumberField::Tax:
        return ctax_ud;
    case NumberField::TabWidth:
        return tab_ud;
    case NumberField::BreakLineWidth:
        return break_line_width_ud;
    }
    return nullptr;
}

QLineEdit* Tconf_fm::editOf(TextField field) const {
    switch (field) {
    case TextField::BreakLineString:
        return break_line_str_ed;
    case TextField::Mail:
        return ins_mail_ed;
    case TextField::HomePage:
        return ins_hp_ed;
    }
    return nullptr;
}

void Tconf_fm::set_btClick() {
    const SettingsForm typed = form();
    if (const std::optional<NumberRefusal> refusal = checkNumbers(typed)) {
        m_services.prompter.message(MessageKind::Error, Answer::Ok | Answer::Cancel,
                                    refusal->message);
        // The message box closing brings the dialog back to the front, which fills it again.
        act();
        upDownOf(refusal->field)
            ->setPosition(currentNumberText(refusal->field, m_services.settings).toInt());
        return;
    }
    if (const std::optional<TextRefusal> refusal = checkTexts(typed)) {
        m_services.refuse(refusal->message);
        // Nothing is refilled: the user mends the field where it stands.
        tab->setCurrentWidget(tab_ins);
        editOf(refusal->field)->setFocus();
        return;
    }
    m_wanted = applySettingsForm(typed, m_services.settings);
    accept();
}

void Tconf_fm::end_btClick() {
    reject();
}

} // namespace pote
