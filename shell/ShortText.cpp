#include "shell/ShortText.h"

#include <QStringBuilder>
#include <QStringList>
#include <QStringView>
#include <algorithm>

namespace vaultrix {
namespace {

// The start and the end of the line, kShownCharacters together; a surrogate pair stays whole.
QString shortLine(QStringView line) {
    qsizetype head = kShownCharacters / 2;
    if (line.at(head - 1).isHighSurrogate()) --head;
    qsizetype tail = kShownCharacters - head;
    if (line.at(line.size() - tail).isLowSurrogate()) --tail;
    return line.left(head) % QChar(0x2026) % line.right(tail);
}

}  // namespace

QString shortLines(const QString& text) {
    const QList<QStringView> lines = QStringView(text).split(QLatin1Char('\n'));
    const auto tooLong = [](QStringView line) { return line.size() > kShownCharacters; };
    if (std::none_of(lines.begin(), lines.end(), tooLong)) return text;
    QStringList shown;
    for (const QStringView line : lines)
        shown << (tooLong(line) ? shortLine(line) : line.toString());
    return shown.join(QLatin1Char('\n'));
}

void ShortTextDelegate::initStyleOption(QStyleOptionViewItem* option,
                                        const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    option->text = shortLines(option->text);
}

}  // namespace vaultrix
