#include "fault_support.h"

#include "app/ui/main_window.h"
#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "editing/ui/edit_pane.h"
#include "gui_fixture.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QRandomGenerator>

namespace pote::fault {

SectionStore faultDocument(int variant, qsizetype bytes) {
    constexpr int kSections = 50;
    SectionStore store;
    const qsizetype perSection = bytes / kSections;
    for (int i = 0; i < kSections; ++i) {
        const int pos = i == 0 ? 0 : store.appendEmpty();
        store.section(pos).name =
            cp932::encode(QStringLiteral("第%1部 版%2").arg(i + 1).arg(variant));
        const QByteArray line = cp932::encode(
            QStringLiteral("版%1の%2章：吾輩は猫である。名前はまだ無い。ｶﾀｶﾅ abc 0123\r\n")
                .arg(variant)
                .arg(i + 1));
        QByteArray text;
        text.reserve(perSection + line.size());
        while (text.size() + line.size() <= perSection)
            text += line;
        store.section(pos).text = text;
    }
    return store;
}

SectionStore hardToCompressDocument(qsizetype bytes) {
    constexpr int kSections = 10;
    QRandomGenerator random(1729);
    SectionStore store;
    for (int i = 0; i < kSections; ++i) {
        const int pos = i == 0 ? 0 : store.appendEmpty();
        QByteArray text;
        text.reserve(bytes / kSections + 2);
        while (text.size() < bytes / kSections) {
            // A kanji of the first level, 0x889F-0x9872: every lead 0x89-0x97 with every trail.
            const int trail = 0x40 + random.bounded(188);
            text += char(0x89 + random.bounded(15));
            text += char(trail < 0x7F ? trail : trail + 1);
            if (text.size() % 82 == 80) text += "\r\n";
        }
        store.section(pos).text = text;
    }
    return store;
}

QByteArray packJson(const SectionStore& store) {
    QJsonArray sections;
    for (int pos = 0; pos < store.count(); ++pos)
        sections.append(QJsonObject{{"name", cp932::decode(store.section(pos).name)},
                                    {"text", cp932::decode(store.section(pos).text)}});
    return QJsonDocument(QJsonObject{{"sections", sections}}).toJson(QJsonDocument::Compact);
}

void showDocument(Tmain_fm& window, const SectionStore& store) {
    DocumentContent content;
    for (int pos = 0; pos < store.count(); ++pos)
        content.sections.push_back({store.section(pos), std::nullopt});
    SectionStore& target = window.store();
    target.replaceDocument(std::move(content));
    target.current = 0;
    window.binding().section_load(0);
    target.setModified(false);
}

void makeEdits(Tmain_fm& window) {
    EditPane* pane = window.pane();
    pane->moveCursor(QTextCursor::End);
    test::typeText(pane, QStringLiteral("前回の続きを書いた。\n\tタブの行"));
    window.binding().section_switch(0, 2);
    QTextCursor middle = pane->textCursor();
    middle.setPosition(pane->document()->characterCount() / 2);
    pane->setTextCursor(middle);
    test::typeText(pane, QStringLiteral("三章の真ん中に"));
    test::typeText(window.findChild<QLineEdit*>(QStringLiteral("sec_name_ed")),
                   QStringLiteral("改題"));
    window.trigger(QStringLiteral("sect_add"));
    test::typeText(pane, QStringLiteral("新しい節"));
}

QString recoveryFolderIn(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral("recovery"));
}

QString settingsPathIn(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral("potemaruED.conf"));
}

} // namespace pote::fault
