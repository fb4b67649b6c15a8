#include "graphviz/layout_thread.h"

#include <algorithm>

namespace graphviz {

LayoutThread& LayoutThread::Instance() {
  static LayoutThread* const instance = new LayoutThread;
  return *instance;
}

LayoutThread::LayoutThread() : thread_([this] { Run(); }) {}

LayoutThread::Client LayoutThread::Register() {
  const std::lock_guard<std::mutex> guard(mutex_);
  const Client client = next_++;
  clients_.insert(client);
  return client;
}

void LayoutThread::Unregister(Client client) {
  // Taken first, so that no handback of the client is under way once the
  // client is gone.
  const std::lock_guard<std::mutex> handing(handback_);
  const std::lock_guard<std::mutex> guard(mutex_);
  clients_.erase(client);
  waiting_.erase(client);
  order_.erase(std::remove(order_.begin(), order_.end(), client), order_.end());
}

void LayoutThread::Post(Client client, Job job) {
  {
    const std::lock_guard<std::mutex> guard(mutex_);
    if (!clients_.contains(client)) return;
    const auto [it, added] = waiting_.insert_or_assign(client, std::move(job));
    if (added) order_.push_back(client);
  }
  wake_.notify_one();
}

void LayoutThread::Run() {
  for (;;) {
    Client client = 0;
    Job job;
    {
      std::unique_lock<std::mutex> guard(mutex_);
      wake_.wait(guard, [this] { return !order_.empty(); });
      client = order_.front();
      order_.pop_front();
      job = std::move(waiting_.at(client));
      waiting_.erase(client);
    }
    Handback handback = job();
    job = nullptr;
    if (!handback) continue;
    const std::lock_guard<std::mutex> handing(handback_);
    bool registered = false;
    {
      const std::lock_guard<std::mutex> guard(mutex_);
      registered = clients_.contains(client);
    }
    if (registered) handback();
  }
}

}  // namespace graphviz
