#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

// The resource library: the skin's icons and bitmaps by number, packed in the Qt binary resource
// file KorvaneResource.rcc that is looked for in the working directory, else beside the
// executable. A missing library, or a missing number, yields null images and a log line; the
// viewer then runs without those images.
//
// Images are addressed ":/icon/N", ":/bitmap/N" and ":/png/N". The library is registered into
// the process-wide resource tree, so one manager should hold it at a time: the singleton.
// Lookups read only state set at construction and may run on any thread.
class ResourceManager {
public:
    static constexpr const char* kLibraryFileName = "KorvaneResource.rcc";

    // Creates the manager, loading the library, at the first call.
    static ResourceManager& Instance();
    // Unloads the library and deletes the manager (the main window's destructor).
    static void Release();

    // Loads the first of `candidates` that exists and registers; logs the load failure otherwise.
    explicit ResourceManager(const std::vector<std::filesystem::path>& candidates);
    ~ResourceManager();
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    // The working directory's library, then the one beside the executable.
    static std::vector<std::filesystem::path> DefaultCandidates();

    // The icon with that number, or a null icon. Logs every lookup, and a miss.
    QIcon GetIcon(int number) const;
    // The bitmap with that number; on a miss the result of GetBitmap().
    QImage LoadBitmap(int number) const;
    // The picture of resource type "PNG" with that number; on a miss the result of GetRes().
    QImage LoadPng(int number) const;
    // The fallback of a bitmap lookup that found nothing: logs and yields a null image.
    QImage GetBitmap() const;
    // The fallback of any other resource lookup that found nothing: logs and yields a null image.
    QImage GetRes() const;

    bool loaded() const { return loaded_; }
    // The library file in use, empty when none was loaded.
    const QString& libraryPath() const { return libraryPath_; }

private:
    QImage LoadImage(const QString& resourcePath) const;

    QString libraryPath_;
    bool loaded_ = false;

    static std::mutex instanceLock_;  // guards instance_
    static std::unique_ptr<ResourceManager> instance_;
};
