// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef GENICAM_GCEXCEPTION_H
#define GENICAM_GCEXCEPTION_H

#include <GenICam/GCString.h>

#include <exception>

namespace GenICam_3_0_Velnor_tavix_v5_0 {

/** Base class of every exception that the GenICam libraries throw. */
class GCBASE_API GenericException : public std::exception
{
public:
    /** Copies @p description; a null pointer gives an empty description. */
    explicit GenericException(const char* description);

    /** The description, NUL-terminated 8-bit text. */
    virtual const char* GetDescription() const noexcept;
    /** The same text as GetDescription(). */
    const char* what() const noexcept override;

private:
    gcstring m_description;
};

} // namespace GenICam_3_0_Velnor_tavix_v5_0

#endif
