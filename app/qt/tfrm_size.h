// The basic settings dialog: bar sizes, gaps and the four switches.
#pragma once

#include "lorrin/dialogs.h"

#include <QCoreApplication>
#include <QDialog>

#include <map>

class QCheckBox;
class QLineEdit;

namespace lorrin::qt {

class TfrmSize : public QDialog, public SizeDialogView {
    Q_DECLARE_TR_FUNCTIONS(TfrmSize)

public:
    TfrmSize(Settings& settings, QWidget* parent);

    std::string text(SizeEdit edit) const override;
    void setText(SizeEdit edit, std::string_view text) override;
    bool checked(SizeCheck box) const override;
    void setChecked(SizeCheck box, bool on) override;
    void showError(std::string_view message) override;
    void closeDialog() override;

private:
    std::map<SizeEdit, QLineEdit*> edits_;
    std::map<SizeCheck, QCheckBox*> checks_;
    SizeDialog dialog_;
};

}  // namespace lorrin::qt
