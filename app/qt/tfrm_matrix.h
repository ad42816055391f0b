// The two-dimensional codes' dialog: QR Code's error correction, version and text form,
// Data Matrix's shape, PDF417's error correction and columns, and the readable line.
#pragma once

#include "lorrin/dialogs.h"

#include <QCoreApplication>
#include <QDialog>

#include <map>

class QCheckBox;
class QComboBox;

namespace lorrin::qt {

class TfrmMatrix : public QDialog, public MatrixDialogView {
    Q_DECLARE_TR_FUNCTIONS(TfrmMatrix)

public:
    TfrmMatrix(Settings& settings, QWidget* parent);

    int selected(MatrixList list) const override;
    void select(MatrixList list, int entry) override;
    bool checked(MatrixCheck box) const override;
    void setChecked(MatrixCheck box, bool on) override;
    void closeDialog() override;

private:
    std::map<MatrixList, QComboBox*> lists_;
    std::map<MatrixCheck, QCheckBox*> checks_;
    MatrixDialog dialog_;
};

}  // namespace lorrin::qt
