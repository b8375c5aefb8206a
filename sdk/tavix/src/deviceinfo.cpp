// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <tavix/DeviceInfo.h>

namespace Tavix {

CDeviceInfo& CDeviceInfo::set(const char* name, const gcstring& value)
{
    SetPropertyValue(name, value);
    return *this;
}

CDeviceInfo& CDeviceInfo::SetDeviceClass(const gcstring& value)
{
    return set("DeviceClass", value);
}
CDeviceInfo& CDeviceInfo::SetFriendlyName(const gcstring& value)
{
    return set("FriendlyName", value);
}
CDeviceInfo& CDeviceInfo::SetModelName(const gcstring& value)
{
    return set("ModelName", value);
}
CDeviceInfo& CDeviceInfo::SetFullName(const gcstring& value)
{
    return set("FullName", value);
}
CDeviceInfo& CDeviceInfo::SetSerialNumber(const gcstring& value)
{
    return set("SerialNumber", value);
}
CDeviceInfo& CDeviceInfo::SetMacAddress(const gcstring& value)
{
    return set("MacAddress", value);
}
CDeviceInfo& CDeviceInfo::SetIpAddress(const gcstring& value)
{
    return set("IpAddress", value);
}
CDeviceInfo& CDeviceInfo::SetIpConfigOptions(const gcstring& value)
{
    return set("IpConfigOptions", value);
}
CDeviceInfo& CDeviceInfo::SetIpConfigCurrent(const gcstring& value)
{
    return set("IpConfigCurrent", value);
}

} // namespace Tavix
