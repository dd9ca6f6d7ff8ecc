#pragma once
// What the benchmarks share: a stopwatch, and where the client and the PostgreSQL server
// processes run.
#include <sched.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <initializer_list>

namespace slownik::bench {

inline double seconds(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Our side and the raw side talk to two server processes. Left to the scheduler, one of
// them may share the client's core and the other not, and a round trip then costs half
// as much on one side as on the other for a whole run. Every server process measured goes
// to one core and the client to another, so that the sides differ only in their own work.
inline void placeProcesses(std::initializer_list<int> serverPids) {
  long cores = sysconf(_SC_NPROCESSORS_ONLN);
  cpu_set_t client, server;
  CPU_ZERO(&client);
  CPU_ZERO(&server);
  CPU_SET(0, &client);
  CPU_SET(cores > 1 ? 1 : 0, &server);
  bool placed = sched_setaffinity(0, sizeof client, &client) == 0;
  for (int pid : serverPids) placed = placed && pid > 0 && sched_setaffinity(pid, sizeof server, &server) == 0;
  if (!placed) std::printf("  (procesów nie przypięto do rdzeni: pomiary mogą się różnić między uruchomieniami)\n");
}

inline void freeProcesses() {
  cpu_set_t all;
  CPU_ZERO(&all);
  for (long c = 0; c < sysconf(_SC_NPROCESSORS_ONLN) && c < CPU_SETSIZE; ++c) CPU_SET(c, &all);
  sched_setaffinity(0, sizeof all, &all);
}

}  // namespace slownik::bench
