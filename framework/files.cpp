#include "framework/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <ctime>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <vector>

#include "framework/media.h"
#include "framework/production.h"
#include "framework/runtime.h"
#include "framework/seam.h"

namespace fw {

namespace fs = std::filesystem;

namespace {

// How much a text input stream reads at a time.
constexpr std::size_t kReadChunk = 64 * 1024;
// A ".hidden" list larger than this is left alone rather than rewritten.
constexpr std::size_t kMaxHiddenListBytes = 1024 * 1024;
// Temporary names are ".<name>.XXXXXX"; a long name is cut so they fit NAME_MAX.
constexpr std::size_t kMaxTempStem = 200;
constexpr std::size_t kTempSuffix = 6;  // the X's that mkostemp fills with letters and digits
// A temporary this old is a killed writer's: a live write renames its own
// within moments, so a younger one may still be in flight in another process.
constexpr std::time_t kStaleTempSeconds = 60;

std::string Describe(const std::string& what, const fs::path& path, int error) {
    return what + " \"" + path.string() + "\": " + std::strerror(error);
}

[[noreturn]] void ThrowIO(const std::string& what, const fs::path& path, int error) {
    throw IOException(Describe(what, path, error), error);
}

// Removes trailing separators ("/a/b/" is "/a/b"), keeping a lone root.
fs::path StripTrailingSeparators(fs::path path) {
    std::string s = path.native();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return fs::path(s);
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// The folder an item lives in, for making temporary files and syncing.
fs::path FolderOf(const fs::path& target) {
    fs::path folder = target.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// Best effort: a folder that cannot be synced does not undo a rename already made.
void SyncFolder(const fs::path& folder) {
    const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0) return;
    ::fsync(dfd);
    ::close(dfd);
}

// Reads a small file whole; false when it is missing, unreadable or too large.
bool ReadSmallFile(const fs::path& path, std::string& out) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    out.clear();
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        out.append(chunk, static_cast<std::size_t>(n));
        if (out.size() > kMaxHiddenListBytes) {
            ::close(fd);
            return false;
        }
    }
    ::close(fd);
    return true;
}

// The lines of a ".hidden" list, each without its end.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// What the temporary names of a target called `name` start with.
std::string TempPrefix(const std::string& name) { return "." + name.substr(0, kMaxTempStem) + "."; }

bool IsTempName(const std::string& name, const std::string& prefix) {
    return name.size() == prefix.size() + kTempSuffix && name.compare(0, prefix.size(), prefix) == 0 &&
           std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

// Removes what writers of the same target, killed between making their
// temporary file and renaming it, left in `folder`: plain files of the
// target's temporary names, older than kStaleTempSeconds. Best effort.
void RemoveStaleTemporaries(const fs::path& folder, const std::string& prefix) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTempName(entry->d_name, prefix)) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
        if (now - st.st_mtime < kStaleTempSeconds) continue;
        ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

}  // namespace

// ---------------------------------------------------------------- FolderItem

FolderItem::FolderItem(fs::path path) : path_(StripTrailingSeparators(std::move(path))) {}

FolderItemPtr FolderItem::Parent() const {
    fs::path parent = path_.parent_path();
    if (parent.empty() || parent == path_) return nullptr;
    return std::make_shared<FolderItem>(std::move(parent));
}

FolderItemPtr FolderItem::Child(const std::string& name) const {
    return std::make_shared<FolderItem>(path_ / name);
}

bool FolderItem::Exists() const {
    std::error_code ec;
    return fs::exists(path_, ec);
}

void FolderItem::Visible(bool visible) {
    const std::string name = Name();
    // A name that cannot be one line of the list, or the root, is left alone.
    if (name.empty() || name == "." || name == ".." ||
        name.find_first_of("\r\n") != std::string::npos)
        return;
    const fs::path list = FolderOf(path_) / ".hidden";
    try {
        std::string text;
        const bool hadList = ReadSmallFile(list, text);
        if (!hadList) {
            std::error_code ec;
            // A list that exists but cannot be read (or is huge) is not ours to overwrite.
            if (fs::exists(fs::symlink_status(list, ec)) || visible) return;
            text.clear();
        }
        std::vector<std::string> lines = SplitLines(text);
        const bool listed = std::find(lines.begin(), lines.end(), name) != lines.end();
        if (visible) {
            if (!listed) return;
            lines.erase(std::remove(lines.begin(), lines.end(), name), lines.end());
        } else {
            if (listed) return;
            lines.push_back(name);
        }
        auto out = TextOutputStream::Create(std::make_shared<FolderItem>(list));
        for (const auto& line : lines) out->WriteLine(line);
        out->Close();
    } catch (...) {
        // Best effort: hiding a file is cosmetic and must never fail the caller.
    }
}

