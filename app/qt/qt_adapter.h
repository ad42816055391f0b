// The one place where the program's own types meet Qt's: text conversions (pictures
// convert in platform's Qt face), and the desktop services of the core (clipboard, sound,
// beep, help, screen, font dialog, viewer chain) implemented with Qt.
#pragma once

#include "lorrin/main_form.h"
#include "lorrin/viewer_chain.h"
#include "platform/font.h"
#include "platform/services.h"

#include <QPointer>
#include <QString>

#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class QSoundEffect;
class QWidget;

namespace lorrin::qt {

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string fromQString(const QString& text) { return text.toUtf8().toStdString(); }

// Maps the window fonts' Windows names to the Japanese faces fontconfig knows.
void installFontSubstitutions();

// Lists announced by their names: Qt on Linux gives assistive tools a list's current entry
// as its name, and its name nowhere.  A list with an accessible name is named by it, its
// entry its value; one without keeps the entry as its name.
void installAccessibleListNames();

// The windows' language: `language`'s catalogue, the first in `folders`, and Qt's own for
// the texts of its dialogs (files, fonts, message boxes) where it has one.  Windows made
// afterwards show it; a later call replaces it.
void useWindowsLanguage(std::string_view language, std::span<const std::filesystem::path> folders);

class X11Clipboard;
class PictureData;

class QtClipboard : public platform::Clipboard {
public:
    QtClipboard();
    ~QtClipboard() override;
    bool hasText() const override;
    std::string text() const override;
    void empty() override;
    // Offered in each of the clipboard's forms (PNG, BMP, SVG), made when a program asks.
    bool setPicture(const platform::Picture& picture) override;

    // As the program ends: the picture it put on the clipboard, while it is still there,
    // outlives the program.  A clipboard manager takes it from Qt as the application
    // ends; without one, the keeper at `keeper` serves it.  "" when it outlives the
    // program or is no longer there; else why it goes with the program.
    std::string keepPicture(const std::filesystem::path& keeper);

private:
    std::optional<std::string> currentText() const;
    const X11Clipboard* x11() const;

    // Opened on the first look at the clipboard, when Qt runs on X11.
    mutable std::unique_ptr<X11Clipboard> x11_;
    mutable bool x11Opened_ = false;
    QPointer<PictureData> offered_;  // the last picture placed, while Qt holds it
};

class QtSound : public platform::Sound {
public:
    QtSound();
    ~QtSound() override;
    // Plays through Qt Multimedia; the desktop's bell when there is nothing to play.
    void playAsync(std::string_view wavPath) override;

private:
    std::unique_ptr<QSoundEffect> effect_;  // made on the first sound
};

class QtBeep : public platform::Beep {
public:
    void beep(platform::BeepKind kind) override;
};

// Opens the document with the desktop's viewer for its type, found in the current
// folder, beside the program, or where it was installed.
class QtHelpViewer : public platform::HelpViewer {
public:
    void open(std::string_view document) override;
};

class QtScreen : public platform::Screen {
public:
    platform::ScreenSize size() const override;
};

class QtFontDialog : public FontDialog {
public:
    explicit QtFontDialog(QWidget* parent) : parent_(parent) {}
    std::optional<FontChoice> choose(const FontChoice& initial) override;

private:
    QWidget* parent_;
};

// The desktop tells every program itself of clipboard changes (QClipboard::dataChanged),
// so the chain this window joins has no other member: nobody follows it, and there is
// nobody to pass a notification on to.
class OwnViewerChain : public ViewerChain {
public:
    WindowHandle SetClipboardViewer(WindowHandle) override { return 0; }
    void ChangeClipboardChain(WindowHandle, WindowHandle) override {}
    void SendMessage(WindowHandle, unsigned, std::uintptr_t, std::uintptr_t) override {}
};

// The services the main window's handlers use, one of each for the program's life.
struct Desktop {
    QtClipboard clipboard;
    QtSound sound;
    QtBeep beep;
    QtHelpViewer help;
    QtScreen screen;
    platform::FontEngine fonts;
    OwnViewerChain chain;
};

}  // namespace lorrin::qt
