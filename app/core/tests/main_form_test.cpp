#include "lorrin/main_form.h"

#include "lorrin/test/fakes.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lorrin {
namespace {

// The desktop: a clipboard and the viewer chain over it.  Every change of the clipboard
// notifies the chain's head at once, before the call that made it returns.  Like X11, the
// clipboard keeps a text when it is emptied on a reading that is out of date (another
// text came after the last read), and announces a change all the same.  What it keeps and
// how often it is read are bounded (fakes.h), and so is how deep notices nest.
class FakeDesktop : public ViewerChain, public platform::Clipboard {
public:
    using Proc = std::function<void(unsigned, std::uintptr_t, std::uintptr_t)>;
    std::map<WindowHandle, Proc> windows;
    WindowHandle head = 0;
    std::optional<std::string> clipText;
    std::vector<platform::Picture> pictures;  // every picture placed, in order
    bool holdsPicture = false;
    std::vector<WindowHandle> drawNotified;  // who heard of each change, in order
    bool emptyFails = false;                 // every empty keeps the text
    std::deque<std::string> arriving;        // placed by another program, one per read
    static constexpr int kDepthLimit = 50;
    bool overflowed = false;  // a notice came in kDepthLimit deep, and was dropped

    WindowHandle SetClipboardViewer(WindowHandle viewer) override {
        const WindowHandle next = head;
        head = viewer;
        return next;
    }
    void ChangeClipboardChain(WindowHandle remove, WindowHandle next) override {
        const WindowHandle first = head;
        if (head == remove) head = next;
        if (first != 0 && first != remove) SendMessage(first, kWmChangeCbChain, remove, next);
    }
    void SendMessage(WindowHandle to, unsigned message, std::uintptr_t wParam,
                     std::uintptr_t lParam) override {
        // Notices that nest without end would overflow the stack: the last is dropped.
        if (depth_ == kDepthLimit) {
            if (!overflowed) ADD_FAILURE() << "notices nest more than " << kDepthLimit << " deep";
            overflowed = true;
            return;
        }
        if (message == kWmDrawClipboard)
            test::collect(drawNotified, to, test::kCallLimit, "change notices");
        ++depth_;
        windows.at(to)(message, wParam, lParam);
        --depth_;
    }

    bool hasText() const override {
        test::count(reads_, test::kReadLimit, "clipboard reads");
        return clipText.has_value();
    }
    // Reading is where the next text of a burst comes in: the fake is never const.
    std::string text() const override { return const_cast<FakeDesktop*>(this)->read(); }
    void empty() override {
        if (!emptyFails && !unread_) {
            clipText.reset();
            holdsPicture = false;
        }
        changed();
    }
    bool setPicture(const platform::Picture& picture) override {
        clipText.reset();
        test::collect(pictures, picture, test::kPictureLimit, "pictures on the clipboard");
        holdsPicture = true;
        changed();
        return true;
    }
    void putText(std::string_view text) {
        clipText = std::string(text);
        holdsPicture = false;
        unread_ = true;
        changed();
    }

private:
    std::string read() {
        test::count(reads_, test::kReadLimit, "clipboard reads");
        const std::string seen = clipText.value_or("");
        unread_ = false;
        if (!arriving.empty()) {
            const std::string next = arriving.front();
            arriving.pop_front();
            putText(next);
        }
        return seen;
    }
    void changed() {
        if (head != 0) SendMessage(head, kWmDrawClipboard, 0, 0);
    }
    bool unread_ = false;  // a text came after the last read
    int depth_ = 0;        // notices being handled
    mutable std::size_t reads_ = 0;
};

// Another program in the chain that behaves as a viewer should.
struct Peer {
    WindowHandle self = 0;
    WindowHandle next = 0;

    void join(FakeDesktop& desktop) {
        desktop.windows[self] = [this, &desktop](unsigned message, std::uintptr_t w,
                                                 std::uintptr_t l) {
            if (message == kWmChangeCbChain && w == next) {
                next = l;
                return;
            }
            if (next != 0) desktop.SendMessage(next, message, w, l);
        };
        next = desktop.SetClipboardViewer(self);
    }
};

// The window: the state without widgets, and setting the code runs the box's change
// handler, as the edit box does.
class FakeWindow : public ViewState, public MainFormView {
public:
    std::string statusBar;
    std::string count;
    bool focused = false;
    bool monitorChecked = false;
    std::function<void()> onCodeChange;

