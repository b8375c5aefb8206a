// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIX_DEVICEINFO_H
#define TAVIX_DEVICEINFO_H

#include <tavix/InfoBase.h>

namespace Tavix {

/**
 * What the SDK knows of one camera device before it is opened.
 *
 * The setters write the properties of the same names without "Set"
 * ("DeviceClass", "FriendlyName", ...), and return the object for chaining.
 */
class TAVIXBASE_API CDeviceInfo : public CInfoBase
{
public:
    CDeviceInfo& SetDeviceClass(const gcstring& value);
    CDeviceInfo& SetFriendlyName(const gcstring& value);
    CDeviceInfo& SetModelName(const gcstring& value);
    CDeviceInfo& SetFullName(const gcstring& value);
    CDeviceInfo& SetSerialNumber(const gcstring& value);
    CDeviceInfo& SetMacAddress(const gcstring& value);
    CDeviceInfo& SetIpAddress(const gcstring& value);
    /** The IP configuration methods that the device supports, as decimal bits text. */
    CDeviceInfo& SetIpConfigOptions(const gcstring& value);
    /** The IP configuration methods that the device currently uses, as decimal bits text. */
    CDeviceInfo& SetIpConfigCurrent(const gcstring& value);

private:
    CDeviceInfo& set(const char* name, const gcstring& value);
};

} // namespace Tavix

#endif
