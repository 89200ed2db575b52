#include "app/AppServices.h"

#include <QSystemTrayIcon>

#include "engine/BackgroundThreads.h"
#include "platform/FolderListing.h"
#include "platform/PathExists.h"

namespace vaultrix {
namespace {

FormServices withSystemDefaults(FormServices given) {
    if (!given.volumeRoots) given.volumeRoots = fs::volumeRoots;
    if (!given.trayAvailable) given.trayAvailable = &QSystemTrayIcon::isSystemTrayAvailable;
    if (!given.pathExists) given.pathExists = PathExists;
    if (!given.isFolderPath) given.isFolderPath = fs::isFolderPath;
    return given;
}

}  // namespace

AppServices::AppServices(const FormServices& outside)
    : outside_(withSystemDefaults(outside)),
      sets_(outside.dataFolder),
      settings_(outside.dataFolder),
      log_(outside.dataFolder, outside.clock),
      // Without a copy of its own, the runner copies with CopyToFolder.
      runner_(outside.copy ? BackupRunner(sets_, settings_, log_, outside.copy)
                           : BackupRunner(sets_, settings_, log_)) {}

void AppServices::startThreads() {
    scheduler_.LoadScheduleTable(sets_);
    slots_.StartSlot(ThreadSlots::kTimeSlot, [this](SlotControl& control) {
        TimeThread(control, outside_.clock, bridge_);
    });
    slots_.StartSlot(ThreadSlots::kBackupSlot, [this](SlotControl& control) {
        BackupThread(control, outside_.clock, scheduler_, runner_, bridge_, bridge_);
    });
}

void AppServices::stopThreads() {
    for (int slot = 0; slot < ThreadSlots::kSlotCount; ++slot) slots_.StopSlot(slot);
}

}  // namespace vaultrix
