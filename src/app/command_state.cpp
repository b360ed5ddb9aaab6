#include "app/command_state.h"

#include "core/section_store.h"

#include <algorithm>
#include <iterator>

namespace pote {

namespace {

using Rule = bool (*)(const CommandContext&);

struct RuleRow {
    Command command;
    Rule rule;
};

bool hasSelection(const CommandContext& c) {
    return c.selectionLength > 0;
}
bool noSelection(const CommandContext& c) {
    return c.selectionLength == 0;
}
bool severalSections(const CommandContext& c) {
    return c.sectionCount > 1;
}
bool roomForSection(const CommandContext& c) {
    return c.sectionCount < SectionStore::kMaxSections;
}
bool notPlainText(const CommandContext& c) {
    return !c.plainTextMode;
}

using C = Command;

// One row per command; a command without a row is always enabled.
constexpr RuleRow kRules[] = {
    {C::QuickSave, [](const CommandContext& c) { return c.hasDocumentPath && c.modified; }},
    {C::RecentMenu, [](const CommandContext& c) { return c.hasRecentDocuments; }},
    {C::TextAddLoad, roomForSection},
    {C::Backup, [](const CommandContext& c) { return c.backupConfigured; }},
    {C::StopWork, [](const CommandContext& c) { return c.busy; }},
    {C::EpubExport, notPlainText},
    {C::SectionPicker, notPlainText},
    {C::SectionAdd, roomForSection},
    {C::SectionDelete, severalSections},
    {C::SectionSwap, severalSections},
    {C::Cut, hasSelection},
    {C::Copy, hasSelection},
    {C::Paste, [](const CommandContext& c) { return c.clipboardHasText; }},
    {C::EditDelete, hasSelection},
    {C::PopupDelete, hasSelection},
    {C::BlankLineCut, hasSelection},
    {C::ShiftRight, hasSelection},
    {C::Undo, [](const CommandContext& c) { return c.undoAvailable; }},
    {C::InsertMenu, noSelection},
    {C::InsertBreakLine, noSelection},
    {C::InsertMail, [](const CommandContext& c) { return c.hasMail; }},
    {C::InsertHomePage, [](const CommandContext& c) { return c.hasHomePage; }},
    {C::InsertFixedText, [](const CommandContext& c) { return c.hasFixedText; }},
    {C::InsertAmount, [](const CommandContext& c) { return c.amountAvailable; }},
    {C::PasswordMenu, notPlainText},
    {C::PasswordReset, [](const CommandContext& c) { return c.hasPassword; }},
};

constexpr bool eachCommandOnce() {
    for (auto a = std::begin(kRules); a != std::end(kRules); ++a) {
        for (auto b = a + 1; b != std::end(kRules); ++b) {
            if (a->command == b->command) return false;
        }
    }
    return true;
}
static_assert(eachCommandOnce(), "a command has two enabling rules");

} // namespace

bool commandEnabled(Command command, const CommandContext& context) {
    if (context.busy && command != C::StopWork) return false;
    const bool runsSomething = command != C::None && !opensSubMenu(command);
    if (runsSomething && !context.implemented(command)) return false;
    const auto row = std::find_if(std::begin(kRules), std::end(kRules),
                                  [command](const RuleRow& r) { return r.command == command; });
    return row == std::end(kRules) || row->rule(context);
}

std::vector<Command> ruledCommands() {
    std::vector<Command> commands;
    for (const RuleRow& row : kRules)
        commands.push_back(row.command);
    return commands;
}

} // namespace pote
