// Linked into the test programs of the ThreadSanitizer build only.
// Qt 5 is not built with ThreadSanitizer, and its mutexes and semaphores
// wait on futexes that TSan cannot see: every order they give would be
// reported as a race. The calls that this library and the tests make to
// them go through Qt's exported functions, so these definitions stand in
// front of Qt's, call them, and tell TSan what the call ordered.
#include <QMutex>
#include <QSemaphore>
#include <QtGlobal>

#include <dlfcn.h>
#include <sanitizer/tsan_interface.h>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#error "Qt 6's own headers tell ThreadSanitizer about its mutexes"
#endif

namespace {
template <typename F> F qtOwn(const char *name)
{
    void *f = dlsym(RTLD_NEXT, name);
    if (!f)
        qFatal("tsanqt: %s not found", name);
    return reinterpret_cast<F>(f);
}
} // namespace

void QMutex::lock() QT_MUTEX_LOCK_NOEXCEPT
{
    static const auto f = qtOwn<void (*)(QMutex *)>("_ZN6QMutex4lockEv");
    f(this);
    __tsan_acquire(this);
}

bool QMutex::tryLock(int timeout) QT_MUTEX_LOCK_NOEXCEPT
{
    static const auto f = qtOwn<bool (*)(QMutex *, int)>("_ZN6QMutex7tryLockEi");
    const bool locked = f(this, timeout);
    if (locked)
        __tsan_acquire(this);
    return locked;
}

void QMutex::unlock() noexcept
{
    static const auto f = qtOwn<void (*)(QMutex *)>("_ZN6QMutex6unlockEv");
    __tsan_release(this);
    f(this);
}

// The inline QBasicMutex::lock() and unlock() take and give the lock with
// atomics that TSan sees; only a contended lock reaches these.
void QBasicMutex::lockInternal() QT_MUTEX_LOCK_NOEXCEPT
{
    static const auto f = qtOwn<void (*)(QBasicMutex *)>("_ZN11QBasicMutex12lockInternalEv");
    f(this);
    __tsan_acquire(this);
}

bool QBasicMutex::lockInternal(int timeout) QT_MUTEX_LOCK_NOEXCEPT
{
    static const auto f = qtOwn<bool (*)(QBasicMutex *, int)>("_ZN11QBasicMutex12lockInternalEi");
    const bool locked = f(this, timeout);
    if (locked)
        __tsan_acquire(this);
    return locked;
}

void QBasicMutex::unlockInternal() noexcept
{
    static const auto f = qtOwn<void (*)(QBasicMutex *)>("_ZN11QBasicMutex14unlockInternalEv");
    __tsan_release(this);
    f(this);
}

void QSemaphore::acquire(int n)
{
    static const auto f = qtOwn<void (*)(QSemaphore *, int)>("_ZN10QSemaphore7acquireEi");
    f(this, n);
    __tsan_acquire(this);
}

bool QSemaphore::tryAcquire(int n)
{
    static const auto f = qtOwn<bool (*)(QSemaphore *, int)>("_ZN10QSemaphore10tryAcquireEi");
    const bool got = f(this, n);
    if (got)
        __tsan_acquire(this);
    return got;
}

bool QSemaphore::tryAcquire(int n, int timeout)
{
    static const auto f = qtOwn<bool (*)(QSemaphore *, int, int)>("_ZN10QSemaphore10tryAcquireEii");
    const bool got = f(this, n, timeout);
    if (got)
        __tsan_acquire(this);
    return got;
}

void QSemaphore::release(int n)
{
    static const auto f = qtOwn<void (*)(QSemaphore *, int)>("_ZN10QSemaphore7releaseEi");
    __tsan_release(this);
    f(this, n);
}
