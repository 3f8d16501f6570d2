#include "tests/sim/sim_process.h"

#include "serial/port_names.h"
#include "sim/register_recorder.h"
#include "sim/unique_fd.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace lq::sim {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kStartTimeout = std::chrono::seconds(5);
constexpr auto kStopTimeout = std::chrono::seconds(3);

// Waits for the child to exit until the deadline; true with its status when it has.
bool WaitUntil(pid_t pid, Clock::time_point deadline, int& status) {
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno == ECHILD)) return true;
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::string ReadLine(int fd, Clock::time_point deadline) {
    std::string line;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) throw std::runtime_error("pw5-sim printed no device path in time");
        pollfd pfd{fd, POLLIN, 0};
        if (poll(&pfd, 1, static_cast<int>(left)) <= 0) continue;
        char c = 0;
        const ssize_t n = read(fd, &c, 1);
        if (n == 0) throw std::runtime_error("pw5-sim exited before printing its device path");
        if (n < 0) {
            if (errno == EINTR) continue;
            throw std::runtime_error(std::string("reading pw5-sim's output: ") + std::strerror(errno));
        }
        if (c == '\n') return line;
        line += c;
    }
}

} // namespace

std::string SimProcess::DefaultExecutable() {
    return LQ_PW5_SIM_PATH;
}

SimProcess::SimProcess(std::vector<std::string> options, const std::string& executable,
                       std::string aliasFolder) {
    for (std::size_t i = 0; i + 1 < options.size(); ++i)
        if (options[i] == "--port") {
            const unsigned n = ComPortNumber(options[i + 1]);
            portName_ = n >= 1 ? "COM" + std::to_string(n) : options[i + 1];
        }

    std::string pattern = (std::filesystem::temp_directory_path() / "lq-pw5-sim-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    tempDir_ = pattern;
    aliasFolder_ = aliasFolder.empty() ? tempDir_ + "/ports" : std::move(aliasFolder);

    std::vector<std::string> args{executable};
    args.insert(args.end(), options.begin(), options.end());
    args.insert(args.end(),
                {"--dump-file", tempDir_ + "/registers", "--history-file", tempDir_ + "/history"});
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
        if (std::strncmp(*e, "LQ_MODBUS_PORTS=", 16) != 0) env.emplace_back(*e);
    env.push_back("LQ_MODBUS_PORTS=" + aliasFolder_);
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        std::filesystem::remove_all(tempDir_);
        throw std::runtime_error("pipe failed");
    }
    UniqueFd readEnd(pipeFds[0]);
    UniqueFd writeEnd(pipeFds[1]);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, writeEnd.Get(), STDOUT_FILENO);
    const int error = posix_spawn(&pid_, executable.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    writeEnd.Reset();
    if (error != 0) {
        pid_ = -1;
        std::filesystem::remove_all(tempDir_);
        throw std::runtime_error("cannot start " + executable + ": " + std::strerror(error));
    }
    try {
        devicePath_ = ReadLine(readEnd.Get(), Clock::now() + kStartTimeout);
    } catch (...) {
        Stop();
        std::filesystem::remove_all(tempDir_);
        throw;
    }
}

SimProcess::~SimProcess() {
    Stop();
    std::error_code ignored;
    std::filesystem::remove_all(tempDir_, ignored);
}

void SimProcess::ExportAliasFolder() const {
    setenv("LQ_MODBUS_PORTS", aliasFolder_.c_str(), 1);
}

int SimProcess::Stop(int signal) {
    if (pid_ <= 0) return 0;
    int status = 0;
    kill(pid_, signal);
    if (!WaitUntil(pid_, Clock::now() + kStopTimeout, status)) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        status = -1;
    }
    pid_ = -1;
    return status;
}

std::optional<RegisterFile> SimProcess::Registers() const {
    return ReadRegisterDump(tempDir_ + "/registers");
}

std::map<int, std::set<std::uint16_t>> SimProcess::HeldValues() const {
    std::map<int, std::set<std::uint16_t>> held;
    std::ifstream file(HistoryPath());
    for (const RegisterChange& change : ReadRegisterHistory(file))
        held[change.reg].insert(change.value);
    return held;
}

} // namespace lq::sim
