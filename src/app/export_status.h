#pragma once
// The status bar's word when an export is written, the same for every kind of file.

#include <QString>

namespace pote {

enum class ExportUnit { Pages, Sections };

// "「name」に書き出したにゃ（12ページ）": the file's name without its folder, and how much went in.
QString exportedStatusText(const QString& path, int count, ExportUnit unit);

} // namespace pote
