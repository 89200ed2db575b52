#pragma once

#include <QString>
#include <QStyledItemDelegate>

namespace vaultrix {

// The most characters of one line a window shows; every name the editor takes fits whole.
inline constexpr qsizetype kShownCharacters = 256;

// The text with each line longer than kShownCharacters shown as its start and its end with "…"
// between: a name of megabytes (a hand-edited file can hold one) would take seconds to lay out,
// for nobody to read, and the words after it stay in view.
QString shortLines(const QString& text);

// Lays out and paints each item of a list with its text shortened as shortLines does; the item
// keeps its whole text, which is what the commands act on.
class ShortTextDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace vaultrix
