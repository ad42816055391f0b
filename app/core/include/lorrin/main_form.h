// The main window's behaviour: start, close, the controls' and the menu's handlers, and
// the clipboard monitor.  The desktop window builds the widgets and calls these.
#pragma once

#include "lorrin/draw.h"
#include "lorrin/main_view.h"
#include "lorrin/settings.h"
#include "lorrin/viewer_chain.h"
#include "platform/font.h"
#include "platform/services.h"
#include "rotateimage/rotate_image.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lorrin {

// The hints in the status bar for each entry of the symbology list, in the user
// interface's language when shown.
inline constexpr std::array<std::string_view, 10> kSymbologyHints = {
    "UPC: 0～9 (短縮,標準,UPC-E,UPC-D,ｱﾄﾞｵﾝ2/5桁)",
    "NW7: 0～9 - $ : / . + [start/end=A,B,C,D]",
    "Code39: A～Z 0～9 - . $ / + & [start/end=*]",
    "ITF: 0～9 偶数桁",
    "Code128: A～Z a～z 記号多数",
    "Code128(b): [start A～Z]の後,16進2桁のASCII ｺｰﾄﾞ",
    "Code93: A～Z a～z 0～9 - . $ / + &",
    "QR: 漢字 かな ｶﾅ 英数字 記号 改行 (Shift_JIS/UTF-8)",
    "DataMatrix: 英数字 記号 日本語 改行 (UTF-8)",
    "PDF417: 英数字 記号 日本語 改行 (UTF-8)",
};
static_assert(kSymbologyHints.size() == kSymbologyNames.size(), "one hint per symbology");
// Entry `index` of kSymbologyHints in the user interface's language.
std::string_view symbologyHint(std::size_t index);

// The status text when the settings file is there but cannot be read.
inline constexpr std::string_view kSettingsNotReadText = "設定ﾌｧｲﾙを読めません(標準の設定を使用)";

// The help document, looked for by this name.
inline constexpr std::string_view kHelpDocument = "lorrin.html";
// The help document of the user interface's language: each catalogue names its own
// ("lorrin.en.html" in English).
std::string_view helpDocument();

// The main window beyond what the draw and the settings use.
class MainFormView : public virtual MainView {
public:
    // The status bar's one text.
    virtual void setStatusBarText(std::string_view text) = 0;
    // The character counter `labCol`.
    virtual void setCountText(std::string_view text) = 0;
    // Gives `edtCode` the keyboard focus.
    virtual void focusCode() = 0;
    // The check mark of the monitor's menu item `mnuClip`.
    virtual void setMonitorChecked(bool on) = 0;
};

struct FontChoice {
    std::string name;
    int size = 0;  // points
};

class FontDialog {
public:
    virtual ~FontDialog() = default;
    // Shows the desktop's font dialog on `initial`; nullopt when the user cancels.
    virtual std::optional<FontChoice> choose(const FontChoice& initial) = 0;
};

struct MainFormServices {
    platform::Clipboard& clipboard;
    platform::Sound& sound;
    platform::Beep& beep;
    platform::HelpViewer& help;
    const platform::Screen& screen;
    platform::FontEngine& fonts;
    ViewerChain& chain;
    FontDialog& fontDialog;
};

// True for a command line (the arguments after the program's name) of exactly one
// argument that reads "-clip" in any case.
bool startsMonitor(std::span<const std::string> args);

class MainForm {
public:
    // `self` is the window's handle in the viewer chain.
    MainForm(MainFormView& view, const MainFormServices& services, WindowHandle self);

    // Reads the settings of the program in `programDir`, shows the hint, joins the viewer
    // chain and switches the monitor on for "-clip".
    void FormCreate(const std::filesystem::path& programDir, std::span<const std::string> args);
    // Leaves the viewer chain, then saves the settings.  The close always goes ahead.
    void FormCloseQuery();

    void cmbCtypeChange();
    void edtCodeChange();
    void btnDrawClick();
    void mnuFontClick();
    void mnuClipClick();
    void mnuTopicClick();

    // The viewer chain's notifications.  WMDrawClipboard never runs inside itself: the
    // change its own writes announce is recognised and dropped, and a change announced
    // while one is being handled is taken when that one is done, from the clipboard as
    // it is then (the newest text counts).
    std::uintptr_t WMChangeCBChain(WindowHandle remove, WindowHandle next);
    void WMDrawClipboard();

    Settings& settings() { return settings_; }
    // Lines for standard error naming settings files FormCreate left alone or could not
    // read.
    const std::vector<std::string>& settingsNotices() const { return settingsNotices_; }
    bool monitorOn() const { return monitorOn_; }
    // True while a handler writes the clipboard or converts a clipboard text: a change
    // announced now comes from inside it, and WMDrawClipboard must hear of it at once.
    bool clipboardBusy() const { return ownWrite_ || handlingChange_; }
    WindowHandle nextViewer() const { return nextViewer_; }

private:
    void convertClipboardText();
    void draw();

    MainFormView& view_;
    MainFormServices services_;
    WindowHandle self_;
    Settings settings_;
    std::vector<std::string> settingsNotices_;
    WindowHandle nextViewer_ = 0;
    bool monitorOn_ = false;
    bool ownWrite_ = false;             // this window is changing the clipboard
    bool handlingChange_ = false;       // WMDrawClipboard is converting a text
    bool changePending_ = false;        // another change came meanwhile
    rotateimage::TRotateImage rImage_;  // `RImage`: never shown, turns the pictures
    matrix::Encoder matrixEncoder_;
};

}  // namespace lorrin
