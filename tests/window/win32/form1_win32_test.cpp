// Drives the real Kestrova.exe window from another process, as a user and the window system
// would: list selections, scroll bar messages and keyboard input, then reads the controls back.
// Usage: form1_win32_tests.exe [gtest flags] KESTROVA_EXE [--separator=,] [--shipped=EXE]
//        [--storm=ACTIONS]
// --shipped names the file whose resources are checked, when it is not the one driven (the
// 32-bit release checked from a 64-bit test run).
#include "frequency_text.h"
#include "layout.h"
#include "transponder.h"
#include "win32_controls.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

namespace kestrova {
namespace {

std::wstring gProgram;
std::wstring gShipped;
std::string gSeparator = ".";
int gStormActions = 2000;

constexpr wchar_t kForm1Class[] = L"KestrovaForm1";
constexpr int kFirstControlId = 100;

int controlId(std::string_view name) {
    const auto& controls = form1Layout().controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].name == name) {
            return kFirstControlId + static_cast<int>(i);
        }
    }
    return 0;
}

bool waitFor(const std::function<bool()>& condition, int milliseconds = 5000) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

struct FindContext {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK findForm(HWND window, LPARAM context) {
    auto* find = reinterpret_cast<FindContext*>(context);
    wchar_t className[64] = {};
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == find->processId && GetClassNameW(window, className, 64) &&
        std::wstring(className) == kForm1Class) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

// One running Kestrova.exe, closed again at the end of the test.
class Kestrova {
public:
    Kestrova() {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring commandLine = L"\"" + gProgram + L"\"";
        if (!CreateProcessW(gProgram.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                            nullptr, nullptr, &startup, &process_)) {
            ADD_FAILURE() << "cannot start the program, error " << GetLastError();
            return;
        }
        WaitForInputIdle(process_.hProcess, 20000);
        FindContext find{process_.dwProcessId, nullptr};
        waitFor(
            [&] {
                EnumWindows(findForm, reinterpret_cast<LPARAM>(&find));
                return find.found != nullptr && IsWindowVisible(find.found);
            },
            20000);
        form = find.found;
    }
    ~Kestrova() {
        if (process_.hProcess == nullptr) {
            return;
        }
        if (form != nullptr) {
            PostMessageW(form, WM_CLOSE, 0, 0);
        }
        if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the program did not end when its window was closed";
            TerminateProcess(process_.hProcess, 1);
        } else {
            DWORD exitCode = 1;
            GetExitCodeProcess(process_.hProcess, &exitCode);
            EXPECT_EQ(exitCode, 0u);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    Kestrova(const Kestrova&) = delete;
    Kestrova& operator=(const Kestrova&) = delete;

    HWND control(std::string_view name) const { return GetDlgItem(form, controlId(name)); }
    std::string text(std::string_view name) const {
        wchar_t buffer[256] = {};
        GetWindowTextW(control(name), buffer, 256);
        return toUtf8(buffer);
    }
    int position() const {
        return static_cast<int>(SendMessageW(control("HScroll1"), SBM_GETPOS, 0, 0));
    }
    int maximum() const {
        SCROLLINFO info{sizeof info, SIF_RANGE, 0, 0, 0, 0, 0};
        GetScrollInfo(control("HScroll1"), SB_CTL, &info);
        return info.nMax;
    }
    int minimum() const {
        SCROLLINFO info{sizeof info, SIF_RANGE, 0, 0, 0, 0, 0};
        GetScrollInfo(control("HScroll1"), SB_CTL, &info);
        return info.nMin;
    }
    int entry() const {
        return static_cast<int>(SendMessageW(control("Combo1"), CB_GETCURSEL, 0, 0));
    }

    // What the list does when the user picks an entry.
    void choose(int index) const {
        HWND combo = control("Combo1");
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(form, WM_COMMAND, MAKEWPARAM(controlId("Combo1"), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
    }
    // What the scroll bar reports to its window.
    void scroll(WORD code, WORD thumb = 0) const {
        SendMessageW(form, WM_HSCROLL, MAKEWPARAM(code, thumb),
                     reinterpret_cast<LPARAM>(control("HScroll1")));
    }
    HWND focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(process_.dwThreadId, &info);
        return info.hwndFocus;
    }
    void press(WORD key, bool shift = false) const {
        std::vector<INPUT> inputs;
        const auto add = [&](WORD vk, DWORD flags) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = vk;
            input.ki.dwFlags = flags;
            inputs.push_back(input);
        };
        if (shift) {
            add(VK_SHIFT, 0);
        }
        add(key, 0);
        add(key, KEYEVENTF_KEYUP);
        if (shift) {
            add(VK_SHIFT, KEYEVENTF_KEYUP);
        }
        SetForegroundWindow(form);
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    }

    // Every caption agrees with the model for the current entry and position.
    ::testing::AssertionResult showsModel() const {
        const auto index = static_cast<std::int16_t>(entry());
        const auto k = static_cast<std::int16_t>(position());
        const TransponderEntry* e = findEntry(index);
        if (e == nullptr) {
            return ::testing::AssertionFailure() << "no entry selected";
        }
        const std::string expected[] = {frequencyText(*uplinkFrequency(index, k), gSeparator),
                                        frequencyText(*downlinkFrequency(index, k), gSeparator),
                                        std::string(e->uplinkSideband),
                                        std::string(e->downlinkSideband)};
        const std::string shown[] = {text("Label1"), text("Label2"), text("Label7"),
                                     text("Label8")};
        for (int i = 0; i < 4; ++i) {
            if (expected[i] != shown[i]) {
                return ::testing::AssertionFailure()
                       << "entry " << index << " at " << k << ": shows " << shown[i]
                       << ", expected " << expected[i];
            }
        }
        if (maximum() != e->tuningSpan || minimum() != 0) {
            return ::testing::AssertionFailure() << "range " << minimum() << ".." << maximum();
        }
        return ::testing::AssertionSuccess();
    }

    HWND form = nullptr;

private:
    PROCESS_INFORMATION process_{};
};

std::string withSeparator(const char* pointText) {
    std::string text = pointText;
    text.replace(text.find('.'), 1, gSeparator);
    return text;
}

TEST(Form1Win32, StartsWithTheFirstEntryAndTheFixedTexts) {
    Kestrova app;
    ASSERT_NE(app.form, nullptr);
    wchar_t title[64] = {};
    GetWindowTextW(app.form, title, 64);
    EXPECT_EQ(toUtf8(title), "Kestrova V.1.0");
    EXPECT_EQ(SendMessageW(app.control("Combo1"), CB_GETCOUNT, 0, 0), 5);
    const char* items[] = {"FO-29", "AO-7 Mode A", "AO-7 Mode B", "VO-52", "HO-68"};
    for (int i = 0; i < 5; ++i) {
        wchar_t item[64] = {};
        SendMessageW(app.control("Combo1"), CB_GETLBTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(item));
        EXPECT_EQ(toUtf8(item), items[i]);
    }
    EXPECT_EQ(app.entry(), 0);
    EXPECT_EQ(app.position(), 0);
    EXPECT_EQ(app.text("Label1"), withSeparator("146.000"));
    EXPECT_EQ(app.text("Label2"), withSeparator("435.800"));
    EXPECT_EQ(app.text("Label7"), "LSB");
    EXPECT_EQ(app.text("Label8"), "USB");
    EXPECT_TRUE(app.showsModel());

    const LONG style = GetWindowLongW(app.form, GWL_STYLE);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    const LONG comboStyle = GetWindowLongW(app.control("Combo1"), GWL_STYLE);
    EXPECT_EQ(comboStyle & 3, CBS_DROPDOWNLIST);
}

TEST(Form1Win32, EntrySwitchesKeepOrClampThePosition) {
    struct Switch {
        int from, offset, to, position;
        const char *uplink, *downlink, *uplinkSideband, *downlinkSideband;
    };
    const Switch switches[] = {
        {0, 30, 1, 30, "145.880", "29.430", "USB", "USB"},
        {0, 80, 3, 50, "435.225", "145.925", "LSB", "USB"},
    };
    Kestrova app;
    ASSERT_NE(app.form, nullptr);
    for (const Switch& s : switches) {
        SCOPED_TRACE(std::to_string(s.from) + " at " + std::to_string(s.offset) + " to " +
                     std::to_string(s.to));
        app.choose(s.from);
        app.scroll(SB_THUMBPOSITION, static_cast<WORD>(s.offset));
        app.choose(s.to);
        EXPECT_EQ(app.position(), s.position);
        EXPECT_EQ(app.text("Label1"), withSeparator(s.uplink));
        EXPECT_EQ(app.text("Label2"), withSeparator(s.downlink));
        EXPECT_EQ(app.text("Label7"), s.uplinkSideband);
        EXPECT_EQ(app.text("Label8"), s.downlinkSideband);
    }
}

TEST(Form1Win32, ScrollBarMessagesMoveThePositionAndBothDisplays) {
    struct Step {
        const char* name;
        WORD code;
        WORD thumb;
        int position;
    };
    const Step steps[] = {
        {"arrow right", SB_LINERIGHT, 0, 1},   {"page right", SB_PAGERIGHT, 0, 11},
        {"arrow left", SB_LINELEFT, 0, 10},    {"page left", SB_PAGELEFT, 0, 0},
        {"left edge", SB_LINELEFT, 0, 0},      {"end", SB_RIGHT, 0, 100},
        {"right edge", SB_PAGERIGHT, 0, 100},  {"home", SB_LEFT, 0, 0},
        {"drag", SB_THUMBTRACK, 42, 42},       {"drag on", SB_THUMBTRACK, 77, 77},
        {"release", SB_THUMBPOSITION, 77, 77}, {"end of scroll", SB_ENDSCROLL, 0, 77},
    };
    Kestrova app;
    ASSERT_NE(app.form, nullptr);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        app.scroll(step.code, step.thumb);
        EXPECT_EQ(app.position(), step.position);
        EXPECT_TRUE(app.showsModel());
    }
}

TEST(Form1Win32, TheKeyboardTunesAtOnceAndTabReachesTheList) {
    Kestrova app;
    ASSERT_NE(app.form, nullptr);
    ASSERT_TRUE(waitFor([&] { return app.focus() == app.control("HScroll1"); }))
        << "focus is on " << app.focus();
    struct KeyStep {
        WORD key;
        int position;
    };
    for (const KeyStep& step : {KeyStep{VK_RIGHT, 1}, KeyStep{VK_NEXT, 11}, KeyStep{VK_LEFT, 10},
                                KeyStep{VK_END, 100}, KeyStep{VK_HOME, 0}}) {
        app.press(step.key);
        EXPECT_TRUE(waitFor([&] { return app.position() == step.position; }))
            << "key " << step.key << " left the position at " << app.position();
        EXPECT_TRUE(app.showsModel());
    }
    app.press(VK_TAB);
    EXPECT_TRUE(waitFor([&] { return app.focus() == app.control("Combo1"); }));
    app.press(VK_DOWN); // the closed list moves to the next entry
    EXPECT_TRUE(waitFor([&] { return app.text("Label7") == "USB"; }));
    EXPECT_EQ(app.entry(), 1);
    EXPECT_TRUE(app.showsModel());
    app.press(VK_TAB, true);
    EXPECT_TRUE(waitFor([&] { return app.focus() == app.control("HScroll1"); }));
}

// A storm of selections and scroll messages from a fixed seed; after every action every
// caption matches the model, and only the four live labels ever change.
TEST(Form1Win32, RandomActionsKeepEveryCaptionRight) {
    Kestrova app;
    ASSERT_NE(app.form, nullptr);
    const std::string fixedBefore = app.text("Label3") + "|" + app.text("Label4") + "|" +
                                    app.text("Label5") + "|" + app.text("Label6");
    EXPECT_EQ(fixedBefore, "Uplink|Downlink|MHz|MHz");
    unsigned state = 20261206u;
    std::printf("storm: seed %u, %d actions\n", state, gStormActions);
    const auto next = [&state](unsigned bound) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % bound;
    };
    const WORD codes[] = {SB_LINELEFT, SB_LINERIGHT, SB_PAGELEFT,   SB_PAGERIGHT,
                          SB_LEFT,     SB_RIGHT,     SB_THUMBTRACK, SB_THUMBPOSITION};
    for (int step = 0; step < gStormActions; ++step) {
        if (next(4) == 0) {
            app.choose(static_cast<int>(next(5)));
        } else {
            app.scroll(codes[next(8)],
                       static_cast<WORD>(next(static_cast<unsigned>(app.maximum()) + 1)));
        }
        ASSERT_TRUE(app.showsModel()) << "step " << step;
    }
    EXPECT_EQ(app.text("Label3") + "|" + app.text("Label4") + "|" + app.text("Label5") + "|" +
                  app.text("Label6"),
              fixedBefore);
}

