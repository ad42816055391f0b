// lorrin: the desktop program.  Sets the title, builds the main window and runs until it
// closes.
#include "lorrin/keeper/handover.h"
#include "lorrin/language.h"
#include "qt_adapter.h"
#include "tfrm_main.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QSocketNotifier>

#include <csignal>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

int gTermPipe[2] = {-1, -1};

void onTerminate(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(gTermPipe[1], &byte, 1);
}

// A request to end (the session ending, kill) closes the window as the user would, so the
// viewer chain is left and the settings are saved.
void closeOnTerminate(QWidget& window) {
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, gTermPipe) != 0) return;
    auto* notifier = new QSocketNotifier(gTermPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char byte = 0;
        [[maybe_unused]] const ssize_t n = read(gTermPipe[0], &byte, 1);
        window.close();
    });
    struct sigaction action {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    // Qt's Wayland backend tells a program without the keyboard focus nothing of clipboard
    // changes, so the monitor needs X11 (XWayland on a Wayland session).  Without any X
    // server the window still comes up on Wayland.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    QApplication::setDesktopFileName(QStringLiteral("lorrin"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/lorrin.png")));
    lorrin::qt::installFontSubstitutions();
    lorrin::qt::installAccessibleListNames();
    // After QApplication, which sets the C library's locale from the environment.
    const lorrin::CatalogueFolders catalogues = lorrin::catalogueFolders(
        std::filesystem::path(QApplication::applicationDirPath().toStdString()));
    lorrin::qt::useWindowsLanguage(lorrin::useLanguage(lorrin::localeLanguage(), catalogues),
                                   catalogues.qt);

    std::vector<std::string> args;
    for (const QString& arg : QApplication::arguments().mid(1))
        args.push_back(lorrin::qt::fromQString(arg));
    try {
        lorrin::qt::Desktop desktop;
        lorrin::qt::TfrmMain window(
            desktop, std::filesystem::path(QApplication::applicationDirPath().toStdString()), args);
        for (const std::string& notice : window.form().settingsNotices())
            std::cerr << "lorrin: " << notice << '\n';
        closeOnTerminate(window);
        window.show();
        const int status = QApplication::exec();
        // The picture on the clipboard outlives the program, or the user is told why not.
        const std::string lost = desktop.clipboard.keepPicture(
            lorrin::keeper::keeperPath(QApplication::applicationDirPath().toStdString()));
        if (!lost.empty()) std::cerr << "lorrin: " << lost << '\n';
        return status;
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QApplication::applicationName(),
                              QString::fromUtf8(e.what()));
        return 1;
    }
}
