#include "windows/native_controls.h"

#include <string>

#include "windows/native_main_window.h"
#include "windows/wide_text.h"

namespace tessavine {

namespace {

int stateOf(HWND box) {
    switch (SendMessageW(box, BM_GETCHECK, 0, 0)) {
        case BST_CHECKED:
            return kTicked;
        case BST_INDETERMINATE:
            return kGreyed;
        default:
            return kUnticked;
    }
}

// Any state the logic does not know shows as unticked, which is also how it counts.
void setStateOf(HWND box, int state) {
    const WPARAM check = state == kTicked   ? BST_CHECKED
                         : state == kGreyed ? BST_INDETERMINATE
                                            : BST_UNCHECKED;
    SendMessageW(box, BM_SETCHECK, check, 0);
}

HWND slotBox(const NativeMainWindow& window, int index) {
    return window.control("Check1(" + std::to_string(index) + ")");
}

}  // namespace

std::string NativeControls::text(TextField field) const {
    HWND control = window_.field(field);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return utf8FromWide(text);
}

void NativeControls::setText(TextField field, const std::string& text) {
    SetWindowTextW(window_.field(field), wideFromUtf8(text).c_str());
}

int NativeControls::boldState() const {
    return stateOf(window_.control("bold1"));
}

void NativeControls::setBoldState(int state) {
    setStateOf(window_.control("bold1"), state);
}

int NativeControls::italicizeState() const {
    return stateOf(window_.control("italicize1"));
}

void NativeControls::setItalicizeState(int state) {
    setStateOf(window_.control("italicize1"), state);
}

int NativeControls::slotBoxState(int index) const {
    return stateOf(slotBox(window_, index));
}

void NativeControls::setSlotBoxState(int index, int state) {
    setStateOf(slotBox(window_, index), state);
}

void WindowTimer::start(int intervalMilliseconds) {
    SetTimer(window_, id_, static_cast<UINT>(intervalMilliseconds), nullptr);
    active_ = true;
}

void WindowTimer::stop() {
    KillTimer(window_, id_);
    active_ = false;
}

}  // namespace tessavine
