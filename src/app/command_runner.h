#pragma once
// What each command runs, and the one refresh of the enabled states and the indicators after it:
// after the outermost command when commands nest, and at once for a change of state that no
// command caused.

#include "app/action_table.h"

#include <QHash>

#include <functional>

namespace pote {

// Controllers say what their commands do. The enabled states and the indicators are refreshed
// once after every command, and after work run through runAsCommand.
class CommandRegistry {
public:
    virtual ~CommandRegistry() = default;
    // A command without a handler is shown disabled.
    virtual void registerCommand(Command command, std::function<void()> handler) = 0;
    // For work that does not start from a menu or a button: a modeless dialog's answer.
    virtual void runAsCommand(const std::function<void()>& work) = 0;
};

class CommandRunner : public CommandRegistry {
public:
    // refresh brings the enabled states and the indicators up to date with the document.
    explicit CommandRunner(std::function<void()> refresh) : m_refresh(std::move(refresh)) {}

    void registerCommand(Command command, std::function<void()> handler) override;
    void runAsCommand(const std::function<void()>& work) override;

    // Runs the command's handler, as a click would; nothing for a command without one.
    void run(Command command);
    bool implemented(Command command) const { return m_handlers.contains(command); }
    // A state of the document changed: refresh now, or after the command that is running.
    void stateChanged();

private:
    std::function<void()> m_refresh;
    QHash<Command, std::function<void()>> m_handlers;
    int m_depth = 0;
};

} // namespace pote
