#include "art_source.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <array>
#include <map>

namespace pote::mascot {

namespace {

constexpr char kComment = ';';
constexpr int kMaxColours = 256; // a pixel is one index byte

std::optional<QList<QByteArray>> readLines(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    bytes.replace("\r\n", "\n");
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

struct Palette {
    std::vector<std::uint32_t> colours;
    std::array<int, 256> indexOf{}; // by grid character; -1 = not a colour
};

std::optional<Palette> readPalette(const QString& path, QString* error) {
    const auto lines = readLines(path, error);
    if (!lines) return std::nullopt;
    Palette palette;
    palette.indexOf.fill(-1);
    static const QRegularExpression entry(
        QStringLiteral("^(\\S)\\s+(\\d{1,3})\\s+(\\d{1,3})\\s+(\\d{1,3})(\\s.*)?$"));
    for (qsizetype n = 0; n < lines->size(); ++n) {
        const QByteArray& line = lines->at(n);
        const auto where = QStringLiteral("%1:%2: ").arg(path).arg(n + 1);
        if (line.trimmed().isEmpty() || line.startsWith(kComment)) continue;
        const auto match = entry.match(QString::fromUtf8(line));
        const uchar key = uchar(line.at(0));
        if (!match.hasMatch() || key >= 0x80) {
            *error = where + QStringLiteral("expected \"<character> <red> <green> <blue> ...\"");
            return std::nullopt;
        }
        std::uint32_t rgb = 0;
        for (int channel = 2; channel <= 4; ++channel) {
            const int value = match.captured(channel).toInt();
            if (value > 255) {
                *error = where + QStringLiteral("%1 is not a colour value").arg(value);
                return std::nullopt;
            }
            rgb = (rgb << 8) | std::uint32_t(value);
        }
        if (palette.indexOf[key] >= 0) {
            *error = where + QStringLiteral("'%1' is listed twice").arg(QChar(key));
            return std::nullopt;
        }
        if (int(palette.colours.size()) == kMaxColours) {
            *error = where + QStringLiteral("more than %1 colours").arg(kMaxColours);
            return std::nullopt;
        }
        palette.indexOf[key] = int(palette.colours.size());
        palette.colours.push_back(rgb);
    }
    if (palette.colours.empty()) {
        *error = path + QStringLiteral(": no colours");
        return std::nullopt;
    }
    return palette;
}

struct Grid {
    int width = 0;
    int height = 0;
    QByteArray indices;
};

std::optional<Grid> readGrid(const QString& path, const Palette& palette, QString* error) {
    const auto lines = readLines(path, error);
    if (!lines) return std::nullopt;
    Grid grid;
    for (qsizetype n = 0; n < lines->size(); ++n) {
        const QByteArray& line = lines->at(n);
        if (line.startsWith(kComment)) continue;
        const auto where = QStringLiteral("%1:%2: ").arg(path).arg(n + 1);
        if (grid.height > 0 && line.size() != grid.width) {
            *error = where + QStringLiteral("%1 pixels, the lines above have %2")
                                 .arg(line.size())
                                 .arg(grid.width);
            return std::nullopt;
        }
        if (line.isEmpty()) {
            *error = where + QStringLiteral("empty grid line");
            return std::nullopt;
        }
        grid.width = int(line.size());
        for (qsizetype x = 0; x < line.size(); ++x) {
            const int index = palette.indexOf[uchar(line.at(x))];
            if (index < 0) {
                *error = where + QStringLiteral("column %1: '%2' is not in the palette")
                                     .arg(x + 1)
                                     .arg(QChar(uchar(line.at(x))));
                return std::nullopt;
            }
            grid.indices.append(char(index));
        }
        ++grid.height;
    }
    if (grid.height == 0) {
        *error = path + QStringLiteral(": no grid");
        return std::nullopt;
    }
    return grid;
}

// Frame files by number, checked to run from 1 without gaps or doubles.
std::optional<std::vector<QString>> frameFiles(const QString& folder, QString* error) {
    static const QRegularExpression name(QStringLiteral("^(\\d+)-.*\\.txt$"));
    const QDir dir(folder);
    if (!dir.exists()) {
        *error = folder + QStringLiteral(": no such folder");
        return std::nullopt;
    }
    std::map<int, QString> byNumber;
    for (const QString& file : dir.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
        const auto match = name.match(file);
        if (!match.hasMatch()) {
            *error = dir.filePath(file) + QStringLiteral(": frame files are named NN-what.txt");
            return std::nullopt;
        }
        const int number = match.captured(1).toInt();
        if (!byNumber.emplace(number, dir.filePath(file)).second) {
            *error = dir.filePath(file) + QStringLiteral(": a second frame %1").arg(number);
            return std::nullopt;
        }
    }
    std::vector<QString> files;
    for (const auto& [number, path] : byNumber) {
        if (number != int(files.size()) + 1) {
            *error = folder + QStringLiteral(": frame %1 is missing").arg(files.size() + 1);
            return std::nullopt;
        }
        files.push_back(path);
    }
    if (files.empty()) {
        *error = folder + QStringLiteral(": no frames");
        return std::nullopt;
    }
    return files;
}

} // namespace

std::optional<ArtSource> readArtSource(const QString& palettePath, const QString& framesFolder,
                                       QString* error) {
    const auto palette = readPalette(palettePath, error);
    if (!palette) return std::nullopt;
    const auto files = frameFiles(framesFolder, error);
    if (!files) return std::nullopt;

    ArtSource art;
    IndexedSheet& sheet = art.sheet;
    art.frameCount = int(files->size());
    sheet.palette = palette->colours;
    sheet.columns = kSheetColumns;
    sheet.rows = (art.frameCount + kSheetColumns - 1) / kSheetColumns;
    for (int frame = 0; frame < art.frameCount; ++frame) {
        const QString& path = files->at(size_t(frame));
        const auto grid = readGrid(path, *palette, error);
        if (!grid) return std::nullopt;
        if (frame == 0) {
            sheet.cellWidth = grid->width;
            sheet.cellHeight = grid->height;
            sheet.indices.fill(0, qsizetype(sheet.cellWidth) * sheet.columns * sheet.cellHeight *
                                      sheet.rows);
        } else if (grid->width != sheet.cellWidth || grid->height != sheet.cellHeight) {
            *error = path + QStringLiteral(": %1×%2 pixels, frame 1 has %3×%4")
                                .arg(grid->width)
                                .arg(grid->height)
                                .arg(sheet.cellWidth)
                                .arg(sheet.cellHeight);
            return std::nullopt;
        }
        const int left = (frame % sheet.columns) * sheet.cellWidth;
        const int top = (frame / sheet.columns) * sheet.cellHeight;
        const int sheetWidth = sheet.cellWidth * sheet.columns;
        for (int y = 0; y < sheet.cellHeight; ++y)
            std::copy_n(grid->indices.constData() + y * sheet.cellWidth, sheet.cellWidth,
                        sheet.indices.data() + (top + y) * sheetWidth + left);
    }
    return art;
}

} // namespace pote::mascot
