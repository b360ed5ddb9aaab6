#pragma once
// The ruby the insert command writes: ｜base《reading》, the form that reads back whatever the
// base is (kanji or not).

#include <QByteArray>
#include <QByteArrayView>

namespace pote::vertical {

QByteArray rubyMarkup(QByteArrayView base, QByteArrayView reading);

// Whether that markup reads back as the reading over the whole base. It does not when either
// holds a line break or markup of its own, or is longer than a ruby may be: then it would show
// as typed, and the command refuses rather than write text that looks like a mistake.
bool rubyReadsBack(QByteArrayView base, QByteArrayView reading);

} // namespace pote::vertical