    void setCodeText(std::string_view text) override {
        ViewState::setCodeText(text);
        if (onCodeChange) onCodeChange();
    }
    void setStatusBarText(std::string_view text) override { statusBar = std::string(text); }
    void setCountText(std::string_view text) override { count = std::string(text); }
    void focusCode() override { focused = true; }
    void setMonitorChecked(bool on) override { monitorChecked = on; }
};

struct FakeBeep : platform::Beep {
    std::vector<platform::BeepKind> beeps;
    void beep(platform::BeepKind kind) override {
        test::collect(beeps, kind, test::kCallLimit, "beeps");
    }
};

struct FakeHelp : platform::HelpViewer {
    std::vector<std::string> opened;
    void open(std::string_view document) override {
        test::collect(opened, document, test::kCallLimit, "documents opened");
    }
};

struct FakeFontDialog : FontDialog {
    std::optional<FontChoice> answer;
    std::optional<FontChoice> shown;
    std::optional<FontChoice> choose(const FontChoice& initial) override {
        shown = initial;
        return answer;
    }
};

constexpr WindowHandle kLorrin = 100;

class Form : public test_support::TempFolderTest {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir_ / "program");
        setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
        window.onCodeChange = [this] { form.edtCodeChange(); };
        desktop.windows[kLorrin] = [this](unsigned message, std::uintptr_t w, std::uintptr_t l) {
            ++depth;
            deepest = std::max(deepest, depth);
            if (message == kWmDrawClipboard)
                form.WMDrawClipboard();
            else
                form.WMChangeCBChain(w, l);
            --depth;
        };
    }
    void create(std::vector<std::string> args = {}) { form.FormCreate(dir_ / "program", args); }
    void writeSettings(std::string_view text) {
        std::ofstream(dir_ / "program" / "lorrin.ini", std::ios::binary) << text;
    }
    std::string readSettings() const {
        std::ifstream in(dir_ / "program" / "lorrin.ini", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::string scanLast() const {
        return test::scan(test::toGrey(desktop.pictures.back().bitmap));
    }

    int depth = 0;
    int deepest = 0;  // most notifications in handling at once

    FakeWindow window;
    FakeDesktop desktop;
    test::FakeSound sound;
    FakeBeep beep;
    FakeHelp help;
    test::FakeScreen screen;
    platform::FontEngine fonts;
    FakeFontDialog fontDialog;
    MainForm form{
        window, {desktop, sound, beep, help, screen, fonts, desktop, fontDialog}, kLorrin};
};

TEST(StartsMonitor, OnlyALoneClipArgumentInAnyCase) {
    struct Row {
        std::vector<std::string> args;
        bool on;
    };
    const std::array<Row, 6> rows = {{
        /* 0 */ {{"-clip"}, true},
        /* 1 */ {{"-CLIP"}, true},
        /* 2 */ {{"-Clip"}, true},
        /* 3 */ {{"-clip", "x"}, false},
        /* 4 */ {{}, false},
        /* 5 */ {{"clip"}, false},
    }};
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(startsMonitor(rows[i].args), rows[i].on) << "row " << i;
}

TEST_F(Form, CreateLoadsShowsTheHintAndJoinsTheChain) {
    writeSettings("[barcode]\ntype=3\nangle=1\n[loc]\nx=70\ny=80\n");
    create();
    EXPECT_EQ(window.type, 3);
    EXPECT_EQ(window.angle, 1);
    EXPECT_EQ(window.where, (WindowPosition{70, 80}));
    EXPECT_EQ(window.statusBar, "ITF: 0～9 偶数桁");
    EXPECT_EQ(desktop.head, kLorrin);
    EXPECT_FALSE(form.monitorOn());
    EXPECT_FALSE(window.monitorChecked);
}

// A settings file that is there but cannot be read is said so, in the status line and on
// standard error, and the close leaves it as it was.
TEST_F(Form, ASettingsFileThatCannotBeReadIsNamed) {
    const std::string huge = "[barcode]\nh=33\n" + std::string(20'000'000, ';') + "\n";
    writeSettings(huge);
    create();
    EXPECT_EQ(window.status, kSettingsNotReadText);
    ASSERT_EQ(form.settingsNotices().size(), 1u);
    EXPECT_NE(form.settingsNotices()[0].find("lorrin.ini is not read (larger than 16 MiB)"),
              std::string::npos);
    EXPECT_EQ(form.settings().barHeight, 50);
    form.FormCloseQuery();
    EXPECT_EQ(readSettings().size(), huge.size());
}

TEST_F(Form, AHintOnlyForAnEntryOfTheList) {
    writeSettings("[barcode]\ntype=10\n");
    window.statusBar = "before";
    create();
    EXPECT_EQ(window.statusBar, "before");
    window.type = 6;
    form.cmbCtypeChange();
    EXPECT_EQ(window.statusBar, "Code93: A～Z a～z 0～9 - . $ / + &");
}

TEST_F(Form, TheCounterCountsCp932Bytes) {
    create();
    window.setCodeText("あいう");
    EXPECT_EQ(window.count, "6");
    window.setCodeText("ｱｲｳ12");
    EXPECT_EQ(window.count, "5");
    window.setCodeText("");
    EXPECT_EQ(window.count, "0");
}

TEST_F(Form, DrawBeepsForAnEmptyBoxAndDrawsOtherwise) {
    create();
    window.status = "kept";
    form.btnDrawClick();
    EXPECT_EQ(beep.beeps, std::vector<platform::BeepKind>{platform::BeepKind::kError});
    EXPECT_EQ(window.status, "kept");
    EXPECT_FALSE(window.focused);
    EXPECT_TRUE(desktop.pictures.empty());

    window.setCodeText("490123456789");
    form.btnDrawClick();
    EXPECT_EQ(window.status, "JAN(13)/UPC-A");
    EXPECT_EQ(window.code, "4901234567894");
    EXPECT_EQ(window.count, "13");
    EXPECT_TRUE(window.focused);
    EXPECT_TRUE(window.codeSelected);
    EXPECT_EQ(scanLast(), "EAN-13:4901234567894\n");
}

TEST_F(Form, DoubleByteCodesReachTheLibraryAsCp932AndAreRefused) {
    create();
    window.type = 4;
    window.setCodeText("Ａ");
    form.btnDrawClick();
    EXPECT_EQ(window.status, "CODE128(ASCII) ｴﾗｰ");
    EXPECT_TRUE(desktop.pictures.empty());
}

TEST_F(Form, FontDialogStartsFromTheSettingsAndOnlyOkChangesThem) {
    create();
    form.mnuFontClick();
    ASSERT_TRUE(fontDialog.shown);
    EXPECT_EQ(fontDialog.shown->name, "Arial");
    EXPECT_EQ(fontDialog.shown->size, 9);
    EXPECT_EQ(form.settings().fontName, "Arial");

    fontDialog.answer = FontChoice{"IPAゴシック", 14};
    form.mnuFontClick();
    EXPECT_EQ(form.settings().fontName, "IPAゴシック");
    EXPECT_EQ(form.settings().fontSize, 14);

    // The name field holds 39 bytes of CP932, where "ゴ" takes 2; a longer name is cut
    // between characters.
    fontDialog.answer = FontChoice{std::string(37, 'x') + "ゴシック", 10};
    form.mnuFontClick();
    EXPECT_EQ(form.settings().fontName, std::string(37, 'x') + "ゴ");
}

TEST_F(Form, HelpOpensTheDocument) {
    create();
    form.mnuTopicClick();
    EXPECT_EQ(help.opened, std::vector<std::string>{std::string(kHelpDocument)});
}

TEST_F(Form, ClipArgumentSwitchesTheMonitorOnAndTheMenuToggles) {
    create({"-CLIP"});
    EXPECT_TRUE(form.monitorOn());
    EXPECT_TRUE(window.monitorChecked);
    form.mnuClipClick();
    form.mnuClipClick();
    EXPECT_TRUE(window.monitorChecked);
    form.mnuClipClick();
    EXPECT_FALSE(form.monitorOn());
    EXPECT_FALSE(window.monitorChecked);
}

TEST_F(Form, CloseLeavesTheChainThenSavesEveryKey) {
    Peer before{7};
    before.join(desktop);
    create();
    window.angle = 2;
    form.FormCloseQuery();
    EXPECT_EQ(desktop.head, before.self);
    desktop.putText("c39@AB");
    EXPECT_EQ(desktop.drawNotified, std::vector<WindowHandle>{before.self});
    const std::string saved = readSettings();
    EXPECT_NE(saved.find("angle=2\n"), std::string::npos);
    for (const char* key :
         {"h=", "gh=", "wn=", "narrow=", "gap=", "check=", "ocrdisp=", "addsum=", "beep=",
          "clipmode=", "wpconly=", "name=", "size=", "ok=", "ng=", "x=", "y=", "type=", "angle="})
        EXPECT_NE(saved.find(std::string("\n") + key), std::string::npos) << key;
}

TEST_F(Form, EveryChangeTravelsDownTheChainAlsoWithTheMonitorOff) {
    Peer before{7};
    before.join(desktop);
    create();
    Peer after{9};
    after.join(desktop);
    EXPECT_EQ(form.nextViewer(), before.self);
    desktop.putText("4901234567894");
    EXPECT_EQ(desktop.drawNotified, (std::vector<WindowHandle>{9, kLorrin, 7}));
    EXPECT_TRUE(desktop.pictures.empty());
    EXPECT_EQ(desktop.clipText, "4901234567894");
}

TEST_F(Form, AViewerLeavingBehindUsIsSkippedOthersHearOfIt) {
    Peer last{7};
    last.join(desktop);
    Peer middle{8};
    middle.join(desktop);
    create();
    Peer first{9};
    first.join(desktop);

    // The one after us leaves: we link past it.
    desktop.ChangeClipboardChain(middle.self, middle.next);
    EXPECT_EQ(form.nextViewer(), last.self);
    // The one before us leaves: the notice travels on, our link stays.
    desktop.ChangeClipboardChain(first.self, first.next);
    EXPECT_EQ(form.nextViewer(), last.self);
    EXPECT_EQ(desktop.head, kLorrin);

    desktop.drawNotified.clear();
    desktop.putText("x");
    EXPECT_EQ(desktop.drawNotified, (std::vector<WindowHandle>{kLorrin, 7}));
}

struct MonitorRow {
    std::string_view text;
    bool janUpcOnly;
    std::string_view scanned;  // zbar's reading of the picture; empty when none is made
    int type;                  // the list's entry afterwards
    std::string_view code;     // the edit box afterwards
    std::string_view status;
    bool pictured;  // a refusal leaves the clipboard empty
};

// Results from the standards: Code 39 mod 43 ("ABC123" sums to 39, '$'), the EAN-13 and
// EAN-8 check digits, Code 128 values 33-35 ("ABC").
constexpr std::array<MonitorRow, 15> kMonitorRows = {{
    /* 0 */ {"c39@ABC123", false, "CODE-39:ABC123$", 2, "ABC123", "Code39", true},
    /* 1 */
    {"upc@490123456789\n", false, "EAN-13:4901234567894", 0, "4901234567894", "JAN(13)/UPC-A",
     true},
    /* 2 */
    {"upc@490123456789\r\n", false, "EAN-13:4901234567894", 0, "4901234567894", "JAN(13)/UPC-A",
     true},
    /* 3 */ {"128b@B212223", false, "CODE-128:ABC", 5, "B212223", "Code128B", true},
    /* 4 */
    {"4901234567894", true, "EAN-13:4901234567894", 0, "4901234567894", "JAN(13)/UPC-A", true},
    /* 5 */ {"4901234", true, "EAN-8:49012347", 0, "49012347", "JAN(8)", true},
    /* 6 */ {"upc@12X", false, "", 0, "12X", "UPC系 ｴﾝｺｰﾄﾞｴﾗｰ", false},
    /* 7 */ {"", true, "", 0, "", "UPC系ﾀｲﾌﾟ判別不能", false},
    /* 8 */ {"itf@12", false, "", 3, "12", "ITF", true},
    /* 9 */ {"c93@AB", false, "", 6, "AB", "Code93", true},
    /* 10 */ {"nw7@A1234B", false, "", 1, "A1234B", "NW-7", true},
    /* 11 */
    {"qr@日本語のラベル\r\n", false, "QR-Code:日本語のラベル", 7, "日本語のラベル", "QR", true},
    /* 12 */ {"qr@one\ntwo\n", false, "QR-Code:one\ntwo", 7, "one\ntwo", "QR", true},
    /* 13 */ {"dm@ABC", false, "", 8, "ABC", "DataMatrix", true},
    /* 14 */ {"pdf@ABC", false, "", 9, "ABC", "PDF417", true},
}};

TEST_F(Form, TheMonitorConvertsAcceptedTexts) {
    writeSettings("[barcode]\ntype=1\n");
    create({"-clip"});
    for (std::size_t i = 0; i < kMonitorRows.size(); ++i) {
        const MonitorRow& r = kMonitorRows[i];
        form.settings().wpcOnly = r.janUpcOnly ? 1 : 0;
        // zbar wants more than a pixel a module of a QR symbol.
        form.settings().narrowWidth = isMatrix(r.type) ? 3 : 1;
        window.status.clear();
        desktop.putText(r.text);
        EXPECT_EQ(window.type, r.type) << "row " << i;
        EXPECT_EQ(window.code, r.code) << "row " << i;
        // An accepted text never stays on the clipboard.
        EXPECT_FALSE(desktop.clipText) << "row " << i;
        EXPECT_EQ(window.status, r.status) << "row " << i;
        EXPECT_EQ(desktop.holdsPicture, r.pictured) << "row " << i;
        if (r.scanned.empty()) continue;
        EXPECT_EQ(scanLast(), std::string(r.scanned) + "\n") << "row " << i;
    }
    // The status bar keeps the hint of the list's own change handler.
    EXPECT_EQ(window.statusBar, kSymbologyHints[1]);
}

// A text the two-dimensional code refuses is reported, and the clipboard keeps it.  The
// limits are the largest symbols' (QR 40-M: 2,331 bytes; Data Matrix 144x144: 3,116 digits).
TEST_F(Form, TheMonitorLeavesATextATwoDimensionalCodeRefusesOnTheClipboard) {
    struct Row {
        std::string text;
        std::string_view status;
    };
    const std::array<Row, 3> rows = {{
        /* 0 */ {"qr@" + std::string(3000, 'a'), "QR ﾃﾞｰﾀが長すぎます (3000文字, 最大2331文字)"},
        /* 1 */ {"dm@\n", "DataMatrix ﾃﾞｰﾀがありません"},
        /* 2 */ {"dm@" + std::string(4000, '7'), "DataMatrix ﾃﾞｰﾀが長すぎます (4000文字, 最大3116文字)"},
    }};
    create({"-clip"});
    form.settings().wpcOnly = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        sound.played.clear();
        desktop.putText(rows[i].text);
        EXPECT_EQ(desktop.clipText, rows[i].text) << "row " << i;
        EXPECT_EQ(window.status, rows[i].status) << "row " << i;
        EXPECT_TRUE(desktop.pictures.empty()) << "row " << i;
        EXPECT_EQ(sound.played.size(), 1u) << "row " << i;
    }
}

