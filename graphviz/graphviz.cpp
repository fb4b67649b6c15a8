#include "graphviz/graphviz.h"

#include <dlfcn.h>
#include <graphviz/gvc.h>

#include <mutex>

namespace graphviz {
namespace {

// The library, by its name in Debian 12 (package libgvc6); its own
// dependencies (libcgraph, libcdt) come with it and hold the graph
// functions.
constexpr const char* kLibrary = "libgvc.so.6";

// The functions used, looked up by name in the loaded library.
struct Api {
  decltype(&::gvContext) context = nullptr;
  decltype(&::agmemread) read = nullptr;
  decltype(&::gvLayout) layout = nullptr;
  decltype(&::gvRenderData) render = nullptr;
  decltype(&::gvFreeRenderData) freeData = nullptr;
  decltype(&::gvFreeLayout) freeLayout = nullptr;
  decltype(&::agclose) close = nullptr;
  decltype(&::agseterrf) errorFunction = nullptr;
  GVC_t* gvc = nullptr;  // the process's one context, never freed
  std::string failure;   // why Graphviz could not be loaded
};

std::mutex lock;
Api* api = nullptr;  // once loaded (or found missing)
std::string* messages = nullptr;  // Graphviz's messages of the call running

// Graphviz's messages go here instead of standard error; they name the
// reason of a failure.
int CollectMessage(char* text) {
  if (messages != nullptr && text != nullptr) messages->append(text);
  return 0;
}

template <class Function>
bool Find(void* library, const char* name, Function& function, std::string& failure) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  if (function == nullptr && failure.empty()) failure = std::string("Graphviz lacks ") + name;
  return function != nullptr;
}

Api* Load() {
  auto* loaded = new Api;
  void* library = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* reason = dlerror();
    loaded->failure = std::string("Graphviz is not installed (") + (reason ? reason : kLibrary) + ")";
    return loaded;
  }
  std::string& f = loaded->failure;
  if (Find(library, "gvContext", loaded->context, f) && Find(library, "agmemread", loaded->read, f) &&
      Find(library, "gvLayout", loaded->layout, f) && Find(library, "gvRenderData", loaded->render, f) &&
      Find(library, "gvFreeRenderData", loaded->freeData, f) &&
      Find(library, "gvFreeLayout", loaded->freeLayout, f) && Find(library, "agclose", loaded->close, f) &&
      Find(library, "agseterrf", loaded->errorFunction, f)) {
    loaded->errorFunction(CollectMessage);
    loaded->gvc = loaded->context();
    if (loaded->gvc == nullptr) f = "Graphviz could not start";
  }
  return loaded;
}

std::string Reason(const std::string& collected, const char* fallback) {
  std::string reason = collected.empty() ? fallback : collected;
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == ' ')) reason.pop_back();
  return reason;
}

}  // namespace

bool Render(const std::string& dot, const char* format, std::string& out, std::string& error) {
  const std::lock_guard<std::mutex> guard(lock);
  std::string collected;
  messages = &collected;
  struct Done {
    ~Done() { messages = nullptr; }
  } done;
  if (api == nullptr) api = Load();
  if (!api->failure.empty()) {
    error = api->failure;
    return false;
  }
  Agraph_t* graph = api->read(dot.c_str());
  if (graph == nullptr) {
    error = Reason(collected, "the graph is not DOT");
    return false;
  }
  bool ok = api->layout(api->gvc, graph, "dot") == 0;
  if (ok) {
    char* data = nullptr;
    unsigned int length = 0;
    ok = api->render(api->gvc, graph, format, &data, &length) == 0 && data != nullptr;
    if (ok) out.assign(data, length);
    if (data != nullptr) api->freeData(data);
    api->freeLayout(api->gvc, graph);
  }
  api->close(graph);
  if (!ok) error = Reason(collected, "the layout failed");
  return ok;
}

bool Loaded() {
  const std::lock_guard<std::mutex> guard(lock);
  return api != nullptr && api->failure.empty();
}

}  // namespace graphviz
