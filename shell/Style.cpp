#include "shell/Style.h"

namespace vaultrix {

QString titled(const QString& role) {
    return QString::fromUtf8(kTitlePrefix) + role;
}

}  // namespace vaultrix
