// The platform records that the services hand to the Win32 calls by
// reinterpret_cast, checked field by field against the SDK's own types.
#pragma once

#include "platform/types.h"
#include "platform/win32/windows_api.h"

#include <cstddef>

// Same offset and size of one field in our record and in the SDK's.
#define CORVANE_SAME_FIELD(Ours, ourField, Sdk, sdkField)                                          \
    static_assert(offsetof(Ours, ourField) == offsetof(Sdk, sdkField),                             \
                  #Ours "::" #ourField " lies where " #Sdk "::" #sdkField " lies");                \
    static_assert(sizeof(Ours::ourField) == sizeof(Sdk::sdkField),                                 \
                  #Ours "::" #ourField " has the size of " #Sdk "::" #sdkField)

#define CORVANE_SAME_RECORD(Ours, Sdk)                                                             \
    static_assert(sizeof(Ours) == sizeof(Sdk), #Ours " has the size of " #Sdk);                    \
    static_assert(alignof(Ours) == alignof(Sdk), #Ours " has the alignment of " #Sdk)

namespace corvane::win32::layout {

using platform::AdapterIndexMap;
using platform::AdapterRecord;
using platform::DomainControllerInfo;
using platform::Guid;
using platform::InterfaceInfo;
using platform::IpAddressText;
using platform::IpAddrString;
using platform::SystemTime;

CORVANE_SAME_RECORD(SystemTime, SYSTEMTIME);
CORVANE_SAME_FIELD(SystemTime, year, SYSTEMTIME, wYear);
CORVANE_SAME_FIELD(SystemTime, month, SYSTEMTIME, wMonth);
CORVANE_SAME_FIELD(SystemTime, dayOfWeek, SYSTEMTIME, wDayOfWeek);
CORVANE_SAME_FIELD(SystemTime, day, SYSTEMTIME, wDay);
CORVANE_SAME_FIELD(SystemTime, hour, SYSTEMTIME, wHour);
CORVANE_SAME_FIELD(SystemTime, minute, SYSTEMTIME, wMinute);
CORVANE_SAME_FIELD(SystemTime, second, SYSTEMTIME, wSecond);
CORVANE_SAME_FIELD(SystemTime, milliseconds, SYSTEMTIME, wMilliseconds);

CORVANE_SAME_RECORD(Guid, GUID);
CORVANE_SAME_FIELD(Guid, data1, GUID, Data1);
CORVANE_SAME_FIELD(Guid, data2, GUID, Data2);
CORVANE_SAME_FIELD(Guid, data3, GUID, Data3);
CORVANE_SAME_FIELD(Guid, data4, GUID, Data4);

CORVANE_SAME_RECORD(DomainControllerInfo, DOMAIN_CONTROLLER_INFOW);
CORVANE_SAME_FIELD(DomainControllerInfo, domainControllerName, DOMAIN_CONTROLLER_INFOW,
                   DomainControllerName);
CORVANE_SAME_FIELD(DomainControllerInfo, domainControllerAddress, DOMAIN_CONTROLLER_INFOW,
                   DomainControllerAddress);
CORVANE_SAME_FIELD(DomainControllerInfo, domainControllerAddressType, DOMAIN_CONTROLLER_INFOW,
                   DomainControllerAddressType);
CORVANE_SAME_FIELD(DomainControllerInfo, domainGuid, DOMAIN_CONTROLLER_INFOW, DomainGuid);
CORVANE_SAME_FIELD(DomainControllerInfo, domainName, DOMAIN_CONTROLLER_INFOW, DomainName);
CORVANE_SAME_FIELD(DomainControllerInfo, dnsForestName, DOMAIN_CONTROLLER_INFOW, DnsForestName);
CORVANE_SAME_FIELD(DomainControllerInfo, flags, DOMAIN_CONTROLLER_INFOW, Flags);
CORVANE_SAME_FIELD(DomainControllerInfo, dcSiteName, DOMAIN_CONTROLLER_INFOW, DcSiteName);
CORVANE_SAME_FIELD(DomainControllerInfo, clientSiteName, DOMAIN_CONTROLLER_INFOW, ClientSiteName);

CORVANE_SAME_RECORD(IpAddressText, IP_ADDRESS_STRING);
CORVANE_SAME_FIELD(IpAddressText, text, IP_ADDRESS_STRING, String);

CORVANE_SAME_RECORD(IpAddrString, IP_ADDR_STRING);
CORVANE_SAME_FIELD(IpAddrString, next, IP_ADDR_STRING, Next);
CORVANE_SAME_FIELD(IpAddrString, ipAddress, IP_ADDR_STRING, IpAddress);
CORVANE_SAME_FIELD(IpAddrString, ipMask, IP_ADDR_STRING, IpMask);
CORVANE_SAME_FIELD(IpAddrString, context, IP_ADDR_STRING, Context);

CORVANE_SAME_RECORD(AdapterRecord, IP_ADAPTER_INFO);
CORVANE_SAME_FIELD(AdapterRecord, next, IP_ADAPTER_INFO, Next);
CORVANE_SAME_FIELD(AdapterRecord, comboIndex, IP_ADAPTER_INFO, ComboIndex);
CORVANE_SAME_FIELD(AdapterRecord, adapterName, IP_ADAPTER_INFO, AdapterName);
CORVANE_SAME_FIELD(AdapterRecord, description, IP_ADAPTER_INFO, Description);
CORVANE_SAME_FIELD(AdapterRecord, addressLength, IP_ADAPTER_INFO, AddressLength);
CORVANE_SAME_FIELD(AdapterRecord, address, IP_ADAPTER_INFO, Address);
CORVANE_SAME_FIELD(AdapterRecord, index, IP_ADAPTER_INFO, Index);
CORVANE_SAME_FIELD(AdapterRecord, type, IP_ADAPTER_INFO, Type);
CORVANE_SAME_FIELD(AdapterRecord, dhcpEnabled, IP_ADAPTER_INFO, DhcpEnabled);
CORVANE_SAME_FIELD(AdapterRecord, currentIpAddress, IP_ADAPTER_INFO, CurrentIpAddress);
CORVANE_SAME_FIELD(AdapterRecord, ipAddressList, IP_ADAPTER_INFO, IpAddressList);
CORVANE_SAME_FIELD(AdapterRecord, gatewayList, IP_ADAPTER_INFO, GatewayList);
CORVANE_SAME_FIELD(AdapterRecord, dhcpServer, IP_ADAPTER_INFO, DhcpServer);
CORVANE_SAME_FIELD(AdapterRecord, haveWins, IP_ADAPTER_INFO, HaveWins);
CORVANE_SAME_FIELD(AdapterRecord, primaryWinsServer, IP_ADAPTER_INFO, PrimaryWinsServer);
CORVANE_SAME_FIELD(AdapterRecord, secondaryWinsServer, IP_ADAPTER_INFO, SecondaryWinsServer);
CORVANE_SAME_FIELD(AdapterRecord, leaseObtained, IP_ADAPTER_INFO, LeaseObtained);
CORVANE_SAME_FIELD(AdapterRecord, leaseExpires, IP_ADAPTER_INFO, LeaseExpires);

CORVANE_SAME_RECORD(AdapterIndexMap, IP_ADAPTER_INDEX_MAP);
CORVANE_SAME_FIELD(AdapterIndexMap, index, IP_ADAPTER_INDEX_MAP, Index);
CORVANE_SAME_FIELD(AdapterIndexMap, name, IP_ADAPTER_INDEX_MAP, Name);

CORVANE_SAME_RECORD(InterfaceInfo, IP_INTERFACE_INFO);
CORVANE_SAME_FIELD(InterfaceInfo, numAdapters, IP_INTERFACE_INFO, NumAdapters);
CORVANE_SAME_FIELD(InterfaceInfo, adapter, IP_INTERFACE_INFO, Adapter);

} // namespace corvane::win32::layout

#undef CORVANE_SAME_FIELD
#undef CORVANE_SAME_RECORD
