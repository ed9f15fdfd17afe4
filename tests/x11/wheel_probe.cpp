// A window made by the framework, with the game's window settings and one
// image well over its whole content, that prints every wheel turn the well
// reports. wheel_buttons.sh drives it on a real X server.

#include <QTimer>

#include <cstdio>

#include "framework/runtime.h"
#include "framework/window.h"

namespace {

class ProbeWindow : public fw::Window {
protected:
    void Layout() override {
        Apply({.width = 200, .height = 150, .title = "Wheel probe", .closeButton = false, .resizeable = false,
               .maximizeButton = false, .minimizeButton = true});
    }
    void CreateControls() override {
        auto& well = static_cast<fw::ImageWell&>(
            NewControl({.name = "Well", .kind = fw::ControlKind::ImageWell, .width = 200, .height = 150}));
        well.MouseWheel.Bind([](fw::ImageWell&, int, int, int dx, int dy) {
            std::printf("wheel %d %d\n", dx, dy);
            std::fflush(stdout);
            return true;
        });
    }
};

}  // namespace

int main(int argc, char** argv) {
    return fw::RunProcess(
        argc, argv,
        [] {
            fw::RunMain([] {
                fw::MakeWindow<ProbeWindow>();
                // Printed from inside the loop: the window is mapped by then.
                QTimer::singleShot(0, [] {
                    std::printf("ready\n");
                    std::fflush(stdout);
                });
                // A driver that dies must not leave the probe behind.
                QTimer::singleShot(60000, fw::Quit);
            });
        },
        [] {});
}