TEST(Form1Win32, ControlsSitWhereTheLayoutPutsThem) {
    Kestrova app;
    ASSERT_NE(app.form, nullptr);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    RECT client{};
    GetClientRect(app.form, &client);
    EXPECT_EQ(client.right, MulDiv(6105, dpi, 1440));
    EXPECT_EQ(client.bottom, MulDiv(3075, dpi, 1440));
    for (const char* name : {"Label1", "Label2", "Label3", "Label7", "HScroll1", "Image1"}) {
        SCOPED_TRACE(name);
        const ControlLayout& layout = form1Layout().control(name);
        RECT rect{};
        GetWindowRect(app.control(name), &rect);
        MapWindowPoints(nullptr, app.form, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, MulDiv(layout.left, dpi, 1440));
        EXPECT_EQ(rect.top, MulDiv(layout.top, dpi, 1440));
        EXPECT_EQ(rect.right - rect.left, MulDiv(layout.width, dpi, 1440));
    }
    const LONG displayStyle = GetWindowLongW(app.control("Label1"), GWL_EXSTYLE);
    EXPECT_TRUE(displayStyle & WS_EX_CLIENTEDGE);
    EXPECT_EQ(GetWindowLongW(app.control("Label1"), GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
}

// The shipped file's version resource and icon, read as data.
TEST(Form1Win32, VersionInformationAndIcon) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(gShipped.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(gShipped.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    EXPECT_EQ(translation[0], 0x0409);
    const std::pair<const wchar_t*, const char*> fields[] = {
        {L"FileVersion", "1.00"},
        {L"ProductVersion", "1.00"},
        {L"ProductName", "Kestrova"},
        {L"InternalName", "Kestrova"},
        {L"OriginalFilename", "Kestrova.exe"},
    };
    for (const auto& [field, expected] : fields) {
        wchar_t* value = nullptr;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + field;
        ASSERT_TRUE(
            VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
            << toUtf8(field);
        EXPECT_EQ(toUtf8(value), expected);
    }

    HMODULE module = LoadLibraryExW(gShipped.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr);
    HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14)); // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    const BYTE* directory = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
    const WORD count = *reinterpret_cast<const WORD*>(directory + 4);
    bool has64 = false;
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = directory + 6 + 14 * i; // GRPICONDIRENTRY
        const WORD bitCount = *reinterpret_cast<const WORD*>(entry + 6);
        const WORD id = *reinterpret_cast<const WORD*>(entry + 12);
        if (entry[0] == 64) {
            has64 = true;
            EXPECT_EQ(bitCount, 24);
            HRSRC icon =
                FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(3)); // RT_ICON
            ASSERT_NE(icon, nullptr);
            const auto* header =
                static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, icon)));
            EXPECT_EQ(header->biWidth, 64);
            EXPECT_EQ(header->biHeight, 128); // colour and 1-bit mask
            EXPECT_EQ(header->biBitCount, 24);
            const DWORD maskBytes = 64 * (64 / 8); // rows of 1-bit pixels, already 4-byte aligned
            EXPECT_EQ(SizeofResource(module, icon),
                      sizeof(BITMAPINFOHEADER) + 64 * 64 * 3 + maskBytes);
        }
    }
    EXPECT_TRUE(has64);
    EXPECT_GE(count, 4);
    FreeLibrary(module);
}

} // namespace
} // namespace kestrova

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--separator=", 0) == 0) {
            kestrova::gSeparator = argument.substr(12);
        } else if (argument.rfind("--storm=", 0) == 0) {
            kestrova::gStormActions = std::stoi(argument.substr(8));
        } else if (argument.rfind("--shipped=", 0) == 0) {
            kestrova::gShipped = kestrova::toWide(argument.substr(10));
        } else {
            kestrova::gProgram = kestrova::toWide(argument);
        }
    }
    if (kestrova::gProgram.empty()) {
        std::fprintf(stderr, "usage: %s [gtest flags] KESTROVA_EXE [--separator=X]\n", argv[0]);
        return 2;
    }
    if (kestrova::gShipped.empty()) {
        kestrova::gShipped = kestrova::gProgram;
    }
    return RUN_ALL_TESTS();
}
