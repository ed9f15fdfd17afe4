#include "framework/seam.h"

#include "framework/production.h"

namespace fw {

namespace {
Seam& Installed() {
    static Seam seam;
    return seam;
}
}  // namespace

Seam& CurrentSeam() {
    // Production parts are made only when first asked for, so a test that
    // installs its own never touches Qt's timers, audio or desktop services.
    Seam& s = Installed();
    if (!s.clock) s.clock = &production::QtClock();
    if (!s.random) s.random = &production::Entropy();
    if (!s.dialogs) s.dialogs = &production::QtDialogs();
    if (!s.audio) s.audio = &production::QtAudio();
    if (!s.urls) s.urls = &production::DesktopUrls();
    if (!s.bundle) s.bundle = &production::ExecutableBundle();
    return s;
}

ScopedSeam::ScopedSeam(const Seam& parts) : saved_(Installed()) {
    Seam& s = Installed();
    if (parts.clock) s.clock = parts.clock;
    if (parts.random) s.random = parts.random;
    if (parts.dialogs) s.dialogs = parts.dialogs;
    if (parts.audio) s.audio = parts.audio;
    if (parts.urls) s.urls = parts.urls;
    if (parts.bundle) s.bundle = parts.bundle;
}

ScopedSeam::~ScopedSeam() { Installed() = saved_; }

}  // namespace fw