TEST_F(Form, TheMonitorLeavesOtherTextsAndTheOffSwitchAlone) {
    struct Row {
        std::string_view text;
        bool janUpcOnly;
    };
    const std::string tooLong(kJanUpcTextLimit, '4');
    const std::array<Row, 7> rows = {{
        /* 0 */ {"UPC@4901234567894", false},
        /* 1 */ {"128aHello", false},
        /* 2 */ {"c39", false},
        /* 3 */ {"4901234567894\r\n", true},
        /* 4 */ {"upc@4901234567894", true},
        /* 5 */ {"4901234567894 ", true},
        /* 6 */ {tooLong, true},
    }};
    create({"-clip"});
    window.code = "typed";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        form.settings().wpcOnly = rows[i].janUpcOnly ? 1 : 0;
        desktop.putText(rows[i].text);
        EXPECT_EQ(desktop.clipText, rows[i].text) << "row " << i;
        EXPECT_EQ(window.code, "typed") << "row " << i;
    }
    form.mnuClipClick();
    form.settings().wpcOnly = 1;
    desktop.putText("4901234567894");
    EXPECT_EQ(desktop.clipText, "4901234567894");
    EXPECT_TRUE(desktop.pictures.empty());
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(Form, SwitchingOnDoesNotLookAtTheClipboard) {
    create();
    desktop.putText("4901234567894");
    form.mnuClipClick();
    EXPECT_EQ(desktop.clipText, "4901234567894");
    EXPECT_EQ(window.code, "");
}

