#include "app/AppServices.h"

#include "engine/BackgroundThreads.h"

namespace vaultrix {

AppServices::AppServices(const FormServices& outside)
    : services(outside),
      sets(outside.dataFolder),
      settings(outside.dataFolder),
      log(outside.dataFolder, outside.clock),
      runner(sets, settings, log) {}

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
