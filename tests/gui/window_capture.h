// Screenshots of windows for the record of a test run: the window's screen
// area copied into a 24-bit BMP file.
#pragma once

#include <string>
#include <windows.h>

namespace corvane::gui {

// The folder the screenshots go to: "screenshots" beside the build folder
// that holds the test exe (build/screenshots), created when missing.
std::wstring ScreenshotFolder();

// Writes the window's area of the screen to `folder`\`name`.bmp. False when
// the window has no area or the file cannot be written.
bool CaptureWindow(HWND window, const std::wstring& name);

} // namespace corvane::gui