TEST_F(Form, AClipboardThatKeepsItsTextIsReportedNotTriedAgain) {
    create({"-clip"});
    form.settings().wpcOnly = 0;
    desktop.emptyFails = true;
    desktop.putText("c39@ABC123");
    EXPECT_FALSE(desktop.overflowed);
    // The change the empty announces is the program's own: heard once, nested, dropped.
    EXPECT_EQ(deepest, 2);
    EXPECT_EQ(desktop.clipText, "c39@ABC123");
    EXPECT_TRUE(desktop.pictures.empty());
    EXPECT_EQ(window.status, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞに書き込めません");
    EXPECT_EQ(sound.played, std::vector<std::string>{form.settings().soundNg});

    // The monitor goes on with the next text.
    desktop.emptyFails = false;
    desktop.putText("c39@ABC123");
    EXPECT_EQ(window.status, "Code39");
    EXPECT_EQ(scanLast(), "CODE-39:ABC123$\n");
}

// A burst: each time the program reads the clipboard, another program has placed the
// next text.  The changes are taken one after the other, never nested, and the newest
// text decides; one that is no code stays on the clipboard.
TEST_F(Form, ABurstIsTakenInTurnAndTheNewestTextDecides) {
    struct Row {
        std::string_view last;
        std::optional<std::string_view> clipText;  // afterwards
        std::string_view scanned;                  // the one picture, if one is made
        std::string_view status;
    };
    const std::array<Row, 3> rows = {{
        /* 0 */ {"upc@490123456789\r\n", std::nullopt, "EAN-13:4901234567894\n", "JAN(13)/UPC-A"},
        /* 1 */ {"hello", "hello", "", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞに書き込めません"},
        /* 2 */ {"upc@12X", std::nullopt, "", "UPC系 ｴﾝｺｰﾄﾞｴﾗｰ"},
    }};
    create({"-clip"});
    form.settings().wpcOnly = 0;
    form.settings().soundOn = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        desktop.pictures.clear();
        window.status.clear();
        desktop.drawNotified.clear();
        constexpr int kBurst = 300;
        for (int n = 1; n < kBurst; ++n) {
            const std::array<std::string, 4> texts = {
                "c39@A" + std::to_string(n), "text " + std::to_string(n),
                "upc@49" + std::to_string(n) + "\r\n", "c39@a" + std::to_string(n)};
            desktop.arriving.push_back(texts[static_cast<std::size_t>(n) % texts.size()]);
        }
        desktop.arriving.emplace_back(rows[i].last);
        desktop.putText("c39@FIRST");
        EXPECT_FALSE(desktop.overflowed) << "row " << i;
        EXPECT_EQ(deepest, 2) << "row " << i;
        EXPECT_TRUE(desktop.arriving.empty()) << "row " << i;
        EXPECT_EQ(desktop.clipText, rows[i].clipText) << "row " << i;
        if (rows[i].scanned.empty()) {
            EXPECT_TRUE(desktop.pictures.empty()) << "row " << i;
        } else {
            ASSERT_EQ(desktop.pictures.size(), 1u) << "row " << i;
            EXPECT_EQ(scanLast(), rows[i].scanned) << "row " << i;
        }
        EXPECT_EQ(window.status, rows[i].status) << "row " << i;
    }
}

}  // namespace
}  // namespace lorrin
