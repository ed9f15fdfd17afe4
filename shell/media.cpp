#include "shell/media.h"

#include <iostream>
#include <string>

#include "framework/files.h"
#include "framework/runtime.h"

namespace {

struct PictureCache {
    PictureCache(const char* name) : file(name) {}
    const char* file;
    PicturePtr pic;
};

struct SoundCache {
    SoundCache(const char* name) : file(name) {}
    const char* file;
    SoundPtr permaSound;
    bool loaded = false;
};

// One table for all sixteen pictures and all three sounds.
PictureCache g_pictures[] = {
    {"white.png"}, {"red.png"},   {"blue.png"},  {"green.png"}, {"yellow.png"}, {"two.png"},
    {"three.png"}, {"four.png"},  {"five.png"},  {"six.png"},   {"seven.png"},  {"eight.png"},
    {"nine.png"},  {"sad.jpg"},   {"star.jpg"},  {"grey.jpg"},
};
enum PictureId { kWhite, kRed, kBlue, kGreen, kYellow, kTwo, kThree, kFour, kFive, kSix, kSeven,
                 kEight, kNine, kSad, kStar, kGrey };

SoundCache g_sounds[] = {{"Basso.aiff"}, {"Ping.aiff"}, {"Purr.aiff"}};
enum SoundId { kBasso, kPing, kPurr };

fw::FolderItemPtr ChildOf(const fw::FolderItemPtr& folder, const char* file) {
    fw::FolderItemPtr item = folder->Child(file);
    if (!item) throw fw::NilObjectException(std::string("no item for ") + file);
    return item;
}

PicturePtr LoadPicture(PictureCache& cache) {
    if (cache.pic) return cache.pic;
    fw::FolderItemPtr folder = fw::BundleResources();
    if (!folder) return nullptr;
    // A picture that cannot be loaded leaves its square empty, and is tried
    // again at the next call.
    cache.pic = ChildOf(folder, cache.file)->OpenAsPicture();
    return cache.pic;
}

SoundPtr LoadSound(SoundCache& cache) {
    if (cache.loaded) return cache.permaSound;
    cache.loaded = true;
    if (fw::FolderItemPtr folder = fw::BundleResources()) cache.permaSound = ChildOf(folder, cache.file)->OpenAsSound();
    // Players are told once why a sound stays silent; the game goes on without it.
    if (!cache.permaSound)
        std::cerr << "Corvessan: cannot load the sound " << cache.file << "; it stays silent" << std::endl;
    return cache.permaSound;
}

}  // namespace

PicturePtr white() { return LoadPicture(g_pictures[kWhite]); }
PicturePtr red() { return LoadPicture(g_pictures[kRed]); }
PicturePtr blue() { return LoadPicture(g_pictures[kBlue]); }
PicturePtr green() { return LoadPicture(g_pictures[kGreen]); }
PicturePtr yellow() { return LoadPicture(g_pictures[kYellow]); }
PicturePtr two() { return LoadPicture(g_pictures[kTwo]); }
PicturePtr three() { return LoadPicture(g_pictures[kThree]); }
PicturePtr four() { return LoadPicture(g_pictures[kFour]); }
PicturePtr five() { return LoadPicture(g_pictures[kFive]); }
PicturePtr six() { return LoadPicture(g_pictures[kSix]); }
PicturePtr seven() { return LoadPicture(g_pictures[kSeven]); }
PicturePtr eight() { return LoadPicture(g_pictures[kEight]); }
PicturePtr nine() { return LoadPicture(g_pictures[kNine]); }
PicturePtr sad() { return LoadPicture(g_pictures[kSad]); }
PicturePtr star() { return LoadPicture(g_pictures[kStar]); }
PicturePtr grey() { return LoadPicture(g_pictures[kGrey]); }

SoundPtr Basso() { return LoadSound(g_sounds[kBasso]); }
SoundPtr Ping() { return LoadSound(g_sounds[kPing]); }
SoundPtr Purr() { return LoadSound(g_sounds[kPurr]); }

void ReleaseSounds() {
    for (SoundId id : {kBasso, kPurr, kPing}) g_sounds[id].permaSound.reset();
}

void ResetMediaCaches() {
    for (auto& p : g_pictures) p = PictureCache{p.file};
    for (auto& s : g_sounds) s = SoundCache{s.file};
}
