// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_RECURSIVEMUTEXLOCKER_P_H
#define TAVIXQTBASE_RECURSIVEMUTEXLOCKER_P_H

#include <QMutex>

#if defined(__SANITIZE_THREAD__) && __has_include(<sanitizer/tsan_interface.h>)
#include <sanitizer/tsan_interface.h>
#define TAVIXQTBASE_ANNOTATE_LOCKS 1
#endif

/**
 * Holds a QRecursiveMutex for the lifetime of the object, like QMutexLocker.
 *
 * Under ThreadSanitizer it also announces the lock and unlock: the recursive
 * mutex is implemented inside Qt's (uninstrumented) library, so without the
 * annotations the sanitizer cannot see that it orders the accesses it guards.
 */
class RecursiveMutexLocker
{
public:
    explicit RecursiveMutexLocker(QRecursiveMutex* mutex)
        : m_mutex(mutex)
    {
#ifdef TAVIXQTBASE_ANNOTATE_LOCKS
        __tsan_mutex_pre_lock(m_mutex, __tsan_mutex_write_reentrant);
#endif
        m_mutex->lock();
#ifdef TAVIXQTBASE_ANNOTATE_LOCKS
        __tsan_mutex_post_lock(m_mutex, __tsan_mutex_write_reentrant, 0);
#endif
    }

    ~RecursiveMutexLocker()
    {
        if (m_mutex) {
            unlock();
        }
    }

    /** Releases the mutex before the end of the scope; the destructor then leaves it alone. */
    void unlock()
    {
#ifdef TAVIXQTBASE_ANNOTATE_LOCKS
        __tsan_mutex_pre_unlock(m_mutex, 0);
#endif
        m_mutex->unlock();
#ifdef TAVIXQTBASE_ANNOTATE_LOCKS
        __tsan_mutex_post_unlock(m_mutex, 0);
#endif
        m_mutex = nullptr;
    }

    RecursiveMutexLocker(const RecursiveMutexLocker&) = delete;
    RecursiveMutexLocker& operator=(const RecursiveMutexLocker&) = delete;

private:
    QRecursiveMutex* m_mutex;
};

#endif
