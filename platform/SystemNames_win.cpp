#include "platform/SystemNames.h"

#include "common/WindowsNames.h"

namespace vaultrix::fs {

std::string systemNameProblem(std::string_view name) {
    return windowsNameProblem(name);
}

}  // namespace vaultrix::fs
