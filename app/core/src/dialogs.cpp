#include "lorrin/dialogs.h"

#include "lorrin/ansi_text.h"

#include <charconv>

namespace lorrin {
namespace {

// Each edit box's settings field.
constexpr std::array<std::int32_t Settings::*, 5> kSizeFields = {
    &Settings::barHeight, &Settings::guardExtra, &Settings::narrowWidth,
    &Settings::wideRatio, &Settings::charGap,
};
static_assert(kSizeFields.size() == kSizeEdits.size(), "one field per edit box");

// Each check box's settings field.
constexpr std::array<std::int32_t Settings::*, 4> kSizeSwitches = {
    &Settings::checkSum,
    &Settings::ocrDisp,
    &Settings::addSum,
    &Settings::wpcOnly,
};
static_assert(kSizeSwitches.size() == kSizeChecks.size(), "one field per check box");

// A path is measured as its settings field holds it: in CP932 bytes.
bool fitsSoundField(std::string_view path) { return cp932Length(path) < kSoundPathSize; }

constexpr std::string_view kSystemName =
#if defined(_WIN32)
    "Windows";
#elif defined(__APPLE__)
    "macOS";
#elif defined(__linux__)
    "Linux";
#elif defined(__FreeBSD__)
    "FreeBSD";
#else
    "Unix";
#endif

}  // namespace

std::optional<std::int32_t> wholeNumber(std::string_view text) {
    const bool plus = text.starts_with('+');
    if (plus) text.remove_prefix(1);
    if (plus && text.starts_with('-')) return std::nullopt;
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string conversionMessage(std::string_view text) {
    return "'" + std::string(text) + "' は整数ではありません";
}

void SizeDialog::FormCreate() {
    for (std::size_t i = 0; i < kSizeEdits.size(); ++i)
        view_.setText(kSizeEdits[i], std::to_string(settings_.*kSizeFields[i]));
    for (std::size_t i = 0; i < kSizeChecks.size(); ++i)
        view_.setChecked(kSizeChecks[i], settings_.*kSizeSwitches[i] != 0);
}

void SizeDialog::btnOKClick() {
    for (std::size_t i = 0; i < kSizeEdits.size(); ++i) {
        const std::string text = view_.text(kSizeEdits[i]);
        const auto value = wholeNumber(text);
        if (!value) {
            view_.showError(conversionMessage(text));
            return;
        }
        settings_.*kSizeFields[i] = *value;
    }
    for (std::size_t i = 0; i < kSizeChecks.size(); ++i)
        settings_.*kSizeSwitches[i] = view_.checked(kSizeChecks[i]) ? 1 : 0;
    view_.closeDialog();
}

void SizeDialog::btnCancelClick() { view_.closeDialog(); }

std::string pathTooLongMessage(std::string_view path) {
    return "'" + std::string(path) + "' は長すぎます(" + std::to_string(kSoundPathSize - 1) +
           "ﾊﾞｲﾄまで)";
}

void SoundDialog::FormCreate() {
    view_.setText(SoundEdit::edtSoundOK, settings_.soundOk);
    view_.setText(SoundEdit::edtSoundNG, settings_.soundNg);
    view_.setSoundChecked(settings_.soundOn != 0);
}

void SoundDialog::btnOKClick() {
    const std::string ok = view_.text(SoundEdit::edtSoundOK);
    const std::string ng = view_.text(SoundEdit::edtSoundNG);
    for (const std::string& path : {ok, ng}) {
        if (!fitsSoundField(path)) {
            view_.showError(pathTooLongMessage(path));
            return;
        }
    }
    settings_.soundOk = ok;
    settings_.soundNg = ng;
    settings_.soundOn = view_.soundChecked() ? 1 : 0;
    view_.closeDialog();
}

void SoundDialog::btnCancelClick() { view_.closeDialog(); }

void SoundDialog::pick(SoundEdit edit) {
    const auto path = view_.pickWavFile();
    if (!path) return;
    if (!fitsSoundField(*path)) {
        view_.showError(pathTooLongMessage(*path));
        return;
    }
    view_.setText(edit, *path);
    sound_.playAsync(*path);
}

void SoundDialog::play(SoundEdit edit) {
    const std::string path = view_.text(edit);
    if (!path.empty()) sound_.playAsync(path);
}

std::string builtForLine() {
    return "for " + std::to_string(sizeof(void*) * 8) + "bit " + std::string(kSystemName);
}

}  // namespace lorrin
