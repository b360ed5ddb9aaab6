#pragma once
// Reading a text file as lines: the bytes up to the first NUL, split at CR LF, CR or LF, joined
// again with CR LF after every line (so a last line without a break gains one). Every reader of
// text files and linked texts takes its text this way, so the store only ever sees CR LF.

#include <QByteArray>
#include <QByteArrayView>

namespace pote {

QByteArray read_as_lines(QByteArrayView bytes);
// The same, handing bytes back unchanged (no copy) when they already are in line form.
QByteArray read_as_lines(QByteArray bytes);

// The bytes before the first NUL (all of them when there is none).
QByteArrayView before_first_nul(QByteArrayView bytes);

// The line that starts at byte `from`: where it ends (before its CR LF, CR or LF) and where the
// next line starts; both are bytes.size() for a last line without a break.
struct LineSpan {
    qsizetype end = 0;
    qsizetype next = 0;
};
LineSpan line_at(QByteArrayView bytes, qsizetype from);

// Whether bytes already are their own line form (read_as_lines would give them back): no NUL,
// every CR followed by an LF, every LF preceded by a CR, and either empty or ending with CR LF.
bool is_in_line_form(QByteArrayView bytes);

} // namespace pote
