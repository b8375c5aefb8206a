// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <GenICam/GCException.h>

namespace GenICam_3_0_Velnor_tavix_v5_0 {

GenericException::GenericException(const char* description)
    : m_description(description)
{
}

const char* GenericException::GetDescription() const noexcept
{
    return m_description.c_str();
}

const char* GenericException::what() const noexcept
{
    return GetDescription();
}

} // namespace GenICam_3_0_Velnor_tavix_v5_0
