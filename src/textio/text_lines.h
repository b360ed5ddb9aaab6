#pragma once
// Reading a text "as lines": the bytes up to the first NUL, split at CR LF, a lone CR or a lone
// LF, and joined again with CR LF after every line. Every reader of text files and linked texts
// takes its text this way, so the store only ever sees CR LF.

#include <QByteArray>
#include <QByteArrayView>

namespace pote {

// The bytes before the first NUL (all of them when there is none).
QByteArrayView before_first_nul(QByteArrayView bytes);

// Whether bytes already are their own line form (text_as_lines would give them back): no NUL,
// every CR followed by an LF, every LF preceded by a CR, and either empty or ending with CR LF.
bool is_in_line_form(QByteArrayView bytes);

// The line form of bytes. The overload taking an array hands it back unchanged (no copy) when
// it already is in line form.
QByteArray text_as_lines(QByteArrayView bytes);
QByteArray text_as_lines(QByteArray bytes);

} // namespace pote
