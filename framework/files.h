#pragma once
// Files and folders, and line-based text streams.

#include <filesystem>
#include <memory>
#include <string>

namespace fw {

class Picture;
class Sound;
class FolderItem;
using FolderItemPtr = std::shared_ptr<FolderItem>;

class FolderItem {
public:
    explicit FolderItem(std::filesystem::path path);

    const std::filesystem::path& Path() const { return path_; }
    std::string Name() const { return path_.filename().string(); }

    // The containing folder, or nil at the root.
    FolderItemPtr Parent() const;
    // The item of that name inside this folder, whether it exists or not.
    FolderItemPtr Child(const std::string& name) const;
    bool Exists() const;

    // False hides the item: its name goes on the folder's ".hidden" list, which
    // Linux file managers read. Best effort; never fails.
    void Visible(bool visible);
    bool Visible() const;

    std::shared_ptr<Picture> OpenAsPicture() const;
    std::shared_ptr<Sound> OpenAsSound() const;

private:
    std::filesystem::path path_;
};

// The running program's executable file (links resolved).
FolderItemPtr ExecutableFile();

// The bundle: the folder above the executable's folder; nil when there is none.
FolderItemPtr BundleFolder();

// The bundle's "Resources" folder: the executable's folder's parent, then its
// child "Resources". Looked up afresh at every call; may be nil.
FolderItemPtr BundleResources();

namespace SpecialFolder {
// The user's application-data folder: $XDG_DATA_HOME when it is an absolute
// path, else ~/.local/share; made (mode 0700) when missing. Nil when it cannot
// be found or made.
FolderItemPtr ApplicationData();
}  // namespace SpecialFolder

// Reads a text file line by line.
class TextInputStream {
public:
    ~TextInputStream();
    // Opens an existing regular file; NilObjectException for a nil item,
    // IOException when it cannot be opened or is not a regular file (a pipe or
    // a device could block or never end).
    static std::shared_ptr<TextInputStream> Open(const FolderItemPtr& item);

    // The next line without its end ("\n", "\r\n" or "\r"). At most
    // kMaxLineBytes bytes of a line are kept; the rest of a longer line is
    // skipped unread by the next call, so a huge or binary file can neither
    // flood nor hold up the line that was asked for.
    std::string ReadLine();
    void Close();

    static constexpr std::size_t kMaxLineBytes = 256;

private:
    enum class Stop { LineEnd, EndOfText, Full };
    explicit TextInputStream(int fd) : fd_(fd) {}
    int ReadByte();
    Stop Scan(std::string* line);
    int fd_;
    bool eof_ = false;
    bool restOfLineUnread_ = false;
    std::string buffer_;
    std::size_t bufferPos_ = 0;
};

// Writes a text file whole. The lines go to a temporary file in the same
// folder that Close syncs and renames over the target, so a crash, a kill or a
// full disk never leaves a truncated or empty file behind. A successful Close
// also removes the target's temporaries that killed writers left, once they
// are a minute old. A stream dropped without Close commits, unless it is
// dropped by an exception: then the old file stays.
class TextOutputStream {
public:
    ~TextOutputStream();
    // NilObjectException for a nil item, IOException when the file cannot be made.
    static std::shared_ptr<TextOutputStream> Create(const FolderItemPtr& item);

    // The text and the default line end, "\n".
    void WriteLine(const std::string& text);
    // Commits the file; IOException when it cannot be written or replaced.
    void Close();

private:
    TextOutputStream(std::filesystem::path target, std::filesystem::path temp, int fd);
    void Discard();
    std::filesystem::path target_;
    std::filesystem::path temp_;
    int fd_;
    std::string pending_;
    int uncaughtAtCreate_;
};

}  // namespace fw
