// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_EXPORT_H
#define TAVIXQTBASE_EXPORT_H

#include <QtCore/qglobal.h>

/**
 * Marks the library's interface. The library is built with hidden visibility,
 * so only what carries this macro is exported from libTavixQtBase.so.1.
 */
#if defined(TAVIXQTBASE_LIBRARY)
#define TAVIXQTBASE_EXPORT Q_DECL_EXPORT
#else
#define TAVIXQTBASE_EXPORT Q_DECL_IMPORT
#endif

#endif
