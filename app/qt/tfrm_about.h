// The version dialog.
#pragma once

#include <QDialog>

namespace lorrin::qt {

class TfrmAbout : public QDialog {
public:
    explicit TfrmAbout(QWidget* parent);
};

}  // namespace lorrin::qt
