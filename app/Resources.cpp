#include "app/Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE names a function of the global namespace, so it is called from here.
static void loadVaultrixResources() {
    Q_INIT_RESOURCE(vaultrix);
}

namespace vaultrix {

void loadResources() {
    loadVaultrixResources();
}

}  // namespace vaultrix
