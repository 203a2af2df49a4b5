#include "dialog_driver.h"

#include <cstdint>
#include <vector>

namespace corvane::win32::dialog_testing {

namespace {

thread_local DialogDriver* activeDriver = nullptr;

BOOL CALLBACK FindDialogWindow(HWND window, LPARAM found) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wstring(className) == L"#32770" && IsWindowVisible(window) &&
        IsWindowEnabled(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring FolderOfExe() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

std::wstring Parent(const std::wstring& folder) {
    const std::size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? folder : folder.substr(0, slash);
}

std::wstring ScreenshotFolder() {
    wchar_t configured[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"CORVANE_SCREENSHOT_DIR", configured, MAX_PATH);
    std::wstring folder;
    if (length > 0 && length < MAX_PATH) {
        folder.assign(configured, length);
        if (folder.front() == L'/') {
            folder = L"Z:" + folder;
        }
        for (wchar_t& c : folder) {
            c = c == L'/' ? L'\\' : c;
        }
    } else {
        // The exe lies in <build>/tests: the folder goes beside <build>.
        folder = Parent(Parent(FolderOfExe())) + L"\\screenshots";
    }
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

} // namespace

DialogDriver::DialogDriver(std::vector<Step> steps, UINT periodMs, DWORD watchdogMs)
    : steps_(std::move(steps)), deadline_(GetTickCount() + watchdogMs), previous_(activeDriver) {
    activeDriver = this;
    timer_ = SetTimer(nullptr, 0, periodMs, &DialogDriver::Tick);
}

DialogDriver::~DialogDriver() {
    KillTimer(nullptr, timer_);
    activeDriver = previous_;
}

void CALLBACK DialogDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (activeDriver != nullptr) {
        activeDriver->OnTick();
    }
}

void DialogDriver::OnTick() {
    HWND dialog = CurrentDialog();
    if (dialog == nullptr) {
        return;
    }
    sawDialog_ = true;
    const bool late = static_cast<std::int32_t>(GetTickCount() - deadline_) >= 0;
    if (next_ < steps_.size() && !late) {
        // A step may run a nested modal loop; the next tick must not re-enter it.
        const std::size_t step = next_++;
        steps_[step](dialog);
        return;
    }
    // Every step has run: the dialog had a few ticks to end by itself.
    if (late || ++idleTicks_ > 20) {
        watchdogFired_ = true;
        EndDialog(dialog, -2);
    }
}

HWND CurrentDialog() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindDialogWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool RunsUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool CanShowWindows() {
    if (!RunsUnderWine()) {
        return true;
    }
    wchar_t display[64] = {};
    return GetEnvironmentVariableW(L"DISPLAY", display, 64) > 0;
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

bool CaptureWindow(HWND window, const std::wstring& name) {
    RECT area{};
    if (!GetWindowRect(window, &area)) {
        return false;
    }
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        return false;
    }
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    GdiFlush();

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, previous);

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height; // bottom-up rows, as a BMP file keeps them
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::vector<std::uint8_t> pixels(rowBytes * static_cast<std::size_t>(height));
    const int rows = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                               reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (rows != height) {
        return false;
    }

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    header.biSizeImage = static_cast<DWORD>(pixels.size());

    const std::wstring path = ScreenshotFolder() + L"\\" + name + L".bmp";
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok =
        WriteFile(out, &file, sizeof file, &written, nullptr) &&
        WriteFile(out, &header, sizeof header, &written, nullptr) &&
        WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    CloseHandle(out);
    return ok;
}

} // namespace corvane::win32::dialog_testing
