// lorrin's settings from start to close, without the window, for the settings tests:
// finds them as a program in this one's folder does, reads them, sets the QR version
// and saves them.  Exit status 0 when they were saved.
#include "lorrin/cli/run_settings.h"
#include "lorrin/settings.h"

#include <climits>
#include <iostream>
#include <string>

namespace {

class AnyScreen : public platform::Screen {
public:
    platform::ScreenSize size() const override { return {INT_MAX, INT_MAX}; }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: settings_saver QR-VERSION\n";
        return 2;
    }
    lorrin::Settings settings;
    for (const std::string& notice :
         lorrin::BuildIniPath(settings, lorrin::cli::programDir(argv[0])))
        std::cerr << "lorrin: " << notice << '\n';
    lorrin::ViewState view;
    lorrin::LoadSettings(settings, view, AnyScreen{});
    settings.qrVersion = std::stoi(argv[1]);
    return lorrin::SaveSettings(settings, view) ? 0 : 1;
}
