// Win32 controls behind Form1's control operations.
#include "win32_controls.h"

namespace kestrova {

std::wstring toWide(std::string_view utf8) {
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

std::string toUtf8(std::wstring_view wide) {
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

void Win32ListControl::clear() {
    SendMessageW(handle, CB_RESETCONTENT, 0, 0);
}

void Win32ListControl::addItem(std::string_view text, std::int16_t position) {
    const std::wstring wide = toWide(text);
    SendMessageW(handle, CB_INSERTSTRING, static_cast<WPARAM>(position),
                 reinterpret_cast<LPARAM>(wide.c_str()));
}

std::int16_t Win32ListControl::listIndex() const {
    return static_cast<std::int16_t>(SendMessageW(handle, CB_GETCURSEL, 0, 0));
}

void Win32ListControl::setListIndex(std::int16_t position) {
    SendMessageW(handle, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

void Win32ScrollBarControl::setRange(std::int16_t min, std::int16_t max) {
    SCROLLINFO info{sizeof info, SIF_RANGE, min, max, 0, 0, 0}; // moves the position inside
    SetScrollInfo(handle, SB_CTL, &info, TRUE);
}

std::int16_t Win32ScrollBarControl::value() const {
    return static_cast<std::int16_t>(GetScrollPos(handle, SB_CTL));
}

void Win32LabelControl::setCaption(std::string_view caption) {
    SetWindowTextW(handle, toWide(caption).c_str());
}

std::string Win32RegionalSettings::decimalSeparator() const {
    wchar_t separator[LOCALE_NAME_MAX_LENGTH] = {};
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator,
                                       LOCALE_NAME_MAX_LENGTH);
    if (length <= 1) {
        return ".";
    }
    return toUtf8(std::wstring_view(separator, static_cast<std::size_t>(length - 1)));
}

} // namespace kestrova
