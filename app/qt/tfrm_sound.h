// The sound dialog: the WAV files played after a picture and after a refusal, and the
// sound switch.
#pragma once

#include "lorrin/dialogs.h"

#include <QCoreApplication>
#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace lorrin::qt {

class TfrmSound : public QDialog, public SoundDialogView {
    Q_DECLARE_TR_FUNCTIONS(TfrmSound)

public:
    TfrmSound(Settings& settings, platform::Sound& sound, QWidget* parent);

    std::string text(SoundEdit edit) const override;
    void setText(SoundEdit edit, std::string_view text) override;
    bool soundChecked() const override;
    void setSoundChecked(bool on) override;
    std::optional<std::string> pickWavFile() override;
    void showError(std::string_view message) override;
    void closeDialog() override;

private:
    QLineEdit* edtSoundOK_ = nullptr;
    QLineEdit* edtSoundNG_ = nullptr;
    QCheckBox* chkSound_ = nullptr;
    SoundDialog dialog_;
};

}  // namespace lorrin::qt
