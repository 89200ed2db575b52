#include "platform/SystemNames.h"

namespace vaultrix::fs {

std::string systemNameProblem(std::string_view) {
    return {};
}

}  // namespace vaultrix::fs
