#include "lorrin/main_form.h"

#include "lorrin/ansi_text.h"
#include "lorrin/choices.h"
#include "lorrin/language.h"
#include "lorrin/status.h"

#include <algorithm>
#include <cctype>

namespace lorrin {
namespace {

// Where `RImage` sits in the window; it is never shown.
constexpr int kRImageLeft = 80;
constexpr int kRImageTop = 136;
constexpr int kRImageSide = 100;

// The clipboard as this window writes it: each change made through it is marked as the
// window's own while it is being made, so that the notice it brings is not taken for
// another program's change.
class OwnWrites : public platform::Clipboard {
public:
    OwnWrites(platform::Clipboard& clipboard, bool& writing)
        : clipboard_(clipboard), writing_(writing) {}
    bool hasText() const override { return clipboard_.hasText(); }
    std::string text() const override { return clipboard_.text(); }
    void empty() override {
        writing_ = true;
        clipboard_.empty();
        writing_ = false;
    }
    bool setPicture(const platform::Picture& picture) override {
        writing_ = true;
        const bool taken = clipboard_.setPicture(picture);
        writing_ = false;
        return taken;
    }

private:
    platform::Clipboard& clipboard_;
    bool& writing_;
};

}  // namespace

std::string_view symbologyHint(std::size_t index) {
    return translate("hints", kSymbologyHints.at(index));
}

std::string_view helpDocument() { return translate("help", kHelpDocument); }

bool startsMonitor(std::span<const std::string> args) {
    if (args.size() != 1) return false;
    std::string lower = args[0];
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower == "-clip";
}

MainForm::MainForm(MainFormView& view, const MainFormServices& services, WindowHandle self)
    : view_(view), services_(services), self_(self) {
    rImage_.SetBounds(kRImageLeft, kRImageTop, kRImageSide, kRImageSide);
    rImage_.SetVisible(false);
}

void MainForm::FormCreate(const std::filesystem::path& programDir,
                          std::span<const std::string> args) {
    settingsNotices_ = BuildIniPath(settings_, programDir);
    std::string refused = LoadSettings(settings_, view_, services_.screen);
    cmbCtypeChange();
    if (!refused.empty()) {
        settingsNotices_.push_back(std::move(refused));
        view_.setStatusText(translate("status", kSettingsNotReadText));
    }
    nextViewer_ = services_.chain.SetClipboardViewer(self_);
    if (startsMonitor(args)) mnuClipClick();
}

void MainForm::FormCloseQuery() {
    services_.chain.ChangeClipboardChain(self_, nextViewer_);
    // A file that cannot be written anywhere is no reason to keep the window open.
    SaveSettings(settings_, view_);
}

void MainForm::cmbCtypeChange() {
    const int index = view_.typeIndex();
    if (index >= 0 && static_cast<std::size_t>(index) < kSymbologyHints.size())
        view_.setStatusBarText(symbologyHint(static_cast<std::size_t>(index)));
}

void MainForm::edtCodeChange() {
    view_.setCountText(std::to_string(cp932Length(view_.codeText())));
}

void MainForm::btnDrawClick() {
    if (view_.codeText().empty()) {
        services_.beep.beep(platform::BeepKind::kError);
        return;
    }
    draw();
    view_.focusCode();
    view_.selectAllCode();
}

void MainForm::mnuFontClick() {
    const auto chosen = services_.fontDialog.choose({settings_.fontName, settings_.fontSize});
    if (!chosen) return;
    settings_.fontName = std::string(cp932Prefix(chosen->name, kFontNameSize - 1));
    settings_.fontSize = chosen->size;
}

void MainForm::mnuClipClick() {
    monitorOn_ = !monitorOn_;
    view_.setMonitorChecked(monitorOn_);
}

void MainForm::mnuTopicClick() { services_.help.open(helpDocument()); }

std::uintptr_t MainForm::WMChangeCBChain(WindowHandle remove, WindowHandle next) {
    if (remove == nextViewer_)
        nextViewer_ = next;
    else if (nextViewer_ != 0)
        services_.chain.SendMessage(nextViewer_, kWmChangeCbChain, remove, next);
    return 0;
}

void MainForm::WMDrawClipboard() {
    // The next viewer hears of every change, whatever this window makes of it.
    if (nextViewer_ != 0) services_.chain.SendMessage(nextViewer_, kWmDrawClipboard, 0, 0);
    // A write of this window's own announces itself at once, also when it did not get
    // through (X11 keeps another program's text then): it is no news either way.
    if (!monitorOn_ || ownWrite_) return;
    if (handlingChange_) {
        changePending_ = true;
        return;
    }
    handlingChange_ = true;
    do {
        changePending_ = false;
        convertClipboardText();
    } while (changePending_);
    handlingChange_ = false;
}

void MainForm::convertClipboardText() {
    if (!services_.clipboard.hasText()) return;
    const auto picked = clipboardCode(services_.clipboard.text(), settings_.wpcOnly != 0);
    if (!picked) return;
    view_.setTypeIndex(picked->typeIndex);
    view_.setCodeText(picked->code);
    // A text a two-dimensional code refuses leaves the clipboard as it is: the text may be
    // anything, and its owner has no other copy of it.
    if (isMatrix(picked->typeIndex)) {
        const Composition checked = composeBarcode(settings_, picked->typeIndex, picked->code,
                                                   services_.fonts, matrixEncoder_);
        if (!checked.ok()) {
            ShowStatus(view_, checked);
            if (settings_.soundOn != 0) services_.sound.playAsync(settings_.soundNg);
            return;
        }
    }
    OwnWrites(services_.clipboard, ownWrite_).empty();
    // A text still there is one the clipboard kept for its owner, or a newer one; it is
    // not ours to draw over, and its own change notice brings it here if it is newer.
    if (services_.clipboard.hasText()) {
        ShowStatus(view_, kClipboardRefused);
        if (settings_.soundOn != 0) services_.sound.playAsync(settings_.soundNg);
        return;
    }
    draw();
}

void MainForm::draw() {
    OwnWrites clipboard(services_.clipboard, ownWrite_);
    DrawServices services{clipboard, services_.sound, services_.fonts, rImage_, matrixEncoder_};
    DrawBarcode(settings_, view_, services);
}

}  // namespace lorrin
