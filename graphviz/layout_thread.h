// The one thread of a process on which layouts run, one at a time, in the
// order asked for. A layout cannot be stopped once it runs, so each client
// (a window's picture) keeps at most one layout waiting: a newer one takes
// its place. What a layout gives is handed back through its client, and only
// while the client is registered, so a client that goes away is never
// called again.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <unordered_set>

namespace graphviz {

class LayoutThread {
 public:
  // The work of one layout, run on the thread; it gives what is then handed
  // back, a short call made while the client is known to be registered.
  using Handback = std::function<void()>;
  using Job = std::function<Handback()>;
  using Client = std::uint64_t;

  // The process's layout thread, started when first asked for. It is never
  // destroyed: at the end of the process it may still be running a layout.
  static LayoutThread& Instance();

  Client Register();
  // After this returns, nothing of the client's runs any more: a waiting
  // job is dropped, and what a running one gives is not handed back.
  void Unregister(Client client);
  // Runs `job` after the jobs waiting before it, in place of the client's
  // waiting job if it has one (that one never runs).
  void Post(Client client, Job job);

  LayoutThread(const LayoutThread&) = delete;
  LayoutThread& operator=(const LayoutThread&) = delete;

 private:
  LayoutThread();
  void Run();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Client> order_;                   // clients with a job waiting, first come first
  std::unordered_map<Client, Job> waiting_;    // each client's waiting job
  std::unordered_set<Client> clients_;         // registered clients
  std::mutex handback_;                        // held while a job's result is handed back
  Client next_ = 1;
  std::thread thread_;
};

}  // namespace graphviz
