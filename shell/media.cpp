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
struct MediaCaches {
    PictureCache pictures[16] = {
        {"white.png"}, {"red.png"},   {"blue.png"},  {"green.png"}, {"yellow.png"}, {"two.png"},
        {"three.png"}, {"four.png"},  {"five.png"},  {"six.png"},   {"seven.png"},  {"eight.png"},
        {"nine.png"},  {"sad.jpg"},   {"star.jpg"},  {"grey.jpg"},
    };
    SoundCache sounds[3] = {{"Basso.aiff"}, {"Ping.aiff"}, {"Purr.aiff"}};
};
enum PictureId { kWhite, kRed, kBlue, kGreen, kYellow, kTwo, kThree, kFour, kFive, kSix, kSeven,
                 kEight, kNine, kSad, kStar, kGrey };
enum SoundId { kBasso, kPing, kPurr };

// Made at the first call and freed by ResetMediaCaches, never by a static
// destructor: pictures hold Qt data, which must go while Qt still runs, and
// an exit() from inside Qt must find nothing of ours to destroy.
MediaCaches* g_caches = nullptr;

MediaCaches& Caches() {
    if (!g_caches) g_caches = new MediaCaches;
    return *g_caches;
}
PictureCache& Cached(PictureId id) { return Caches().pictures[id]; }
SoundCache& Cached(SoundId id) { return Caches().sounds[id]; }

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

PicturePtr white() { return LoadPicture(Cached(kWhite)); }
PicturePtr red() { return LoadPicture(Cached(kRed)); }
PicturePtr blue() { return LoadPicture(Cached(kBlue)); }
PicturePtr green() { return LoadPicture(Cached(kGreen)); }
PicturePtr yellow() { return LoadPicture(Cached(kYellow)); }
PicturePtr two() { return LoadPicture(Cached(kTwo)); }
PicturePtr three() { return LoadPicture(Cached(kThree)); }
PicturePtr four() { return LoadPicture(Cached(kFour)); }
PicturePtr five() { return LoadPicture(Cached(kFive)); }
PicturePtr six() { return LoadPicture(Cached(kSix)); }
PicturePtr seven() { return LoadPicture(Cached(kSeven)); }
PicturePtr eight() { return LoadPicture(Cached(kEight)); }
PicturePtr nine() { return LoadPicture(Cached(kNine)); }
PicturePtr sad() { return LoadPicture(Cached(kSad)); }
PicturePtr star() { return LoadPicture(Cached(kStar)); }
PicturePtr grey() { return LoadPicture(Cached(kGrey)); }

SoundPtr Basso() { return LoadSound(Cached(kBasso)); }
SoundPtr Ping() { return LoadSound(Cached(kPing)); }
SoundPtr Purr() { return LoadSound(Cached(kPurr)); }

void ReleaseSounds() {
    if (!g_caches) return;
    for (SoundId id : {kBasso, kPurr, kPing}) Cached(id).permaSound.reset();
}

void ResetMediaCaches() {
    delete g_caches;
    g_caches = nullptr;
}
