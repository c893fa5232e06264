#include "app/resourcemanager.h"

#include "app/logwriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QResource>

#include <system_error>

namespace {

constexpr const char* kClassName = "ResourceManager";

std::filesystem::path ExecutableFolder() {
    if (QCoreApplication::instance() != nullptr) {
        return QCoreApplication::applicationDirPath().toStdString();
    }
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}

QString IconPath(int number) {
    return QStringLiteral(":/icon/%1").arg(number);
}
QString BitmapPath(int number) {
    return QStringLiteral(":/bitmap/%1").arg(number);
}
QString PngPath(int number) {
    return QStringLiteral(":/png/%1").arg(number);
}

}  // namespace

std::mutex ResourceManager::instanceLock_;
std::unique_ptr<ResourceManager> ResourceManager::instance_;

ResourceManager& ResourceManager::Instance() {
    std::lock_guard<std::mutex> guard(instanceLock_);
    if (!instance_) {
        instance_ = std::make_unique<ResourceManager>(DefaultCandidates());
    }
    return *instance_;
}

void ResourceManager::Release() {
    std::lock_guard<std::mutex> guard(instanceLock_);
    instance_.reset();
}

std::vector<std::filesystem::path> ResourceManager::DefaultCandidates() {
    std::vector<std::filesystem::path> candidates;
    std::error_code error;
    const std::filesystem::path workingDirectory = std::filesystem::current_path(error);
    if (!error) {
        candidates.push_back(workingDirectory / kLibraryFileName);
    }
    const std::filesystem::path executableFolder = ExecutableFolder();
    if (!executableFolder.empty()) {
        candidates.push_back(executableFolder / kLibraryFileName);
    }
    return candidates;
}

ResourceManager::ResourceManager(const std::vector<std::filesystem::path>& candidates) {
    for (const std::filesystem::path& candidate : candidates) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(candidate, error)) {
            continue;
        }
        const QString path = QString::fromStdString(std::filesystem::absolute(candidate).string());
        if (QResource::registerResource(path)) {
            libraryPath_ = path;
            loaded_ = true;
            return;
        }
    }
    // The design's text, kept so that logs read the same on every platform.
    WriteLog(kClassName, "init", "KorvaneResource.dll Load fail");
}

ResourceManager::~ResourceManager() {
    if (loaded_) {
        QResource::unregisterResource(libraryPath_);
    }
}

QIcon ResourceManager::GetIcon(int number) const {
    WriteLog(kClassName, "GetIcon", "ICon ID = " + std::to_string(number));
    const QString path = IconPath(number);
    if (!loaded_ || !QFile::exists(path)) {
        WriteLog(kClassName, "GetIcon", "ICon NULL");
        return {};
    }
    // The icon reads its file when first drawn, so this is safe off the GUI thread.
    QIcon icon;
    icon.addFile(path, QImageReader(path).size());
    return icon;
}

QImage ResourceManager::LoadBitmap(int number) const {
    QImage image = LoadImage(BitmapPath(number));
    return image.isNull() ? GetBitmap() : image;
}

QImage ResourceManager::LoadPng(int number) const {
    QImage image = LoadImage(PngPath(number));
    return image.isNull() ? GetRes() : image;
}

QImage ResourceManager::GetBitmap() const {
    WriteLog(kClassName, "GetBitmap", "Bitmap NULL");
    return {};
}

QImage ResourceManager::GetRes() const {
    WriteLog(kClassName, "GetRes", "Resource NULL");
    return {};
}

QImage ResourceManager::LoadImage(const QString& resourcePath) const {
    if (!loaded_) {
        return {};
    }
    return QImage(resourcePath);
}
