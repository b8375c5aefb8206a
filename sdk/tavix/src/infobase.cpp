// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <tavix/InfoBase.h>

namespace Tavix {

CInfoBase::CInfoBase() = default;
CInfoBase::CInfoBase(const CInfoBase& other) = default;
CInfoBase& CInfoBase::operator=(const CInfoBase& other) = default;
CInfoBase::~CInfoBase() = default;

bool CInfoBase::PropertyExists(const gcstring& name) const
{
    return m_properties.count(name.c_str()) != 0;
}

bool CInfoBase::ReadPropertyValue(const gcstring& name, gcstring& value) const
{
    const auto it = m_properties.find(name.c_str());
    if (it == m_properties.end()) {
        return false;
    }
    value = it->second.c_str();
    return true;
}

CInfoBase& CInfoBase::SetPropertyValue(const gcstring& name, const gcstring& value)
{
    m_properties[name.c_str()] = value.c_str();
    return *this;
}

gcstring CInfoBase::GetDeviceClass() const
{
    gcstring deviceClass;
    ReadPropertyValue("DeviceClass", deviceClass);
    return deviceClass;
}

} // namespace Tavix
