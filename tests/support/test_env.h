#pragma once
// What every test may rely on: Qt running on the offscreen platform, and a
// private XDG_DATA_HOME so no test touches a real user's files.

#include <filesystem>
#include <string>

namespace corvessan_test {

// A fresh, empty folder for one test; removed by the next call's owner.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Points XDG_DATA_HOME at `path` for the object's lifetime.
class ScopedDataHome {
public:
    explicit ScopedDataHome(const std::filesystem::path& path);
    ~ScopedDataHome();

private:
    std::string saved_;
    bool had_;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

// The repository's Resources folder (the media the bundle ships).
std::filesystem::path SourceResources();
// The folder that holds it, which serves as a bundle as it stands.
std::filesystem::path SourceBundle();

// A bundle of one test's own: its Resources/ holds a copy of the shipped
// media, which the test may remove or spoil.
class BundleCopy {
public:
    BundleCopy();
    const std::filesystem::path& Path() const { return dir_.Path(); }
    std::filesystem::path Resources() const { return dir_.Path() / "Resources"; }

private:
    TempDir dir_;
};

}  // namespace corvessan_test
