#include "graphviz/graphviz.h"

#include <dlfcn.h>
#include <graphviz/gvc.h>

#include <mutex>

namespace graphviz {
namespace {

// The library, by its name in Debian 12 (package libgvc6); its own
// dependencies (libcgraph, libcdt) come with it and hold the graph
// functions.
const char* library_name = "libgvc.so.6";

// The functions used, looked up by name in the loaded library.
struct Api {
  decltype(&::gvContext) context = nullptr;
  decltype(&::gvContextPlugins) contextWithPlugins = nullptr;
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

// The two plugins a layout into "plain" or "svg" text needs: the "dot"
// layout and the core output formats. Graphviz keeps them in the folder
// "graphviz" beside its library. Given to Graphviz as its only plugins,
// they spare it the text-shaping plugin it would otherwise load for every
// layout (pango, with cairo, fontconfig and a C++ runtime of its own); the
// picture measures its labels itself. Graphviz keeps `builtins`.
lt_symlist_t builtins[3] = {};

bool LoadPlugins(void* anySymbol) {
  Dl_info info;
  if (dladdr(anySymbol, &info) == 0 || info.dli_fname == nullptr) return false;
  std::string folder(info.dli_fname);
  folder.erase(folder.rfind('/') + 1);
  folder += "graphviz/";
  const char* const names[][2] = {{"libgvplugin_dot_layout.so.6", "gvplugin_dot_layout_LTX_library"},
                                  {"libgvplugin_core.so.6", "gvplugin_core_LTX_library"}};
  for (std::size_t i = 0; i < 2; ++i) {
    void* plugin = dlopen((folder + names[i][0]).c_str(), RTLD_NOW | RTLD_LOCAL);
    void* library = plugin ? dlsym(plugin, names[i][1]) : nullptr;
    if (library == nullptr) return false;
    builtins[i] = {names[i][1], library};
  }
  return true;
}

template <class Function>
bool Find(void* library, const char* name, Function& function, std::string& failure) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  if (function == nullptr && failure.empty()) failure = std::string("Graphviz lacks ") + name;
  return function != nullptr;
}

Api* Load() {
  auto* loaded = new Api;
  void* library = dlopen(library_name, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* reason = dlerror();
    loaded->failure = std::string("Graphviz is not installed (") + (reason ? reason : library_name) + ")";
    return loaded;
  }
  std::string& f = loaded->failure;
  if (Find(library, "gvContext", loaded->context, f) && Find(library, "agmemread", loaded->read, f) &&
      Find(library, "gvLayout", loaded->layout, f) && Find(library, "gvRenderData", loaded->render, f) &&
      Find(library, "gvFreeRenderData", loaded->freeData, f) &&
      Find(library, "gvFreeLayout", loaded->freeLayout, f) && Find(library, "agclose", loaded->close, f) &&
      Find(library, "agseterrf", loaded->errorFunction, f) &&
      Find(library, "gvContextPlugins", loaded->contextWithPlugins, f)) {
    loaded->errorFunction(CollectMessage);
    // Where the plugins are not where Debian puts them, Graphviz finds its
    // own through its configuration.
    loaded->gvc = LoadPlugins(reinterpret_cast<void*>(loaded->context)) ? loaded->contextWithPlugins(builtins, 0)
                                                                          : loaded->context();
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

void SetLibrary(const char* library) {
  const std::lock_guard<std::mutex> guard(lock);
  if (api == nullptr) library_name = library;
}

bool Loaded() {
  const std::lock_guard<std::mutex> guard(lock);
  return api != nullptr && api->failure.empty();
}

}  // namespace graphviz
