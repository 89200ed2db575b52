#include "FormFixture.h"

#include <QPoint>
#include <QTest>
#include <filesystem>

#include "store/BackupSetStore.h"

namespace vaultrix::test {

FormServices FormTest::services() {
    return services(dir.path());
}

FormServices FormTest::services(const std::filesystem::path& folder) {
    FormServices result{folder, clock, presenter, sounds, [this] { return workArea; }, copy};
    result.volumeRoots = volumeRoots;
    result.pathExists = pathExists;
    result.isFolderPath = isFolderPath;
    result.trayAvailable = [this] { return trayAvailable; };
    return result;
}

Form1& FormTest::startForm() {
    form.reset();
    app = std::make_unique<AppServices>(services());
    form = std::make_unique<Form1>(*app);
    EXPECT_TRUE(form->create());
    return *form;
}

void FormTest::storeSet(const std::string& name, const std::vector<std::string>& sources,
                        const std::string& destination, const std::string& day,
                        const std::string& time, bool active) {
    BackupSetStore store(dir.path());
    ASSERT_TRUE(store.saveNewSet(BackupSet{name, sources, destination, day, time, active}).ok());
}

std::string FormTest::folder(const std::string& name) const {
    const std::filesystem::path path = dir / name;
    std::filesystem::create_directories(path);
    return path.string();
}

void FormTest::writeSettings(const std::string& bytes) const {
    writeBytes(dir / "Einstellung.ini", bytes);
}

void clickPicture(QWidget* picture, const QPoint& releaseAt) {
    QTest::mousePress(picture, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(picture, Qt::LeftButton, {}, releaseAt);
}

void clickPicture(QWidget* picture) {
    clickPicture(picture, QPoint(5, 5));
}

}  // namespace vaultrix::test
