#pragma once

#include <QCollator>
#include <QString>

namespace vaultrix {

// The order of the window's sorted lists (the sets, a set's sources): alphabetical in German,
// without regard to case, as a sorted list box orders its entries.
class ListOrder {
public:
    ListOrder();
    // True when `a` comes before `b`.
    bool operator()(const QString& a, const QString& b) const {
        return collator_.compare(a, b) < 0;
    }

private:
    QCollator collator_;
};

}  // namespace vaultrix
