#include "process_stats.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

extern char** environ;

namespace startup_bench {

void die(const std::string& message) {
    std::fprintf(stderr, "startup_bench: %s\n", message.c_str());
    std::exit(2);
}

Memory memory_of(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    Memory m;
    std::string line;
    const auto take = [&line](const char* key, long& into) {
        const std::string k = key;
        if (line.rfind(k, 0) == 0)
            into = std::atol(line.c_str() + k.size());
    };
    while (std::getline(status, line)) {
        take("VmRSS:", m.rss_kb);
        take("RssAnon:", m.anon_kb);
        take("RssFile:", m.file_kb);
        take("RssShmem:", m.shmem_kb);
    }
    return m;
}

double cpu_ms(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = all.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(all.substr(close + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i)
        if (i == 14 || i == 15)
            ticks += std::atof(field.c_str());
    return ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

ThreadTimes main_thread_times(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/schedstat");
    double run_ns = 0, wait_ns = 0;
    if (!(in >> run_ns >> wait_ns))
        return {};
    return {run_ns / 1e6, wait_ns / 1e6};
}

pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
    std::vector<char*> args, envp;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const auto& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], nullptr, nullptr, args.data(), envp.data()) != 0)
        die("cannot start " + argv[0]);
    return pid;
}

bool run_to_end(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
    const pid_t pid = spawn(argv, env);
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void stop(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 300; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

}  // namespace startup_bench
