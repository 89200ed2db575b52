#include "shell/ListOrder.h"

#include <QLocale>

namespace vaultrix {

ListOrder::ListOrder() : collator_(QLocale(QLocale::German, QLocale::Germany)) {
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
}

}  // namespace vaultrix
