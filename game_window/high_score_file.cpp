#include "game_window/high_score_file.h"

#include "framework/files.h"
#include "framework/runtime.h"

namespace {

fw::FolderItemPtr HighScoreItem() {
    fw::FolderItemPtr folder = fw::SpecialFolder::ApplicationData();
    if (!folder) throw fw::NilObjectException("there is no application-data folder that can be made");
    return folder->Child(kHighScoreFile);
}

std::string Where() {
    fw::FolderItemPtr folder = fw::SpecialFolder::ApplicationData();
    return folder ? (folder->Path() / kHighScoreFile).string() : std::string(kHighScoreFile);
}

std::string Reason(const fw::RuntimeException& e) {
    std::string reason = e.what();
    if (const auto* io = dynamic_cast<const fw::IOException*>(&e); io && io->ErrorNumber() != 0)
        reason += " (error " + std::to_string(io->ErrorNumber()) + ")";
    return reason;
}

std::string FirstLine(const fw::FolderItemPtr& item) {
    auto stream = fw::TextInputStream::Open(item);
    std::string line = stream->ReadLine();
    stream->Close();
    return line;
}

}  // namespace

bool WriteHighScore(const std::string& text) {
    try {
        fw::FolderItemPtr item = HighScoreItem();
        auto stream = fw::TextOutputStream::Create(item);
        stream->WriteLine(text);
        item->Visible(false);
        stream->Close();
        return true;
    } catch (const fw::RuntimeException& e) {
        fw::ReportProblem("High score not saved",
                          "The high score " + text + " could not be saved to " + Where() + ": " + Reason(e) + ".");
        return false;
    }
}

StoredHighScore ReadHighScore() {
    StoredHighScore stored;
    try {
        fw::FolderItemPtr item = HighScoreItem();
        if (!item || !item->Exists()) return stored;
        stored.exists = true;
        stored.line = FirstLine(item);
    } catch (const fw::RuntimeException& e) {
        stored.exists = true;
        fw::ReportProblem("High score not read", "The high score could not be read from " + Where() + ": " +
                                                     Reason(e) + ". It starts at " + kDefaultHighScore +
                                                     " for this run.");
    }
    return stored;
}

std::optional<std::string> RereadHighScore() {
    try {
        fw::FolderItemPtr item = HighScoreItem();
        if (!item->Exists()) return std::nullopt;
        return FirstLine(item);
    } catch (const fw::RuntimeException&) {
        // The write that follows reports what is wrong with the file.
        return std::nullopt;
    }
}
