#include "cli/Terminal.h"

#include <cstdio>
#include <iostream>
#include <string>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace velmora::cli {

bool stdinIsTerminal()
{
#ifdef _WIN32
    return _isatty(_fileno(stdin)) != 0;
#else
    return isatty(STDIN_FILENO) != 0;
#endif
}

QString promptLine(const QString& prompt)
{
    std::fputs(prompt.toUtf8().constData(), stderr);
    std::string line;
    std::getline(std::cin, line);
    return QString::fromUtf8(line.c_str()).trimmed();
}

QString readStdinLine()
{
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromUtf8(line.c_str());
}

QString promptPassword(const QString& prompt)
{
    std::fputs(prompt.toUtf8().constData(), stderr);
    std::string line;
#ifdef _WIN32
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    GetConsoleMode(in, &mode);
    SetConsoleMode(in, mode & ~ENABLE_ECHO_INPUT);
    std::getline(std::cin, line);
    SetConsoleMode(in, mode);
#else
    termios old {};
    const bool saved = tcgetattr(STDIN_FILENO, &old) == 0;
    if (saved) {
        termios quiet = old;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    std::getline(std::cin, line);
    if (saved)
        tcsetattr(STDIN_FILENO, TCSANOW, &old);
#endif
    std::fputs("\n", stderr);
    return QString::fromUtf8(line.c_str());
}

} // namespace velmora::cli
