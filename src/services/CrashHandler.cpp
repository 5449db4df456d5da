// The one place that asks the operating system about fatal errors: the
// handlers of fatal signals (POSIX) or unhandled exceptions (Windows), the
// stack trace, and the writing of the report. Everything a handler needs is
// built before the crash; a POSIX signal handler only formats into its own
// buffers and calls write(2).
#include "services/CrashHandler.h"

#include <atomic>
#include <cstring>
#include <ctime>
#include <exception>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <csignal>
#else
#include <csignal>
#include <execinfo.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velmora::crash::os {

namespace {

char g_folder[1024];
char g_header[512];
long g_utcOffset = 0;
// Two buffers for the action: the handler reads the one the index names,
// the writer fills the other first.
char g_action[2][1024];
std::atomic<int> g_actionIndex {0};
std::atomic<bool> g_reporting {false};

// Appends text to a fixed buffer, always ending it with a NUL.
class Line
{
public:
    void add(const char* text)
    {
        while (*text && m_size + 1 < sizeof m_buffer)
            m_buffer[m_size++] = *text++;
        m_buffer[m_size] = '\0';
    }
    void number(long long value, int digits = 1)
    {
        char out[24];
        int n = 0;
        const bool negative = value < 0;
        unsigned long long v = negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
        do {
            out[n++] = static_cast<char>('0' + v % 10);
            v /= 10;
        } while (v != 0 && n < 20);
        while (n < digits && n < 20)
            out[n++] = '0';
        if (negative)
            add("-");
        char one[2] = {0, 0};
        while (n > 0) {
            one[0] = out[--n];
            add(one);
        }
    }
    const char* text() const { return m_buffer; }
    size_t size() const { return m_size; }

private:
    char m_buffer[1536] = {};
    size_t m_size = 0;
};

// The civil date of a day count from 1970-01-01 (proleptic Gregorian).
void civil(long long days, int* y, int* m, int* d)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    *d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    *m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    *y = static_cast<int>(yoe + era * 400 + (*m <= 2 ? 1 : 0));
}

struct Moment
{
    int year, month, day, hour, minute, second;
};

Moment localNow()
{
    const long long t = static_cast<long long>(std::time(nullptr)) + g_utcOffset;
    long long days = t / 86400;
    long long rest = t % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    Moment m {};
    civil(days, &m.year, &m.month, &m.day);
    m.hour = static_cast<int>(rest / 3600);
    m.minute = static_cast<int>(rest / 60 % 60);
    m.second = static_cast<int>(rest % 60);
    return m;
}

// crash-YYYYMMDD-HHMMSS.txt in the folder, and the first lines of the report.
void build(const Moment& m, const char* cause, Line* path, Line* head)
{
    path->add(g_folder);
#ifdef _WIN32
    path->add("\\crash-");
#else
    path->add("/crash-");
#endif
    path->number(m.year, 4);
    path->number(m.month, 2);
    path->number(m.day, 2);
    path->add("-");
    path->number(m.hour, 2);
    path->number(m.minute, 2);
    path->number(m.second, 2);
    path->add(".txt");

    head->add("time: ");
    head->number(m.year, 4);
    head->add("-");
    head->number(m.month, 2);
    head->add("-");
    head->number(m.day, 2);
    head->add(" ");
    head->number(m.hour, 2);
    head->add(":");
    head->number(m.minute, 2);
    head->add(":");
    head->number(m.second, 2);
    head->add("\n");
    head->add(g_header);
    head->add("cause: ");
    head->add(cause);
    head->add("\naction: ");
    const char* action = g_action[g_actionIndex.load()];
    head->add(*action ? action : "(none)");
    head->add("\nstack:\n");
}

// Creates the report folder and the folders above it that are missing (the
// user's data folder may not exist yet), one level at a time.
template <typename MakeFolder>
void makeFolders(MakeFolder&& make)
{
    char prefix[sizeof g_folder];
    for (size_t i = 0; i < sizeof g_folder && g_folder[i] != '\0'; ++i) {
        prefix[i] = g_folder[i];
        const char next = g_folder[i + 1];
        if (i > 0 && (next == '/' || next == '\\' || next == '\0')) {
            prefix[i + 1] = '\0';
            make(prefix);
        }
    }
}

const char* signalName(int sig)
{
    switch (sig) {
    case SIGSEGV:
        return "fatal signal SIGSEGV (invalid memory access)";
    case SIGFPE:
        return "fatal signal SIGFPE (arithmetic error)";
    case SIGILL:
        return "fatal signal SIGILL (illegal instruction)";
    case SIGABRT:
        return "fatal signal SIGABRT (the program aborted)";
#ifndef _WIN32
    case SIGBUS:
        return "fatal signal SIGBUS (bus error)";
#endif
    default:
        return "fatal signal";
    }
}

