/* A test-only stand-in for the system's IP Helper, installed into the Wine
 * test prefix's system directory for the runs that change an adapter: Wine's
 * own SetAdapterIpAddress is a stub that ends the process. It shows one
 * adapter and records every change it is asked for, one line each, in the
 * file named by CORVANE_IP_HELPER_STUB_LOG. The other exports are the ones
 * Wine's netapi32 imports, which must resolve for it to load. */
#include <windows.h>
/* The record types only: iphlpapi.h would declare the exports as imports. */
#include <ipexport.h>
#include <ipifcons.h>
#include <iptypes.h>
#include <stdio.h>

#define STUB_EXPORT __declspec(dllexport)

static const char kAdapterName[] = "{5E3C2A10-0000-4000-8000-00000000C0DE}";
static const DWORD kAdapterIndex = 7;

static void Record(const char* line) {
    char path[MAX_PATH] = {0};
    DWORD length = GetEnvironmentVariableA("CORVANE_IP_HELPER_STUB_LOG", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return;
    }
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, line, (DWORD)lstrlenA(line), &written, NULL);
    WriteFile(file, "\n", 1, &written, NULL);
    CloseHandle(file);
}

/* An address as the export receives it: the first octet in the low byte. */
static void Quad(char* text, size_t size, DWORD address) {
    snprintf(text, size, "%lu.%lu.%lu.%lu", (unsigned long)(address & 0xFF),
             (unsigned long)((address >> 8) & 0xFF), (unsigned long)((address >> 16) & 0xFF),
             (unsigned long)((address >> 24) & 0xFF));
}

STUB_EXPORT DWORD WINAPI GetAdaptersInfo(PIP_ADAPTER_INFO info, PULONG size) {
    if (size == NULL) {
        return ERROR_INVALID_PARAMETER;
    }
    if (info == NULL || *size < sizeof(IP_ADAPTER_INFO)) {
        *size = sizeof(IP_ADAPTER_INFO);
        return ERROR_BUFFER_OVERFLOW;
    }
    ZeroMemory(info, sizeof(IP_ADAPTER_INFO));
    lstrcpyA(info->AdapterName, kAdapterName);
    lstrcpyA(info->Description, "Corvane test adapter");
    info->AddressLength = 6;
    info->Address[0] = 0x02;
    info->Address[5] = 0x15;
    info->Index = kAdapterIndex;
    info->Type = MIB_IF_TYPE_ETHERNET;
    info->DhcpEnabled = 1;
    lstrcpyA(info->IpAddressList.IpAddress.String, "10.0.0.5");
    lstrcpyA(info->IpAddressList.IpMask.String, "255.255.255.0");
    lstrcpyA(info->GatewayList.IpAddress.String, "10.0.0.1");
    lstrcpyA(info->GatewayList.IpMask.String, "255.255.255.255");
    lstrcpyA(info->DhcpServer.IpAddress.String, "10.0.0.1");
    return NO_ERROR;
}

STUB_EXPORT DWORD WINAPI GetInterfaceInfo(PIP_INTERFACE_INFO table, PULONG size) {
    if (size == NULL) {
        return ERROR_INVALID_PARAMETER;
    }
    if (table == NULL || *size < sizeof(IP_INTERFACE_INFO)) {
        *size = sizeof(IP_INTERFACE_INFO);
        return ERROR_INSUFFICIENT_BUFFER;
    }
    ZeroMemory(table, sizeof(IP_INTERFACE_INFO));
    table->NumAdapters = 1;
    table->Adapter[0].Index = kAdapterIndex;
    lstrcpyW(table->Adapter[0].Name, L"\\DEVICE\\TCPIP_{5E3C2A10-0000-4000-8000-00000000C0DE}");
    return NO_ERROR;
}

static DWORD RecordIndexMap(const char* call, PIP_ADAPTER_INDEX_MAP adapter) {
    char line[128];
    if (adapter == NULL) {
        return ERROR_INVALID_PARAMETER;
    }
    snprintf(line, sizeof line, "%s(%lu)", call, (unsigned long)adapter->Index);
    Record(line);
    return NO_ERROR;
}

STUB_EXPORT DWORD WINAPI IpReleaseAddress(PIP_ADAPTER_INDEX_MAP adapter) {
    return RecordIndexMap("IpReleaseAddress", adapter);
}

STUB_EXPORT DWORD WINAPI IpRenewAddress(PIP_ADAPTER_INDEX_MAP adapter) {
    return RecordIndexMap("IpRenewAddress", adapter);
}

STUB_EXPORT DWORD WINAPI SetAdapterIpAddress(LPSTR name, DWORD dhcp, DWORD address, DWORD mask,
                                             DWORD gateway) {
    char line[256];
    char a[16];
    char m[16];
    char g[16];
    Quad(a, sizeof a, address);
    Quad(m, sizeof m, mask);
    Quad(g, sizeof g, gateway);
    snprintf(line, sizeof line, "SetAdapterIpAddress(%s, %lu, %s, %s, %s)",
             name != NULL ? name : "(null)", (unsigned long)dhcp, a, m, g);
    Record(line);
    return NO_ERROR;
}

STUB_EXPORT DWORD WINAPI GetIfEntry(void* row) {
    (void)row;
    return ERROR_NOT_SUPPORTED;
}

STUB_EXPORT DWORD WINAPI GetIpAddrTable(void* table, PULONG size, BOOL order) {
    (void)table;
    (void)size;
    (void)order;
    return ERROR_NOT_SUPPORTED;
}
