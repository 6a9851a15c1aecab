#include "settings/window_placement.h"

namespace quorvel {

Rect fitIntoDesktop(Rect window, const Rect& desktop) {
    const auto shiftX = [&window](long by) {
        window.left += by;
        window.right += by;
    };
    const auto shiftY = [&window](long by) {
        window.top += by;
        window.bottom += by;
    };
    if (window.right > desktop.right) shiftX(desktop.right - window.right);
    if (window.left < desktop.left) shiftX(desktop.left - window.left);
    if (window.top < desktop.top) shiftY(desktop.top - window.top);
    if (window.bottom > desktop.bottom) shiftY(desktop.bottom - window.bottom);
    return window;
}

}  // namespace quorvel