#ifdef _WIN32

void writeAll(HANDLE file, const char* text, size_t size)
{
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(size), &written, nullptr);
}

void report(const char* cause)
{
    if (g_reporting.exchange(true))
        return;
    SYSTEMTIME st;
    GetLocalTime(&st);
    Moment m {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
    Line path;
    Line head;
    makeFolders([](const char* folder) { CreateDirectoryA(folder, nullptr); });
    build(m, cause, &path, &head);
    const HANDLE file = CreateFileA(path.text(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    writeAll(file, head.text(), head.size());
    void* frames[62];
    const USHORT count = CaptureStackBackTrace(0, 62, frames, nullptr);
    for (USHORT i = 0; i < count; ++i) {
        char line[32];
        const int n = wsprintfA(line, "  %p\r\n", frames[i]);
        writeAll(file, line, static_cast<size_t>(n));
    }
    FlushFileBuffers(file);
    CloseHandle(file);
}

LONG WINAPI onException(EXCEPTION_POINTERS* info)
{
    char cause[64];
    wsprintfA(cause, "unhandled exception 0x%08lX", info ? info->ExceptionRecord->ExceptionCode : 0UL);
    report(cause);
    return EXCEPTION_CONTINUE_SEARCH;
}

void onAbort(int)
{
    report(signalName(SIGABRT));
}

void installPlatform()
{
    SetUnhandledExceptionFilter(onException);
    std::signal(SIGABRT, onAbort);
}

#else

void writeAll(int fd, const char* text, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, text, size);
        if (n <= 0)
            return;
        text += n;
        size -= static_cast<size_t>(n);
    }
}

void report(const char* cause)
{
    if (g_reporting.exchange(true))
        return;
    Line path;
    Line head;
    build(localNow(), cause, &path, &head);
    makeFolders([](const char* folder) { ::mkdir(folder, 0700); });
    const int fd = ::open(path.text(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    Line said;
    said.add("velmora: ");
    said.add(cause);
    if (fd >= 0) {
        writeAll(fd, head.text(), head.size());
        void* frames[64];
        const int count = backtrace(frames, 64);
        backtrace_symbols_fd(frames, count, fd);
        ::fsync(fd);
        ::close(fd);
        said.add("; report written to ");
    } else {
        said.add("; no report could be written to ");
    }
    said.add(path.text());
    said.add("\n");
    writeAll(2, said.text(), said.size());
}

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

void onSignal(int sig)
{
    report(signalName(sig));
    // Die of the signal as the program would have without the handler.
    std::signal(sig, SIG_DFL);
    ::raise(sig);
}

void installPlatform()
{
    // A stack of its own: a stack overflow leaves none to run on.
    static char altStack[64 * 1024];
    stack_t ss {};
    ss.ss_sp = altStack;
    ss.ss_size = sizeof altStack;
    sigaltstack(&ss, nullptr);
    // The first call loads what the stack trace needs; none is loaded in the handler.
    void* warm[2];
    backtrace(warm, 2);
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sa.sa_flags = SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&sa.sa_mask);
    for (int sig : kSignals)
        sigaction(sig, &sa, nullptr);
}

#endif

// An exception nobody caught: its text, then the report; abort() ends the
// program without a second report.
[[noreturn]] void onTerminate()
{
    Line cause;
    cause.add("uncaught exception");
    if (std::exception_ptr e = std::current_exception()) {
        try {
            std::rethrow_exception(e);
        } catch (const std::exception& ex) {
            cause.add(": ");
            cause.add(ex.what());
        } catch (...) {
            cause.add(" (not a std::exception)");
        }
    }
    report(cause.text());
    std::signal(SIGABRT, SIG_DFL);
    std::abort();
}

void copyInto(char* buffer, size_t room, const QByteArray& text)
{
    const size_t n = qMin(static_cast<size_t>(text.size()), room - 1);
    std::memcpy(buffer, text.constData(), n);
    buffer[n] = '\0';
}

} // namespace

void install(const QByteArray& folder, const QByteArray& header, int utcOffset)
{
    copyInto(g_folder, sizeof g_folder, folder);
    copyInto(g_header, sizeof g_header, header);
    g_utcOffset = utcOffset;
    std::set_terminate(onTerminate);
    installPlatform();
}

void setAction(const QByteArray& utf8)
{
    const int next = 1 - g_actionIndex.load();
    copyInto(g_action[next], sizeof g_action[next], utf8);
    g_actionIndex.store(next);
}

} // namespace velmora::crash::os
