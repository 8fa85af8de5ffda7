// Starts a private Xvfb and stops it again: for tests and benchmarks that need
// an X server of their own, whatever display the machine has.
#pragma once

#include <chrono>
#include <csignal>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace plx::test {

//! An Xvfb started at construction (display chosen by the server, a screen of
//! 800 x 600 at 24 bits unless given as "WIDTHxHEIGHTxDEPTH") and stopped at
//! destruction; Display() is empty when none started.
class TXvfbProcess {
public:
    explicit TXvfbProcess(const std::string& screen = "800x600x24")
    {
        int fds[2];
        if (pipe(fds) != 0) {
            m_problem = "no pipe for Xvfb";
            return;
        }
        const pid_t pid = fork();
        if (pid == 0) {
            // The server goes with the program that started it, however that ends.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            close(fds[0]);
            const int null = open("/dev/null", O_RDWR);
            if (null >= 0) {
                dup2(null, 1);
                dup2(null, 2);
            }
            const std::string fd = std::to_string(fds[1]);
            // -noreset: the server would otherwise start over whenever its last
            // client leaves, and refuse the next one meanwhile.
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp", "-noreset",
                static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        if (pid < 0) {
            close(fds[0]);
            m_problem = "fork failed";
            return;
        }
        m_pid = pid;
        // Xvfb writes its display number once it accepts clients.
        std::string number;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd p { fds[0], POLLIN, 0 };
            if (poll(&p, 1, 200) <= 0)
                continue;
            char c = 0;
            if (read(fds[0], &c, 1) != 1 || c == '\n')
                break;
            number += c;
        }
        close(fds[0]);
        if (number.empty()) {
            m_problem = "Xvfb could not be started (is the xvfb package installed?)";
            Stop();
            return;
        }
        m_display = ":" + number;
    }
    ~TXvfbProcess() { Stop(); }
    TXvfbProcess(const TXvfbProcess&) = delete;
    TXvfbProcess& operator=(const TXvfbProcess&) = delete;

    [[nodiscard]] const std::string& Display() const noexcept { return m_display; }
    //! Why there is no server.
    [[nodiscard]] const std::string& Problem() const noexcept { return m_problem; }

private:
    void Stop()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        m_pid = 0;
    }

    pid_t m_pid { 0 };
    std::string m_display;
    std::string m_problem;
};

} // namespace plx::test
