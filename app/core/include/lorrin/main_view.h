// The part of the main window that the settings store and the draw read and change.
// The desktop window implements it over its widgets; the command-line tool and the
// tests use ViewState, which holds the same values in plain members.
#pragma once

#include "lorrin/choices.h"

#include <string>
#include <string_view>

namespace lorrin {

struct WindowPosition {
    int x = 50;
    int y = 50;
    friend bool operator==(const WindowPosition&, const WindowPosition&) = default;
};

class MainView {
public:
    virtual ~MainView() = default;

    // Selected entry of `cmbCtype` (0-6), -1 when none is selected.  Setting it does not
    // run the list's change handler; callers pass -1 for an index outside the list.
    virtual int typeIndex() const = 0;
    virtual void setTypeIndex(int index) = 0;
    // Selected entry of `cmbAngle` (0-3), -1 when none is selected.
    virtual int angleIndex() const = 0;
    virtual void setAngleIndex(int index) = 0;

    // Text of `edtCode`.  Setting it runs the box's change handler (the counter).
    virtual std::string codeText() const = 0;
    virtual void setCodeText(std::string_view text) = 0;
    virtual void selectAllCode() = 0;

    // Text of `labStatus`.
    virtual void setStatusText(std::string_view text) = 0;

    // The window's left and top edges on the screen.
    virtual WindowPosition position() const = 0;
    virtual void setPosition(WindowPosition position) = 0;
};

// A main window without widgets.  MainView is a virtual base here and in MainFormView, so
// that a stand-in for the whole window can take this part from ViewState.
class ViewState : public virtual MainView {
public:
    int type = kJanUpc;
    int angle = 0;
    std::string code;
    std::string status;
    WindowPosition where;
    bool codeSelected = false;

    int typeIndex() const override { return type; }
    void setTypeIndex(int index) override { type = listSelection(index, kSymbologyNames.size()); }
    int angleIndex() const override { return angle; }
    void setAngleIndex(int index) override { angle = listSelection(index, kAngleNames.size()); }
    std::string codeText() const override { return code; }
    void setCodeText(std::string_view text) override {
        code = std::string(text);
        codeSelected = false;
    }
    void selectAllCode() override { codeSelected = true; }
    void setStatusText(std::string_view text) override { status = std::string(text); }
    WindowPosition position() const override { return where; }
    void setPosition(WindowPosition position) override { where = position; }
};

}  // namespace lorrin