bool FolderItem::Visible() const {
    const std::string name = Name();
    if (!name.empty() && name.front() == '.') return false;
    if (name.empty()) return true;
    std::string text;
    if (!ReadSmallFile(FolderOf(path_) / ".hidden", text)) return true;
    const auto lines = SplitLines(text);
    return std::find(lines.begin(), lines.end(), name) == lines.end();
}

std::shared_ptr<Picture> FolderItem::OpenAsPicture() const { return Picture::Load(path_.string()); }

std::shared_ptr<Sound> FolderItem::OpenAsSound() const { return Sound::Load(path_.string()); }

FolderItemPtr ExecutableFile() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) return nullptr;
    return std::make_shared<FolderItem>(std::move(exe));
}

namespace production {
namespace {
class ExecutableBundleLocator : public BundleLocator {
public:
    fs::path Folder() const override {
        const FolderItemPtr exe = ExecutableFile();
        const FolderItemPtr bin = exe ? exe->Parent() : nullptr;
        const FolderItemPtr bundle = bin ? bin->Parent() : nullptr;
        return bundle ? bundle->Path() : fs::path();
    }
};
}  // namespace

BundleLocator& ExecutableBundle() {
    static ExecutableBundleLocator locator;
    return locator;
}
}  // namespace production

FolderItemPtr BundleFolder() {
    fs::path folder = CurrentSeam().bundle->Folder();
    if (folder.empty()) return nullptr;
    return std::make_shared<FolderItem>(std::move(folder));
}

FolderItemPtr BundleResources() {
    const FolderItemPtr bundle = BundleFolder();
    return bundle ? bundle->Child("Resources") : nullptr;
}

namespace SpecialFolder {

namespace {

fs::path HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home && fs::path(home).is_absolute()) return home;
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* result = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result &&
        result->pw_dir && *result->pw_dir && fs::path(result->pw_dir).is_absolute())
        return result->pw_dir;
    return {};
}

// Makes `folder` and any missing parents; new folders get mode 0700.
bool MakeFolders(const fs::path& folder) {
    fs::path partial;
    for (const auto& part : folder) {
        partial /= part;
        if (part == "/" || part.empty()) continue;
        if (::mkdir(partial.c_str(), 0700) == 0) {
            ::chmod(partial.c_str(), 0700);  // whatever the umask took away
        } else if (errno != EEXIST) {
            return false;
        }
    }
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

FolderItemPtr ApplicationData() {
    fs::path folder;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    // The XDG convention: a relative value is invalid and ignored.
    if (xdg && *xdg && fs::path(xdg).is_absolute()) {
        folder = xdg;
    } else {
        const fs::path home = HomeFolder();
        if (home.empty()) return nullptr;
        folder = home / ".local" / "share";
    }
    folder = StripTrailingSeparators(folder);
    if (!MakeFolders(folder)) return nullptr;
    return std::make_shared<FolderItem>(std::move(folder));
}

}  // namespace SpecialFolder

// ----------------------------------------------------------- TextInputStream

TextInputStream::~TextInputStream() { Close(); }

std::shared_ptr<TextInputStream> TextInputStream::Open(const FolderItemPtr& item) {
    if (!item) throw NilObjectException("TextInputStream.Open: the file is nil");
    const fs::path& path = item->Path();
    // Non-blocking, so a FIFO cannot hang the open; cleared below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) ThrowIO("Cannot open", path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        ThrowIO("Cannot open", path, error);
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        ThrowIO("Cannot open", path, EISDIR);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        throw IOException("Cannot open \"" + path.string() + "\": not a regular file", EINVAL);
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);

    std::shared_ptr<TextInputStream> stream(new TextInputStream(fd));
    // Look ahead, so an empty file is at its end at once.
    if (stream->ReadByte() < 0) stream->eof_ = true;
    else --stream->bufferPos_;
    return stream;
}

// The next byte, reading a new chunk when the buffer is used up; -1 at the end
// of the file, on a read error, or once closed. A byte just read can be put
// back by stepping bufferPos_ back one: it is still in the buffer.
int TextInputStream::ReadByte() {
    if (bufferPos_ >= buffer_.size()) {
        if (fd_ < 0) return -1;
        buffer_.resize(kReadChunk);
        ssize_t n;
        do {
            n = ::read(fd_, buffer_.data(), buffer_.size());
        } while (n < 0 && errno == EINTR);
        // A read error ends the text like the end of the file does.
        buffer_.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        bufferPos_ = 0;
        if (n <= 0) return -1;
    }
    return static_cast<unsigned char>(buffer_[bufferPos_++]);
}

