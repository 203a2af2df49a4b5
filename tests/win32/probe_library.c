// The probe DLL: one export by which a test recognises that this file, and
// not the system DLL of the same name, was loaded.
#include <windows.h>

__declspec(dllexport) DWORD WINAPI CorvaneProbeMarker(void) {
    return 0x50524F42u;
}
