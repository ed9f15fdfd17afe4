#include "tests/support/test_env.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace corvessan_test {

TempDir::TempDir() {
    std::string templ = (std::filesystem::temp_directory_path() / "corvessan-test-XXXXXX").string();
    if (!::mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
    path_ = templ;
}

TempDir::~TempDir() {
    std::error_code ec;
    // Tests may leave read-only folders behind; make them writable to remove them.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(path_, ec);
}

ScopedDataHome::ScopedDataHome(const std::filesystem::path& path) {
    const char* old = std::getenv("XDG_DATA_HOME");
    had_ = old != nullptr;
    if (old) saved_ = old;
    ::setenv("XDG_DATA_HOME", path.c_str(), 1);
}

ScopedDataHome::~ScopedDataHome() {
    if (had_) ::setenv("XDG_DATA_HOME", saved_.c_str(), 1);
    else ::unsetenv("XDG_DATA_HOME");
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::filesystem::path SourceResources() {
    if (const char* env = std::getenv("CORVESSAN_RESOURCES")) return env;
    return std::filesystem::path(CORVESSAN_SOURCE_DIR) / "Resources";
}

std::filesystem::path SourceBundle() {
    // "…/Resources/" names the same folder as "…/Resources".
    std::filesystem::path resources = SourceResources();
    if (!resources.has_filename()) resources = resources.parent_path();
    return resources.parent_path();
}

BundleCopy::BundleCopy() {
    std::filesystem::create_directory(Resources());
    for (const auto& entry : std::filesystem::directory_iterator(SourceResources()))
        std::filesystem::copy_file(entry.path(), Resources() / entry.path().filename());
}

}  // namespace corvessan_test
