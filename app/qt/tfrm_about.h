// The version dialog.
#pragma once

#include <QCoreApplication>
#include <QDialog>

namespace lorrin::qt {

class TfrmAbout : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(TfrmAbout)

public:
    explicit TfrmAbout(QWidget* parent);
};

}  // namespace lorrin::qt
