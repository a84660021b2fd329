#include "windows/message_box_prompts.h"

#include "windows/wide_text.h"

namespace tessavine {

namespace {

constexpr const wchar_t* kCaption = L"Tessavine";

}  // namespace

void MessageBoxPrompts::showMessage(const std::string& text) {
    MessageBoxW(owner_, wideFromUtf8(text).c_str(), kCaption, MB_OK);
}

bool MessageBoxPrompts::askYesNo(const std::string& title, const std::string& text) {
    return MessageBoxW(owner_, wideFromUtf8(text).c_str(), wideFromUtf8(title).c_str(),
                       MB_YESNO | MB_DEFBUTTON1) == IDYES;
}

void MessageBoxPrompts::showWarning(const std::string& text) {
    MessageBoxW(owner_, wideFromUtf8(text).c_str(), kCaption, MB_OK | MB_ICONWARNING);
}

}  // namespace tessavine
