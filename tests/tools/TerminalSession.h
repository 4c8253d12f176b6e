#pragma once

// A child process whose standard input, output and error are one pseudo-terminal, for the tests
// of what the tools do at a terminal (prompts, progress lines).

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <cerrno>
#include <csignal>
#include <string>
#include <vector>

namespace md::testing {

// The program `program` started in `workDir` on a terminal with echo off, so that the
// transcript holds only what the program wrote.
class TerminalSession {
  public:
    TerminalSession(const QString& program, const QString& workDir, const QStringList& args) {
        std::vector<std::string> argv{program.toStdString()};
        for (const QString& a : args)
            argv.push_back(a.toStdString());
        const std::string dir = workDir.toStdString();
        termios settings{};
        cfmakeraw(&settings);
        settings.c_iflag = ICRNL;
        settings.c_oflag = OPOST | ONLCR;
        settings.c_lflag = ICANON | ISIG;  // line editing as at a shell, no echo
        settings.c_cflag = CS8 | CREAD;
        settings.c_cc[VEOF] = 4;
        pid_ = forkpty(&master_, nullptr, &settings, nullptr);
        if (pid_ == 0) {
            if (::chdir(dir.c_str()) != 0)
                _exit(126);
            std::vector<char*> raw;
            for (auto& a : argv)
                raw.push_back(a.data());
            raw.push_back(nullptr);
            ::execv(raw[0], raw.data());
            _exit(127);
        }
    }
    ~TerminalSession() {
        if (pid_ > 0 && !reaped_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (master_ >= 0)
            ::close(master_);
    }
    bool started() const { return pid_ > 0; }

    void type(const char* line) {
        std::string text = std::string(line) + "\n";
        ASSERT_EQ(::write(master_, text.data(), text.size()), ssize_t(text.size()));
    }
    void endOfInput() {
        const char eof = 4;
        ASSERT_EQ(::write(master_, &eof, 1), 1);
    }

    // Reads until the transcript ends with `tail` (a prompt, usually); false after 60 s.
    bool waitFor(const QString& tail) {
        QElapsedTimer timer;
        timer.start();
        while (!transcript().endsWith(tail)) {
            if (timer.elapsed() > 60000 || !readSome(500))
                return transcript().endsWith(tail);
        }
        return true;
    }

    // Waits for the program to end, reading what is left; returns its exit code.
    int finish() {
        while (readSome(1000)) {
        }
        int status = 0;
        ::waitpid(pid_, &status, 0);
        reaped_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // What the program wrote, with the terminal's carriage returns taken out.
    QString transcript() const { return QString::fromUtf8(bytes_).remove(u'\r'); }

  private:
    // False at the end of the output (the program closed the terminal) or after `ms` of quiet
    // when the program has ended.
    bool readSome(int ms) {
        pollfd p{master_, POLLIN, 0};
        const int ready = ::poll(&p, 1, ms);
        if (ready <= 0)
            return ready == 0 && ::waitpid(pid_, nullptr, WNOHANG) == 0;
        char buffer[4096];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            return false;  // EIO: the slave side closed
        bytes_.append(buffer, n);
        return true;
    }

    pid_t pid_ = -1;
    int master_ = -1;
    bool reaped_ = false;
    QByteArray bytes_;
};

}  // namespace md::testing
