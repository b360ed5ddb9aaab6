#pragma once
// What the cat says about the revision check and each slip it finds.

#include <QString>
#include <QStringList>

namespace pote::revision::msg {

QString dictionaryMissing(const QString& dir);
QString dictionaryUnusable(const QString& detail);
QString dictionaryNotUtf8(const QString& charset);
// Shown with the findings when the dictionary could not be used: which rules did not run.
QString rulesSkipped(const QString& why);

// One surface of a word and how often it was written so.
struct Spelling {
    QString surface;
    qint64 count = 0;
};
QString variants(const QString& flagged, const QList<Spelling>& spellings);
QString repeatedEndings(const QString& ending, int run);
QString doubledParticle(const QString& particle);
QString longSentence(qsizetype characters, int limit);
QString unclosedBracket(QChar opener);
QString unopenedBracket(QChar closer);
QString mixedWidth(QChar used, QChar usual, qint64 usualCount);
QString droppedRa(const QString& written, const QString& suggestion);
QString missingPeriod();

} // namespace pote::revision::msg
