// Production audio: the bundle's sound module (<bundle>/lib/corvessan_audio.so),
// loaded when the first sound plays. Without it the game is silent, once told.

#include <dlfcn.h>

#include <iostream>

#include "framework/files.h"
#include "framework/production.h"

namespace fw::production {

namespace {

constexpr const char* kModuleName = "corvessan_audio.so";
constexpr const char* kEntryPoint = "corvessan_audio_output";

class ModuleAudio : public AudioOutput {
public:
    void Play(const std::shared_ptr<const PcmData>& sound) override {
        if (!tried_) {
            tried_ = true;
            output_ = Load();
        }
        if (output_) output_->Play(sound);
    }

private:
    static AudioOutput* Load() {
        const FolderItemPtr bundle = BundleFolder();
        if (!bundle) return Silent("the program's folder cannot be found");
        const std::string path = (bundle->Path() / "lib" / kModuleName).string();
        // Never unloaded: the module's Qt objects live until the process ends.
        void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) return Silent(::dlerror());
        using Entry = AudioOutput* (*)();
        auto entry = reinterpret_cast<Entry>(::dlsym(module, kEntryPoint));
        if (!entry) return Silent(::dlerror());
        return entry();
    }

    static AudioOutput* Silent(const char* why) {
        std::cerr << "Corvessan: sound is off: " << (why ? why : "unknown error") << std::endl;
        return nullptr;
    }

    bool tried_ = false;
    AudioOutput* output_ = nullptr;
};

}  // namespace

AudioOutput& QtAudio() {
    static ModuleAudio audio;
    return audio;
}

}  // namespace fw::production
