// The clipboard viewer chain: every window that watches the clipboard joins it and gets
// the change notification from the window before it, which it must pass on.
#pragma once

#include <cstdint>

namespace lorrin {

// A window in the chain; 0 is no window.
using WindowHandle = std::uintptr_t;

// The two notifications a viewer receives, by their message numbers.
inline constexpr unsigned kWmDrawClipboard = 0x0308;  // the clipboard's contents changed
inline constexpr unsigned kWmChangeCbChain = 0x030D;  // a window leaves: (leaving, its next)

class ViewerChain {
public:
    virtual ~ViewerChain() = default;
    // Puts `viewer` at the head of the chain; returns the window that follows it.
    virtual WindowHandle SetClipboardViewer(WindowHandle viewer) = 0;
    // Takes `remove` out of the chain; `next` is the window that followed it.
    virtual void ChangeClipboardChain(WindowHandle remove, WindowHandle next) = 0;
    // Delivers a notification to `to` and waits until it has been handled.
    virtual void SendMessage(WindowHandle to, unsigned message, std::uintptr_t wParam,
                             std::uintptr_t lParam) = 0;
};

}  // namespace lorrin
