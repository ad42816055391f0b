// The main window: the symbology list, the code box, the angle list, the draw button,
// the status line and the menu.  It builds the widgets and hands every event to the
// core's handlers.
#pragma once

#include "lorrin/main_form.h"
#include "qt_adapter.h"

#include <QCoreApplication>
#include <QMainWindow>

#include <filesystem>
#include <span>
#include <string>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lorrin::qt {

class TfrmMain : public QMainWindow, public MainFormView {
    Q_DECLARE_TR_FUNCTIONS(TfrmMain)

public:
    // Creates the window and runs FormCreate with the settings file in `programDir` and
    // the command line's arguments.
    TfrmMain(Desktop& desktop, const std::filesystem::path& programDir,
             std::span<const std::string> args);

    MainForm& form() { return form_; }

    // MainFormView
    int typeIndex() const override;
    void setTypeIndex(int index) override;
    int angleIndex() const override;
    void setAngleIndex(int index) override;
    std::string codeText() const override;
    void setCodeText(std::string_view text) override;
    void selectAllCode() override;
    void setStatusText(std::string_view text) override;
    WindowPosition position() const override;
    void setPosition(WindowPosition position) override;
    void setStatusBarText(std::string_view text) override;
    void setCountText(std::string_view text) override;
    void focusCode() override;
    void setMonitorChecked(bool on) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenu();
    void clipboardChanged();
    void mnuSizeClick();
    void mnuMatrixClick();
    void mnuSoundClick();
    void mnuAboutClick();

    QComboBox* cmbCtype_ = nullptr;
    QLineEdit* edtCode_ = nullptr;
    QLabel* labCol_ = nullptr;
    QComboBox* cmbAngle_ = nullptr;
    QLabel* labStatus_ = nullptr;
    QPushButton* btnDraw_ = nullptr;
    QLabel* statusText_ = nullptr;
    QAction* mnuClip_ = nullptr;
    bool changeQueued_ = false;  // a look at the clipboard waits in the event queue

    Desktop& desktop_;
    QtFontDialog fontDialog_{this};
    MainForm form_;
};

}  // namespace lorrin::qt
