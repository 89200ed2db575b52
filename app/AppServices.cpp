#include "app/AppServices.h"

#include "engine/BackgroundThreads.h"
#include "engine/CopyToFolder.h"

namespace vaultrix {
namespace {

BackupRunner::CopyOperation copyOperation(const FormServices& services) {
    if (services.copy) return services.copy;
    return
        [](const std::string& source, const std::string& destination, unsigned flags,
           CopyObserver& observer) { return CopyToFolder(source, destination, flags, observer); };
}

}  // namespace

AppServices::AppServices(const FormServices& outside)
    : services(outside),
      sets(outside.dataFolder),
      settings(outside.dataFolder),
      log(outside.dataFolder, outside.clock),
      runner(sets, settings, log, copyOperation(outside)) {}

void AppServices::startThreads() {
    slots.StartSlot(ThreadSlots::kTimeSlot,
                    [this](SlotControl& control) { TimeThread(control, services.clock, bridge); });
    slots.StartSlot(ThreadSlots::kBackupSlot, [this](SlotControl& control) {
        BackupThread(control, services.clock, scheduler, runner, bridge, bridge);
    });
}

void AppServices::stopThreads() {
    for (int slot = 0; slot < ThreadSlots::kSlotCount; ++slot) slots.StopSlot(slot);
}

}  // namespace vaultrix
