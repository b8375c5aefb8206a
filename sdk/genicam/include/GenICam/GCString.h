// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef GENICAM_GCSTRING_H
#define GENICAM_GCSTRING_H

#include <GenICam/GCTypes.h>

#include <cstddef>

namespace GenICam_3_0_Velnor_tavix_v5_0 {

/**
 * The GenICam string: an owned, NUL-terminated 8-bit text.
 *
 * It holds its characters in a buffer of its own, so that it can cross the
 * boundary between libraries built with different standard libraries.
 */
class GCBASE_API gcstring
{
public:
    gcstring();
    /** Copies @p text; a null pointer gives an empty string. */
    gcstring(const char* text);
    gcstring(const gcstring& other);
    gcstring& operator=(const gcstring& other);
    gcstring& operator=(const char* text);
    ~gcstring();

    /** The characters, NUL-terminated; never null. */
    const char* c_str() const noexcept;
    std::size_t size() const noexcept;
    bool empty() const noexcept;

    bool operator==(const char* text) const noexcept;
    bool operator==(const gcstring& other) const noexcept;
    bool operator!=(const char* text) const noexcept { return !(*this == text); }
    bool operator!=(const gcstring& other) const noexcept { return !(*this == other); }

private:
    void assign(const char* text, std::size_t size);

    char* m_text;
    std::size_t m_size;
};

} // namespace GenICam_3_0_Velnor_tavix_v5_0

#endif
