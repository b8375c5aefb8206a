// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Small RAII helpers for using Aravis's GObject-based C API from C++.
#ifndef CAMERACORE_ARAVIS_P_H
#define CAMERACORE_ARAVIS_P_H

#include <QString>

#include <memory>

// The target is built with QT_NO_KEYWORDS: GLib's headers use "signals" as a member name.
#include <arv.h>

struct GObjectUnref
{
    void operator()(gpointer object) const
    {
        if (object) {
            g_object_unref(object);
        }
    }
};

/** Owns one reference to a GObject and drops it on every way out. */
template <typename T> using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

/** Collects the GError of one Aravis call; frees it on destruction. */
class ArvError
{
public:
    ArvError() = default;
    ArvError(const ArvError&) = delete;
    ArvError& operator=(const ArvError&) = delete;
    ~ArvError() { g_clear_error(&m_error); }

    GError** out()
    {
        g_clear_error(&m_error);
        return &m_error;
    }
    bool failed() const { return m_error != nullptr; }
    QString message() const { return m_error ? QString::fromUtf8(m_error->message) : QString(); }

private:
    GError* m_error = nullptr;
};

#endif
