// Screenshots of windows for the record of a test run: the window's screen
// area copied into a 24-bit BMP file.
#pragma once

#include <string>
#include <windows.h>

namespace corvane::win32::dialog_testing {

// Writes the window's area of the screen to `name`.bmp (24 bits per pixel)
// in the screenshot folder: CORVANE_SCREENSHOT_DIR when set (a Linux path is
// taken through Wine's Z: drive), else "screenshots" beside the test exe;
// the test runs set it to build/screenshots. False when nothing could be written.
bool CaptureWindow(HWND window, const std::wstring& name);

} // namespace corvane::win32::dialog_testing
