#include "files/GridWriter.h"

#include "ui/GridModel.h"

#include <QDir>
#include <QSaveFile>

namespace files {

namespace {

// Rows are gathered into blocks of about this size before they go to the file.
constexpr qsizetype BlockBytes = 256 * 1024;
// A caption set for every row of a 43,749-row list costs more than the writing itself;
// every thousandth row and the last one show the progress just as well.
constexpr int ProgressEvery = 1000;

void appendLatin1(QByteArray &out, QStringView text)
{
    const qsizetype at = out.size();
    out.resize(at + text.size());
    char *to = out.data() + at;
    for (const QChar c : text)
        *to++ = c.unicode() < 256 ? static_cast<char>(c.unicode()) : '?';
}

} // namespace

bool writeGrid(const ui::GridModel &grid, QIODevice &device, const std::function<void(int rows)> &progress)
{
    QByteArray block;
    block.reserve(BlockBytes + 4096);
    const int rows = grid.rows();
    const int cols = grid.cols();
    for (int r = 0; r < rows; ++r) {
        if (progress && (r % ProgressEvery == 0 || r == rows - 1))
            progress(r);
        for (int c = 0; c < cols; ++c) {
            appendLatin1(block, grid.cell(r, c));
            block.append('\t');
        }
        block.append("\r\n", 2);
        if (block.size() >= BlockBytes || r == rows - 1) {
            if (device.write(block) != block.size())
                return false;
            block.clear();
        }
    }
    return true;
}

bool saveGrid(const ui::GridModel &grid, const QString &path, QString *error,
              const std::function<void(int rows)> &progress)
{
    QSaveFile file(path);
    const auto failed = [&file, error] {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return failed();
    if (!writeGrid(grid, file, progress))
        return failed();
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

QString cannotWriteText(const QString &path, const QString &reason)
{
    return QStringLiteral("The file \"%1\" could not be written:\n%2").arg(QDir::toNativeSeparators(path), reason);
}

QString cannotReadText(const QString &path, const QString &reason)
{
    return QStringLiteral("The file \"%1\" could not be read:\n%2").arg(QDir::toNativeSeparators(path), reason);
}

} // namespace files
