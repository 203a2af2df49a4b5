#include "window_capture.h"

#include <cstdint>
#include <vector>

namespace corvane::win32::dialog_testing {

namespace {

std::wstring FolderOfExe() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/"));
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
        folder = FolderOfExe() + L"\\screenshots";
    }
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

} // namespace

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
