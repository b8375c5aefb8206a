// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIX_INFOBASE_H
#define TAVIX_INFOBASE_H

#include <tavix/TavixBase.h>

#include <map>
#include <string>

namespace Tavix {

/**
 * A set of named text properties, each name present at most once.
 *
 * The SDK describes devices, interfaces and transport layers with it.
 */
class TAVIXBASE_API CInfoBase
{
public:
    CInfoBase();
    CInfoBase(const CInfoBase& other);
    CInfoBase& operator=(const CInfoBase& other);
    virtual ~CInfoBase();

    /** True when a property called @p name is set (possibly to an empty text). */
    virtual bool PropertyExists(const gcstring& name) const;
    /** Copies the property called @p name into @p value; false, with @p value untouched, when it is not set. */
    virtual bool ReadPropertyValue(const gcstring& name, gcstring& value) const;
    /** Sets the property called @p name to @p value, replacing an earlier value. */
    CInfoBase& SetPropertyValue(const gcstring& name, const gcstring& value);

    /** The property "DeviceClass"; empty when it is not set. */
    gcstring GetDeviceClass() const;

private:
    std::map<std::string, std::string> m_properties;
};

} // namespace Tavix

#endif
