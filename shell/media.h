#pragma once
// The bundle's pictures and sounds, each fetched by the name of its file.
// A picture is loaded at the first call that finds it and never read again;
// until then every call tries anew. A sound is tried once per run.
// Every call hands out the same object.

#include <memory>

#include "framework/media.h"

using PicturePtr = std::shared_ptr<fw::Picture>;
using SoundPtr = std::shared_ptr<fw::Sound>;

PicturePtr white();
PicturePtr red();
PicturePtr blue();
PicturePtr green();
PicturePtr yellow();
PicturePtr two();
PicturePtr three();
PicturePtr four();
PicturePtr five();
PicturePtr six();
PicturePtr seven();
PicturePtr eight();
PicturePtr nine();
PicturePtr sad();
PicturePtr star();
PicturePtr grey();

SoundPtr Basso();
SoundPtr Ping();
SoundPtr Purr();

// At the stop: drops the cached sounds, in the order Basso, Purr, Ping.
void ReleaseSounds();

// Empties every cache, as at the start of a run: at the end of the process,
// once the windows are gone and before Qt is, and between tests.
void ResetMediaCaches();
