#include "app/command_runner.h"

namespace pote {

void CommandRunner::registerCommand(Command command, std::function<void()> handler) {
    m_handlers.insert(command, std::move(handler));
}

void CommandRunner::run(Command command) {
    if (const auto handler = m_handlers.value(command)) runAsCommand(handler);
}

void CommandRunner::runAsCommand(const std::function<void()>& work) {
    ++m_depth;
    work();
    if (--m_depth == 0) m_refresh();
}

void CommandRunner::stateChanged() {
    if (m_depth == 0) m_refresh();
}

} // namespace pote
