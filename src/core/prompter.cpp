#include "core/prompter.h"

namespace pote {

QString messageCaption(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return QStringLiteral("警告");
    case MessageKind::Error:
        return QStringLiteral("エラー");
    case MessageKind::Information:
        return QStringLiteral("情報");
    case MessageKind::Confirmation:
        return QStringLiteral("確認");
    }
    return {};
}

} // namespace pote
