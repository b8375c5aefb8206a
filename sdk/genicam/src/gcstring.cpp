// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <GenICam/GCString.h>

#include <cstring>

namespace GenICam_3_0_Velnor_tavix_v5_0 {

gcstring::gcstring()
    : m_text(nullptr)
    , m_size(0)
{
    assign("", 0);
}

gcstring::gcstring(const char* text)
    : m_text(nullptr)
    , m_size(0)
{
    *this = text;
}

gcstring::gcstring(const gcstring& other)
    : m_text(nullptr)
    , m_size(0)
{
    assign(other.m_text, other.m_size);
}

gcstring& gcstring::operator=(const gcstring& other)
{
    if (this != &other) {
        assign(other.m_text, other.m_size);
    }
    return *this;
}

gcstring& gcstring::operator=(const char* text)
{
    if (!text) {
        text = "";
    }
    assign(text, std::strlen(text));
    return *this;
}

gcstring::~gcstring()
{
    delete[] m_text;
}

const char* gcstring::c_str() const noexcept
{
    return m_text;
}

std::size_t gcstring::size() const noexcept
{
    return m_size;
}

bool gcstring::empty() const noexcept
{
    return m_size == 0;
}

bool gcstring::operator==(const char* text) const noexcept
{
    return std::strcmp(m_text, text ? text : "") == 0;
}

bool gcstring::operator==(const gcstring& other) const noexcept
{
    return m_size == other.m_size && std::memcmp(m_text, other.m_text, m_size) == 0;
}

void gcstring::assign(const char* text, std::size_t size)
{
    // Copy first: text may point into the buffer that is being replaced.
    char* copy = new char[size + 1];
    std::memcpy(copy, text, size);
    copy[size] = '\0';
    delete[] m_text;
    m_text = copy;
    m_size = size;
}

} // namespace GenICam_3_0_Velnor_tavix_v5_0
