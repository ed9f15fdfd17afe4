#pragma once
// The production parts of the seam, one per file that implements them. Each
// is made on first use and lives until the process ends; none holds a Qt
// object, so nothing of Qt is left for static destructors to tear down.

#include "framework/seam.h"

namespace fw::production {

Clock& QtClock();              // timer_qt.cpp: Qt's precise timers
RandomSource& Entropy();       // utils.cpp: engines seeded from std::random_device
DialogPresenter& QtDialogs();  // dialogs.cpp: QMessageBox
AudioOutput& QtAudio();        // audio_loader.cpp: the bundle's sound module, loaded at the first play
UrlOpener& DesktopUrls();      // utils.cpp: QDesktopServices
BundleLocator& ExecutableBundle();  // files.cpp: the folder above the executable's folder

}  // namespace fw::production