// Reads on through the current line, keeping its bytes in `line` (when given)
// while it has room. Stops after the line's end, at the end of the text, or,
// with `line` full, right where the bytes it cannot keep begin.
TextInputStream::Stop TextInputStream::Scan(std::string* line) {
    for (;;) {
        if (bufferPos_ >= buffer_.size()) {
            if (ReadByte() < 0) return Stop::EndOfText;  // the last line has no end
            --bufferPos_;
        }
        const char* begin = buffer_.data() + bufferPos_;
        const char* end = buffer_.data() + buffer_.size();
        const char* stop = std::find_if(begin, end, [](char c) { return c == '\n' || c == '\r'; });
        const char* kept = stop;
        if (line) {
            kept = begin + std::min(static_cast<std::size_t>(stop - begin), kMaxLineBytes - line->size());
            line->append(begin, kept);
        }
        bufferPos_ = static_cast<std::size_t>(kept - buffer_.data());
        if (kept < stop) return Stop::Full;
        if (stop == end) continue;
        ++bufferPos_;
        if (*stop == '\r') {
            // "\r\n" is one line end, even when the buffer ends between the two.
            const int next = ReadByte();
            if (next >= 0 && next != '\n') --bufferPos_;
        }
        return Stop::LineEnd;
    }
}

std::string TextInputStream::ReadLine() {
    std::string line;
    if (eof_) return line;
    // What the previous line could not keep is passed over only now, so that
    // line came back without waiting for the end of a huge one.
    if (restOfLineUnread_) {
        restOfLineUnread_ = false;
        Scan(nullptr);
    }
    if (Scan(&line) == Stop::Full) {
        restOfLineUnread_ = true;
    } else if (bufferPos_ >= buffer_.size()) {
        if (ReadByte() < 0) eof_ = true;
        else --bufferPos_;
    }
    return line;
}

void TextInputStream::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    eof_ = true;
    buffer_.clear();
    buffer_.shrink_to_fit();
    bufferPos_ = 0;
}

// ---------------------------------------------------------- TextOutputStream

TextOutputStream::TextOutputStream(fs::path target, fs::path temp, int fd)
    : target_(std::move(target)), temp_(std::move(temp)), fd_(fd), uncaughtAtCreate_(std::uncaught_exceptions()) {}

std::shared_ptr<TextOutputStream> TextOutputStream::Create(const FolderItemPtr& item) {
    if (!item) throw NilObjectException("TextOutputStream.Create: the file is nil");
    const fs::path target = item->Path();
    const std::string name = target.filename().string();
    if (target.empty()) ThrowIO("Cannot create", target, ENOENT);
    struct stat st {};
    if (name.empty() || name == "." || name == ".." ||
        (::stat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode)))
        ThrowIO("Cannot create", target, EISDIR);

    std::string temp = (FolderOf(target) / (TempPrefix(name) + std::string(kTempSuffix, 'X'))).string();
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) ThrowIO("Cannot create", target, errno);
    return std::shared_ptr<TextOutputStream>(new TextOutputStream(target, fs::path(temp), fd));
}

void TextOutputStream::WriteLine(const std::string& text) {
    if (fd_ < 0) ThrowIO("Cannot write to closed", target_, EBADF);
    // Held in memory until Close: these are small files, written whole.
    pending_ += text;
    pending_ += '\n';
}

void TextOutputStream::Close() {
    if (fd_ < 0) return;
    auto fail = [this](const char* what, int error) {
        Discard();
        ThrowIO(what, target_, error);
    };
    if (!WriteAll(fd_, pending_.data(), pending_.size())) fail("Cannot write", errno);
    pending_.clear();
    pending_.shrink_to_fit();

    // mkstemp makes the file 0600; give it the target's mode, or an ordinary one.
    mode_t mode = 0644;
    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0 && S_ISREG(st.st_mode)) mode = st.st_mode & 07777;
    if (::fchmod(fd_, mode) != 0) fail("Cannot set the mode of", errno);
    if (::fsync(fd_) != 0) fail("Cannot sync", errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp_.c_str());
        ThrowIO("Cannot write", target_, error);
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp_.c_str());
        ThrowIO("Cannot replace", target_, error);
    }
    SyncFolder(FolderOf(target_));
    RemoveStaleTemporaries(FolderOf(target_), TempPrefix(target_.filename().string()));
}

void TextOutputStream::Discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
        ::unlink(temp_.c_str());
    }
    pending_.clear();
}

TextOutputStream::~TextOutputStream() {
    // An exception that drops the stream may have cut its writing short: a
    // half-written text must never replace the file.
    if (std::uncaught_exceptions() > uncaughtAtCreate_) {
        Discard();
        return;
    }
    // A stream that goes away is closed: commit what was written, quietly.
    try {
        Close();
    } catch (...) {
        // Close has already removed the temporary file.
    }
}

}  // namespace fw
